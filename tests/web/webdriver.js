// A client of W3C WebDriver (the classic protocol over HTTP), enough for
// WebKitGTK's WebKitWebDriver: a session is one browser window; commands
// are JSON requests; an error comes back as { value: { error, message } }.

// A key's WebDriver code point, by the names the suites use.
const keys = { Tab: "\uE004", Enter: "\uE007", Escape: "\uE00C", Space: "\uE00D" };
export const keyOf = (name) => keys[name] ?? name;

export class WebDriverError extends Error {
    constructor(command, { error, message }) {
        super(`${command}: ${error}: ${message}`);
        this.code = error;
    }
}

export class Session {
    constructor(server, id) {
        this.server = server;
        this.id = id;
    }

    static async create(server, capabilities) {
        const { sessionId } = await request(server, "POST", "/session", { capabilities: { alwaysMatch: capabilities } });
        return new Session(server, sessionId);
    }

    command(method, path, body) {
        return request(this.server, method, `/session/${this.id}${path}`, body);
    }

    navigate(url) {
        return this.command("POST", "/url", { url });
    }

    // Runs `source` (a function body) with `args`; the body ends by calling
    // its last argument with { value } or { error }.
    async executeAsync(source, args) {
        const outcome = await this.command("POST", "/execute/async", { script: source, args });
        if (outcome?.error)
            throw new Error(`in the page: ${outcome.error}`);
        return outcome?.value;
    }

    async find(selector) {
        // The reference is the one value of the object WebDriver returns.
        const [reference] = Object.values(await this.command("POST", "/element", { using: "css selector", value: selector }));
        return reference;
    }

    // The standard click: the element scrolled into view and clicked at the
    // centre of its box, refused where that point is not the element's.
    async click(selector) {
        return this.command("POST", `/element/${await this.find(selector)}/click`, {});
    }

    async fill(selector, text) {
        const element = await this.find(selector);
        await this.command("POST", `/element/${element}/clear`, {});
        await this.command("POST", `/element/${element}/value`, { text });
    }

    actions(...sources) {
        return this.command("POST", "/actions", { actions: sources });
    }

    async screenshot() {
        return Buffer.from(await this.command("GET", "/screenshot"), "base64");
    }

    windowRect(rect) {
        return this.command("POST", "/window/rect", rect);
    }

    close() {
        return this.command("DELETE", "");
    }
}

// A command that has not answered in 45 s will not: the driver is told
// to give up on scripts and page loads well before that.
const commandTimeout = 45000;

async function request(server, method, path, body) {
    let response;
    try {
        response = await fetch(server + path, {
            method,
            headers: body ? { "Content-Type": "application/json; charset=utf-8" } : {},
            body: body ? JSON.stringify(body) : undefined,
            signal: AbortSignal.timeout(commandTimeout),
        });
    } catch (error) {
        throw new WebDriverError(`${method} ${path}`, { error: "no answer", message: error.cause?.message ?? error.message });
    }
    const { value } = await response.json();
    if (!response.ok || value?.error)
        throw new WebDriverError(`${method} ${path}`, value ?? { error: String(response.status), message: "" });
    return value;
}

// Waits until a WebDriver server at `server` answers, for up to `ms`.
export async function serverReady(server, ms) {
    const until = Date.now() + ms;
    for (;;) {
        try {
            const status = await request(server, "GET", "/status");
            if (status?.ready !== false)
                return;
        } catch (error) {
            if (Date.now() > until)
                throw new Error(`no WebDriver server at ${server}: ${error.message}`);
        }
        await new Promise((resolve) => setTimeout(resolve, 100));
    }
}
