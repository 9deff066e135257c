// The three engines pupils' devices run, each from Debian and each driven
// through its own standard automation, behind one small interface:
//
//   chromium  Chromebooks and Edge: DevTools, through playwright-core
//   firefox   Gecko: WebDriver BiDi, through puppeteer-core
//   webkit    Safari's engine on iPads: WebKitGTK's MiniBrowser under
//             WebKitWebDriver (classic W3C WebDriver), in an Xvfb display
//             of the harness's own, as WebKitGTK has no headless mode
//
// An engine's launch() gives a browser whose open() gives a tab:
//   tab.evaluate(fn, ...args)   fn run in the page, its (awaited) result
//   tab.waitFor(fn, arg)        until fn(arg) in the page is truthy
//   tab.click(selector)         a real pointer click at the element's centre,
//                               refused where that point is not the element
//   tab.clickAt(x, y)           a real pointer click at a point of the viewport
//   tab.longPress(selector, ms) the pointer held down on an element for ms
//   tab.fill(selector, text)    the box emptied and the text typed
//   tab.press(key)              Tab, Enter, Escape or Space, pressed and released
//   tab.hold(key, repeats)      a key held down: `repeats` key-downs, one key-up
//   tab.tap(selector)           a tap on a touch screen (where `touch` is had)
//   tab.setViewport(size)       the viewport's CSS size
//   tab.screenshot()            the viewport as PNG bytes
//   tab.pdf()                   the page printed on A4, as PDF bytes (where
//                               `print` is had)
//   tab.close()
// open({ requests }) lets the page's requests through where requests(url)
// is true and refuses the rest; open({ scripts: false }) turns the page's
// scripts off. What an engine's automation cannot do,
// `lacks` says with the reason.

import { spawn } from "node:child_process";
import { existsSync, readdirSync } from "node:fs";
import { createServer } from "node:net";
import { join } from "node:path";
import { keyOf, serverReady, Session } from "./webdriver.js";

const timeout = 15000;

async function poll(tab, fn, arg, what) {
    const until = Date.now() + timeout;
    while (!(await tab.evaluate(fn, arg))) {
        if (Date.now() > until)
            throw new Error(`timed out waiting for ${what ?? fn.toString()}`);
        await new Promise((resolve) => setTimeout(resolve, 20));
    }
}

// ---- Chromium --------------------------------------------------------------

const chromiumPath = "/usr/bin/chromium";

