// What the page's suites share: the engine they run in (engines.js), the
// built page opened at a given viewport; the teacher's table tool and the
// desktop window's field as the oracles.
//
// CTest says where things are; run by hand, a suite looks in build/:
//   TORVIKAN_SOURCE  the repository      TORVIKAN_PAGE  the built page (build/web)
//   TORVIKAN_TABLE   torvikan-table      TORVIKAN_WINDOW_FIELD  the window's field helper

import { execFileSync } from "node:child_process";
import { cpSync, existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before } from "node:test";
import { pathToFileURL } from "node:url";
import { engines } from "./engines.js";
import { readPng } from "./png.js";

export const source = process.env.TORVIKAN_SOURCE ?? new URL("../..", import.meta.url).pathname;
export const pageDir = process.env.TORVIKAN_PAGE ?? join(source, "build/web");
export const tableTool = process.env.TORVIKAN_TABLE ?? join(source, "build/bin/torvikan-table");
export const sheetTool = process.env.TORVIKAN_SHEET ?? join(source, "build/bin/torvikan-sheet");
const windowFieldTool = process.env.TORVIKAN_WINDOW_FIELD ?? join(source, "build/tests/web/window_field");
export const pageUrl = pathToFileURL(join(pageDir, "index.html")).href;
// The folder the page may load from, as a URL prefix.
export const folderUrl = pathToFileURL(pageDir).href + "/";
// The main window's own size: the page then shows it unscaled.
export const windowSize = { width: 681, height: 624 };

// The engine a suite runs in: TORVIKAN_ENGINE, chromium by default.
export const engine = engines[process.env.TORVIKAN_ENGINE ?? "chromium"];
if (!engine)
    throw new Error(`TORVIKAN_ENGINE=${process.env.TORVIKAN_ENGINE} is none of ${Object.keys(engines).join(", ")}`);

// A suite runs only with a browser and a page to test; without them it
// says what is missing and ends with CTest's code for a skip.
function skip(reason) {
    console.log(`SKIP: ${reason}`);
    process.exit(77);
}
const packages = { chromium: "chromium", firefox: "firefox-esr", webkit: "webkit2gtk-driver" };
if (!existsSync(engine.executable))
    skip(`${engine.executable} is missing (scripts/deps.sh test installs Debian's ${packages[engine.name]})`);
if (engine.name === "webkit" && !existsSync("/usr/bin/Xvfb"))
    skip("WebKitGTK needs a display and /usr/bin/Xvfb is missing (scripts/deps.sh test installs xvfb)");
if (!existsSync(join(pageDir, "index.html")))
    skip(`the page is not built in ${pageDir} (cmake --build build --target web)`);

// A check that this engine's automation cannot make: the reason, for
// node:test's `skip`, or undefined where it can.
export const lacks = (feature) => engine.lacks[feature] && `${engine.name}: ${engine.lacks[feature]}`;

// The page as a copy in a folder of its own whose index.html runs
// `init` before any script of the page: every engine loads it the same way,
// where not every engine's automation has scripts of its own to run first.
const copies = new Map();
function pageWith(init) {
    const script = `(${init})();\n`;
    if (!copies.has(script)) {
        const folder = mkdtempSync(join(tmpdir(), "torvikan-page-"));
        cpSync(pageDir, folder, { recursive: true });
        writeFileSync(join(folder, "test_init.js"), script);
        const index = join(folder, "index.html");
        writeFileSync(index, readFileSync(index, "utf8").replace('<meta charset="utf-8">', '$&\n<script src="test_init.js"></script>'));
        copies.set(script, { folder, url: pathToFileURL(index).href });
    }
    return copies.get(script).url;
}
process.on("exit", () => copies.forEach(({ folder }) => rmSync(folder, { recursive: true, force: true })));

// The suite's browser, launched before its first test and closed after its
// last. open() opens the page in a fresh profile's worth of state, ready:
// the start picture painted, the fonts loaded. `scale` is the device pixel
// ratio; `tablet` gives a touch screen and a mobile browser, which zooms a
// page that lets it; `init` runs in the page before its own scripts;
// `requests(url)` lets a request through or refuses it; `scripts: false`
// turns the page's scripts off; `ready: false` opens without waiting.
let launched;
before(async () => (launched = await engine.launch()));
after(() => launched?.close());
const waitReady = (tab) => tab.waitFor(() => document.documentElement.dataset.ready === "1", undefined, "the page to be ready");
export const browser = {
    async open({ viewport = windowSize, scale = 1, tablet = false, url = pageUrl, init, requests, scripts, ready = true } = {}) {
        const tab = await launched.open({ viewport, scale, tablet, requests, scripts });
        await tab.navigate(init ? pageWith(init) : url);
        if (ready)
            await waitReady(tab);
        return tab;
    },
    // The same address again, as a pupil opening it once more.
    async reopen(tab, url) {
        await tab.navigate(url);
        await waitReady(tab);
    },
};

