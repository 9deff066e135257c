// What a pupil with a screen reader is told: after each click, once the
// clicks pause, one polite announcement of the read-outs and of the catch
// cue; nothing over a message box; and a description of the field that
// follows the chase, while every control keeps the form's name.

import assert from "node:assert/strict";
import { test } from "node:test";
import { clickNext, defaults, lacks, readForm, readouts, tableRows, typeInputs, withTab, words } from "./browser.js";

// Well past the pause that an announcement waits for after a click.
const settle = 1500;

// Notes the live region's text at every change to it.
function watchAnnouncements() {
    const region = document.getElementById("announcement");
    window.announced = [];
    new MutationObserver((records) => records.forEach(() => window.announced.push(region.textContent)))
        .observe(region, { childList: true, characterData: true, subtree: true });
}

// What the region said while `act` ran and for a while after.
async function announcedDuring(tab, act) {
    await tab.evaluate(() => (window.announced = []));
    await act();
    await new Promise((resolve) => setTimeout(resolve, settle));
    return tab.evaluate(() => window.announced);
}

const withWatched = (inputs, check) => withTab({}, async (tab) => {
    await tab.evaluate(watchAnnouncements);
    if (inputs)
        await typeInputs(tab, inputs);
    return check(tab);
});

// The read-outs in the order an announcement says them: the time first.
const spoken = (readouts) => [readouts[4], ...readouts.slice(0, 4)];
const numbers = (text) => text.match(/-?\d+\.\d+/g) ?? [];

const fieldDescription = (tab) => tab.evaluate(() =>
    document.getElementById(document.getElementById("field").getAttribute("aria-describedby"))?.textContent ?? null);

// The catch cue sounds whenever the mouse's x is not greater than the
// dog's, which is not always a catch: the announcement must say so then,
// and only then. Each row announces after each of its clicks in turn.
for (const { name, inputs, clicks } of [
    { name: "the first click, the first catch cue at the 78th, none at the 79th", inputs: defaults, clicks: [1, 78, 79] },
    { name: "u > v: the mouse outruns the dog", inputs: ["12", "10", "0.1"], clicks: [2] },
    { name: "u = 0: the cue from the first click, the dog 49 m off", inputs: ["0", "10", "0.1"], clicks: [1] },
    { name: "h < 0: the cue as the mouse runs backwards", inputs: ["6", "10", "-0.1"], clicks: [1] },
    { name: "v = 300: the dog past the mouse's x, 20 m off", inputs: ["6", "300", "0.1"], clicks: [3] },
]) {
    test(`次へ announces the read-outs and the cue: ${name}`, () => withWatched(inputs, async (tab) => {
        const table = tableRows(inputs, clicks.at(-1));
        let done = 0;
        for (const click of clicks) {
            const said = (await announcedDuring(tab, () => clickNext(tab, click - done))).at(-1);
            done = click;
            assert.deepEqual(numbers(said), spoken(table[click].readouts), `click ${click}: the numbers of "${said}"`);
            assert.equal(said.includes(words.cueSounded), table[click].cue, `click ${click}: "${said}" says the cue sounded`);
        }
    }));
}

// The region is polite and seen by nothing but a screen reader; it says
// nothing at the start, and 初期化 says the start.
test("the announcements are polite, unseen, and 初期化 says the start", () => withWatched(null, async (tab) => {
    assert.equal(await tab.evaluate(() => document.getElementById("announcement").textContent), "", "at the start");
    await announcedDuring(tab, () => clickNext(tab, 3));
    const region = await tab.evaluate(() => {
        const region = document.getElementById("announcement");
        const style = getComputedStyle(region);
        const box = region.getBoundingClientRect();
        return { live: region.getAttribute("aria-live"), text: region.textContent,
            rendered: style.display !== "none" && style.visibility !== "hidden", size: Math.max(box.width, box.height) };
    });
    assert.equal(region.live, "polite");
    assert.notEqual(region.text, "", "something was announced");
    assert.ok(region.rendered, "in the tab for a screen reader, not display: none");
    assert.ok(region.size <= 1, `the region is ${region.size} px across`);
    const said = await announcedDuring(tab, () => tab.click("#startOverButton"));
    assert.equal(said.length, 1, `初期化 said ${JSON.stringify(said)}`);
    assert.ok(said[0].startsWith(words.startedOver), said[0]);
    assert.deepEqual(numbers(said[0]), spoken(await readouts(tab)));
    // The window looks the same with the region and the description gone.
    const withThem = await tab.screenshot();
    await tab.evaluate(() => ["announcement", "fieldDescription"].forEach((id) => document.getElementById(id).remove()));
    assert.ok(withThem.equals(await tab.screenshot()), "the window looks different without them");
}));

