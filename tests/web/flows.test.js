// What a pupil does beyond the numbers: the cues that each click starts,
// HELP and back, the exit question, and taps on a touch screen.

import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { inputIds, launch, openPage, property, readForm, readouts, source, tableRows, typeInputs } from "./browser.js";

// Notes every cue that starts (the page names it in data-cue on <html>),
// and counts the cues decoded, so that a check can wait until they can play.
function logCues() {
    window.cuesStarted = [];
    window.cuesDecoded = 0;
    new MutationObserver((records) => records.forEach((r) => window.cuesStarted.push(r.target.dataset.cue)))
        .observe(document, { subtree: true, attributes: true, attributeFilter: ["data-cue"] });
    const decode = BaseAudioContext.prototype.decodeAudioData;
    BaseAudioContext.prototype.decodeAudioData = function (...args) {
        return decode.apply(this, args).then((buffer) => {
            window.cuesDecoded++;
            return buffer;
        });
    };
}

async function openWithCues(browser) {
    const opened = await openPage(browser, { before: (c) => c.addInitScript(logCues) });
    await opened.page.waitForFunction(() => window.cuesDecoded === 3);
    return opened;
}

// The cues that started while `act` ran: a cue is due within a frame of its
// click, so the click's own handler must have started it.
async function cuesOf(page, act) {
    await page.evaluate(() => (window.cuesStarted = []));
    await act();
    return page.evaluate(() => window.cuesStarted);
}

const title = (file) => property(readForm(file).children.find((c) => c.tag === "widget"), "windowTitle").text;

const defaults = ["6", "10", "0.1"];

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

test("次へ starts the catch cue on the table's catch clicks, and on no other", async () => {
    const table = tableRows(defaults, 85);
    const { context, page } = await openWithCues(browser);
    try {
        for (let click = 1; click < table.length; click++) {
            const started = await cuesOf(page, () => page.click("#nextButton"));
            assert.deepEqual(started, table[click].cue ? ["logoff.wav"] : [], `click ${click}`);
        }
    } finally {
        await context.close();
    }
});

for (const { name, inputs, clicks } of [
    { name: "初期化 chimes", clicks: [["#startOverButton", ["pinpon.wav"]]] },
    { name: "HELP chimes, 閉じる is silent", clicks: [["#helpButton", ["pinpon.wav"]], ["#closeButton", []]] },
    { name: "終了 says goodbye, いいえ is silent", clicks: [["#quitButton", ["endpinpon.wav"]], ["#noButton", []]] },
    { name: "a click that cannot go on is silent", inputs: ["１e39", "10", "0.1"],
        clicks: [["#nextButton", []], ["#okButton", []]] },
]) {
    test(name, async () => {
        const { context, page } = await openWithCues(browser);
        try {
            if (inputs)
                await typeInputs(page, inputs);
            for (const [button, expected] of clicks)
                assert.deepEqual(await cuesOf(page, () => page.click(button)), expected, button);
        } finally {
            await context.close();
        }
    });
}

test("HELP replaces the main view, and 閉じる brings a fresh one", async () => {
    const { context, page } = await openPage(browser);
    try {
        await typeInputs(page, ["3", "12", "0.5"]);
        await page.click("#nextButton");
        await page.click("#helpButton");
        const help = await page.evaluate(() => ({
            title: document.querySelector("title").textContent,
            focus: document.activeElement.id,
            text: document.getElementById("helpText").textContent + "\n",
            mainView: document.getElementById("nextButton") !== null,
        }));
        assert.deepEqual(help, {
            title: title("help_window/help_window.ui"),
            focus: "closeButton",
            text: readFileSync(join(source, "tests/help_text.txt"), "utf8"),
            mainView: false,
        });
        // Space presses the focused 閉じる.
        await page.keyboard.press("Space");
        const main = await page.evaluate((ids) => ({
            title: document.querySelector("title").textContent,
            focus: document.activeElement.id,
            inputs: ids.map((id) => document.getElementById(id).value),
        }), inputIds);
        assert.deepEqual(main, { title: title("main_window/main_window.ui"), focus: "field", inputs: defaults });
        assert.deepEqual(await readouts(page), tableRows(defaults, 0)[0].readouts);
    } finally {
        await context.close();
    }
});

test("終了 asks, and いいえ keeps the chase", async () => {
    const table = tableRows(defaults, 6);
    const { context, page } = await openPage(browser);
    try {
        for (let i = 0; i < 5; i++)
            await page.click("#nextButton");
        await page.click("#quitButton");
        const question = await page.evaluate(() => ({
            title: document.getElementById("messageTitle").textContent,
            text: document.getElementById("messageText").textContent,
            buttons: [...document.querySelectorAll("#messageBox button")].map((b) => b.textContent),
            focus: document.activeElement.id,
        }));
        assert.deepEqual(question,
            { title: "Torvikan", text: "終了していいですか？", buttons: ["はい", "いいえ"], focus: "yesButton" });
        // The question is modal: 次へ under it takes no click.
        const next = await page.locator("#nextButton").boundingBox();
        await page.mouse.click(next.x + next.width / 2, next.y + next.height / 2);
        await page.click("#noButton");
        assert.equal(await page.locator("#messageBox").count(), 0, "the question has gone");
        assert.deepEqual(await readouts(page), table[5].readouts, "the chase as it was");
        await page.click("#nextButton");
        assert.deepEqual(await readouts(page), table[6].readouts, "the chase goes on");
    } finally {
        await context.close();
    }
});

test("終了, はい ends the lesson and leaves nothing to click", async () => {
    const { context, page } = await openPage(browser);
    try {
        await page.click("#quitButton");
        await page.keyboard.press("Enter"); // はい, the default
        const ended = await page.evaluate(() => ({
            notice: document.getElementById("ended")?.textContent ?? "",
            controls: document.querySelectorAll("button, input, [tabindex], dialog").length,
        }));
        assert.match(ended.notice, /終了しました/);
        assert.equal(ended.controls, 0, "controls left");
    } finally {
        await context.close();
    }
});

test("a double tap on 次へ takes two steps and does not zoom", async () => {
    const { context, page } = await openPage(browser, { viewport: { width: 768, height: 1024 }, scale: 2, tablet: true });
    try {
        const next = await page.locator("#nextButton").boundingBox();
        const [x, y] = [next.x + next.width / 2, next.y + next.height / 2];
        await page.touchscreen.tap(x, y);
        await page.touchscreen.tap(x, y);
        assert.deepEqual(await readouts(page), tableRows(defaults, 2)[2].readouts);
        assert.equal(await page.evaluate(() => visualViewport.scale), 1);
    } finally {
        await context.close();
    }
});
