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

// What a click on 次へ costs the page's main thread, the frame that shows it
// included: the core's step, the canvas's drawing, the read-outs, style,
// layout and painting, as Chromium counts its main thread's CPU time, less
// what a frame without a click costs. Clicks come one a frame, as a pupil's
// do, in batches whose mean is taken, the median of those reported. A slow
// mouse keeps the chase inside the field for all the clicks, so every click
// adds two new marks to a growing trail; 2,000 clicks and 初期化 first warm
// the browser's compilers, which the trail's length must not be blamed for.
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
    const cdp = await context.newCDPSession(page);
    await cdp.send("Performance.enable", { timeDomain: "threadTicks" });
    const counted = async () => new Map((await cdp.send("Performance.getMetrics")).metrics.map((m) => [m.name, m.value]));
    const kinds = { all: ["TaskDuration"], script: ["ScriptDuration"], layout: ["RecalcStyleDuration", "LayoutDuration"] };
    // Milliseconds of each kind per frame, the median of the batches' means.
    const perFrame = async (clicking) => {
        const means = Object.fromEntries(Object.keys(kinds).map((kind) => [kind, []]));
        for (let b = 0; b < batches; b++) {
            const before = await counted();
            await page.evaluate(async ({ clicking, frames }) => {
                const next = document.getElementById("nextButton");
                for (let i = 0; i < frames; i++) {
                    if (clicking)
                        next.click();
                    await new Promise((shown) => requestAnimationFrame(() => setTimeout(shown)));
                }
            }, { clicking, frames: batchSize });
            const after = await counted();
            for (const [kind, names] of Object.entries(kinds))
                means[kind].push(names.reduce((sum, n) => sum + after.get(n) - before.get(n), 0) * 1000 / batchSize);
        }
        return Object.fromEntries(Object.entries(means).map(([kind, values]) => [kind, median(values)]));
    };

    const idle = await perFrame(false);
    const costs = [];
    let trail = 0;
    for (const length of trailLengths) {
        await page.evaluate((more) => {
            for (let i = 0; i < more; i++)
                document.getElementById("nextButton").click();
        }, length - trail);
        const { all, script, layout } = await perFrame(true);
        trail = length + batches * batchSize;
        costs.push(all - idle.all);
        console.log(`click: trail ${String(length).padStart(6)} clicks, ${costs.at(-1).toFixed(2)} ms per click with its frame `
            + `(script ${(script - idle.script).toFixed(2)}, style and layout ${(layout - idle.layout).toFixed(2)}, `
            + `the rest painting and compositing); median of ${batches} batches of ${batchSize}`);
    }
    await context.close();
    const last = trailLengths.at(-1);
    console.log(`click: ratio ${last} / ${trailLengths[0]} = ${(costs.at(-1) / costs[0]).toFixed(2)} (goal: flat); `
        + `${costs.at(-1).toFixed(2)} ms at ${last} (goal < 1 ms); an idle frame ${idle.all.toFixed(2)} ms`);
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
    await benchClicks(browser, [10, 20000], 9, 25);
    folderSize();
} finally {
    await browser.close();
}
