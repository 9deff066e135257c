// The page's one window at a time: the main view, the help view in its
// place and back, and the end. The window scales to fit the viewport.
// Every new main view starts with the same input texts: the form's, or
// those of the link the page was opened with.

import { HelpView } from "./help_view.js";
import { MainView } from "./main_view.js";
import { MessageBox } from "./message_box.js";

export class Program {
    constructor(root, core, cues, words, startTexts = {}) {
        this.root = root;
        this.startTexts = startTexts;
        this.core = core;
        this.cues = cues;
        this.words = words;
        this.messages = new MessageBox(core.messageTitle(), words);
        this.view = null;
        addEventListener("resize", () => this.fit());
        this.followPixelRatio();
    }

    showMain() {
        this.replaceWith(new MainView(this.core, this.cues, this.messages, {
            startTexts: this.startTexts,
            openHelp: () => this.showHelp(),
            quit: () => this.end(),
        }));
    }

    showHelp() {
        this.replaceWith(new HelpView(this.core, { close: () => this.showMain() }));
    }

    // A page cannot close its own tab: it says that the program has ended,
    // and nothing is left to click.
    end() {
        this.view.destroy();
        this.view = null;
        this.cues.close();
        const notice = document.createElement("div");
        notice.id = "ended";
        notice.setAttribute("role", "status");
        for (const words of [this.words.ended, this.words.startAgain]) {
            const line = document.createElement("p");
            line.textContent = words;
            notice.append(line);
        }
        this.root.append(notice);
    }

    replaceWith(view) {
        this.view?.destroy();
        this.view = view;
        document.title = view.title;
        this.root.append(view.element);
        this.fit();
        view.shown();
    }

    fit() {
        if (!this.view)
            return;
        const { width, height } = this.view.form;
        const viewportWidth = document.documentElement.clientWidth;
        const viewportHeight = document.documentElement.clientHeight;
        const scale = Math.min(viewportWidth / width, viewportHeight / height);
        // A viewport with no room (a hidden frame, a window folded away)
        // leaves the window as it was.
        if (!(scale > 0))
            return;
        const ratio = devicePixelRatio || 1;
        // The window's corner on a whole device pixel.
        const left = Math.round(((viewportWidth - width * scale) / 2) * ratio) / ratio;
        const top = Math.round(((viewportHeight - height * scale) / 2) * ratio) / ratio;
        const element = this.view.element;
        element.style.setProperty("--s", `${scale}px`);
        element.style.left = `${left}px`;
        element.style.top = `${top}px`;
        document.documentElement.style.setProperty("--scale", scale);
        this.view.scaled?.(scale, ratio);
    }

    // Browser zoom and a move to another screen change the pixel ratio.
    followPixelRatio() {
        matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener("change", () => {
            this.fit();
            this.followPixelRatio();
        }, { once: true });
    }
}
