// Plays the cues with Web Audio. They load and decode while the pupil
// looks at the start picture, which need not wait for them; a cue asked
// for before then starts as soon as it can, unless another is asked for
// first. A browser lets a page sound only after the pupil's first click,
// tap or key, so that first gesture unlocks it. Every cue stops the one
// still playing, and a cue that cannot play is silent.

function bytesOf(base64) {
    const text = atob(base64);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++)
        bytes[i] = text.charCodeAt(i);
    return bytes.buffer;
}

// The cues come in a classic script of their own (base64 WAV files), as a
// page opened from a folder may not fetch files.
function loadCueScript() {
    return new Promise((resolve) => {
        const script = document.createElement("script");
        script.src = "cues.js";
        script.addEventListener("load", () => resolve(self.torvikanCues ?? {}));
        script.addEventListener("error", () => resolve({}));
        document.head.append(script);
    });
}

export class CuePlayer {
    constructor() {
        this.buffers = new Map();
        this.current = null;
        this.waiting = null;
        this.context = null;
    }

    // The audio output opens here, after the start picture: opening it can
    // take a browser longer than everything else the page does to start.
    async load() {
        try {
            this.context = new AudioContext();
        } catch {
            return;
        }
        const gestures = ["pointerdown", "touchend", "click", "keydown"];
        const unlock = () => {
            if (this.context.state === "running")
                gestures.forEach((g) => removeEventListener(g, unlock, true));
            else
                this.context.resume();
        };
        gestures.forEach((g) => addEventListener(g, unlock, true));
        const embedded = await loadCueScript();
        await Promise.all(Object.entries(embedded).map(([name, base64]) =>
            this.context.decodeAudioData(bytesOf(base64)).then((buffer) => this.buffers.set(name, buffer), () => {})));
        if (this.waiting)
            this.play(this.waiting);
    }

    play(name) {
        this.stop();
        if (this.context?.state === "closed")
            return;
        const buffer = this.buffers.get(name);
        if (!buffer) {
            this.waiting = name;
            return;
        }
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
        this.waiting = null;
    }

    close() {
        this.stop();
        this.context?.close();
    }
}
