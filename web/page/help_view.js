// The help window in the page: the problem and how to work the window, as
// real text, with 閉じる to go back.

import { helpWindow as form } from "torvikan-forms";
import { lineSpacing } from "./faces.js";
import { buildWindow, scaled } from "./window_form.js";

export class HelpView {
    constructor(core, { close }) {
        this.form = form;
        this.title = form.title;
        const { element, controls } = buildWindow(form);
        this.element = element;
        this.closeButton = controls.get("closeButton");
        this.closeButton.addEventListener("click", () => close());

        const box = controls.get("helpBox");
        box.setAttribute("role", "document");
        const text = document.createElement("div");
        text.id = "helpText";
        text.textContent = core.helpLines().join("\n");
        // Line under line, as the window prints them.
        text.style.lineHeight = scaled(lineSpacing(form.controls.find((c) => c.name === "helpBox").font.px));
        box.append(text);
    }

    shown() {
        // Space or Enter closes help at once.
        this.closeButton.focus({ preventScroll: true });
    }

    destroy() {
        this.element.remove();
    }
}
