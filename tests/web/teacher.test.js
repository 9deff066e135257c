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
import { after, before, test } from "node:test";
import { lacks, launch, pageDir, sheetTool, tableTool } from "./browser.js";

const teacherUrl = pathToFileURL(join(pageDir, "teacher.html")).href;
const teacherView = { width: 1024, height: 600 };

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

function openTeacher(query = "") {
    return browser.open({ viewport: teacherView, url: `${teacherUrl}${query ? "?" + query : ""}` });
}

function run(tool, args) {
    return execFileSync(tool, args, { stdio: ["ignore", "pipe", "ignore"], env: { ...process.env, QT_QPA_PLATFORM: "offscreen" } });
}

// The sheet's table rows on every page, each its cells' texts.
const sheetRows = (tab) => tab.evaluate(() =>
    [...document.querySelectorAll(".sheetTable tbody tr")].map((tr) => [...tr.cells].map((td) => td.textContent)));

// The tools' options for the page's address.
function toolArgs(query) {
    const args = [];
    for (const [name, value] of new URLSearchParams(query)) {
        if (["exact", "blank"].includes(name))
            args.push(`--${name}`);
        else
            args.push(`--${name}`, value);
    }
    return args;
}

// The read-outs of every click as torvikan-table gives them, with the
// sheet's words for its cue and fault columns.
function tableByClick(query, steps) {
    const params = new URLSearchParams(query);
    const args = ["--steps", String(steps)];
    for (const name of ["u", "v", "h"])
        if (params.has(name))
            args.push(`--${name}`, params.get(name));
    if (params.has("exact"))
        args.push("--exact");
    const lines = run(tableTool, args).toString("utf8").trimEnd().split("\n").slice(1);
    return lines.map((line) => {
        const c = line.split("\t");
        const cue = c[7] ? "エラー※" : c[6] === "1" ? "鳴った" : "";
        const exact = c.length > 8 ? c.slice(8).map((x) => x || "－") : [];
        return [c[0], ...c.slice(1, 6), cue, ...exact];
    });
}

const inputSets = [
    ["full-width digits", "u=%EF%BC%96&v=%EF%BC%91%EF%BC%90&h=0%EF%BC%8E1&exact=1"],
    ["a fault part-way", "u=10&h=5&clicks=3"],
    ["a mouse faster than the dog", "u=12&v=10&clicks=60&every=3"],
    ["a mouse that stands still, to the exact catch", "u=0&exact=1"],
    ["time running backwards", "h=-0.1&clicks=30&every=2"],
];

for (const [name, query] of inputSets) {
    test(`the sheet's table is torvikan-table's, row for row: ${name}`, async () => {
        const tab = await openTeacher(query);
        try {
            const rows = await sheetRows(tab);
            assert.ok(rows.length >= 2, "the sheet lists clicks");
            const last = Number(rows.at(-1)[0]);
            const table = tableByClick(query, last);
            for (const row of rows)
                assert.deepEqual(row, table[Number(row[0])], `click ${row[0]}`);
        } finally {
            await tab.close();
        }
    });
}

// The bytes the page hands its download link, read back from the Blob.
async function savedCsv(tab) {
    await tab.evaluate(() => {
        window.savedBlobs = [];
        const make = URL.createObjectURL;
        URL.createObjectURL = (blob) => (window.savedBlobs.push(blob), make(blob));
        document.addEventListener("click", (event) => {
            if (event.target.download)
                window.savedName = event.target.download;
        }, true);
    });
    await tab.click("#csv");
    return tab.evaluate(async () => {
        const bytes = new Uint8Array(await window.savedBlobs.at(-1).arrayBuffer());
        return { name: window.savedName, bytes: Array.from(bytes) };
    });
}

for (const [name, query, steps] of [
    ["the record to the catch", "", null],
    ["the exact chase, full-width digits, 40 clicks", "u=%EF%BC%98&h=0.2&clicks=40&exact=1", 40],
    ["a fault part-way", "u=10&h=5&clicks=3", 3],
]) {
    test(`the CSV is torvikan-table's, byte for byte: ${name}`, async () => {
        const tab = await openTeacher(query);
        try {
            const saved = await savedCsv(tab);
            const params = new URLSearchParams(query);
            const args = ["--csv"];
            for (const option of ["u", "v", "h"])
                if (params.has(option))
                    args.push(`--${option}`, params.get(option));
            if (steps !== null)
                args.push("--steps", String(steps));
            else
                args.push("--steps", (await sheetRows(tab)).at(-1)[0]);
            if (params.has("exact"))
                args.push("--exact");
            assert.match(saved.name, /\.csv$/);
            assert.deepEqual(Buffer.from(saved.bytes), run(tableTool, args));
        } finally {
            await tab.close();
        }
    });
}

test("the convergence table is torvikan-table's for the K a teacher chooses", async () => {
    const tab = await openTeacher("u=5&v=9&h=0.2");
    try {
        const shown = await tab.evaluate(() => document.documentElement.dataset.shown);
        await tab.fill('[name="converge"]', "5");
        await tab.waitFor((before) => document.documentElement.dataset.shown !== before, shown, "the tables to follow K");
        const rows = await tab.evaluate(() =>
            [...document.querySelectorAll("#convergenceTable tr")].map((tr) => [...tr.cells].map((c) => c.textContent)));
        const expected = run(tableTool, ["--u", "5", "--v", "9", "--h", "0.2", "--converge", "5"]).toString("utf8")
            .trimEnd().split("\n").map((line) => line.split("\t"));
        assert.deepEqual(rows, expected.map((row) => row.concat(Array(rows[0].length - row.length).fill(""))));
        assert.equal(rows.length, 6);
    } finally {
        await tab.close();
    }
});

