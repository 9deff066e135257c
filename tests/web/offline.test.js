// The page needs nothing outside its folder: it opens from a folder with
// every other request refused, and once served and visited it opens again
// with the server gone, the teacher's page with it, in every engine;
// Chromium also finds nothing that keeps it from being installed.

import assert from "node:assert/strict";
import { createReadStream, existsSync, mkdtempSync, rmSync, statSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { extname, join, normalize } from "node:path";
import { test } from "node:test";
import { chromiumOptions } from "./engines.js";
import { browser, defaults, engine, folderUrl, lacks, pageDir, readouts, tableRows, windowSize, withTab } from "./browser.js";

// Lets through only what lies in the folder at `base`; notes the rest.
function onlyFrom(base, inside, outside) {
    return (url) => {
        if (url.startsWith(base)) {
            inside.push(url.slice(base.length));
            return true;
        }
        outside.push(url);
        return false;
    };
}

// What a pupil does once the page is up: every button of both views.
async function useEverything(tab) {
    for (const button of ["#nextButton", "#startOverButton", "#helpButton", "#closeButton", "#quitButton", "#noButton"])
        await tab.click(button);
}

const types = {
    ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8", ".css": "text/css",
    ".webmanifest": "application/manifest+json", ".png": "image/png", ".woff2": "font/woff2", ".txt": "text/plain",
};

// A static server of the folder on this machine's loopback, as a school's
// web server would serve it, and its address.
function serveFolder() {
    const server = createServer((request, response) => {
        const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
        const file = join(pageDir, path.endsWith("/") ? path + "index.html" : path);
        if (!file.startsWith(pageDir + "/") || !existsSync(file) || !statSync(file).isFile())
            return response.writeHead(404).end();
        response.writeHead(200, { "Content-Type": types[extname(file)] ?? "application/octet-stream" });
        createReadStream(file).pipe(response);
    });
    return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve({ server, base: `http://127.0.0.1:${server.address().port}/` })));
}

test("opens from a folder with every other request refused", { skip: lacks("requests") || lacks("fileRequests") }, async () => {
    const inside = [];
    const outside = [];
    await withTab({ requests: onlyFrom(folderUrl, inside, outside) }, useEverything);
    assert.deepEqual(outside, [], "requests outside the folder");
    // The refusing really saw the page's own requests.
    for (const file of ["index.html", "core/torvikan_core.js", "torvikan.js", "fonts/torvikan-gothic.woff2"])
        assert.ok(inside.includes(file), `${file} was asked for`);
});

// Waits until the page's service worker has kept the folder and controls
// the page.
const workerInCharge = () => navigator.serviceWorker.ready.then(() => navigator.serviceWorker.controller !== null);

test("once served, opens again with the server gone, asking for nothing outside its folder", async () => {
    const { server, base } = await serveFolder();
    const outside = [];
    // Where the automation sees no request, the page's folder is all
    // there is on this machine's loopback, and nothing beyond it answers.
    const tab = await browser.open({ url: base, requests: lacks("requests") ? undefined : onlyFrom(base, [], outside) });
    try {
        await tab.waitFor(workerInCharge, undefined, "the service worker to take charge");
        server.closeAllConnections();
        await new Promise((resolve) => server.close(resolve));
        await browser.reopen(tab, base);
        await useEverything(tab);
        await tab.click("#nextButton");
        assert.deepEqual(await readouts(tab), tableRows(defaults, 1)[1].readouts);
        assert.equal(await tab.evaluate(() => navigator.serviceWorker.controller !== null), true, "kept by its worker");
        // The teacher's page is kept with it, a link's query and all.
        await browser.reopen(tab, `${base}teacher.html?u=8&clicks=40`);
        assert.equal(await tab.evaluate(() => document.querySelector(".sheetCaption")?.textContent),
            "［次へ］を 40 回クリックしたときの記録（2 回ごと）");
        assert.deepEqual(outside, [], "requests outside the folder");
    } finally {
        await tab.close();
        server.close();
    }
});

// Only Chromium says through its automation what keeps a page from being
// installed, and only in an ordinary profile: a private one installs nothing.
test("once served, can be installed, and opens offline from what its worker kept", {
    skip: engine.name !== "chromium" && `${engine.name}: only Chromium's DevTools tell whether a page can be installed`,
}, async () => {
    const { server, base } = await serveFolder();
    const { chromium } = await import("playwright-core");
    const folder = mkdtempSync(join(tmpdir(), "torvikan-profile-"));
    const context = await chromium.launchPersistentContext(folder, { ...chromiumOptions, viewport: windowSize });
    try {
        const page = await context.newPage();
        await page.goto(base);
        await page.waitForSelector("html[data-ready='1']");
        await page.waitForFunction(workerInCharge);
        const cdp = await context.newCDPSession(page);
        const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
        assert.deepEqual(installabilityErrors, [], "what keeps it from being installed");
        await context.setOffline(true);
        const failed = [];
        page.on("requestfailed", (request) => failed.push(request.url().slice(base.length)));
        await page.reload();
        await page.waitForSelector("html[data-ready='1']");
        assert.deepEqual(failed, [], "files not kept");
    } finally {
        await context.close();
        rmSync(folder, { recursive: true, force: true, maxRetries: 5 });
        server.close();
    }
});