// `check` given a tab that browser.open(options) opened, closed whatever
// the check finds.
export async function withTab(options, check) {
    const tab = await browser.open(options);
    try {
        return await check(tab);
    } finally {
        await tab.close();
    }
}

const inputIds = ["mouseSpeed", "dogSpeed", "unitTime"];
// The main window's start texts, and the words its page says.
export const defaults = ["6", "10", "0.1"];
export const words = JSON.parse(readFileSync(join(source, "web/page/words.json"), "utf8"));

const values = (tab, ids) => tab.evaluate((ids) => ids.map((id) => document.getElementById(id).value), ids);
export const readouts = (tab) => values(tab, ["mouseX", "mouseY", "dogX", "dogY", "seconds"]);
export const inputTexts = (tab) => values(tab, inputIds);

export async function typeInputs(tab, inputs) {
    for (const [i, text] of inputs.entries())
        await tab.fill(`#${inputIds[i]}`, text);
}

export async function clickNext(tab, clicks) {
    for (let i = 0; i < clicks; i++)
        await tab.click("#nextButton");
}

// The message box on the page, as { title, text, buttons, focus }, or null.
export function messageShown(tab) {
    return tab.evaluate(() => {
        const box = document.querySelector("dialog#messageBox[open]");
        return box && { title: box.querySelector("#messageTitle").textContent, text: box.querySelector("#messageText").textContent,
            buttons: [...box.querySelectorAll("button")].map((b) => b.textContent), focus: document.activeElement.id };
    });
}

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

// withTab, with the page's cues noted from the start and ready to play.
export const withCues = (check) => withTab({ init: logCues }, async (tab) => {
    await tab.waitFor(() => window.cuesDecoded === 3, undefined, "the three cues to be decoded");
    return check(tab);
});

// The cues that started while `act` ran: a cue is due within a frame of its
// click, so the click's own handler must have started it.
export async function cuesOf(tab, act) {
    await tab.evaluate(() => (window.cuesStarted = []));
    await act();
    return tab.evaluate(() => window.cuesStarted);
}

// What one of the teacher's tools prints to its standard output.
export const run = (tool, args, env = {}) =>
    execFileSync(tool, args, { stdio: ["ignore", "pipe", "ignore"], env: { ...process.env, QT_QPA_PLATFORM: "offscreen", ...env } });

// torvikan-table's lines for these options, each its cells, heading aside.
export const tableLines = (args) => run(tableTool, args).toString("utf8").trimEnd().split("\n").slice(1).map((line) => line.split("\t"));

// torvikan-table's rows for these input texts: click 0 (the start) to
// `steps`, each { readouts: [5 texts], cue: bool, fault: "" or its name }.
export const tableRows = ([u, v, h], steps) => tableLines(["--u", u, "--v", v, "--h", h, "--steps", String(steps)])
    .map((cells) => ({ readouts: cells.slice(1, 6), cue: cells[6] === "1", fault: cells[7] ?? "" }));

// The desktop window after the same inputs and clicks at a device pixel
// ratio: its retained field image ({ width, height, rgb }) and the
// messages it showed.
export function windowField([u, v, h], clicks, scale) {
    const folder = mkdtempSync(join(tmpdir(), "torvikan-field-"));
    try {
        const image = join(folder, "field.png");
        const said = run(windowFieldTool, [u, v, h, String(clicks), image], { QT_SCALE_FACTOR: String(scale) });
        return { ...readPng(readFileSync(image)), messages: JSON.parse(said.toString("utf8")) };
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
}

// A window's Designer form, e.g. "main_window/main_window.ui" under ui/, as
// the page's XML parser reads it: its widgets in the form's order, the
// window first, each { name, class, parent (the widget it lies directly on,
// or null), rect: [x, y, width, height], accessibleName, text, windowTitle }
// (each property null where the form gives none); and its Tab stops.
export const readForm = (tab, file) => tab.evaluate((xml) => {
    const form = new DOMParser().parseFromString(xml, "text/xml");
    const property = (widget, name) => widget.querySelector(`:scope > property[name="${name}"] > *`);
    const widgets = [...form.querySelectorAll("widget")].map((widget) => ({
        name: widget.getAttribute("name"),
        class: widget.getAttribute("class"),
        parent: widget.parentElement.tagName === "widget" ? widget.parentElement.getAttribute("name") : null,
        rect: ["x", "y", "width", "height"].map((tag) => Number(property(widget, "geometry")?.querySelector(tag).textContent)),
        ...Object.fromEntries(["accessibleName", "text", "windowTitle"].map((name) => [name, property(widget, name)?.textContent ?? null])),
    }));
    return { widgets, tabStops: [...form.querySelectorAll("tabstop")].map((stop) => stop.textContent) };
}, readFileSync(join(source, "ui", file), "utf8"));
