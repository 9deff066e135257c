// The field's canvas is the desktop window's retained image, pixel for
// pixel, after the same clicks and at the same device pixel ratio. Only the
// axis labels may differ, as the two faces rasterise differently: every
// pixel outside the boxes where the page drew them must match.

import assert from "node:assert/strict";
import { test } from "node:test";
import { defaults, typeInputs, windowField, windowSize, withTab } from "./browser.js";

// Notes where the page draws the axis labels, and on request moves the next
// fill of a colour and shape by one device pixel, to prove that the
// comparison sees a mark or line that is one pixel off.
function watchCanvas() {
    window.labelBoxes = [];
    window.shiftNextFill = null;
    const { fillRect, fillText } = CanvasRenderingContext2D.prototype;
    CanvasRenderingContext2D.prototype.fillText = function (text, x, y) {
        // The text's ink, and a pixel around it: the two faces' glyphs
        // differ in shading, and by a pixel at most in extent.
        const ink = this.measureText(text);
        window.labelBoxes.push([Math.floor(x - ink.actualBoundingBoxLeft) - 1, Math.floor(y - ink.actualBoundingBoxAscent) - 1,
            Math.ceil(x + ink.actualBoundingBoxRight) + 1, Math.ceil(y + ink.actualBoundingBoxDescent) + 1]);
        return fillText.apply(this, arguments);
    };
    CanvasRenderingContext2D.prototype.fillRect = function (x, y, width, height) {
        const shift = window.shiftNextFill;
        if (shift && this.fillStyle === shift.colour && (width > height) === shift.wide) {
            window.shiftNextFill = null;
            return fillRect.call(this, x + (shift.wide ? 0 : 1), y + (shift.wide ? 1 : 0), width, height);
        }
        return fillRect.call(this, x, y, width, height);
    };
}

// The canvas's pixels, RGBA in base64, and the label boxes drawn on it.
const canvasPixels = (tab) => tab.evaluate(() => {
    const canvas = document.getElementById("fieldCanvas");
    const rgba = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
    let text = "";
    for (let i = 0; i < rgba.length; i += 0x8000)
        text += String.fromCharCode(...rgba.subarray(i, i + 0x8000));
    return { width: canvas.width, height: canvas.height, rgba: btoa(text), labelBoxes: window.labelBoxes };
});

// Pixels that differ outside the label boxes, as "(x, y) page #rrggbb
// window #rrggbb", the first few of them, and how many in all.
function differences(page, desktop) {
    const rgba = Buffer.from(page.rgba, "base64");
    const inLabel = (x, y) => page.labelBoxes.some(([l, t, r, b]) => x >= l && x < r && y >= t && y < b);
    const found = [];
    let count = 0;
    for (let y = 0; y < page.height; y++) {
        for (let x = 0; x < page.width; x++) {
            const [p, w] = [4 * (y * page.width + x), 3 * (y * desktop.width + x)];
            if (rgba.compare(desktop.rgb, w, w + 3, p, p + 3) !== 0 && !inLabel(x, y) && count++ < 5)
                found.push(`(${x}, ${y}) page #${rgba.toString("hex", p, p + 3)} window #${desktop.rgb.toString("hex", w, w + 3)}`);
        }
    }
    return count ? `${count} pixels differ: ${found.join(", ")}` : "";
}

for (const { name, inputs, clicks, scale, zoomTo, shiftLast, differs } of [
    { name: "the start picture at ratio 1", inputs: defaults, clicks: 0, scale: 1 },
    { name: "past the catch at ratio 1", inputs: defaults, clicks: 80, scale: 1 },
    { name: "past the catch at ratio 2", inputs: defaults, clicks: 80, scale: 2 },
    { name: "full-width inputs at ratio 2", inputs: ["６", "１２", "０．０５"], clicks: 60, scale: 2 },
    // A projector: the window zoomed to twice its size redraws the whole
    // chase at the new size.
    { name: "drawn at ratio 1, then zoomed to 2", inputs: defaults, clicks: 40, scale: 1, zoomTo: 2 },
    { name: "a dog mark one pixel right is seen", inputs: defaults, clicks: 40, scale: 2,
        shiftLast: { colour: "#0000ff", wide: false }, differs: true },
    { name: "a grid line one pixel low is seen", inputs: defaults, clicks: 40, scale: 2,
        shiftLast: { colour: "#000000", wide: true }, differs: true },
]) {
    test(name, async () => {
        const desktop = windowField(inputs, clicks, zoomTo ?? scale);
        await withTab({ scale, init: watchCanvas }, async (tab) => {
            await typeInputs(tab, inputs);
            await tab.evaluate((n) => {
                for (let i = 0; i < n; i++)
                    document.getElementById("nextButton").click();
            }, clicks - 1);
            if (shiftLast)
                await tab.evaluate((shift) => (window.shiftNextFill = shift), shiftLast);
            if (clicks > 0)
                await tab.click("#nextButton");
            if (zoomTo) {
                await tab.evaluate(() => (window.labelBoxes = []));
                await tab.setViewport({ width: windowSize.width * zoomTo, height: windowSize.height * zoomTo });
                await tab.waitFor((w) => document.getElementById("fieldCanvas").width === w, desktop.width);
            }
            const shown = await canvasPixels(tab);
            assert.deepEqual([shown.width, shown.height], [desktop.width, desktop.height], "the canvas's backing store");
            assert.equal(shown.labelBoxes.length, 18, "the axis labels drawn");
            const found = differences(shown, desktop);
            assert.equal(found !== "", Boolean(differs), found || "no pixel differs, where the shifted fill should show");
        });
    });
}
