// A client of W3C WebDriver (the classic protocol over HTTP), enough for
// WebKitGTK's WebKitWebDriver: a session is one browser window; commands
// are JSON requests; an error comes back as { value: { error, message } }.

const failure = (command, { error, message }) => new Error(`${command}: ${error}: ${message}`);

// A new session of the server's: its commands, as command(method, path,
// body) under the session's own path.
export async function newSession(server, capabilities) {
    const { sessionId } = await request(server, "POST", "/session", { capabilities: { alwaysMatch: capabilities } });
    return (method, path, body) => request(server, method, `/session/${sessionId}${path}`, body);
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
        throw failure(`${method} ${path}`, { error: "no answer", message: error.cause?.message ?? error.message });
    }
    const { value } = await response.json();
    if (!response.ok || value?.error)
        throw failure(`${method} ${path}`, value ?? { error: String(response.status), message: "" });
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
