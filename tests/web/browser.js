// What the page's suites share: Debian's Chromium, headless, driven by
// playwright-core; the built page opened at a given viewport; the teacher's
// table tool and the desktop window's field as the oracles.
//
// CTest says where things are; run by hand, a suite looks in build/:
//   TORVIKAN_SOURCE  the repository      TORVIKAN_PAGE  the built page (build/web)
//   TORVIKAN_TABLE   torvikan-table      TORVIKAN_WINDOW_FIELD  the window's field helper

import { execFileSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

export const chromiumPath = "/usr/bin/chromium";
export const source = process.env.TORVIKAN_SOURCE ?? new URL("../..", import.meta.url).pathname;
export const pageDir = process.env.TORVIKAN_PAGE ?? join(source, "build/web");
const tableTool = process.env.TORVIKAN_TABLE ?? join(source, "build/bin/torvikan-table");
const windowFieldTool = process.env.TORVIKAN_WINDOW_FIELD ?? join(source, "build/tests/web/window_field");
export const pageUrl = pathToFileURL(join(pageDir, "index.html")).href;
// The folder the page may load from, as a URL prefix.
export const folderUrl = pathToFileURL(pageDir).href + "/";
// The main window's own size: the page then shows it unscaled.
export const windowSize = { width: 681, height: 624 };

// A suite runs only with a browser and a page to test; without them it
// says what is missing and ends with CTest's code for a skip.
function skip(reason) {
    console.log(`SKIP: ${reason}`);
    process.exit(77);
}
if (!existsSync(chromiumPath))
    skip(`${chromiumPath} is missing (scripts/deps.sh test installs Debian's chromium)`);
if (!existsSync(join(pageDir, "index.html")))
    skip(`the page is not built in ${pageDir} (cmake --build build --target web)`);

let chromium;
try {
    ({ chromium } = await import("playwright-core"));
} catch {
    console.error("playwright-core is not installed: run `npm ci` in tests/web (scripts/test.sh does)");
    process.exit(1);
}

// Chromium as CI has it: root, no display, no GPU, nothing fetched for
// itself.
const chromiumOptions = {
    executablePath: chromiumPath,
    headless: true,
    args: [
        "--no-sandbox",
        "--disable-gpu",
        "--no-first-run",
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
    ],
};

// Playwright gives every launch a fresh user-data folder, and each of its
// contexts is a private (incognito) profile.
export function launch() {
    return chromium.launch(chromiumOptions);
}

// One ordinary profile in a fresh folder, removed when it closes: a
// private profile cannot install a page.
export async function launchProfile() {
    const folder = mkdtempSync(join(tmpdir(), "torvikan-profile-"));
    const context = await chromium.launchPersistentContext(folder, { ...chromiumOptions, viewport: windowSize });
    context.setDefaultTimeout(15000);
    const close = context.close.bind(context);
    context.close = async () => {
        await close();
        rmSync(folder, { recursive: true, force: true, maxRetries: 5 });
    };
    return context;
}

// A new context (a fresh profile's worth of state) with the page open and
// ready: the start picture painted, the fonts loaded. `scale` is the
// device pixel ratio; `tablet` gives a touch screen and a mobile browser,
// which zooms a page that lets it. Whatever `before(context)` sets up (routes, init
// scripts) is in place before the page loads.
export async function openPage(browser, { viewport = windowSize, scale = 1, tablet = false, url = pageUrl, before } = {}) {
    const context = await browser.newContext({ viewport, deviceScaleFactor: scale, hasTouch: tablet, isMobile: tablet });
    // A control that is not there fails a check in seconds, not half a minute.
    context.setDefaultTimeout(15000);
    await before?.(context);
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForSelector("html[data-ready='1']");
    return { context, page };
}

export const readoutIds = ["mouseX", "mouseY", "dogX", "dogY", "seconds"];
export const inputIds = ["mouseSpeed", "dogSpeed", "unitTime"];

export function readouts(page) {
    return page.evaluate((ids) => ids.map((id) => document.getElementById(id).value), readoutIds);
}

export async function typeInputs(page, inputs) {
    for (const [i, text] of inputs.entries())
        await page.fill(`#${inputIds[i]}`, text);
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
