// What pupils' devices do besides clicking: an iPad's long press, double
// tap and pinch, and a browser in which the page cannot start, which must
// say so in Japanese. Each is checked in every engine whose automation can
// make it; the others say why not.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { lacks, launch, pageDir, readouts, source, tableRows } from "./browser.js";
import { readPng } from "./png.js";

const words = JSON.parse(readFileSync(join(source, "web/page/words.json"), "utf8"));
const defaults = ["6", "10", "0.1"];

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

// Notes whether the page let a context menu open.
function watchMenus() {
    window.menusOpened = 0;
    addEventListener("contextmenu", (event) => {
        if (!event.defaultPrevented)
            window.menusOpened++;
    });
}

test("a long press on 次へ selects nothing, opens no menu and takes one step", async () => {
    const tab = await browser.open({ init: watchMenus });
    try {
        await tab.longPress("#nextButton", 1200);
        const after = await tab.evaluate(() => ({
            selected: getSelection().toString(),
            menus: window.menusOpened,
            userSelect: getComputedStyle(document.getElementById("nextButton")).webkitUserSelect
                ?? getComputedStyle(document.getElementById("nextButton")).userSelect,
        }));
        assert.deepEqual(after, { selected: "", menus: 0, userSelect: "none" });
        assert.deepEqual(await readouts(tab), tableRows(defaults, 1)[1].readouts);
    } finally {
        await tab.close();
    }
});

// iPad Safari's callout is the one thing no engine here shows: where an
// engine knows the property, the window's computed style is read, and the
// page's own sheet elsewhere.
test("the window asks iPad Safari for no callout", async () => {
    const tab = await browser.open();
    try {
        const callout = await tab.evaluate(() => CSS.supports("-webkit-touch-callout", "none")
            ? getComputedStyle(document.querySelector(".window")).webkitTouchCallout : null);
        if (callout !== null)
            assert.equal(callout, "none");
        else
            assert.match(readFileSync(join(pageDir, "torvikan.css"), "utf8").match(/\.window \{[^}]*\}/)[0], /-webkit-touch-callout:\s*none/);
    } finally {
        await tab.close();
    }
});

test("a double tap on 次へ takes two steps and does not zoom", { skip: lacks("touch") }, async () => {
    const tab = await browser.open({ viewport: { width: 768, height: 1024 }, scale: 2, tablet: true, init: watchMenus });
    try {
        await tab.tap("#nextButton");
        await tab.tap("#nextButton");
        assert.deepEqual(await readouts(tab), tableRows(defaults, 2)[2].readouts);
        assert.equal(await tab.evaluate(() => visualViewport.scale), 1);
    } finally {
        await tab.close();
    }
});

test("a double click on 次へ takes two steps, and taps on the page are not held for a double tap", async () => {
    const tab = await browser.open();
    try {
        await tab.click("#nextButton");
        await tab.click("#nextButton");
        assert.deepEqual(await readouts(tab), tableRows(defaults, 2)[2].readouts);
        assert.equal(await tab.evaluate(() => getComputedStyle(document.body).touchAction), "manipulation");
    } finally {
        await tab.close();
    }
});

// No engine's automation here makes a pinch that zooms (Chromium's
// synthesised pinch does nothing headless), so what would forbid it is
// checked: a viewport that fixes the scale.
test("pinching zooms the page: the viewport lets it", async () => {
    const tab = await browser.open();
    try {
        const viewport = await tab.evaluate(() => document.querySelector("meta[name=viewport]").content);
        assert.doesNotMatch(viewport, /user-scalable\s*=\s*(no|0)|maximum-scale\s*=\s*1(\.0*)?\b/);
    } finally {
        await tab.close();
    }
});

// A browser without WebAssembly, as some locked-down school devices are.
function withoutWebAssembly() {
    delete window.WebAssembly;
}

test("without WebAssembly the page says in Japanese that it cannot start", async () => {
    const tab = await browser.open({ init: withoutWebAssembly, ready: false });
    try {
        await tab.waitFor(() => document.getElementById("ended") !== null, undefined, "the notice");
        assert.deepEqual(await tab.evaluate(() => {
            const notice = document.getElementById("ended");
            return { text: notice.textContent, role: notice.getAttribute("role"), controls: document.querySelectorAll("button, input").length };
        }), { text: words.cannotStart, role: "alert", controls: 0 });
    } finally {
        await tab.close();
    }
});

test("with scripts off the page says in Japanese how to start it", async () => {
    const notice = readFileSync(join(pageDir, "index.html"), "utf8").match(/<noscript>(.*)<\/noscript>/)?.[1];
    assert.equal(notice, "Torvikan を使うには、ブラウザーの JavaScript を有効にしてください。");
    // With scripts off the automation reads no text, in some engines; that
    // the notice is drawn, dark on the page's grey, it sees in a picture.
    const tab = await browser.open({ scripts: false, ready: false });
    try {
        const inkOf = (shot) => {
            let ink = 0;
            for (let i = 0; i < shot.rgb.length; i += 3)
                ink += shot.rgb[i] < 80 && shot.rgb[i + 1] < 80 && shot.rgb[i + 2] < 80;
            return ink;
        };
        let ink = 0;
        for (const until = Date.now() + 10000; ink <= 200 && Date.now() < until;) {
            await new Promise((resolve) => setTimeout(resolve, 200));
            ink = inkOf(readPng(await tab.screenshot()));
        }
        assert.ok(ink > 200, `${ink} dark pixels on the page`);
    } finally {
        await tab.close();
    }
});

// Printed with Ctrl+P, the pupils' page is the field and its numbers, not
// buttons that do nothing on paper.
test("printed, the page holds the read-outs and no button", { skip: lacks("print") }, async () => {
    const tab = await browser.open();
    try {
        for (let i = 0; i < 3; i++)
            await tab.click("#nextButton");
        const text = execFileSync("pdftotext", ["-", "-"], { input: await tab.pdf(), encoding: "utf8" });
        for (const readout of tableRows(defaults, 3)[3].readouts)
            assert.ok(text.includes(readout), `${readout} printed`);
        for (const caption of ["次へ", "初期化", "HELP", "終了"])
            assert.ok(!text.includes(caption), `${caption} printed`);
    } finally {
        await tab.close();
    }
});
