// The page's windows are the Designer forms: every control at its place
// and size, with its accessible name, in the forms' Tab order; where a
// script reads a control's place is where the engine draws it and where a
// click lands on it; the window scales to any viewport without
// scrolling, with a canvas that has one pixel of its own for each of the
// screen's; and every help line fits its box.

import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { readForm, source, withTab } from "./browser.js";
import { readPng } from "./png.js";

// Each window's own controls (not those on a drawing area, which the chase
// moves) where the form places them, unscaled, with its accessible names;
// and Tab goes through the form's Tab stops in its order.
for (const { name, file, open } of [
    { name: "the main window", file: "main_window/main_window.ui" },
    { name: "help", file: "help_window/help_window.ui", open: "#helpButton" },
]) {
    test(`${name}: the controls at the form's places, in its Tab order`, () => withTab({}, async (tab) => {
        const { widgets: [window, ...widgets], tabStops } = await readForm(tab, file);
        const controls = widgets.filter((widget) => widget.parent === window.name)
            .map(({ name, rect, accessibleName }) => ({ name, rect, accessibleName }));
        if (open)
            await tab.click(open);
        // The window unscaled, once the page has seen the new size.
        const [, , width, height] = window.rect;
        await tab.setViewport({ width, height });
        await tab.waitFor((width) => document.querySelector(".window").getBoundingClientRect().width === width, width);
        const shown = await tab.evaluate((names) => {
            const window = document.querySelector(".window").getBoundingClientRect();
            return names.map((name) => {
                const element = document.getElementById(name);
                const box = element.getBoundingClientRect();
                return { name, rect: [box.x - window.x, box.y - window.y, box.width, box.height],
                    accessibleName: element.getAttribute("aria-label") };
            });
        }, controls.map((c) => c.name));
        assert.deepEqual(shown, controls);
        const visited = [await tab.evaluate(() => document.activeElement.id)];
        for (let i = 1; i < tabStops.length; i++) {
            await tab.press("Tab");
            visited.push(await tab.evaluate(() => document.activeElement.id));
        }
        assert.deepEqual(visited, tabStops, "the Tab order");
    }));
}

// On any screen the window is scaled to fit without scrolling, filling the
// viewport's width or height, with one canvas pixel for each of the
// screen's; every control is hit where its script reads its box, and takes
// the automation's own click there, which every engine refuses where the
// box's centre is not the control's; every help line is whole in its box.
for (const { name, viewport, scale = 1, help = false } of [
    { name: "a 1024 × 600 netbook", viewport: { width: 1024, height: 600 } },
    { name: "an iPad held upright", viewport: { width: 768, height: 1024 }, scale: 2 },
    { name: "a projector", viewport: { width: 1920, height: 1080 } },
    { name: "help on a netbook", viewport: { width: 1024, height: 600 }, help: true },
    { name: "help on a projector", viewport: { width: 1920, height: 1080 }, help: true },
]) {
    test(`fits ${name}, crisp, each control hit where it is drawn`, () => withTab({ viewport, scale }, async (tab) => {
        if (help)
            await tab.click("#helpButton");
        const shown = await tab.evaluate(() => {
            const root = document.scrollingElement;
            const window = document.querySelector(".window").getBoundingClientRect();
            const canvas = document.getElementById("fieldCanvas");
            const box = canvas?.getBoundingClientRect();
            const controls = [...document.querySelectorAll(".window button, .window input, .window [tabindex]")];
            return {
                scrolls: root.scrollWidth > innerWidth || root.scrollHeight > innerHeight,
                window: [window.left, window.top, window.right, window.bottom],
                backingStore: canvas && [canvas.width, canvas.height],
                devicePixels: canvas && [box.width * devicePixelRatio, box.height * devicePixelRatio].map(Math.round),
                ids: controls.map((element) => element.id),
                hits: controls.map((element) => {
                    const box = element.getBoundingClientRect();
                    const hit = document.elementFromPoint(box.x + box.width / 2, box.y + box.height / 2);
                    return hit === element || element.contains(hit) ? element.id : hit?.id ?? String(hit);
                }),
            };
        });
        assert.equal(shown.scrolls, false, "the page scrolls");
        const [left, top, right, bottom] = shown.window;
        assert.ok(left >= 0 && top >= 0 && right <= viewport.width + 0.5 && bottom <= viewport.height + 0.5,
            `the window ${shown.window} lies within the viewport`);
        assert.ok(right - left >= viewport.width - 1 || bottom - top >= viewport.height - 1,
            `the window ${shown.window} fills the viewport's width or height`);
        assert.deepEqual(shown.devicePixels, shown.backingStore, "one canvas pixel per device pixel");
        assert.ok(shown.ids.length >= 2, "controls found");
        assert.deepEqual(shown.hits, shown.ids, "what is hit at each control's centre");
        if (help) {
            const { room, lines } = await tab.evaluate(() => {
                const text = document.getElementById("helpText");
                const node = text.firstChild;
                const lines = [];
                let start = 0;
                for (const line of node.data.split("\n")) {
                    const range = document.createRange();
                    range.setStart(node, start);
                    range.setEnd(node, start + line.length);
                    lines.push({ line, width: range.getBoundingClientRect().width });
                    start += line.length + 1;
                }
                return { room: text.getBoundingClientRect().width, lines };
            });
            assert.deepEqual(lines.filter(({ width }) => width > room).map(({ line, width }) => `${line.trim()}: ${width} > ${room}`), []);
            await tab.click("#closeButton");
            assert.equal(await tab.evaluate(() => document.getElementById("nextButton") !== null), true, "back in the main window");
        } else {
            await tab.click("#nextButton");
            assert.equal(await tab.evaluate(() => document.getElementById("seconds").value), "0.100", "次へ took a step");
        }
    }));
}

