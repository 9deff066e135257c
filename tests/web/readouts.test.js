// The page's read-outs are the teacher's table, click by click, in every
// engine, and a click that cannot be finished shows the window's message
// and changes nothing.

import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { launch, messageShown, readouts, tableRows, typeInputs, windowField } from "./browser.js";

const rows = [
    { name: "the default inputs, past the catch", inputs: ["6", "10", "0.1"], clicks: 80 },
    { name: "full-width digits", inputs: ["６", "１２", "０．０５"], clicks: 30 },
    { name: "an exponent after a leading blank", inputs: [" 6e0", "1E1", " 1e-1"], clicks: 12 },
    { name: "junk reads as the number it begins with, or 0", inputs: ["abc", "10m", "0.1秒"], clicks: 6 },
    { name: "a mouse faster than the dog", inputs: ["12", "10", "0.5"], clicks: 25 },
    { name: "the dog lands on the mouse, then cannot go on", inputs: ["0", "10", "5"], clicks: 3 },
    { name: "a fault part-way through, then more clicks", inputs: ["10", "10", "5"], clicks: 4 },
    { name: "a speed too large to hold", inputs: ["１e39", "10", "0.1"], clicks: 1 },
];

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

for (const { name, inputs, clicks } of rows) {
    test(name, async () => {
        const table = tableRows(inputs, clicks);
        const messages = [...windowField(inputs, clicks, 1).messages];
        const tab = await browser.open();
        try {
            assert.deepEqual(await readouts(tab), table[0].readouts, "the start");
            await typeInputs(tab, inputs);
            for (let click = 1; click <= clicks; click++) {
                await tab.click("#nextButton");
                const shown = await messageShown(tab);
                if (table[click].fault) {
                    assert.deepEqual(shown, { title: "Torvikan", text: messages.shift() }, `click ${click}'s message`);
                    await tab.click("#okButton");
                } else {
                    assert.equal(shown, null, `click ${click} shows no message`);
                }
                assert.deepEqual(await readouts(tab), table[click].readouts, `click ${click}`);
            }
            assert.deepEqual(messages, [], "every message the window showed");
        } finally {
            await tab.close();
        }
    });
}
