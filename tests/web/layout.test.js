// The page's windows are the Designer forms: every control at its place
// and size, with its accessible name, in the forms' Tab order; and the
// window scales to any viewport without scrolling, with a canvas that has
// one pixel of its own for each of the screen's.

import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { launch, openPage, property, readForm } from "./browser.js";

const geometry = (widget) => {
    const rect = property(widget, "geometry");
    return ["x", "y", "width", "height"].map((tag) => Number(rect.children.find((c) => c.tag === tag).text));
};

// A form's size, its own controls (not those on a drawing area, which the
// chase moves), each as { name, rect, accessibleName }, and its Tab stops.
function readLayout(file) {
    const form = readForm(file);
    const window = form.children.find((c) => c.tag === "widget");
    const [, , width, height] = geometry(window);
    const controls = window.children.filter((c) => c.tag === "widget").map((widget) => ({
        name: widget.attributes.name,
        rect: geometry(widget),
        accessibleName: property(widget, "accessibleName")?.text,
    }));
    const tabStops = form.children.find((c) => c.tag === "tabstops").children.map((t) => t.text);
    return { size: { width, height }, controls, tabStops };
}

function shownControls(page, names) {
    return page.evaluate((names) => {
        const window = document.querySelector(".window").getBoundingClientRect();
        return names.map((name) => {
            const element = document.getElementById(name);
            const box = element.getBoundingClientRect();
            return {
                name,
                rect: [box.x - window.x, box.y - window.y, box.width, box.height],
                accessibleName: element.getAttribute("aria-label") ?? undefined,
            };
        });
    }, names);
}

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

for (const { name, file, open } of [
    { name: "the main window's controls at the form's places", file: "main_window/main_window.ui" },
    { name: "help's controls at the form's places", file: "help_window/help_window.ui", open: "#helpButton" },
]) {
    test(name, async () => {
        const { size, controls } = readLayout(file);
        const { context, page } = await openPage(browser);
        try {
            if (open)
                await page.click(open);
            // The window unscaled, once the page has seen the new size.
            await page.setViewportSize(size);
            await page.waitForFunction((width) => document.querySelector(".window").getBoundingClientRect().width === width,
                size.width);
            assert.deepEqual(await shownControls(page, controls.map((c) => c.name)), controls);
        } finally {
            await context.close();
        }
    });
}

test("Tab goes through the main window's Tab stops in the form's order", async () => {
    const { tabStops } = readLayout("main_window/main_window.ui");
    const { context, page } = await openPage(browser);
    try {
        const visited = [await page.evaluate(() => document.activeElement.id)];
        for (let i = 1; i < tabStops.length; i++) {
            await page.keyboard.press("Tab");
            visited.push(await page.evaluate(() => document.activeElement.id));
        }
        assert.deepEqual(visited, tabStops);
    } finally {
        await context.close();
    }
});

for (const { name, viewport, scale } of [
    { name: "a 1024 × 600 netbook", viewport: { width: 1024, height: 600 }, scale: 1 },
    { name: "an iPad held upright", viewport: { width: 768, height: 1024 }, scale: 2 },
    { name: "a projector", viewport: { width: 1920, height: 1080 }, scale: 1 },
]) {
    test(`fits ${name}, crisp`, async () => {
        const { context, page } = await openPage(browser, { viewport, scale });
        try {
            const shown = await page.evaluate(() => {
                const root = document.scrollingElement;
                const window = document.querySelector(".window").getBoundingClientRect();
                const canvas = document.getElementById("fieldCanvas");
                const box = canvas.getBoundingClientRect();
                return {
                    scrolls: root.scrollWidth > innerWidth || root.scrollHeight > innerHeight,
                    window: [window.left, window.top, window.right, window.bottom],
                    backingStore: [canvas.width, canvas.height],
                    devicePixels: [box.width * devicePixelRatio, box.height * devicePixelRatio],
                };
            });
            assert.equal(shown.scrolls, false, "the page scrolls");
            const [left, top, right, bottom] = shown.window;
            assert.ok(left >= 0 && top >= 0 && right <= viewport.width + 0.5 && bottom <= viewport.height + 0.5,
                `the window ${shown.window} lies within the viewport`);
            assert.ok(right - left >= viewport.width - 1 || bottom - top >= viewport.height - 1,
                `the window ${shown.window} fills the viewport's width or height`);
            assert.deepEqual(shown.devicePixels.map(Math.round), shown.backingStore, "one canvas pixel per device pixel");
        } finally {
            await context.close();
        }
    });
}
