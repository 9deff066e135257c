// The page's read-outs are the teacher's table, click by click, and a
// click that cannot be finished shows the window's message and changes
// nothing.

import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { launch, openPage, readouts, tableRows, typeInputs, windowField } from "./browser.js";

const rows = [
    { name: "the default inputs, past the catch", inputs: ["6", "10", "0.1"], clicks: 80 },
    { name: "full-width digits", inputs: ["６", "１２", "０．０５"], clicks: 30 },
    { name: "the dog lands on the mouse, then cannot go on", inputs: ["0", "10", "5"], clicks: 3 },
    { name: "a speed too large to hold", inputs: ["１e39", "10", "0.1"], clicks: 1 },
];

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

for (const { name, inputs, clicks } of rows) {
    test(name, async () => {
        const table = tableRows(inputs, clicks);
        const messages = [...windowField(inputs, clicks, 1).messages];
        const { context, page } = await openPage(browser);
        try {
            assert.deepEqual(await readouts(page), table[0].readouts, "the start");
            await typeInputs(page, inputs);
            for (let click = 1; click <= clicks; click++) {
                await page.click("#nextButton");
                const shown = await page.evaluate(() => {
                    const box = document.querySelector("dialog#messageBox[open]");
                    return box && { title: box.querySelector("#messageTitle").textContent,
                        text: box.querySelector("#messageText").textContent };
                });
                if (table[click].fault) {
                    assert.deepEqual(shown, { title: "Torvikan", text: messages.shift() }, `click ${click}'s message`);
                    await page.click("#okButton");
                } else {
                    assert.equal(shown, null, `click ${click} shows no message`);
                }
                assert.deepEqual(await readouts(page), table[click].readouts, `click ${click}`);
            }
            assert.deepEqual(messages, [], "every message the window showed");
        } finally {
            await context.close();
        }
    });
}
