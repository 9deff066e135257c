#pragma once

#include "exact_chase.h"
#include "pursuit.h"
#include "sheet_options.h"

#include <QRect>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPainter;

// torvikan-sheet: one printable A4 page of a chase for the classroom. The
// field is drawn by the window's own chart code, the numbers are the
// window's read-outs (the table tool's numbers), and a blank version leaves
// them for the pupils to fill in.
namespace sheet {

// What the window shows after one click; after a click that could not be
// finished, the previous click's picture and read-outs stay.
struct Click {
    sim::Frame shown;
    sim::Fault fault = sim::Fault::none;
    bool catchCue = false;
};

// The exact chase beside the clicks, for --exact.
struct Exact {
    double u = 0.0; // the speeds as the window stores them
    double v = 0.0;
    bool available = false;              // false: v <= 0 or a speed too large for the window
    std::optional<double> catchTime;     // unset: the dog never catches the mouse
    std::vector<sim::exact::Point> path; // display metres
};

// Everything on the page.
struct Content {
    Options options;
    std::vector<Click> clicks; // [0] is the start position, then one per click
    int every = 1;
    std::vector<int> listed;   // the clicks in the table: 0, every, 2·every, …, and the last
    Exact exact;
};

// Runs the clicks and chooses the table's rows. Fails, with the reason in
// `error`, only when --every leaves more rows than the page holds.
std::optional<Content> prepare(const Options& options, std::string& error);

// How many table rows the page holds; a blank sheet has taller rows.
int rowsThatFit(bool blank);

// Where the field's drawing area lies on a page at `dpi`, in device pixels.
QRect fieldRect(double dpi);

// Draws the page onto a painter whose device has `dpi` dots per inch and
// the size of an A4 page.
void paintPage(QPainter& painter, double dpi, const Content& content);

// Writes the sheet to options.file, through a temporary file in the same
// folder that replaces the target only once it is complete. Returns the
// exit status (0, or 1 with `error` set).
int writeSheet(const Content& content, std::string& error);

} // namespace sheet
