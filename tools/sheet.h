#pragma once

#include "sheet_content.h"
#include "sheet_options.h"

#include <QByteArray>
#include <QRect>

#include <string>

class QPainter;

// torvikan-sheet: a printable A4 sheet of a chase for the classroom. What
// it says comes from the lesson's sheet content; this lays it out with
// QPainter: the field drawn by the window's own chart code, the table and
// the sentences.
namespace sheet {

// Where the field's drawing area lies on the first page at `dpi`, in
// device pixels.
QRect fieldRect(double dpi);

// Draws page `page` (from 0) onto a painter whose device has `dpi` dots
// per inch and the size of an A4 page.
void paintPage(QPainter& painter, double dpi, const Content& content, int page);

// The whole sheet as a file of `format`: every page of a PDF; an SVG or
// PNG is one picture and holds the first page only.
QByteArray renderSheet(const Content& content, Format format);

// Writes the sheet to options.file, replacing it only once the new sheet
// is complete. Returns the exit status (0, or 1 with `error` set).
int writeSheet(const Content& content, const Options& options, std::string& error);

} // namespace sheet