// The asset `file` as a marker shows it, `factor` times its size: its size
// in device pixels, and how many pixels of the screenshot from `box`'s
// corner (CSS pixels, at `ratio` device pixels each) differ from it.
function pictureOnScreen(shot, box, file, factor, ratio) {
    const picture = readPng(readFileSync(join(source, "assets", file)));
    const [left, top] = [Math.round(box.x * ratio), Math.round(box.y * ratio)];
    const [width, height] = [picture.width * factor, picture.height * factor];
    let differ = 0;
    for (let y = 0; y < height; y++) {
        for (let x = 0; x < width; x++) {
            const s = 3 * ((top + y) * shot.width + left + x);
            const p = 3 * (Math.floor(y / factor) * picture.width + Math.floor(x / factor));
            differ += shot.rgb.compare(picture.rgb, p, p + 3, s, s + 3) !== 0;
        }
    }
    return { size: [width, height], differ };
}

// The moment the page says it is ready, the start picture is on the
// screen: the dog and the mouse drawn where the script reads their
// pictures to be, at the window's own size and at twice it.
for (const { name, viewport, scale, factor } of [
    { name: "the window's own size", viewport: { width: 681, height: 624 }, scale: 1, factor: 1 },
    { name: "the window at twice its size", viewport: { width: 1362, height: 1248 }, scale: 1, factor: 2 },
    { name: "a screen of pixel ratio 2", viewport: { width: 681, height: 624 }, scale: 2, factor: 2 },
]) {
    test(`when ready, the pictures are drawn where they are read to be: ${name}`, () => withTab({ viewport, scale }, async (tab) => {
        const shot = readPng(await tab.screenshot());
        const boxes = await tab.evaluate(() => ["dogPicture", "mousePicture"].map((id) => {
            const box = document.querySelector(`#${id} img`).getBoundingClientRect();
            return { x: box.x, y: box.y, width: box.width, height: box.height };
        }));
        for (const [i, file] of ["dog.png", "mouse.png"].entries()) {
            const { size, differ } = pictureOnScreen(shot, boxes[i], file, factor, scale);
            assert.deepEqual([boxes[i].width, boxes[i].height].map((l) => Math.round(l * scale)), size, `${file}'s box`);
            assert.equal(differ, 0, `${file} on the screen`);
        }
    }));
}