// A screen reader in browse mode takes Space itself and clicks the button
// for every key it gets, repeats too (the browser alone clicks a button
// once, when a held Space is let go).
function spaceClicksEveryRepeat() {
    document.getElementById("nextButton").addEventListener("keydown", (event) => {
        if (event.key !== " ")
            return;
        event.preventDefault();
        event.target.click();
    });
}

for (const { name, key, setUp, held = true } of [
    { name: "Enter held on 次へ, which clicks at every repeat", key: "Enter" },
    { name: "Space held on 次へ under a screen reader", key: "Space", setUp: spaceClicksEveryRepeat },
    { name: "Enter pressed twenty times in quick succession", key: "Enter", held: false },
]) {
    test(`one announcement for many clicks: ${name}`, { skip: held && lacks("keyRepeat") }, () => withWatched(null, async (tab) => {
        if (setUp)
            await tab.evaluate(setUp);
        await tab.evaluate(() => document.getElementById("nextButton").focus());
        const said = await announcedDuring(tab, async () => {
            if (held)
                await tab.hold(key, 20);
            else
                for (let i = 0; i < 20; i++)
                    await tab.press(key);
        });
        const seconds = (await readouts(tab))[4];
        assert.equal(seconds, "2.000", "twenty clicks");
        assert.equal(said.length, 1, `announced ${JSON.stringify(said)}`);
        assert.equal(numbers(said[0])[0], seconds, "the last click's");
    }));
}

// A message box speaks for itself; nothing still waiting to be announced
// talks over it.
for (const { name, inputs, settled, quick } of [
    { name: "a speed too large to hold", inputs: ["１e39", "10", "0.1"], settled: 0, quick: ["#nextButton"] },
    { name: "the click after the dog landed on the mouse", inputs: ["0", "10", "5"], settled: 1, quick: ["#nextButton"] },
    { name: "that click straight after the one before", inputs: ["0", "10", "5"], settled: 0, quick: ["#nextButton", "#nextButton"] },
    { name: "終了 straight after 次へ", settled: 0, quick: ["#nextButton", "#quitButton"] },
]) {
    test(`a message box is not talked over: ${name}`, () => withWatched(inputs, async (tab) => {
        await announcedDuring(tab, () => clickNext(tab, settled));
        const said = await announcedDuring(tab, async () => {
            for (const control of quick)
                await tab.click(control);
        });
        assert.equal(await tab.evaluate(() => document.querySelectorAll("dialog#messageBox[open]").length), 1, "the message box is open");
        assert.deepEqual(said, []);
    }));
}

test("the field's description follows the chase", () => withWatched(["0", "10", "5"], async (tab) => {
    const positions = async () => (await readouts(tab)).slice(0, 4);
    const atStart = await fieldDescription(tab);
    assert.deepEqual(numbers(atStart), await positions(), `at the start: "${atStart}"`);
    await tab.click("#nextButton");
    const afterClick = await fieldDescription(tab);
    assert.deepEqual(numbers(afterClick), await positions(), `after a click: "${afterClick}"`);
    assert.notEqual(afterClick.replace(/-?\d+\.\d+/g, ""), atStart.replace(/-?\d+\.\d+/g, ""), "the trails are told of");
    await tab.click("#nextButton");
    await tab.click("#okButton");
    assert.equal(await fieldDescription(tab), afterClick, "after a click that could not be finished");
    await tab.click("#startOverButton");
    assert.equal(await fieldDescription(tab), atStart, "after 初期化");
}));

// Every control of the main window's form with its accessible name (or,
// for a button, its caption), and nothing else that a screen reader would
// read as its name or speak by itself.
test("the controls keep the form's names, and only the field has a description", () => withWatched(null, async (tab) => {
    const expected = (await readForm(tab, "main_window/main_window.ui")).widgets.slice(1)
        .filter((w) => w.accessibleName || w.class === "QPushButton")
        .map((w) => ({ name: w.name, label: w.accessibleName, text: w.class === "QPushButton" ? w.text : null,
            describedBy: w.name === "field" ? "fieldDescription" : null }));
    await announcedDuring(tab, () => clickNext(tab, 3));
    const found = await tab.evaluate((names) => names.map((name) => {
        const element = document.getElementById(name);
        return { name, label: element.getAttribute("aria-label"),
            text: element.tagName === "BUTTON" ? element.textContent : null,
            describedBy: element.getAttribute("aria-describedby") };
    }), expected.map((c) => c.name));
    assert.deepEqual(found, expected);
    const elsewhere = await tab.evaluate(() =>
        [...document.querySelectorAll("[aria-labelledby], [aria-live], [role=status], [role=alert]")].map((e) => e.id));
    assert.deepEqual(elsewhere, ["announcement"], "what else names a control or speaks");
}));
