// The web page's figures, in Debian's Chromium, headless, in one browser
// run: how soon it is ready from a folder against a page holding only a
// canvas and a button; what a click on 次へ costs as the trail grows; and
// the folder's size by part. Prints figures; never fails on time.
//
//   node bench/bench_page.mjs [PAGE-DIR]     (default build/web)
//
// It drives the browser with the page tests' playwright-core: run `npm ci`
// in tests/web first.

import { mkdtempSync, readdirSync, rmSync, statSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, relative, resolve } from "node:path";
import { pathToFileURL } from "node:url";

if (process.argv[2])
    process.env.TORVIKAN_PAGE = resolve(process.argv[2]);
const { launch, pageDir, pageUrl, windowSize } = await import("../tests/web/browser.js");

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// The least page of the same kind: one canvas with something drawn on it,
// one button, ready once that is on the screen.
const baselinePage = `<!DOCTYPE html>
<html lang="ja">
<head><meta charset="utf-8"><title>baseline</title></head>
<body>
<canvas id="field" width="645" height="389"></canvas>
<button type="button">次へ</button>
<script>
const context = document.getElementById("field").getContext("2d", { alpha: false });
context.fillStyle = "#fff";
context.fillRect(0, 0, 645, 389);
context.fillStyle = "#00f";
context.fillRect(53, 54, 6, 6);
requestAnimationFrame(() => (document.documentElement.dataset.ready = "1"));
</script>
</body>
</html>
`;

// When <html> got data-ready="1", in milliseconds since navigation began.
function noteReady() {
    new MutationObserver(() => {
        if (document.documentElement.dataset.ready === "1")
            window.readyAt ??= performance.now();
    }).observe(document, { subtree: true, attributes: true, attributeFilter: ["data-ready"] });
}

async function readyTime(browser, url) {
    const context = await browser.newContext({ viewport: windowSize });
    await context.addInitScript(noteReady);
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => window.readyAt !== undefined);
    const time = await page.evaluate(() => window.readyAt);
    await context.close();
    return time;
}

async function benchReady(browser, runs) {
    const folder = mkdtempSync(join(tmpdir(), "torvikan-baseline-"));
    try {
        const baselineUrl = pathToFileURL(join(folder, "index.html")).href;
        writeFileSync(join(folder, "index.html"), baselinePage);
        const page = [];
        const baseline = [];
        // One of each first, untimed, as the browser warms up; then in turn.
        await readyTime(browser, pageUrl);
        await readyTime(browser, baselineUrl);
        for (let i = 0; i < runs; i++) {
            page.push(await readyTime(browser, pageUrl));
            baseline.push(await readyTime(browser, baselineUrl));
        }
        const [p, b] = [median(page), median(baseline)];
        console.log(`ready: page ${p.toFixed(1)} ms, baseline ${b.toFixed(1)} ms from file:// (median of ${runs}); `
            + `ratio ${(p / b).toFixed(2)} (goal <= 2)`);
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
}

// A click's cost on the page's main thread: the click's handler (the core's
// step, the canvas's drawing, the read-outs) and the style and layout it
// leaves, measured over batches, as the browser's clock is coarse. A slow
// mouse keeps the chase inside the field for all the clicks, so every
// click adds two new marks to a growing trail; 2,000 clicks and 初期化
// first warm the browser's compilers, which the trail's length must not be
// blamed for.
async function benchClicks(browser, trailLengths, batches, batchSize) {
    const context = await browser.newContext({ viewport: windowSize });
    const page = await context.newPage();
    await page.goto(pageUrl);
    await page.waitForSelector("html[data-ready='1']");
    await page.fill("#mouseSpeed", "0.0005");
    await page.fill("#dogSpeed", "0.0008");
    await page.evaluate(() => {
        for (let i = 0; i < 2000; i++)
            document.getElementById("nextButton").click();
        document.getElementById("startOverButton").click();
    });
    const medians = [];
    let trail = 0;
    for (const length of trailLengths) {
        const perClick = await page.evaluate(({ more, batches, batchSize }) => {
            const next = document.getElementById("nextButton");
            for (let i = 0; i < more; i++)
                next.click();
            const times = [];
            for (let b = 0; b < batches; b++) {
                const start = performance.now();
                for (let i = 0; i < batchSize; i++) {
                    next.click();
                    void document.body.offsetHeight;
                }
                times.push((performance.now() - start) / batchSize);
            }
            return times.sort((x, y) => x - y)[Math.floor(times.length / 2)];
        }, { more: length - trail, batches, batchSize });
        trail = length + batches * batchSize;
        medians.push(perClick);
        console.log(`click: trail ${String(length).padStart(6)} clicks, median ${(perClick * 1000).toFixed(1)} us per click `
            + `(${batches} batches of ${batchSize}; script, style and layout)`);
    }
    await context.close();
    const last = trailLengths.at(-1);
    console.log(`click: ratio ${last} / ${trailLengths[0]} = ${(medians.at(-1) / medians[0]).toFixed(2)} (goal: flat); `
        + `median at ${last} ${medians.at(-1).toFixed(3)} ms (goal < 1 ms)`);
}

const parts = [
    ["WebAssembly and core", (name) => name.startsWith("core/")],
    ["font", (name) => name.endsWith(".woff2")],
    ["cues", (name) => name === "cues.js"],
    ["pictures", (name) => name.endsWith(".png")],
    ["code", (name) => /\.(js|css|html|webmanifest)$/.test(name)],
    ["licences", () => true],
];

function files(folder) {
    return readdirSync(folder, { withFileTypes: true }).flatMap((entry) => {
        const path = join(folder, entry.name);
        return entry.isDirectory() ? files(path) : [path];
    });
}

function folderSize() {
    const sizes = new Map(parts.map(([part]) => [part, 0]));
    for (const path of files(pageDir)) {
        const name = relative(pageDir, path);
        const [part] = parts.find(([, belongs]) => belongs(name));
        sizes.set(part, sizes.get(part) + statSync(path).size);
    }
    const total = [...sizes.values()].reduce((a, b) => a + b, 0);
    const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;
    console.log(`size: the folder ${kib(total)} (goal <= 1024 KiB): `
        + [...sizes].map(([part, bytes]) => `${part} ${kib(bytes)}`).join(", "));
}

const browser = await launch();
try {
    console.log(`browser: ${browser.version()}, headless`);
    await benchReady(browser, 15);
    await benchClicks(browser, [10, 20000], 25, 20);
    folderSize();
} finally {
    await browser.close();
}
