// The main window in the page: the chase on the field, the read-outs, the
// three inputs and the four buttons. The core computes every number,
// place and colour; this view shows them and plays the cues.

import { mainWindow as form } from "torvikan-forms";
import { Announcer } from "./announcer.js";
import { FieldCanvas } from "./field_canvas.js";
import { buildWindow, scaled } from "./window_form.js";

const readoutNames = ["mouseX", "mouseY", "dogX", "dogY", "seconds"];
const inputNames = ["mouseSpeed", "dogSpeed", "unitTime"];
const byName = (readouts) => Object.fromEntries(readoutNames.map((name, i) => [name, readouts[i]]));

// The keys of a link that gives the inputs' start texts, as
// index.html?u=8&v=10&h=0.2 does: u the mouse's speed, v the dog's, h the
// unit time.
const linkKeys = { mouseSpeed: "u", dogSpeed: "v", unitTime: "h" };

// The start texts a link's query gives, by input name: each as it was
// typed in the address, which the core reads as it reads any typed text.
// An input whose key is absent keeps the form's start text.
export function linkedStartTexts(query) {
    const params = new URLSearchParams(query);
    return Object.fromEntries(inputNames.filter((name) => params.has(linkKeys[name]))
        .map((name) => [name, params.get(linkKeys[name])]));
}

export class MainView {
    constructor(core, cues, messages, { startTexts = {}, openHelp, quit }) {
        this.form = form;
        this.title = form.title;
        this.core = core;
        this.cues = cues;
        this.messages = messages;
        this.quit = quit;
        this.openHelp = openHelp;

        const { element, controls } = buildWindow(form);
        this.element = element;
        this.field = controls.get("field");
        this.readouts = readoutNames.map((name) => controls.get(name));
        this.readouts.forEach((box) => box.classList.add("readout"));
        this.inputs = inputNames.map((name) => controls.get(name));
        // As text, never as markup.
        this.inputs.forEach((box, i) => {
            if (inputNames[i] in startTexts)
                box.value = startTexts[inputNames[i]];
        });
        this.mousePicture = controls.get("mousePicture");
        this.dogPicture = controls.get("dogPicture");
        for (const picture of [this.mousePicture, this.dogPicture]) {
            picture.style.transform = `translate(${picture.style.left}, ${picture.style.top})`;
            picture.style.left = picture.style.top = "0";
        }

        [, , this.fieldWidth, this.fieldHeight] = form.controls.find((c) => c.name === "field").interior;
        const canvas = document.createElement("canvas");
        canvas.id = "fieldCanvas";
        this.field.append(canvas);
        this.chart = new FieldCanvas(canvas, core);
        this.lesson = new core.Lesson(this.fieldWidth, this.fieldHeight);
        this.deviceSize = { width: 0, height: 0 };
        this.announcer = new Announcer(element, this.field);

        controls.get("nextButton").addEventListener("click", () => this.nextStep());
        controls.get("startOverButton").addEventListener("click", () => this.startOver());
        controls.get("quitButton").addEventListener("click", () => this.askToQuit());
        controls.get("helpButton").addEventListener("click", () => this.leaveForHelp());
    }

    // The window's `scale` on the page and the screen's pixel `ratio`. The
    // canvas's backing store follows both, so that grid lines and marks
    // stay crisp; its box is the field's interior give or take the rounding
    // to whole device pixels, so that each of them shows one pixel of the
    // store.
    scaled(scale, ratio) {
        const width = Math.max(1, Math.round(this.fieldWidth * scale * ratio));
        const height = Math.max(1, Math.round(this.fieldHeight * scale * ratio));
        this.chart.canvas.style.width = `${width / ratio}px`;
        this.chart.canvas.style.height = `${height / ratio}px`;
        if (width === this.deviceSize.width && height === this.deviceSize.height)
            return;
        this.deviceSize = { width, height };
        this.chart.setDeviceSize(width, height);
        this.chart.paint(this.lesson.resize(width, height));
    }

    shown() {
        const start = this.lesson.start();
        this.show(start);
        this.announcer.started(byName(start.readouts));
        this.field.focus({ preventScroll: true });
    }

    nextStep() {
        const step = this.lesson.next(...this.inputs.map((box) => box.value));
        if (step.fault) {
            // Nothing was drawn for a click that could not be finished.
            this.announcer.hush();
            this.messages.tell(step.fault);
            return;
        }
        this.show(step);
        if (step.cue)
            this.cues.play("logoff.wav");
        this.announcer.stepped(byName(step.readouts), step.cue);
    }

    startOver() {
        this.cues.play("pinpon.wav");
        const start = this.lesson.startOver();
        this.show(start);
        this.announcer.startedOver(byName(start.readouts));
    }

    async askToQuit() {
        this.cues.play("endpinpon.wav");
        this.announcer.hush();
        if (await this.messages.ask(this.core.quitQuestion()))
            this.quit();
    }

    leaveForHelp() {
        this.cues.play("pinpon.wav");
        this.openHelp();
    }

    show({ paint, readouts, mouse, dog }) {
        this.chart.paint(paint);
        // A box whose text is as it was is left alone, so that the browser
        // lays out and paints only what changed.
        readouts.forEach((text, i) => {
            if (this.readouts[i].value !== text)
                this.readouts[i].value = text;
        });
        // The pictures move by a transform, which needs no layout.
        this.mousePicture.style.transform = `translate(${scaled(mouse.x)}, ${scaled(mouse.y)})`;
        this.dogPicture.style.transform = `translate(${scaled(dog.x)}, ${scaled(dog.y)})`;
    }

    destroy() {
        this.announcer.hush();
        this.lesson.delete();
        this.element.remove();
    }
}
