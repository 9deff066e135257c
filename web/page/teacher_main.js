// The teacher's page: the worksheet, the answer table as text, its CSV for
// a spreadsheet and the convergence table, for the inputs a teacher types
// or a link brings. Everything it shows comes from the core, as
// torvikan-sheet and torvikan-table have it; the page is ready
// (data-ready="1" on <html>) once the sheet is on the screen.

import { face } from "./faces.js";
import { SheetView } from "./sheet_view.js";

// The address's names are the tools' options; the texts start as the
// window's start texts and the tools' defaults.
const defaults = { u: "6", v: "10", h: "0.1", clicks: "", every: "", exact: false, blank: false, grid: "10", converge: "8" };
const texts = ["u", "v", "h", "clicks", "every", "converge"];
const flags = ["exact", "blank"];

const form = document.getElementById("inputs");
const field = (name) => form.elements.namedItem(name) ?? document.querySelector(`[name="${name}"]`);

function cannotStart() {
    const notice = document.createElement("p");
    notice.className = "notice";
    notice.setAttribute("role", "alert");
    notice.textContent = "このブラウザーではこのページを使えません。新しいブラウザーで開いてください。";
    document.body.prepend(notice);
}

function loadPicture(name) {
    const picture = new Image();
    picture.src = `pictures/${name}`;
    return picture.decode().then(() => picture, () => null);
}

// What the address asks for, each value put into its input as it is.
function fromAddress() {
    const query = new URLSearchParams(location.search);
    for (const name of texts)
        field(name).value = query.get(name) ?? defaults[name];
    for (const name of flags)
        field(name).checked = query.has(name) ? query.get(name) === "1" : defaults[name];
    const grid = query.get("grid");
    field("grid").value = ["10", "5", "1"].includes(grid) ? grid : defaults.grid;
}

// The inputs as the address gives them, so that a bookmark or a shared
// link brings the same sheet back.
function toAddress() {
    const query = new URLSearchParams();
    for (const name of texts)
        if (field(name).value !== defaults[name])
            query.set(name, field(name).value);
    for (const name of flags)
        if (field(name).checked)
            query.set(name, "1");
    if (field("grid").value !== defaults.grid)
        query.set("grid", field("grid").value);
    const search = query.toString();
    history.replaceState(null, "", search ? `?${search}` : location.pathname);
}

class TeacherPage {
    constructor(core, pictures) {
        this.core = core;
        this.sheet = new SheetView(document.getElementById("sheet"), core, pictures);
        this.pending = 0;
        form.addEventListener("input", () => this.changed());
        form.addEventListener("change", () => this.changed());
        // K's box sits with its table, outside the form.
        field("converge").addEventListener("input", () => this.changed());
        form.addEventListener("submit", (event) => event.preventDefault());
        document.getElementById("print").addEventListener("click", () => print());
        document.getElementById("csv").addEventListener("click", () => this.saveCsv());
    }

    // A count box: empty for the sheet's choice, else 1 to the most the
    // core takes. Anything else is shown as wrong and left out.
    count(name) {
        const input = field(name);
        const text = input.value;
        const n = text.trim() === "" ? null : this.core.countFromText(text);
        const wrong = n !== null && !(n >= 1 && n <= this.core.maxClicks);
        input.setAttribute("aria-invalid", String(wrong));
        return wrong ? undefined : n;
    }

    request() {
        const clicks = this.count("clicks");
        const every = this.count("every");
        const hint = document.getElementById("countHint");
        hint.textContent = clicks === undefined || every === undefined
            ? `回数は 1〜${this.core.maxClicks} の整数で入れてください（空欄なら自動です）。`
            : "";
        const blank = field("blank").checked;
        field("exact").disabled = blank; // its columns would give the answers away
        return {
            u: field("u").value,
            v: field("v").value,
            h: field("h").value,
            clicks: clicks ?? null,
            every: every ?? null,
            exact: field("exact").checked && !blank,
            blank,
            grid: Number(field("grid").value),
        };
    }

    changed() {
        toAddress();
        this.updatePupilsLink();
        // Typing runs ahead of drawing: the sheet follows the last key.
        clearTimeout(this.pending);
        this.pending = setTimeout(() => this.show(), 120);
    }

    updatePupilsLink() {
        const query = new URLSearchParams({ u: field("u").value, v: field("v").value, h: field("h").value });
        document.getElementById("pupilsLink").href = `index.html?${query}`;
    }

    show() {
        const request = this.request();
        this.sheet.show(request);
        this.showConvergence(request);
        // How many times the sheet has been drawn, for whoever waits on it.
        const root = document.documentElement;
        root.dataset.shown = String(Number(root.dataset.shown ?? 0) + 1);
    }

    showConvergence(request) {
        const input = field("converge");
        const n = this.core.countFromText(input.value);
        const wrong = !(n >= 1 && n <= this.core.maxConvergeRows);
        input.setAttribute("aria-invalid", String(wrong));
        const place = document.getElementById("convergenceTable");
        if (wrong) {
            place.replaceChildren(Object.assign(document.createElement("p"), {
                className: "hint",
                textContent: `K は 1〜${this.core.maxConvergeRows} の整数で入れてください。`,
            }));
            return;
        }
        const lines = this.core.convergenceText(request, n, false).split("\n").filter((line) => line);
        const table = document.createElement("table");
        lines.forEach((line, i) => {
            const row = table.insertRow();
            for (const text of line.split("\t")) {
                const cell = document.createElement(i === 0 ? "th" : "td");
                cell.textContent = text;
                if (i > 0 && /^-?[0-9.]+$/.test(text))
                    cell.className = "number";
                row.append(cell);
            }
        });
        place.replaceChildren(table);
    }

    // The table tool's CSV for these inputs and clicks: UTF-8 with a byte
    // order mark and CRLF, which a spreadsheet on a Japanese PC reads.
    saveCsv() {
        const request = this.request();
        const csv = this.core.tableBytes(request, request.clicks ?? -1, true, request.exact);
        const link = document.createElement("a");
        link.href = URL.createObjectURL(new Blob([csv], { type: "text/csv;charset=utf-8" }));
        link.download = "torvikan.csv";
        document.body.append(link);
        link.click();
        link.remove();
        // Safari on an iPad reads the file after the click has returned.
        setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
    }
}

async function start() {
    let core, dog, mouse;
    try {
        [core, dog, mouse] = await Promise.all([
            TorvikanCore(),
            loadPicture("dog.png"),
            loadPicture("mouse.png"),
            document.fonts.load(`16px "${face}"`),
        ]);
    } catch (error) {
        cannotStart();
        throw error;
    }
    fromAddress();
    const page = new TeacherPage(core, { dog, mouse });
    page.updatePupilsLink();
    page.show();
    requestAnimationFrame(() => requestAnimationFrame(() => {
        document.documentElement.dataset.ready = "1";
        // From a web server the page keeps itself for offline use, as the
        // pupils' page does, with the same service worker.
        if (location.protocol.startsWith("http"))
            navigator.serviceWorker?.register("service_worker.js").catch(() => {});
    }));
}

start();
