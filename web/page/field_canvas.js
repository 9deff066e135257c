// The field's canvas: paints the drawing records that the core gives, in
// device pixels of the canvas's backing store, with whole-pixel fills and
// no smoothing, as the window paints its retained image.

import { ascent, face } from "./faces.js";

// The records' kinds.
const clear = 0;
const fill = 1;
const label = 2;

export class FieldCanvas {
    constructor(canvas, core) {
        this.canvas = canvas;
        this.context = canvas.getContext("2d", { alpha: false });
        this.core = core;
        this.labels = core.axisLabels();
        this.colours = new Map();
    }

    // The backing store in device pixels; setting it blanks the canvas.
    setDeviceSize(width, height) {
        this.canvas.width = width;
        this.canvas.height = height;
    }

    colour(index) {
        if (!this.colours.has(index))
            this.colours.set(index, this.core.paletteCss(index));
        return this.colours.get(index);
    }

    paint(records) {
        const context = this.context;
        let i = 0;
        while (i < records.length) {
            switch (records[i]) {
            case clear:
                context.fillStyle = "#fff";
                context.fillRect(0, 0, this.canvas.width, this.canvas.height);
                i += 1;
                break;
            case fill: {
                const [left, top, right, bottom, colour] = records.subarray(i + 1, i + 6);
                context.fillStyle = this.colour(colour);
                context.fillRect(left, top, right - left + 1, bottom - top + 1);
                i += 6;
                break;
            }
            case label: {
                const [x, y, index, size] = records.subarray(i + 1, i + 5);
                context.fillStyle = "#000";
                context.font = `${size}px "${face}"`;
                context.fillText(this.labels[index], x, y + ascent(size));
                i += 5;
                break;
            }
            default:
                // Reading on would take the records out of step.
                throw new Error(`drawing record ${records[i]} at ${i} is not known`);
            }
        }
    }
}
