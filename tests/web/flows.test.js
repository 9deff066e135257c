// What a pupil does beyond the numbers: the cues the other buttons start,
// HELP and back, the exit question, and a link that gives the inputs'
// start texts.

import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { clickNext, cuesOf, defaults, inputTexts, messageShown, pageUrl, readForm, readouts, source, tableRows, typeInputs, withCues,
    withTab } from "./browser.js";

const title = async (tab, file) => (await readForm(tab, file)).widgets[0].windowTitle;

// The catch cue, and the silence of a click that cannot go on, are the
// read-outs' suite's; the other buttons' cues are checked here.
test("HELP chimes and replaces the main view, and Space on its 閉じる brings the main view back, silently", () => withCues(async (tab) => {
    const titles = [await title(tab, "help_window/help_window.ui"), await title(tab, "main_window/main_window.ui")];
    assert.deepEqual(await cuesOf(tab, () => tab.click("#helpButton")), ["pinpon.wav"], "HELP");
    const view = () => tab.evaluate(() => ({
        title: document.querySelector("title").textContent,
        focus: document.activeElement.id,
        text: document.getElementById("helpText")?.textContent ?? null,
        mainView: document.getElementById("nextButton") !== null,
    }));
    assert.deepEqual(await view(), {
        title: titles[0],
        focus: "closeButton",
        text: readFileSync(join(source, "tests/help_text.txt"), "utf8").replace(/\n$/, ""),
        mainView: false,
    });
    assert.deepEqual(await cuesOf(tab, () => tab.press("Space")), [], "閉じる");
    assert.deepEqual(await view(), { title: titles[1], focus: "field", text: null, mainView: true });
}));

// A teacher's link: the start texts of every main view, the first and the
// fresh one that 閉じる brings back whatever was typed, each as typed in
// the address.
const markup = '<img src=x onerror="document.documentElement.dataset.ran=1">';
for (const { name, query, inputs } of [
    { name: "no query", query: "", inputs: defaults },
    { name: "all three keys", query: "?u=8&v=10&h=0.2", inputs: ["8", "10", "0.2"] },
    { name: "a key left out", query: "?v=12", inputs: ["6", "12", "0.1"] },
    { name: "full-width digits", query: `?u=${encodeURIComponent("８")}&h=${encodeURIComponent("０．２")}`,
        inputs: ["８", "10", "０．２"] },
    { name: "junk", query: "?u=fast&v=1+0", inputs: ["fast", "1 0", "0.1"] },
    { name: "markup", query: `?u=${encodeURIComponent(markup)}`, inputs: [markup, "10", "0.1"] },
]) {
    test(`a link's start texts: ${name}`, () => withTab({ url: pageUrl + query }, async (tab) => {
        const table = tableRows(inputs, 1);
        assert.deepEqual(await inputTexts(tab), inputs, "the start texts");
        await tab.click("#nextButton");
        assert.deepEqual(await readouts(tab), table[1].readouts, "次へ");
        await typeInputs(tab, ["3", "12", "0.5"]);
        await tab.click("#helpButton");
        await tab.click("#closeButton");
        assert.deepEqual(await inputTexts(tab), inputs, "after HELP and 閉じる");
        assert.deepEqual(await readouts(tab), table[0].readouts, "a fresh start");
        const ran = await tab.evaluate(() => ({
            script: document.documentElement.dataset.ran ?? null,
            pictures: document.querySelectorAll("img").length,
        }));
        assert.deepEqual(ran, { script: null, pictures: 2 }, "nothing of the address ran as markup");
    }));
}

test("終了 says goodbye and asks, いいえ keeps the chase silently, and 初期化 chimes", () => withCues(async (tab) => {
    const table = tableRows(defaults, 6);
    await clickNext(tab, 5);
    assert.deepEqual(await cuesOf(tab, () => tab.click("#quitButton")), ["endpinpon.wav"], "終了");
    assert.deepEqual(await messageShown(tab),
        { title: "Torvikan", text: "終了していいですか？", buttons: ["はい", "いいえ"], focus: "yesButton" });
    // The question is modal: 次へ under it takes no click.
    await tab.clickAt("#nextButton");
    assert.deepEqual(await cuesOf(tab, () => tab.click("#noButton")), [], "いいえ");
    assert.equal(await tab.evaluate(() => document.querySelectorAll("#messageBox").length), 0, "the question has gone");
    assert.deepEqual(await readouts(tab), table[5].readouts, "the chase as it was");
    await tab.click("#nextButton");
    assert.deepEqual(await readouts(tab), table[6].readouts, "the chase goes on");
    assert.deepEqual(await cuesOf(tab, () => tab.click("#startOverButton")), ["pinpon.wav"], "初期化");
}));

test("終了, はい ends the lesson and leaves nothing to click", () => withTab({}, async (tab) => {
    await tab.click("#quitButton");
    await tab.press("Enter"); // はい, the default
    const ended = await tab.evaluate(() => ({
        notice: document.getElementById("ended")?.textContent ?? "",
        controls: document.querySelectorAll("button, input, [tabindex], dialog").length,
    }));
    assert.match(ended.notice, /終了しました/);
    assert.equal(ended.controls, 0, "controls left");
}));