// Chromium as CI has it: root, no display, no GPU, nothing fetched for itself.
export const chromiumOptions = {
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

// What a tab of Playwright and one of Puppeteer do alike: their pages
// click, point and type through the same calls.
class PageTab {
    constructor(context, page) {
        this.context = context;
        this.page = page;
    }
    waitFor(fn, arg, what) {
        return poll(this, fn, arg, what);
    }
    click(selector) {
        return this.page.click(selector);
    }
    clickAt(x, y) {
        return this.page.mouse.click(x, y);
    }
    async longPress(selector, ms) {
        await this.page.hover(selector);
        await this.page.mouse.down();
        await new Promise((resolve) => setTimeout(resolve, ms));
        await this.page.mouse.up();
    }
    // A key's name as the library knows it.
    keyName(key) {
        return key;
    }
    press(key) {
        return this.page.keyboard.press(this.keyName(key));
    }
    async hold(key, repeats) {
        for (let i = 0; i < repeats; i++)
            await this.page.keyboard.down(this.keyName(key));
        await this.page.keyboard.up(this.keyName(key));
    }
    async screenshot() {
        return Buffer.from(await this.page.screenshot());
    }
    async pdf() {
        // The page's own @page size and margins where it has them, and its
        // backgrounds, as a teacher's print dialog gives them.
        return Buffer.from(await this.page.pdf({ format: "A4", preferCSSPageSize: true, printBackground: true }));
    }
    close() {
        return this.context.close();
    }
}

class PlaywrightTab extends PageTab {
    evaluate(fn, ...args) {
        return this.page.evaluate(([source, args]) => (0, eval)(`(${source})`)(...args), [fn.toString(), args]);
    }
    fill(selector, text) {
        return this.page.fill(selector, text);
    }
    async tap(selector) {
        const box = await this.page.locator(selector).boundingBox();
        await this.page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
    }
    setViewport(size) {
        return this.page.setViewportSize(size);
    }
}

const chromium = {
    name: "chromium",
    executable: chromiumPath,
    lacks: {},
    async launch() {
        const { chromium } = await import("playwright-core");
        const browser = await chromium.launch(chromiumOptions);
        return {
            async open({ viewport, scale, tablet, requests, scripts }) {
                const context = await browser.newContext({ viewport, deviceScaleFactor: scale, hasTouch: tablet, isMobile: tablet,
                    javaScriptEnabled: scripts });
                context.setDefaultTimeout(timeout);
                if (requests)
                    await context.route("**/*", (route) => (requests(route.request().url()) ? route.continue() : route.abort()));
                return new PlaywrightTab(context, await context.newPage());
            },
            navigate: (tab, url) => tab.page.goto(url),
            close: () => browser.close(),
            // What only Chromium's DevTools can do, for the suites that use it.
            playwright: browser,
        };
    },
};

// ---- Firefox ---------------------------------------------------------------

const firefoxPath = "/usr/bin/firefox-esr";

class PuppeteerTab extends PageTab {
    constructor(context, page, scale) {
        super(context, page);
        this.scale = scale;
    }
    evaluate(fn, ...args) {
        return this.page.evaluate((source, args) => (0, eval)(`(${source})`)(...args), fn.toString(), args);
    }
    async fill(selector, text) {
        await this.page.$eval(selector, (box) => {
            box.focus();
            box.select();
        });
        await this.page.keyboard.press("Backspace");
        await this.page.keyboard.type(text);
    }
    keyName(key) {
        return key === "Space" ? " " : key;
    }
    setViewport(size) {
        return this.page.setViewport({ ...size, deviceScaleFactor: this.scale });
    }
}

const firefox = {
    name: "firefox",
    executable: firefoxPath,
    lacks: {
        touch: "Firefox's WebDriver BiDi emulates no touch screen",
        fileRequests: "Firefox's WebDriver BiDi sees no request for a file:// address",
    },
    async launch() {
        const { default: puppeteer } = await import("puppeteer-core");
        const start = (prefs) => puppeteer.launch({
            browser: "firefox",
            executablePath: firefoxPath,
            headless: true,
            // Nothing fetched for itself, as on a machine with no network.
            extraPrefsFirefox: {
                "app.update.enabled": false,
                "browser.safebrowsing.malware.enabled": false,
                "browser.safebrowsing.phishing.enabled": false,
                "network.captive-portal-service.enabled": false,
                "network.connectivity-service.enabled": false,
                // A page may sound without a click first, as a pupil's
                // first click would allow.
                "media.autoplay.default": 0,
                ...prefs,
            },
        });
        const browser = await start({});
        // Firefox's WebDriver BiDi turns no page's scripts off: a browser
        // of its own has them off throughout.
        let withoutScripts;
        return {
            async open({ viewport, scale, requests, scripts }) {
                if (scripts === false)
                    withoutScripts ??= await start({ "javascript.enabled": false });
                const context = await (scripts === false ? withoutScripts : browser).createBrowserContext();
                const page = await context.newPage();
                page.setDefaultTimeout(timeout);
                await page.setViewport({ ...viewport, deviceScaleFactor: scale });
                if (requests) {
                    await page.setRequestInterception(true);
                    page.on("request", (request) => (requests(request.url()) ? request.continue() : request.abort()));
                }
                return new PuppeteerTab(context, page, scale);
            },
            navigate: (tab, url) => tab.page.goto(url),
            close: () => Promise.all([browser.close(), withoutScripts?.close()]),
        };
    },
};

// ---- WebKit ----------------------------------------------------------------

function miniBrowserPath() {
    for (const folder of readdirSync("/usr/lib", { withFileTypes: true })) {
        const path = join("/usr/lib", folder.name, "webkit2gtk-4.1/MiniBrowser");
        if (folder.isDirectory() && existsSync(path))
            return path;
    }
    return "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";
}

function freePort() {
    return new Promise((resolve, reject) => {
        const server = createServer();
        server.on("error", reject);
        server.listen(0, "127.0.0.1", () => {
            const { port } = server.address();
            server.close(() => resolve(port));
        });
    });
}

// An X server of the harness's own; the display number it chose.
function startXvfb() {
    return new Promise((resolve, reject) => {
        const server = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "2600x2200x24", "-nolisten", "tcp"],
            { stdio: ["ignore", "ignore", "ignore", "pipe"] });
        let said = "";
        server.on("error", reject);
        server.on("exit", (code) => reject(new Error(`Xvfb ended with ${code}`)));
        server.stdio[3].on("data", (data) => {
            said += data;
            if (said.includes("\n"))
                resolve({ display: `:${said.trim()}`, server });
        });
    });
}

