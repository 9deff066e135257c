// Plays the cues with Web Audio. They are decoded ahead, so a cue starts
// within a frame of its click; a browser lets a page sound only after the
// pupil's first click, tap or key, so that first gesture unlocks it. Every
// cue stops the one still playing, and a cue that cannot play is silent.

function bytesOf(base64) {
    return Uint8Array.from(atob(base64), (c) => c.charCodeAt(0)).buffer;
}

export class CuePlayer {
    constructor(embedded) {
        this.buffers = new Map();
        this.current = null;
        try {
            this.context = new AudioContext();
        } catch {
            this.context = null;
            this.ready = Promise.resolve();
            return;
        }
        this.ready = Promise.all(Object.entries(embedded).map(([name, base64]) =>
            this.context.decodeAudioData(bytesOf(base64)).then((buffer) => this.buffers.set(name, buffer), () => {})));
        const gestures = ["pointerdown", "touchend", "click", "keydown"];
        const unlock = () => {
            if (this.context.state === "running")
                gestures.forEach((g) => removeEventListener(g, unlock, true));
            else
                this.context.resume();
        };
        gestures.forEach((g) => addEventListener(g, unlock, true));
    }

    play(name) {
        this.stop();
        const buffer = this.buffers.get(name);
        if (!buffer || this.context.state === "closed")
            return;
        if (this.context.state === "suspended")
            this.context.resume();
        const source = this.context.createBufferSource();
        source.buffer = buffer;
        source.connect(this.context.destination);
        source.start();
        this.current = source;
        // What started last, for anyone checking the page without sound,
        // the page's tests among them.
        document.documentElement.dataset.cue = name;
    }

    stop() {
        this.current?.stop();
        this.current = null;
    }

    close() {
        this.stop();
        this.context?.close();
    }
}
