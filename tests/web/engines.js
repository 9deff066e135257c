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
//   tab.navigate(url)           the page at url, loaded
//   tab.evaluate(fn, ...args)   fn run in the page, its (awaited) result
//   tab.waitFor(fn, arg)        until fn(arg) in the page is truthy
//   tab.click(selector)         a real pointer click at the element's centre,
//                               refused where that point is not the element
//   tab.clickAt(selector)       a real pointer click at the element's centre,
//                               whatever lies over it there
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
// open() takes browser.js's options for a new tab; what an engine's
// automation cannot do, `lacks` says with the reason.

import { spawn } from "node:child_process";
import { existsSync, readdirSync } from "node:fs";
import { createServer } from "node:net";
import { newSession, serverReady } from "./webdriver.js";

const timeout = 15000;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// What a tab does the same in every engine: it waits by asking the page,
// a key pressed is a key held for one key-down, and an element's centre is
// where its script reads its box to be.
class Tab {
    async waitFor(fn, arg, what) {
        const until = Date.now() + timeout;
        while (!(await this.evaluate(fn, arg))) {
            if (Date.now() > until)
                throw new Error(`timed out waiting for ${what ?? fn.toString()}`);
            await sleep(20);
        }
    }
    press(key) {
        return this.hold(key, 1);
    }
    // The centre of the element's box, in the viewport.
    centre(selector) {
        return this.evaluate((selector) => {
            const box = document.querySelector(selector).getBoundingClientRect();
            return [box.x + box.width / 2, box.y + box.height / 2];
        }, selector);
    }
}

// A tab of Playwright's or of Puppeteer's: their pages click, point, type,
// print and take pictures through the same calls; only the viewport is
// resized differently, by `resize`.
class PageTab extends Tab {
    constructor(context, page, resize) {
        super();
        Object.assign(this, { context, page, setViewport: resize });
    }
    navigate(url) {
        return this.page.goto(url);
    }
    evaluate(fn, ...args) {
        return this.page.evaluate(([source, args]) => (0, eval)(`(${source})`)(...args), [fn.toString(), args]);
    }
    click(selector) {
        return this.page.click(selector);
    }
    async clickAt(selector) {
        await this.page.mouse.click(...(await this.centre(selector)));
    }
    async longPress(selector, ms) {
        await this.page.hover(selector);
        await this.page.mouse.down();
        await sleep(ms);
        await this.page.mouse.up();
    }
    async tap(selector) {
        await this.page.touchscreen.tap(...(await this.centre(selector)));
    }
    async fill(selector, text) {
        await this.evaluate((selector) => {
            const box = document.querySelector(selector);
            box.focus();
            box.select();
        }, selector);
        await this.page.keyboard.press("Backspace");
        await this.page.keyboard.type(text);
    }
    async hold(key, repeats) {
        const name = key === "Space" ? " " : key;
        for (let i = 0; i < repeats; i++)
            await this.page.keyboard.down(name);
        await this.page.keyboard.up(name);
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

// ---- Chromium --------------------------------------------------------------

// Chromium as CI has it: root, no display, no GPU, nothing fetched for itself.
export const chromiumOptions = {
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: [
        "--no-sandbox", "--disable-gpu", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
    ],
};

const chromium = {
    name: "chromium",
    executable: chromiumOptions.executablePath,
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
                const page = await context.newPage();
                return new PageTab(context, page, (size) => page.setViewportSize(size));
            },
            close: () => browser.close(),
        };
    },
};

// ---- Firefox ---------------------------------------------------------------

const firefox = {
    name: "firefox",
    executable: "/usr/bin/firefox-esr",
    lacks: {
        touch: "Firefox's WebDriver BiDi emulates no touch screen",
        fileRequests: "Firefox's WebDriver BiDi sees no request for a file:// address",
    },
    async launch() {
        const { default: puppeteer } = await import("puppeteer-core");
        const start = (prefs) => puppeteer.launch({
            browser: "firefox",
            executablePath: firefox.executable,
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
                const resize = (size) => page.setViewport({ ...size, deviceScaleFactor: scale });
                await resize(viewport);
                if (requests) {
                    await page.setRequestInterception(true);
                    page.on("request", (request) => (requests(request.url()) ? request.continue() : request.abort()));
                }
                return new PageTab(context, page, resize);
            },
            close: () => Promise.all([browser.close(), withoutScripts?.close()]),
        };
    },
};

// ---- WebKit ----------------------------------------------------------------

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