class WebDriverTab {
    constructor(session, chrome, scale) {
        this.session = session;
        this.chrome = chrome;
        this.scale = scale;
    }
    evaluate(fn, ...args) {
        return this.session.executeAsync(`const done = arguments[arguments.length - 1];
            Promise.resolve().then(() => (${fn})(...arguments[0]))
                .then((value) => done({ value }), (error) => done({ error: String(error && error.stack || error) }));`, [args]);
    }
    waitFor(fn, arg, what) {
        return poll(this, fn, arg, what);
    }
    click(selector) {
        return this.session.click(selector);
    }
    longPress(selector, ms) {
        return this.session.find(selector).then((element) => this.session.actions({
            type: "pointer", id: "mouse", parameters: { pointerType: "mouse" },
            actions: [
                { type: "pointerMove", x: 0, y: 0, origin: { "element-6066-11e4-a52e-4f735466cecf": element }, duration: 0 },
                { type: "pointerDown", button: 0 },
                { type: "pause", duration: ms },
                { type: "pointerUp", button: 0 },
            ],
        }));
    }
    clickAt(x, y) {
        return this.session.actions({
            type: "pointer", id: "mouse", parameters: { pointerType: "mouse" },
            actions: [
                { type: "pointerMove", x: Math.round(x), y: Math.round(y), origin: "viewport", duration: 0 },
                { type: "pointerDown", button: 0 },
                { type: "pointerUp", button: 0 },
            ],
        });
    }
    fill(selector, text) {
        return this.session.fill(selector, text);
    }
    press(key) {
        const value = keyOf(key);
        return this.session.actions({ type: "key", id: "keyboard", actions: [{ type: "keyDown", value }, { type: "keyUp", value }] });
    }
    hold(key, repeats) {
        const value = keyOf(key);
        const downs = Array.from({ length: repeats }, () => ({ type: "keyDown", value }));
        return this.session.actions({ type: "key", id: "keyboard", actions: [...downs, { type: "keyUp", value }] });
    }
    // The window is the viewport and the browser's own bars, which it
    // measured when it opened.
    setViewport({ width, height }) {
        return this.session.windowRect({ width: width + this.chrome.width, height: height + this.chrome.height });
    }
    screenshot() {
        return this.session.screenshot();
    }
    close() {
        return this.session.close();
    }
}

const webkit = {
    name: "webkit",
    executable: "/usr/bin/WebKitWebDriver",
    lacks: {
        touch: "WebKitGTK's WebDriver has no touch screen",
        requests: "classic WebDriver sees no request the page makes",
        keyRepeat: "WebKitGTK's WebDriver sends no repeats of a key held down",
        print: "WebKitGTK's WebDriver does not print a page",
    },
    async launch() {
        const miniBrowser = miniBrowserPath();
        const { display, server: xvfb } = await startXvfb();
        // One driver for each device pixel ratio, which WebKitGTK takes
        // from GDK_SCALE when its window opens. Each runs in a process
        // group of its own with the browsers it starts, so that ending
        // the group leaves none of them behind.
        const drivers = new Map();
        const stopDriver = (scale) => {
            const driver = drivers.get(scale);
            drivers.delete(scale);
            try {
                process.kill(-driver.process.pid, "SIGKILL");
            } catch {
                // Already gone.
            }
        };
        const driverFor = async (scale) => {
            if (!drivers.has(scale)) {
                const port = await freePort();
                const driver = spawn("WebKitWebDriver", [`--port=${port}`], {
                    env: { ...process.env, DISPLAY: display, GDK_SCALE: String(scale), GDK_BACKEND: "x11" },
                    stdio: "ignore",
                    detached: true,
                });
                const url = `http://127.0.0.1:${port}`;
                drivers.set(scale, { process: driver, url });
                await serverReady(url, timeout);
            }
            return drivers.get(scale).url;
        };
        const capabilities = (scripts) => ({
            "webkitgtk:browserOptions": { binary: miniBrowser,
                args: ["--automation", "--autoplay-policy=allow", ...(scripts === false ? ["--enable-javascript=false"] : [])] },
            timeouts: { script: timeout, pageLoad: timeout, implicit: 0 },
        });
        // Now and then, on a busy machine, a new MiniBrowser never answers
        // its driver: that driver and its browsers go, and a new one tries.
        const newSession = async (scale, scripts) => {
            for (let attempt = 1; ; attempt++) {
                try {
                    return await Session.create(await driverFor(scale), capabilities(scripts));
                } catch (error) {
                    stopDriver(scale);
                    if (attempt === 3)
                        throw error;
                    console.log(`# WebKit: a new session failed (${error.message}); trying again with a new driver`);
                }
            }
        };
        return {
            async open({ viewport, scale, requests, scripts }) {
                if (requests)
                    throw new Error(webkit.lacks.requests);
                if (!Number.isInteger(scale))
                    throw new Error(`WebKitGTK's pixel ratio comes from GDK_SCALE, a whole number, not ${scale}`);
                const session = await newSession(scale, scripts);
                await session.navigate("about:blank");
                const tab = new WebDriverTab(session, { width: 0, height: 0 }, scale);
                if (scripts !== false) {
                    const [outerWidth, outerHeight, innerWidth, innerHeight] =
                        await tab.evaluate(() => [outerWidth, outerHeight, innerWidth, innerHeight]);
                    tab.chrome = { width: outerWidth - innerWidth, height: outerHeight - innerHeight };
                }
                await tab.setViewport(viewport);
                return tab;
            },
            navigate: (tab, url) => tab.session.navigate(url),
            async close() {
                for (const scale of [...drivers.keys()])
                    stopDriver(scale);
                xvfb.removeAllListeners("exit");
                xvfb.kill();
            },
        };
    },
};

export const engines = { chromium, firefox, webkit };
