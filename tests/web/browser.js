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
import { pathToFileURL } from "node:url";
import { engines } from "./engines.js";

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

// The engine's browser, with `open` to open the page in a fresh profile's
// worth of state, ready: the start picture painted, the fonts loaded.
// `scale` is the device pixel ratio; `tablet` gives a touch screen and a
// mobile browser, which zooms a page that lets it; `init` runs in the page
// before its own scripts; `requests(url)` lets a request through or
// refuses it; `scripts: false` turns the page's scripts off; `ready: false`
// opens without waiting.
export async function launch() {
    const browser = await engine.launch();
    const waitReady = (tab) => tab.waitFor(() => document.documentElement.dataset.ready === "1", undefined, "the page to be ready");
    return {
        engine: engine.name,
        async open({ viewport = windowSize, scale = 1, tablet = false, url = pageUrl, init, requests, scripts, ready = true } = {}) {
            const tab = await browser.open({ viewport, scale, tablet, requests, scripts });
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
        close: () => browser.close(),
    };
}

export const readoutIds = ["mouseX", "mouseY", "dogX", "dogY", "seconds"];
export const inputIds = ["mouseSpeed", "dogSpeed", "unitTime"];

export function readouts(tab) {
    return tab.evaluate((ids) => ids.map((id) => document.getElementById(id).value), readoutIds);
}

export async function typeInputs(tab, inputs) {
    for (const [i, text] of inputs.entries())
        await tab.fill(`#${inputIds[i]}`, text);
}

// The message box on the page, as { title, text }, or null.
export function messageShown(tab) {
    return tab.evaluate(() => {
        const box = document.querySelector("dialog#messageBox[open]");
        return box && { title: box.querySelector("#messageTitle").textContent,
            text: box.querySelector("#messageText").textContent };
    });
}

// torvikan-table's rows for these input texts: click 0 (the start) to
// `steps`, each { readouts: [5 texts], cue: bool, fault: "" or its name }.
export function tableRows([u, v, h], steps) {
    const out = execFileSync(tableTool, ["--u", u, "--v", v, "--h", h, "--steps", String(steps)], {
        encoding: "utf8",
        stdio: ["ignore", "pipe", "ignore"],
    });
    return out.trimEnd().split("\n").slice(1).map((line) => {
        const cells = line.split("\t");
        return { readouts: cells.slice(1, 6), cue: cells[6] === "1", fault: cells[7] ?? "" };
    });
}

// The desktop window after the same inputs and clicks at a device pixel
// ratio: its retained field image ({ width, height, rgb }) and the
// messages it showed.
export function windowField([u, v, h], clicks, scale) {
    const folder = mkdtempSync(join(tmpdir(), "torvikan-field-"));
    try {
        const image = join(folder, "field.ppm");
        const said = execFileSync(windowFieldTool, [u, v, h, String(clicks), image], {
            encoding: "utf8",
            env: { ...process.env, QT_QPA_PLATFORM: "offscreen", QT_SCALE_FACTOR: String(scale) },
            stdio: ["ignore", "pipe", "ignore"],
        });
        return { ...readPpm(readFileSync(image)), messages: JSON.parse(said) };
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
}

// A binary PPM (P6, 8 bits) as Qt writes it.
function readPpm(bytes) {
    const header = bytes.subarray(0, 64).toString("latin1").match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
    if (!header)
        throw new Error("not a binary 8-bit PPM");
    const [text, width, height] = header;
    return { width: Number(width), height: Number(height), rgb: bytes.subarray(text.length) };
}

// The elements of a window's Designer form, e.g. "main_window/main_window.ui"
// under ui/, as nested { tag, attributes, children, text }: only what a
// form holds, no entities but the five.
export function readForm(file) {
    const root = { tag: "", attributes: {}, children: [], text: "" };
    const stack = [root];
    const unescape = (s) => s.replace(/&lt;/g, "<").replace(/&gt;/g, ">").replace(/&quot;/g, '"').replace(/&apos;/g, "'").replace(/&amp;/g, "&");
    for (const [, close, tag, attributes, selfClosing, text] of readFileSync(join(source, "ui", file), "utf8").matchAll(
        /<(\/?)([\w:.-]+)((?:\s+[\w:.-]+="[^"]*")*)\s*(\/?)>|<[?!][^>]*>|([^<]+)/g)) {
        const top = stack.at(-1);
        if (text !== undefined) {
            top.text += unescape(text);
        } else if (close) {
            stack.pop();
        } else if (tag) {
            const element = { tag, attributes: {}, children: [], text: "" };
            for (const [, name, value] of attributes.matchAll(/([\w:.-]+)="([^"]*)"/g))
                element.attributes[name] = unescape(value);
            top.children.push(element);
            if (!selfClosing)
                stack.push(element);
        }
    }
    return root.children[0];
}

// The value of a widget's property: its <rect>, <string>, <enum>...
export const property = (widget, name) =>
    widget.children.find((c) => c.tag === "property" && c.attributes.name === name)?.children[0];
