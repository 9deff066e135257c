// What pupils' devices do besides clicking: an iPad's long press, double
// tap and pinch, and a browser in which the page cannot start, which must
// say so in Japanese. Each is checked in every engine whose automation can
// make it; the others say why not.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { clickNext, defaults, lacks, pageDir, readouts, tableRows, withTab, words } from "./browser.js";
import { readPng } from "./png.js";

// Notes whether the page let a context menu open.
function watchMenus() {
    window.menusOpened = 0;
    addEventListener("contextmenu", (event) => {
        if (!event.defaultPrevented)
            window.menusOpened++;
    });
}

test("a long press on 次へ selects nothing, opens no menu and takes one step", () => withTab({ init: watchMenus }, async (tab) => {
    await tab.longPress("#nextButton", 1200);
    const after = await tab.evaluate(() => ({
        selected: getSelection().toString(),
        menus: window.menusOpened,
        userSelect: getComputedStyle(document.getElementById("nextButton")).webkitUserSelect
            ?? getComputedStyle(document.getElementById("nextButton")).userSelect,
    }));
    assert.deepEqual(after, { selected: "", menus: 0, userSelect: "none" });
    assert.deepEqual(await readouts(tab), tableRows(defaults, 1)[1].readouts);
}));

// What a touch screen would do that no engine here shows, so what asks for
// it is read: iPad Safari's callout (the window's computed style, where an
// engine knows the property, else the page's own sheet); a tap held back
// in case a second follows; and a pinch (Chromium's synthesised pinch does
// nothing headless), which a viewport that fixes the scale would forbid.
test("no callout, no tap held for a double tap, and a pinch may zoom", () => withTab({}, async (tab) => {
    const shown = await tab.evaluate(() => ({
        callout: CSS.supports("-webkit-touch-callout", "none")
            ? getComputedStyle(document.querySelector(".window")).webkitTouchCallout : null,
        touchAction: getComputedStyle(document.body).touchAction,
        viewport: document.querySelector("meta[name=viewport]").content,
    }));
    if (shown.callout !== null)
        assert.equal(shown.callout, "none");
    else
        assert.match(readFileSync(join(pageDir, "torvikan.css"), "utf8").match(/\.window \{[^}]*\}/)[0], /-webkit-touch-callout:\s*none/);
    assert.equal(shown.touchAction, "manipulation", "taps on the page are held for a double tap");
    assert.doesNotMatch(shown.viewport, /user-scalable\s*=\s*(no|0)|maximum-scale\s*=\s*1(\.0*)?\b/);
}));

test("a double tap on 次へ takes two steps and does not zoom", { skip: lacks("touch") },
    () => withTab({ viewport: { width: 768, height: 1024 }, scale: 2, tablet: true, init: watchMenus }, async (tab) => {
        await tab.tap("#nextButton");
        await tab.tap("#nextButton");
        assert.deepEqual(await readouts(tab), tableRows(defaults, 2)[2].readouts);
        assert.equal(await tab.evaluate(() => visualViewport.scale), 1);
    }));

// A browser without WebAssembly, as some locked-down school devices are.
test("without WebAssembly the page says in Japanese that it cannot start", () =>
    withTab({ init: () => delete window.WebAssembly, ready: false }, async (tab) => {
        await tab.waitFor(() => document.getElementById("ended") !== null, undefined, "the notice");
        assert.deepEqual(await tab.evaluate(() => {
            const notice = document.getElementById("ended");
            return { text: notice.textContent, role: notice.getAttribute("role"), controls: document.querySelectorAll("button, input").length };
        }), { text: words.cannotStart, role: "alert", controls: 0 });
    }));

test("with scripts off the page says in Japanese how to start it", async () => {
    const notice = readFileSync(join(pageDir, "index.html"), "utf8").match(/<noscript>(.*)<\/noscript>/)?.[1];
    assert.equal(notice, "Torvikan を使うには、ブラウザーの JavaScript を有効にしてください。");
    // With scripts off the automation reads no text, in some engines; that
    // the notice is drawn, dark on the page's grey, it sees in a picture.
    await withTab({ scripts: false, ready: false }, async (tab) => {
        let ink = 0;
        for (const until = Date.now() + 10000; ink <= 200 && Date.now() < until;) {
            await new Promise((resolve) => setTimeout(resolve, 200));
            const { rgb } = readPng(await tab.screenshot());
            ink = 0;
            for (let i = 0; i < rgb.length; i += 3)
                ink += rgb[i] < 80 && rgb[i + 1] < 80 && rgb[i + 2] < 80;
        }
        assert.ok(ink > 200, `${ink} dark pixels on the page`);
    });
});

// Printed with Ctrl+P, the pupils' page is the field and its numbers, not
// buttons that do nothing on paper.
test("printed, the page holds the read-outs and no button", { skip: lacks("print") }, () => withTab({}, async (tab) => {
    await clickNext(tab, 3);
    const text = execFileSync("pdftotext", ["-", "-"], { input: await tab.pdf(), encoding: "utf8" });
    for (const readout of tableRows(defaults, 3)[3].readouts)
        assert.ok(text.includes(readout), `${readout} printed`);
    for (const caption of ["次へ", "初期化", "HELP", "終了"])
        assert.ok(!text.includes(caption), `${caption} printed`);
}));
