// The teacher's page gives what the teacher's tools give for the same
// inputs: the sheet's rows against torvikan-table's, the CSV's bytes, the
// convergence table and, printed, torvikan-sheet's words and numbers in
// their order; a pupils' sheet with no answer on it; inputs that a link
// brings and keeps; all within a small laptop's screen.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { test } from "node:test";
import { browser, lacks, pageDir, run, sheetTool, tableLines, tableTool, withTab } from "./browser.js";

const teacherUrl = pathToFileURL(join(pageDir, "teacher.html")).href;
// The teacher's page for the address's query, on a small laptop's screen.
const withTeacher = (query, check) =>
    withTab({ viewport: { width: 1024, height: 600 }, url: `${teacherUrl}${query ? "?" + query : ""}` }, check);

// The sheet's table rows on every page, each its cells' texts.
const sheetRows = (tab) => tab.evaluate(() =>
    [...document.querySelectorAll(".sheetTable tbody tr")].map((tr) => [...tr.cells].map((td) => td.textContent)));

// The form's inputs: the texts, then the two boxes ticked or not.
const formValues = (tab) => tab.evaluate(() => {
    const f = document.getElementById("inputs").elements;
    return ["u", "v", "h", "clicks", "every", "grid"].map((n) => f.namedItem(n).value)
        .concat(["exact", "blank"].map((n) => f.namedItem(n).checked));
});

// The tools' options for the page's address: those named in `only`, or
// all of them; exact and blank are flags.
const toolArgs = (query, only) => [...new URLSearchParams(query)].filter(([name]) => !only || only.includes(name))
    .flatMap(([name, value]) => (["exact", "blank"].includes(name) ? [`--${name}`] : [`--${name}`, value]));
const tableArgs = (query, steps) => ["--steps", String(steps), ...toolArgs(query, ["u", "v", "h", "exact"])];

// The read-outs of every click as torvikan-table gives them, with the
// sheet's words for its cue and fault columns.
const tableByClick = (query, steps) => tableLines(tableArgs(query, steps)).map((c) => {
    const cue = c[7] ? "エラー※" : c[6] === "1" ? "鳴った" : "";
    const exact = c.length > 8 ? c.slice(8).map((x) => x || "－") : [];
    return [c[0], ...c.slice(1, 6), cue, ...exact];
});

// The bytes and name the page hands its download link, read back from the
// Blob; the link's click saves nothing.
async function savedCsv(tab) {
    await tab.evaluate(() => {
        const make = URL.createObjectURL;
        URL.createObjectURL = (blob) => ((window.savedBlob = blob), make(blob));
        HTMLAnchorElement.prototype.click = function () {
            window.savedName = this.download;
        };
    });
    await tab.click("#csv");
    return tab.evaluate(async () => ({ name: window.savedName, bytes: Array.from(new Uint8Array(await window.savedBlob.arrayBuffer())) }));
}

for (const [name, query] of [
    ["the record to the catch", ""],
    ["full-width digits", "u=%EF%BC%96&v=%EF%BC%91%EF%BC%90&h=0%EF%BC%8E1&exact=1"],
    ["the exact chase, full-width digits, 40 clicks", "u=%EF%BC%98&h=0.2&clicks=40&exact=1"],
    ["a fault part-way", "u=10&h=5&clicks=3"],
    ["a mouse faster than the dog", "u=12&v=10&clicks=60&every=3"],
    ["a mouse that stands still, to the exact catch", "u=0&exact=1"],
    ["time running backwards", "h=-0.1&clicks=30&every=2"],
]) {
    test(`the sheet's table is torvikan-table's row for row, the CSV byte for byte: ${name}`, () => withTeacher(query, async (tab) => {
        const rows = await sheetRows(tab);
        assert.ok(rows.length >= 2, "the sheet lists clicks");
        const steps = new URLSearchParams(query).get("clicks") ?? rows.at(-1)[0];
        const table = tableByClick(query, steps);
        for (const row of rows)
            assert.deepEqual(row, table[Number(row[0])], `click ${row[0]}`);
        const saved = await savedCsv(tab);
        assert.match(saved.name, /\.csv$/);
        assert.deepEqual(Buffer.from(saved.bytes), run(tableTool, ["--csv", ...tableArgs(query, steps)]));
        const [width, room] = await tab.evaluate(() => [document.documentElement.scrollWidth, innerWidth]);
        assert.ok(width <= room, `the page is ${width} wide in a 1024 × 600 screen's ${room}`);
    }));
}

test("the convergence table is torvikan-table's for the K a teacher chooses", () => withTeacher("u=5&v=9&h=0.2", async (tab) => {
    await tab.fill('[name="converge"]', "5");
    // Retyping empties the box for a moment, and a slow engine may show that first.
    await tab.waitFor(() => document.querySelectorAll("#convergenceTable tr").length === 6, undefined,
        "the table of K = 5");
    const rows = await tab.evaluate(() =>
        [...document.querySelectorAll("#convergenceTable tr")].map((tr) => [...tr.cells].map((c) => c.textContent)));
    const expected = run(tableTool, ["--u", "5", "--v", "9", "--h", "0.2", "--converge", "5"]).toString("utf8")
        .trimEnd().split("\n").map((line) => line.split("\t"));
    assert.deepEqual(rows, expected.map((row) => row.concat(Array(rows[0].length - row.length).fill(""))));
}));

