// What a pupil who listens rather than looks is told of the chase: after a
// click on 次へ or 初期化, a polite announcement of the read-outs, in the
// texts the boxes show, and of the catch cue when it sounded; and, as the
// field's description, where the mouse and the dog are now. The words are
// in words.json; every number in them is a read-out's text.

import words from "./words.json";

// A held Enter, or a screen reader passing on a held Space, clicks 次へ
// many times a second. Only the last click is announced, once the clicks
// have paused this long: longer than the half second or so that a held key
// waits before it repeats (and than the gap between repeats), so that a
// held key is announced once, at its end rather than also after its first
// click; short enough that one click is heard without waiting.
const pause = 600; // ms

// `readouts` holds the read-outs' texts by their boxes' names.
function filled(template, readouts) {
    return template.replace(/\{(\w+)\}/g, (_, name) => readouts[name]);
}

export class Announcer {
    // `window` is the view's element; `field` the field's, which the
    // description describes.
    constructor(window, field) {
        // A live region is heard only if it is there before its text
        // changes, so it is made with the window, empty. It is in the page
        // but takes no room and shows nothing.
        this.region = document.createElement("div");
        this.region.id = "announcement";
        this.region.className = "unseen";
        this.region.setAttribute("role", "status");
        this.region.setAttribute("aria-live", "polite");
        this.region.setAttribute("aria-atomic", "true");
        // The description is read with the field, not on its own: hidden
        // entirely, as a description may be.
        this.description = document.createElement("div");
        this.description.id = "fieldDescription";
        this.description.hidden = true;
        field.setAttribute("aria-describedby", this.description.id);
        window.append(this.region, this.description);
        this.pending = 0;
    }

    // The start, and the start again after HELP: nothing is announced,
    // since nothing has happened yet; the focus is on the field, which a
    // screen reader reads out with its description.
    started(readouts) {
        this.description.textContent = filled(words.fieldAtStart, readouts);
    }

    startedOver(readouts) {
        this.started(readouts);
        this.announce(words.startedOver + filled(words.readouts, readouts));
    }

    stepped(readouts, cue) {
        this.description.textContent = filled(words.fieldInChase, readouts);
        this.announce(filled(words.readouts, readouts) + (cue ? words.cueSounded : ""));
    }

    // A message box speaks for itself: an announcement still waiting would
    // only talk over it.
    hush() {
        clearTimeout(this.pending);
    }

    // The text is replaced, never added to, so that a screen reader has one
    // thing to say: the chase as it is now.
    announce(text) {
        clearTimeout(this.pending);
        this.pending = setTimeout(() => {
            this.region.textContent = text;
        }, pause);
    }
}
