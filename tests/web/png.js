// Reads a PNG (the engines' screenshots, the window's field, the project's
// pictures) with pngjs, which reads every kind the engines may write. Gives
// { width, height, rgb } with three bytes a pixel, alpha dropped.

import pngjs from "pngjs";

export function readPng(bytes) {
    const { width, height, data } = pngjs.PNG.sync.read(bytes);
    const rgb = Buffer.alloc(width * height * 3);
    for (let i = 0; i < width * height; i++)
        data.copy(rgb, 3 * i, 4 * i, 4 * i + 3);
    return { width, height, rgb };
}
