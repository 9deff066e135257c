// The worksheet as A4 pages of HTML, laid out in millimetres from the
// core's sheet: the heading, the field (the only picture), its legend, the
// table page by page with its header repeated, the notes and the page
// numbers. The browser prints these pages as they are.

import { FieldCanvas } from "./field_canvas.js";

// Device pixels of the field per pixel of the window's chart: about 360
// dots per inch on paper.
const fieldScale = 4;
// The sunken frame round a picture, as the window draws it.
const frameDark = "rgb(128, 128, 128)";
const frameLight = "rgb(212, 212, 212)";

function element(tag, className, text) {
    const e = document.createElement(tag);
    if (className)
        e.className = className;
    if (text !== undefined)
        e.textContent = text;
    return e;
}

const entities = { "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;" };
const escaped = (text) => text.replace(/[&<>"]/g, (c) => entities[c]);

function svgElement(tag, attributes) {
    const e = document.createElementNS("http://www.w3.org/2000/svg", tag);
    for (const [name, value] of Object.entries(attributes))
        e.setAttribute(name, value);
    return e;
}

function mm(value) {
    return `${value}mm`;
}

export class SheetView {
    constructor(root, core, pictures) {
        this.root = root;
        this.core = core;
        this.pictures = pictures; // { dog, mouse }: decoded images
    }

    show(request) {
        const sheet = this.core.worksheet(request, fieldScale);
        const layout = sheet.layout;
        const pages = [];
        for (let number = 0; number < sheet.pages; ++number) {
            const page = element("section", "sheetPage");
            page.setAttribute("aria-label", `${number + 1} ページ目`);
            this.heading(page, sheet, layout);
            if (number === 0) {
                this.field(page, sheet, layout);
                if (sheet.inset)
                    this.inset(page, sheet.inset, sheet);
            }
            sheet.parts.forEach((part, index) => {
                if (part.page === number)
                    this.table(page, sheet, layout, part, index === sheet.parts.length - 1);
            });
            if (sheet.pages > 1)
                page.append(element("p", "pageNumber", sheet.pageNumbers[number]));
            pages.push(page);
        }
        this.root.replaceChildren(...pages);
        fitLines(this.root);
        return sheet;
    }

    heading(page, sheet) {
        page.append(element("p", "sheetTitle", sheet.title), element("p", "sheetName", sheet.name),
            element("div", "nameLine"), element("p", "sheetInputs", sheet.inputs));
    }

    field(page, sheet, layout) {
        const f = sheet.field;
        const canvas = element("canvas", "sheetField");
        canvas.setAttribute("role", "img");
        canvas.setAttribute("aria-label", "方眼の図");
        const painter = new FieldCanvas(canvas, this.core);
        painter.setDeviceSize(f.width, f.height);
        const context = painter.context;
        context.fillStyle = "#fff";
        context.fillRect(0, 0, f.width, f.height);
        painter.paint(f.paint);
        if (f.exactPath.length >= 4)
            drawExactPath(context, f);
        context.imageSmoothingEnabled = false;
        if (f.mouse)
            drawPicture(context, f, f.mouse, this.pictures.mouse);
        if (f.dog)
            drawPicture(context, f, f.dog, this.pictures.dog);
        const heightMm = (layout.contentWidth * f.height) / f.width;
        canvas.style.height = mm(heightMm);
        page.append(canvas);
        this.legend(page, sheet, layout.fieldTop + heightMm + 2.5);
    }

    legend(page, sheet, top) {
        const legend = element("div", "legend");
        legend.style.top = mm(top);
        legend.append(element("span", "gridText", sheet.grid));
        const at = (e, left) => {
            e.style.left = mm(left);
            legend.append(e);
            return e;
        };
        if (sheet.blank) {
            at(element("span", "", sheet.blankLegend), 0);
        } else {
            // The swatches look like the trails: the mouse's marks are outlines.
            at(element("span", "swatch"), 0).style.border = `0.25mm solid ${sheet.mouseColour}`;
            at(element("span", "", sheet.mouseTrail), 3.8);
            at(element("span", "swatch"), 34).style.background = sheet.dogColour;
            at(element("span", "", sheet.dogTrail), 37.8);
            if (sheet.exact) {
                at(element("span", "exactSample"), 68).style.borderColor = sheet.field.exactColour;
                at(element("span", "", sheet.exactPath), 78);
            }
        }
        page.append(legend);
    }

    // The larger view of the record's end, below the legend: its caption and
    // numbers are page text, the view itself lines and squares in
    // millimetres of the page, as the core lays them out.
    inset(page, inset, sheet) {
        const caption = element("p", "insetCaption", inset.caption);
        Object.assign(caption.style, { top: mm(inset.top), height: mm(inset.captionHeight),
            lineHeight: mm(inset.captionHeight), fontSize: `${inset.captionPoints}pt` });
        const b = inset.box;
        const view = svgElement("svg", { viewBox: `${b.left} ${b.top} ${b.width} ${b.height}`, role: "img",
            "aria-label": "拡大図" });
        view.classList.add("sheetInset");
        Object.assign(view.style, { left: mm(b.left), top: mm(b.top), width: mm(b.width), height: mm(b.height),
            outlineWidth: mm(inset.frameWidth), outlineOffset: mm(-inset.frameWidth / 2) });
        const grid = { stroke: inset.gridColour, "stroke-width": inset.gridWidth };
        for (const x of inset.gridX)
            view.append(svgElement("line", { x1: x, y1: b.top, x2: x, y2: b.top + b.height, ...grid }));
        for (const y of inset.gridY)
            view.append(svgElement("line", { x1: b.left, y1: y, x2: b.left + b.width, y2: y, ...grid }));
        const squares = (points, side, attributes) => {
            for (let i = 0; i < points.length; i += 2)
                view.append(svgElement("rect", { x: points[i] - side / 2, y: points[i + 1] - side / 2, width: side,
                    height: side, ...attributes }));
        };
        if (inset.path.length >= 4) {
            const points = [];
            for (let i = 0; i < inset.path.length; i += 2)
                points.push(`${inset.path[i]},${inset.path[i + 1]}`);
            const line = { points: points.join(" "), fill: "none", "stroke-linejoin": "round", "stroke-linecap": "butt" };
            view.append(svgElement("polyline", { ...line, stroke: "#fff",
                "stroke-width": inset.exactWidth + 2 * inset.exactCasing }));
            view.append(svgElement("polyline", { ...line, stroke: sheet.field.exactColour,
                "stroke-width": inset.exactWidth, "stroke-dasharray": `${5 * inset.exactWidth} ${3 * inset.exactWidth}` }));
        }
        // The mouse's outline runs inside its square, as the sheet tool draws it.
        squares(inset.mouse, inset.mouseMark - inset.mouseOutline,
            { fill: "none", stroke: sheet.mouseColour, "stroke-width": inset.mouseOutline });
        squares(inset.dog, inset.dogMark, { fill: sheet.dogColour });
        page.append(caption, view);
        for (const label of inset.labels) {
            const e = element("span", label.alignRight ? "insetLabel right" : "insetLabel", label.text);
            Object.assign(e.style, { left: mm(label.left), top: mm(label.top), width: mm(label.width),
                height: mm(label.height), lineHeight: mm(label.height), fontSize: `${inset.labelPoints}pt` });
            page.append(e);
        }
    }

    table(page, sheet, layout, part, last) {
        const top = part.page === 0 ? layout.firstTableTop : layout.laterTableTop;
        let bottom = top;
        if (part.first < part.end) {
            const caption = element("p", "sheetCaption", part.page > 0 ? sheet.captionContinued : sheet.caption);
            caption.style.top = mm(top);
            const table = element("table", sheet.blank ? "sheetTable blank" : "sheetTable");
            table.style.top = mm(top + layout.captionHeight);
            const columns = element("colgroup");
            const head = element("tr");
            sheet.columns.forEach((column, i) => {
                const col = element("col");
                col.style.width = mm(column.width);
                columns.append(col);
                const th = element("th");
                th.scope = "col";
                column.header.split("\n").forEach((line, n) => {
                    if (n > 0)
                        th.append(element("br"));
                    th.append(line);
                });
                if (i > 0 && sheet.columns[i - 1].endsGroup)
                    th.classList.add("afterGroup");
                head.append(th);
            });
            const thead = element("thead");
            thead.append(head);
            // The rows as one piece of markup, which a browser builds far
            // faster than element by element: a sheet may list 10,000 clicks.
            const tbody = element("tbody");
            const cellStart = sheet.columns.map((column, i) => {
                const classes = [column.centred ? "centred" : "", i > 0 && sheet.columns[i - 1].endsGroup ? "afterGroup" : ""]
                    .filter((c) => c).join(" ");
                return classes ? `<td class="${classes}">` : "<td>";
            });
            const rows = [];
            for (let row = part.first; row < part.end; ++row)
                rows.push(`<tr>${cellStart.map((start, i) => start + escaped(sheet.rows[row][i] ?? "") + "</td>").join("")}</tr>`);
            tbody.innerHTML = rows.join("");
            table.append(columns, thead, tbody);
            page.append(caption, table);
            const rowHeight = sheet.blank ? layout.blankRowHeight : layout.rowHeight;
            bottom = top + layout.captionHeight + layout.headerHeight + rowHeight * (part.end - part.first);
        }
        if (!last)
            return;
        // The notes follow the table, each below the one before.
        const notes = element("div", "sheetNotes");
        notes.style.top = mm(bottom);
        for (const text of sheet.notes) {
            const note = element("p", "", text);
            note.style.marginTop = mm(layout.notesGap);
            notes.append(note);
        }
        page.append(notes);
    }
}

// The exact chase's path: a white casing, then the dashes, inside the
// field's frame.
function drawExactPath(context, f) {
    context.save();
    context.beginPath();
    context.rect(f.frame.left, f.frame.top, f.frame.right - f.frame.left + 1, f.frame.bottom - f.frame.top + 1);
    context.clip();
    context.beginPath();
    context.moveTo(f.exactPath[0], f.exactPath[1]);
    for (let i = 2; i < f.exactPath.length; i += 2)
        context.lineTo(f.exactPath[i], f.exactPath[i + 1]);
    context.lineJoin = "round";
    context.lineCap = "butt";
    context.strokeStyle = "#fff";
    context.lineWidth = f.exactWidth + 2 * f.exactCasing;
    context.stroke();
    context.strokeStyle = f.exactColour;
    context.lineWidth = f.exactWidth;
    context.setLineDash([5 * f.exactWidth, 3 * f.exactWidth]);
    context.stroke();
    context.restore();
}

// A picture where the window places its marker, inside its sunken frame,
// enlarged without smoothing.
function drawPicture(context, f, at, picture) {
    if (!picture)
        return;
    const scale = fieldScale;
    const border = f.markerBorder;
    const width = picture.naturalWidth * scale + 2 * border;
    const height = picture.naturalHeight * scale + 2 * border;
    context.fillStyle = frameDark;
    context.fillRect(at.x, at.y, width, border);
    context.fillRect(at.x, at.y, border, height);
    context.fillStyle = frameLight;
    context.fillRect(at.x, at.y + height - border, width, border);
    context.fillRect(at.x + width - border, at.y, border, height);
    context.drawImage(picture, at.x + border, at.y + border, picture.naturalWidth * scale,
        picture.naturalHeight * scale);
}

// A line of text too long for its place, a number for its cell or inputs
// typed long for the line they share, is set smaller, never cut, as
// torvikan-sheet sets it.
function fitLines(root) {
    // Every width is read before any size is set, so that the sheet is laid
    // out once however many rows it has; and the heading, the same on
    // every page, is measured on the first two pages only, as pages out of
    // sight are laid out only when something asks of them.
    const [first, second] = root.querySelectorAll(".sheetPage");
    const measured = [];
    for (const page of [first, second].filter((p) => p))
        for (const line of page.querySelectorAll(".sheetTitle, .sheetInputs, .sheetCaption, .insetCaption"))
            measured.push([line, root.querySelectorAll(`.${line.className}`)]);
    // A cell's read-out of up to eight characters always fits.
    for (const cell of root.querySelectorAll(".sheetTable td"))
        if (cell.textContent.length > 8)
            measured.push([cell, [cell]]);
    const over = [];
    for (const [line, alike] of measured)
        if (line.scrollWidth > line.clientWidth)
            over.push([line.textContent, alike, line.clientWidth / line.scrollWidth, parseFloat(getComputedStyle(line).fontSize)]);
    for (const [text, alike, fraction, size] of over)
        for (const line of alike)
            if (line.textContent === text)
                line.style.fontSize = `${size * fraction * 0.95}px`;
}
