// Builds a window of the program from its form's description, which the
// build makes from the Designer form: every control at its place and size,
// with its text, font, colours, frame and accessible name, in the form's
// Tab order.
//
// Lengths are the form's pixels times the window's scale, the CSS length
// --s that Program sets on the window. The window is laid out at its size
// on the screen rather than zoomed or transformed: every engine then
// reports, hit-tests and draws a control at one and the same place, and
// the canvas meets the screen's pixels one to one.

export const scaled = (pixels) => `calc(${pixels} * var(--s))`;

function place(element, [x, y, width, height]) {
    element.style.left = scaled(x);
    element.style.top = scaled(y);
    element.style.width = scaled(width);
    element.style.height = scaled(height);
}

function createElementFor(control) {
    let element;
    switch (control.kind) {
    case "button":
        element = document.createElement("button");
        element.type = "button";
        element.textContent = control.text;
        // A long press on a touch screen opens no menu over the button.
        element.addEventListener("contextmenu", (event) => event.preventDefault());
        break;
    case "box":
        element = document.createElement("input");
        element.type = "text";
        element.value = control.text ?? "";
        element.autocomplete = "off";
        element.spellcheck = false;
        element.setAttribute("autocapitalize", "off");
        element.setAttribute("autocorrect", "off");
        element.style.textAlign = control.align;
        break;
    case "label":
        element = document.createElement("div");
        element.textContent = control.text;
        element.classList.add(`align-${control.align}`);
        break;
    case "picture": {
        element = document.createElement("div");
        element.setAttribute("role", "img");
        const picture = document.createElement("img");
        picture.src = `pictures/${control.picture}`;
        picture.alt = "";
        picture.draggable = false;
        element.append(picture);
        break;
    }
    case "frame":
        element = document.createElement("div");
        element.setAttribute("role", "img");
        break;
    default:
        element = document.createElement("div");
    }
    element.id = control.name;
    element.classList.add(control.kind);
    if (control.focusable && element.tabIndex < 0)
        element.tabIndex = 0;
    if (control.accessibleName)
        element.setAttribute("aria-label", control.accessibleName);
    if (control.font) {
        element.style.fontSize = scaled(control.font.px);
        element.style.fontWeight = control.font.bold ? "bold" : "normal";
    }
    if (control.background)
        element.style.backgroundColor = control.background;
    if (control.color)
        element.style.color = control.color;
    if (control.frame) {
        element.classList.add(`frame-${control.frame.shape}`, `shadow-${control.frame.shadow}`);
        element.style.borderWidth = scaled(control.frame.width);
    }
    return element;
}

// The window's element and its controls by their names in the form, which
// are also their ids.
export function buildWindow(form) {
    const element = document.createElement("div");
    element.className = "window";
    element.style.width = scaled(form.width);
    element.style.height = scaled(form.height);
    const interiors = new Map(form.controls.filter((c) => c.interior).map((c) => [c.name, c.interior]));
    const controls = new Map();
    for (const control of form.controls) {
        const child = createElementFor(control);
        place(child, control.rect);
        controls.set(control.name, child);
        if (control.within) {
            // A widget on a drawing area is clipped to the area's interior
            // and placed from its corner, yet keeps its own place in the
            // Tab order, which a child element of the area could not.
            const clip = document.createElement("div");
            clip.className = "clip";
            place(clip, interiors.get(control.within));
            clip.style.zIndex = control.z;
            clip.append(child);
            element.append(clip);
        } else {
            child.style.zIndex = control.z;
            element.append(child);
        }
    }
    return { element, controls };
}