// A key's WebDriver code point, by the names the suites use.
const webDriverKeys = { Tab: "\uE004", Enter: "\uE007", Escape: "\uE00C", Space: "\uE00D" };

// A tab of WebKitWebDriver's: a session, which is one browser window, and
// its commands.
class WebDriverTab extends Tab {
    constructor(command) {
        super();
        this.command = command;
        // The browser's own bars around the viewport, measured once it opens.
        this.chrome = { width: 0, height: 0 };
    }
    navigate(url) {
        return this.command("POST", "/url", { url });
    }
    // The script ends by calling its last argument with { value } or { error }.
    async evaluate(fn, ...args) {
        const outcome = await this.command("POST", "/execute/async", { args: [args], script: `const done = arguments[arguments.length - 1];
            Promise.resolve().then(() => (${fn})(...arguments[0]))
                .then((value) => done({ value }), (error) => done({ error: String(error && error.stack || error) }));` });
        if (outcome?.error)
            throw new Error(`in the page: ${outcome.error}`);
        return outcome?.value;
    }
    // The element's reference: the one value of the object WebDriver returns.
    async element(selector) {
        return Object.values(await this.command("POST", "/element", { using: "css selector", value: selector }))[0];
    }
    // The standard click: the element scrolled into view and clicked at the
    // centre of its box, refused where that point is not the element's.
    async click(selector) {
        return this.command("POST", `/element/${await this.element(selector)}/click`, {});
    }
    // The mouse moved to (x, y) from `origin`, an element or the viewport,
    // and held down there for `ms`.
    pointer(origin, x, y, ms) {
        return this.command("POST", "/actions", { actions: [{
            type: "pointer", id: "mouse", parameters: { pointerType: "mouse" },
            actions: [
                { type: "pointerMove", x, y, origin, duration: 0 },
                { type: "pointerDown", button: 0 },
                { type: "pause", duration: ms },
                { type: "pointerUp", button: 0 },
            ],
        }] });
    }
    async longPress(selector, ms) {
        return this.pointer({ "element-6066-11e4-a52e-4f735466cecf": await this.element(selector) }, 0, 0, ms);
    }
    // At the viewport's point: WebKit refuses to move to an element that
    // something lies over.
    async clickAt(selector) {
        const [x, y] = await this.centre(selector);
        return this.pointer("viewport", Math.round(x), Math.round(y), 0);
    }
    async fill(selector, text) {
        const element = await this.element(selector);
        await this.command("POST", `/element/${element}/clear`, {});
        await this.command("POST", `/element/${element}/value`, { text });
    }
    hold(key, repeats) {
        const value = webDriverKeys[key];
        const downs = Array.from({ length: repeats }, () => ({ type: "keyDown", value }));
        return this.command("POST", "/actions", { actions: [{ type: "key", id: "keyboard", actions: [...downs, { type: "keyUp", value }] }] });
    }
    setViewport({ width, height }) {
        return this.command("POST", "/window/rect", { width: width + this.chrome.width, height: height + this.chrome.height });
    }
    async screenshot() {
        return Buffer.from(await this.command("GET", "/screenshot"), "base64");
    }
    close() {
        return this.command("DELETE", "");
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
        const miniBrowser = readdirSync("/usr/lib").map((folder) => `/usr/lib/${folder}/webkit2gtk-4.1/MiniBrowser`).find(existsSync);
        const { display, server: xvfb } = await startXvfb();
        // One driver for each device pixel ratio, which WebKitGTK takes
        // from GDK_SCALE (a whole number) when its window opens. Each runs
        // in a process group of its own with the browsers it starts, so
        // that ending the group leaves none of them behind.
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
        const sessionFor = async (scale, scripts) => {
            for (let attempt = 1; ; attempt++) {
                try {
                    return await newSession(await driverFor(scale), capabilities(scripts));
                } catch (error) {
                    stopDriver(scale);
                    if (attempt === 3)
                        throw error;
                    console.log(`# WebKit: a new session failed (${error.message}); trying again with a new driver`);
                }
            }
        };
        return {
            async open({ viewport, scale, scripts }) {
                const tab = new WebDriverTab(await sessionFor(scale, scripts));
                await tab.navigate("about:blank");
                if (scripts !== false)
                    tab.chrome = await tab.evaluate(() => ({ width: outerWidth - innerWidth, height: outerHeight - innerHeight }));
                await tab.setViewport(viewport);
                return tab;
            },
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
