// The page's Japanese faces, as torvikan.css names them, and where the
// window puts text in them: Qt rounds the face's ascent and descent up to
// whole pixels, and the page does the same so that text lands where the
// window's does.
import metrics from "torvikan-face-metrics";

export const face = "Torvikan Gothic";
export const narrowFace = "Torvikan Gothic Narrow";
export const helpFace = "Torvikan Gothic Help";

export function ascent(px) {
    return Math.ceil((metrics.ascent * px) / metrics.unitsPerEm);
}

// The distance from one printed line to the next.
export function lineSpacing(px) {
    return ascent(px) + Math.ceil((metrics.descent * px) / metrics.unitsPerEm);
}
