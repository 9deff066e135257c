// The page needs nothing outside its folder: it opens from a folder with
// every other request refused, and once served and visited it opens again
// with the server gone.

import assert from "node:assert/strict";
import { createReadStream, statSync } from "node:fs";
import { createServer } from "node:http";
import { extname, join, normalize } from "node:path";
import { after, before, test } from "node:test";
import { folderUrl, launch, launchProfile, openPage, pageDir, readouts, tableRows } from "./browser.js";

// Lets through only what lies in the folder at `base`; notes the rest.
function onlyFrom(base, inside, outside) {
    return (context) => context.route("**/*", (route) => {
        const url = route.request().url();
        if (url.startsWith(base)) {
            inside.push(url.slice(base.length));
            return route.continue();
        }
        outside.push(url);
        return route.abort();
    });
}

// What a pupil does once the page is up: every button of both views.
async function useEverything(page) {
    for (const button of ["#nextButton", "#startOverButton", "#helpButton", "#closeButton", "#quitButton", "#noButton"])
        await page.click(button);
}

const types = {
    ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8", ".css": "text/css",
    ".webmanifest": "application/manifest+json", ".png": "image/png", ".woff2": "font/woff2", ".txt": "text/plain",
};

// A static server of the folder on this machine's loopback, as a school's
// web server would serve it.
function serveFolder() {
    const server = createServer((request, response) => {
        const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
        const file = join(pageDir, path.endsWith("/") ? path + "index.html" : path);
        try {
            if (!file.startsWith(pageDir + "/") || !statSync(file).isFile())
                throw new Error();
        } catch {
            response.writeHead(404).end();
            return;
        }
        response.writeHead(200, { "Content-Type": types[extname(file)] ?? "application/octet-stream" });
        createReadStream(file).pipe(response);
    });
    return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

test("opens from a folder with every other request refused", async () => {
    const inside = [];
    const outside = [];
    const { context, page } = await openPage(browser, { before: onlyFrom(folderUrl, inside, outside) });
    try {
        await useEverything(page);
        assert.deepEqual(outside, [], "requests outside the folder");
        // The refusing really saw the page's own requests.
        for (const file of ["index.html", "core/torvikan_core.js", "torvikan.js", "fonts/torvikan-gothic.woff2"])
            assert.ok(inside.includes(file), `${file} was asked for`);
    } finally {
        await context.close();
    }
});

test("once served, can be installed, and opens offline after its worker has kept it", async () => {
    const server = await serveFolder();
    const base = `http://127.0.0.1:${server.address().port}/`;
    const outside = [];
    const context = await launchProfile();
    try {
        await onlyFrom(base, [], outside)(context);
        const page = await context.newPage();
        await page.goto(base);
        await page.waitForSelector("html[data-ready='1']");
        await page.evaluate(async () => {
            await navigator.serviceWorker.ready;
            if (!navigator.serviceWorker.controller)
                await new Promise((resolve) => navigator.serviceWorker.addEventListener("controllerchange", resolve));
        });
        const cdp = await context.newCDPSession(page);
        const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
        assert.deepEqual(installabilityErrors, [], "what keeps it from being installed");

        server.closeAllConnections();
        await new Promise((resolve) => server.close(resolve));
        await context.setOffline(true);
        const failed = [];
        page.on("requestfailed", (request) => failed.push(request.url().slice(base.length)));
        await page.reload();
        await page.waitForSelector("html[data-ready='1']");
        await useEverything(page);
        await page.click("#nextButton");
        assert.deepEqual(await readouts(page), tableRows(["6", "10", "0.1"], 1)[1].readouts);
        assert.deepEqual(failed, [], "files not kept");
        assert.deepEqual(outside, [], "requests outside the folder");
    } finally {
        await context.close();
        server.close();
    }
});
