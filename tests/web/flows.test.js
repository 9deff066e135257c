// What a pupil does beyond the numbers: the cues that each click starts,
// HELP and back, the exit question, and a link that gives the inputs'
// start texts.

import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { inputIds, launch, pageUrl, property, readForm, readouts, source, tableRows, typeInputs } from "./browser.js";

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
    const tab = await browser.open({ init: logCues });
    await tab.waitFor(() => window.cuesDecoded === 3, undefined, "the three cues to be decoded");
    return tab;
}

// The cues that started while `act` ran: a cue is due within a frame of its
// click, so the click's own handler must have started it.
async function cuesOf(tab, act) {
    await tab.evaluate(() => (window.cuesStarted = []));
    await act();
    return tab.evaluate(() => window.cuesStarted);
}

const title = (file) => property(readForm(file).children.find((c) => c.tag === "widget"), "windowTitle").text;

const defaults = ["6", "10", "0.1"];

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

test("次へ starts the catch cue on the table's catch clicks, and on no other", async () => {
    const table = tableRows(defaults, 85);
    const tab = await openWithCues(browser);
    try {
        for (let click = 1; click < table.length; click++) {
            const started = await cuesOf(tab, () => tab.click("#nextButton"));
            assert.deepEqual(started, table[click].cue ? ["logoff.wav"] : [], `click ${click}`);
        }
    } finally {
        await tab.close();
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
        const tab = await openWithCues(browser);
        try {
            if (inputs)
                await typeInputs(tab, inputs);
            for (const [button, expected] of clicks)
                assert.deepEqual(await cuesOf(tab, () => tab.click(button)), expected, button);
        } finally {
            await tab.close();
        }
    });
}

test("HELP replaces the main view, and 閉じる brings a fresh one", async () => {
    const tab = await browser.open();
    try {
        await typeInputs(tab, ["3", "12", "0.5"]);
        await tab.click("#nextButton");
        await tab.click("#helpButton");
        const help = await tab.evaluate(() => ({
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
        await tab.press("Space");
        const main = await tab.evaluate((ids) => ({
            title: document.querySelector("title").textContent,
            focus: document.activeElement.id,
            inputs: ids.map((id) => document.getElementById(id).value),
        }), inputIds);
        assert.deepEqual(main, { title: title("main_window/main_window.ui"), focus: "field", inputs: defaults });
        assert.deepEqual(await readouts(tab), tableRows(defaults, 0)[0].readouts);
    } finally {
        await tab.close();
    }
});

// A teacher's link: the start texts of every main view, the first and the
// one that 閉じる brings back, each as typed in the address.
const markup = '<img src=x onerror="document.documentElement.dataset.ran=1">';
for (const { name, query, inputs, first } of [
    { name: "no query", query: "", inputs: defaults },
    // The first click's read-outs as torvikan-table gives them.
    { name: "all three keys", query: "?u=8&v=10&h=0.2", inputs: ["8", "10", "0.2"],
        first: ["1.600", "0.000", "0.000", "48.000", "0.200"] },
    { name: "a key left out", query: "?v=12", inputs: ["6", "12", "0.1"] },
    { name: "full-width digits", query: `?u=${encodeURIComponent("８")}&h=${encodeURIComponent("０．２")}`,
        inputs: ["８", "10", "０．２"] },
    { name: "junk", query: "?u=fast&v=1+0", inputs: ["fast", "1 0", "0.1"] },
    { name: "markup", query: `?u=${encodeURIComponent(markup)}`, inputs: [markup, "10", "0.1"] },
]) {
    test(`a link's start texts: ${name}`, async () => {
        const boxes = (tab) => tab.evaluate((ids) => ids.map((id) => document.getElementById(id).value), inputIds);
        const table = tableRows(inputs, 1);
        if (first)
            assert.deepEqual(table[1].readouts, first, "torvikan-table's first click");
        const tab = await browser.open({ url: pageUrl + query });
        try {
            assert.deepEqual(await boxes(tab), inputs, "the start texts");
            await tab.click("#nextButton");
            assert.deepEqual(await readouts(tab), table[1].readouts, "次へ");
            await tab.click("#helpButton");
            await tab.click("#closeButton");
            assert.deepEqual(await boxes(tab), inputs, "after HELP and 閉じる");
            assert.deepEqual(await readouts(tab), table[0].readouts, "a fresh start");
            const ran = await tab.evaluate(() => ({
                script: document.documentElement.dataset.ran ?? null,
                pictures: document.querySelectorAll("img").length,
            }));
            assert.deepEqual(ran, { script: null, pictures: 2 }, "nothing of the address ran as markup");
        } finally {
            await tab.close();
        }
    });
}

test("終了 asks, and いいえ keeps the chase", async () => {
    const table = tableRows(defaults, 6);
    const tab = await browser.open();
    try {
        for (let i = 0; i < 5; i++)
            await tab.click("#nextButton");
        await tab.click("#quitButton");
        const question = await tab.evaluate(() => ({
            title: document.getElementById("messageTitle").textContent,
            text: document.getElementById("messageText").textContent,
            buttons: [...document.querySelectorAll("#messageBox button")].map((b) => b.textContent),
            focus: document.activeElement.id,
        }));
        assert.deepEqual(question,
            { title: "Torvikan", text: "終了していいですか？", buttons: ["はい", "いいえ"], focus: "yesButton" });
        // The question is modal: 次へ under it takes no click.
        await tab.clickAt("#nextButton");
        await tab.click("#noButton");
        assert.equal(await tab.evaluate(() => document.querySelectorAll("#messageBox").length), 0, "the question has gone");
        assert.deepEqual(await readouts(tab), table[5].readouts, "the chase as it was");
        await tab.click("#nextButton");
        assert.deepEqual(await readouts(tab), table[6].readouts, "the chase goes on");
    } finally {
        await tab.close();
    }
});

test("終了, はい ends the lesson and leaves nothing to click", async () => {
    const tab = await browser.open();
    try {
        await tab.click("#quitButton");
        await tab.press("Enter"); // はい, the default
        const ended = await tab.evaluate(() => ({
            notice: document.getElementById("ended")?.textContent ?? "",
            controls: document.querySelectorAll("button, input, [tabindex], dialog").length,
        }));
        assert.match(ended.notice, /終了しました/);
        assert.equal(ended.controls, 0, "controls left");
    } finally {
        await tab.close();
    }
});
