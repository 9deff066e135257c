// The page's read-outs and catch cues are the teacher's table, click by
// click, in every engine, and a click that cannot be finished shows the
// window's message, sounds nothing and changes nothing.

import assert from "node:assert/strict";
import { test } from "node:test";
import { cuesOf, messageShown, readouts, tableRows, typeInputs, windowField, withCues } from "./browser.js";

for (const { name, inputs, clicks } of [
    { name: "the default inputs, past the catch", inputs: ["6", "10", "0.1"], clicks: 85 },
    { name: "full-width digits", inputs: ["６", "１２", "０．０５"], clicks: 30 },
    { name: "an exponent after a leading blank", inputs: [" 6e0", "1E1", " 1e-1"], clicks: 12 },
    { name: "junk reads as the number it begins with, or 0", inputs: ["abc", "10m", "0.1秒"], clicks: 6 },
    { name: "a mouse faster than the dog", inputs: ["12", "10", "0.5"], clicks: 25 },
    { name: "the dog lands on the mouse, then cannot go on", inputs: ["0", "10", "5"], clicks: 3 },
    { name: "a fault part-way through, then more clicks", inputs: ["10", "10", "5"], clicks: 4 },
    { name: "a speed too large to hold", inputs: ["１e39", "10", "0.1"], clicks: 1 },
]) {
    test(name, () => withCues(async (tab) => {
        const table = tableRows(inputs, clicks);
        const messages = [...windowField(inputs, clicks, 1).messages];
        assert.deepEqual(await readouts(tab), table[0].readouts, "the start");
        await typeInputs(tab, inputs);
        for (let click = 1; click <= clicks; click++) {
            const cues = await cuesOf(tab, () => tab.click("#nextButton"));
            assert.deepEqual(cues, table[click].cue ? ["logoff.wav"] : [], `click ${click}'s cue`);
            const shown = await messageShown(tab);
            if (table[click].fault) {
                assert.deepEqual(shown, { title: "Torvikan", text: messages.shift(), buttons: ["OK"], focus: "okButton" },
                    `click ${click}'s message`);
                assert.deepEqual(await cuesOf(tab, () => tab.click("#okButton")), [], "OK sounds nothing");
            } else {
                assert.equal(shown, null, `click ${click} shows no message`);
            }
            assert.deepEqual(await readouts(tab), table[click].readouts, `click ${click}`);
        }
        assert.deepEqual(messages, [], "every message the window showed");
    }));
}
