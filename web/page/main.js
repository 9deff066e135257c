// Starts the page: the core module and the fonts load side by side; then
// the main view shows its start picture. The page is ready (data-ready="1"
// on <html>) once that picture, the dog and the mouse among it, is on the
// screen; the cues load after it.

import { CuePlayer } from "./cue_player.js";
import { face, helpFace, narrowFace } from "./faces.js";
import { linkedStartTexts } from "./main_view.js";
import { Program } from "./program.js";
import { mainWindow } from "torvikan-forms";
import words from "./words.json";

function cannotStart() {
    const notice = document.createElement("div");
    notice.id = "ended";
    notice.setAttribute("role", "alert");
    notice.textContent = words.cannotStart;
    document.body.append(notice);
}

// The dog and the mouse, fetched and decoded while the core starts, so
// that the window's pictures find them ready.
function decodePictures() {
    return mainWindow.controls.filter((control) => control.picture).map((control) => {
        const picture = new Image();
        picture.src = `pictures/${control.picture}`;
        return picture.decode().catch(() => {});
    });
}

async function start() {
    let core;
    try {
        [core] = await Promise.all([
            TorvikanCore(),
            document.fonts.load(`16px "${face}"`),
            document.fonts.load(`24px "${narrowFace}"`),
            document.fonts.load(`15px "${helpFace}"`),
            ...decodePictures(),
        ]);
    } catch (error) {
        cannotStart();
        throw error;
    }
    const cues = new CuePlayer();
    new Program(document.body, core, cues, words, linkedStartTexts(location.search)).showMain();
    // The dog and the mouse are part of the start picture: an engine may
    // paint a frame before it has decoded them, with their boxes empty.
    await Promise.all([...document.images].map((picture) => picture.decode().catch(() => {})));
    // The frame that shows the start picture has begun by the first
    // callback, and is on the screen by the next.
    requestAnimationFrame(() => requestAnimationFrame(() => {
        document.documentElement.dataset.ready = "1";
        // In a task of their own, once the start picture is on the screen.
        setTimeout(() => {
            cues.load();
            if (location.protocol.startsWith("http"))
                offerInstalling();
        });
    }));
}

// Only a page from a web server can be installed and keep itself for
// offline use; from a folder the browser would refuse even to read the
// manifest.
function offerInstalling() {
    const manifest = document.createElement("link");
    manifest.rel = "manifest";
    manifest.href = "manifest.webmanifest";
    document.head.append(manifest);
    navigator.serviceWorker?.register("service_worker.js").catch(() => {});
}

start();