test("the pupils' sheet gives no answer away", async () => {
    const answerSheet = await openTeacher("");
    const answerClicks = (await sheetRows(answerSheet)).map((r) => r[0]);
    await answerSheet.close();
    const tab = await openTeacher("blank=1&exact=1");
    try {
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
    } finally {
        await tab.close();
    }
});

test("a link brings its inputs, editing keeps the address, and the pupils' link carries u, v and h", async () => {
    const query = "u=8&v=10&h=0.2&clicks=40&every=5&exact=1&grid=5";
    const tab = await openTeacher(query);
    try {
        const inputs = () => tab.evaluate(() => {
            const f = document.getElementById("inputs").elements;
            return ["u", "v", "h", "clicks", "every", "grid"].map((n) => f.namedItem(n).value)
                .concat(["exact", "blank"].map((n) => f.namedItem(n).checked));
        });
        assert.deepEqual(await inputs(), ["8", "10", "0.2", "40", "5", "5", true, false]);
        assert.equal(await tab.evaluate(() => document.querySelector(".sheetCaption").textContent),
            "［次へ］を 40 回クリックしたときの記録（5 回ごと）");
        await tab.fill('[name="u"]', "７");
        await tab.waitFor(() => new URLSearchParams(location.search).get("u") === "７", undefined, "the address to follow");
        const search = await tab.evaluate(() => location.search);
        const pupils = await tab.evaluate(() => document.getElementById("pupilsLink").getAttribute("href"));
        assert.equal(pupils, "index.html?u=%EF%BC%97&v=10&h=0.2");
        await browser.reopen(tab, `${teacherUrl}${search}`);
        assert.deepEqual(await inputs(), ["７", "10", "0.2", "40", "5", "5", true, false]);
    } finally {
        await tab.close();
    }
});

test("without a query the inputs are the window's and the tools' defaults", async () => {
    const tab = await openTeacher();
    try {
        const values = await tab.evaluate(() => {
            const f = document.getElementById("inputs").elements;
            return ["u", "v", "h", "clicks", "every", "grid"].map((n) => f.namedItem(n).value)
                .concat(["exact", "blank"].map((n) => f.namedItem(n).checked));
        });
        assert.deepEqual(values, ["6", "10", "0.1", "", "", "10", false, false]);
        // A value in the address is text, never markup.
        await browser.reopen(tab, `${teacherUrl}?u=${encodeURIComponent('<img src=x onerror="window.ran=1">')}`);
        assert.equal(await tab.evaluate(() => window.ran === undefined), true);
        assert.ok((await tab.evaluate(() => document.querySelector(".sheetInputs").textContent)).includes("<img"));
    } finally {
        await tab.close();
    }
});

test("fits a 1024 × 600 screen across", async () => {
    const tab = await openTeacher("exact=1");
    try {
        const widths = await tab.evaluate(() => [document.documentElement.scrollWidth, innerWidth]);
        assert.ok(widths[0] <= widths[1], `the page is ${widths[0]} wide in ${widths[1]}`);
    } finally {
        await tab.close();
    }
});

// pdftotext's words in the order the PDF holds them, blanks aside; the
// sheet tool's field labels are text, the page's field a picture.
function words(pdf, withoutLabels) {
    let text = execFileSync("pdftotext", ["-raw", "-", "-"], { input: pdf, encoding: "utf8" }).replace(/\s+/g, "");
    if (withoutLabels)
        text = text.replace("ｍ504030201000102030405060708090100", "");
    return text;
}

for (const [name, query] of [
    ["an answer sheet with the exact chase", "exact=1"],
    ["a pupils' sheet on 1 m squares", "blank=1&grid=1"],
    ["every click, on two pages", "every=1"],
    ["a fault part-way", "u=10&h=5&clicks=3"],
    ["texts that are more than a number", "u=abc&v=276.265625x&clicks=3"],
]) {
    test(`printed, the sheet says what torvikan-sheet says: ${name}`, { skip: lacks("print") }, async () => {
        const folder = mkdtempSync(join(tmpdir(), "torvikan-sheet-"));
        const tab = await openTeacher(query);
        try {
            const sheetPdf = join(folder, "sheet.pdf");
            run(sheetTool, [...toolArgs(query), sheetPdf]);
            const printed = await tab.pdf();
            const pages = (pdf) => Number(/Pages:\s+(\d+)/.exec(execFileSync("pdfinfo", ["-"], { input: pdf, encoding: "utf8" }))[1]);
            assert.equal(pages(printed), pages(readFileSync(sheetPdf)));
            assert.equal(words(printed, false), words(readFileSync(sheetPdf), true));
            // Only the field is a picture.
            const images = execFileSync("pdfimages", ["-list", "-"], { input: printed, encoding: "utf8" });
            assert.equal(images.trim().split("\n").length - 2, 1, images);
        } finally {
            await tab.close();
            rmSync(folder, { recursive: true, force: true });
        }
    });
}
