// Reads a PNG as the engines' screenshots, the window's field and the project's pictures are:
// 8 bits a channel, grey, RGB or RGBA, not interlaced. Gives
// { width, height, rgb } with three bytes a pixel, alpha dropped.

import { inflateSync } from "node:zlib";

const channelsOf = { 0: 1, 2: 3, 4: 2, 6: 4 };

// A filtered byte's prediction from the bytes left (a), above (b) and
// above-left (c): none, Sub, Up, Average, Paeth.
const predictors = [() => 0, (a) => a, (a, b) => b, (a, b) => (a + b) >> 1, (a, b, c) => {
    const p = a + b - c;
    const [pa, pb, pc] = [Math.abs(p - a), Math.abs(p - b), Math.abs(p - c)];
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}];

export function readPng(bytes) {
    if (bytes.readUInt32BE(0) !== 0x89504e47)
        throw new Error("not a PNG");
    let width, height, channels;
    const data = [];
    for (let at = 8; at < bytes.length;) {
        const length = bytes.readUInt32BE(at);
        const type = bytes.toString("latin1", at + 4, at + 8);
        const body = bytes.subarray(at + 8, at + 8 + length);
        if (type === "IHDR") {
            [width, height] = [body.readUInt32BE(0), body.readUInt32BE(4)];
            const [depth, colourType, , , interlace] = body.subarray(8, 13);
            channels = channelsOf[colourType];
            if (depth !== 8 || !channels || interlace)
                throw new Error(`a PNG of depth ${depth}, colour type ${colourType}, interlace ${interlace} is not read here`);
        } else if (type === "IDAT") {
            data.push(body);
        }
        at += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const pixels = Buffer.alloc(stride * height);
    for (let y = 0; y < height; y++) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        for (let x = 0; x < stride; x++) {
            const a = x >= channels ? pixels[y * stride + x - channels] : 0;
            const b = y > 0 ? pixels[(y - 1) * stride + x] : 0;
            const c = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
            pixels[y * stride + x] = (line[x] + predictors[filter](a, b, c)) & 0xff;
        }
    }
    const rgb = Buffer.alloc(width * height * 3);
    for (let i = 0; i < width * height; i++) {
        for (let k = 0; k < 3; k++)
            rgb[3 * i + k] = pixels[i * channels + (channels < 3 ? 0 : k)];
    }
    return { width, height, rgb };
}