test("the pupils' sheet gives no answer away", async () => {
    const answerClicks = (await withTeacher("", sheetRows)).map((r) => r[0]);
    await withTeacher("blank=1&exact=1", async (tab) => {
        const rows = await sheetRows(tab);
        assert.deepEqual(rows.map((r) => r[0]), answerClicks, "the answer sheet's clicks");
        for (const row of rows)
            assert.deepEqual(row.slice(1), Array(row.length - 1).fill(""), `click ${row[0]} is left to fill in`);
        const answers = tableByClick("", Number(rows.at(-1)[0]));
        const text = await tab.evaluate(() => document.getElementById("sheet").innerText);
        for (const value of answers.slice(1).flatMap((r) => r.slice(1, 6)).filter((v) => v !== "0.000"))
            assert.ok(!text.includes(value), `${value} is not on the sheet`);
        assert.ok(!text.includes("理論上"), "nothing of the exact chase");
        assert.equal(await tab.evaluate(() => document.querySelector('[name="exact"]').disabled), true);
    });
});

test("a link brings its inputs, editing keeps the address, and the pupils' link carries u, v and h",
    () => withTeacher("u=8&v=10&h=0.2&clicks=40&every=5&exact=1&grid=5", async (tab) => {
        assert.deepEqual(await formValues(tab), ["8", "10", "0.2", "40", "5", "5", true, false]);
        assert.equal(await tab.evaluate(() => document.querySelector(".sheetCaption").textContent),
            "［次へ］を 40 回クリックしたときの記録（5 回ごと）");
        await tab.fill('[name="u"]', "７");
        await tab.waitFor(() => new URLSearchParams(location.search).get("u") === "７", undefined, "the address to follow");
        const search = await tab.evaluate(() => location.search);
        const pupils = await tab.evaluate(() => document.getElementById("pupilsLink").getAttribute("href"));
        assert.equal(pupils, "index.html?u=%EF%BC%97&v=10&h=0.2");
        await browser.reopen(tab, `${teacherUrl}${search}`);
        assert.deepEqual(await formValues(tab), ["７", "10", "0.2", "40", "5", "5", true, false]);
    }));

test("without a query the inputs are the window's and the tools' defaults", () => withTeacher("", async (tab) => {
    assert.deepEqual(await formValues(tab), ["6", "10", "0.1", "", "", "10", false, false]);
    // A value in the address is text, never markup.
    await browser.reopen(tab, `${teacherUrl}?u=${encodeURIComponent('<img src=x onerror="window.ran=1">')}`);
    assert.equal(await tab.evaluate(() => window.ran === undefined), true);
    assert.ok((await tab.evaluate(() => document.querySelector(".sheetInputs").textContent)).includes("<img"));
}));

// pdftotext's words in the order the PDF holds them, blanks aside; the
// sheet tool's field labels are text, the page's field a picture.
function pdfWords(pdf, withoutLabels) {
    const text = execFileSync("pdftotext", ["-raw", "-", "-"], { input: pdf, encoding: "utf8" }).replace(/\s+/g, "");
    return withoutLabels ? text.replace("ｍ504030201000102030405060708090100", "") : text;
}

for (const [name, query] of [
    ["an answer sheet with the exact chase", "exact=1"],
    ["a pupils' sheet on 1 m squares", "blank=1&grid=1"],
    ["every click, on two pages", "every=1"],
    ["a fault part-way", "u=10&h=5&clicks=3"],
    ["texts that are more than a number", "u=abc&v=276.265625x&clicks=3"],
]) {
    test(`printed, the sheet says what torvikan-sheet says: ${name}`, { skip: lacks("print") }, () => withTeacher(query, async (tab) => {
        const folder = mkdtempSync(join(tmpdir(), "torvikan-sheet-"));
        try {
            const sheetPdf = join(folder, "sheet.pdf");
            run(sheetTool, [...toolArgs(query), sheetPdf]);
            const printed = await tab.pdf();
            const pages = (pdf) => Number(/Pages:\s+(\d+)/.exec(execFileSync("pdfinfo", ["-"], { input: pdf, encoding: "utf8" }))[1]);
            assert.equal(pages(printed), pages(readFileSync(sheetPdf)));
            assert.equal(pdfWords(printed, false), pdfWords(readFileSync(sheetPdf), true));
            // Only the field is a picture.
            const images = execFileSync("pdfimages", ["-list", "-"], { input: printed, encoding: "utf8" });
            assert.equal(images.trim().split("\n").length - 2, 1, images);
        } finally {
            rmSync(folder, { recursive: true, force: true });
        }
    }));
}
