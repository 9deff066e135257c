#pragma once

#include "exact_chase.h"
#include "pursuit.h"
#include "sheet_options.h"

#include <QByteArray>
#include <QRect>

#include <optional>
#include <string>
#include <vector>

class QPainter;

// torvikan-sheet: a printable A4 sheet of a chase for the classroom. The
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
    bool available = false; // false: v <= 0 or a speed too large for the window
    std::optional<double> catchTime; // unset: the dog never catches the mouse
    std::vector<sim::exact::Point> path; // display metres
};

// Why the clicks on the sheet end where they do.
enum class RunEnd {
    caught, // the first catch cue
    exactCatch, // the exact chase's catch time, when the cue cannot tell a catch
    mouseLeft, // the mouse left the field
    stillness, // neither animal moves any more
    fault, // a click could not be finished, nor could any after it
    repeats, // with --clicks: every further click would repeat the last
    clickLimit, // defaultClickLimit, without --clicks
    askedClicks, // as many as --clicks asked for
};

// Everything on the sheet.
struct Content {
    Options options;
    std::vector<Click> clicks; // [0] is the start position, then one per click; empty on a blank sheet
    int lastClick = 0;
    std::optional<int> firstCue; // the first click that played the catch cue
    // The mouse starts level with the dog and no click takes it to the right
    // (h·u <= 0), so the cue plays from the first click on without a catch.
    bool mouseNeverAhead = false;
    RunEnd end = RunEnd::askedClicks;
    // When the mouse is never ahead and time runs forwards: the exact catch
    // time, which ends a run without --clicks in place of the cue.
    std::optional<double> exactCatch;
    int every = 1;
    std::vector<int> listed; // the table's clicks: 0, every, 2·every, …, the first cue and the last
    Exact exact;
};

// Runs the clicks and chooses the table's rows. Any options the command
// line accepts make a sheet: a long table runs on to further pages.
Content prepare(const Options& options);

// How many table rows the first page holds, below the field and above the
// notes, so that a sheet without --every stays on one page.
int rowsOnFirstPage(const Content& content);

// Where the field's drawing area lies on the first page at `dpi`, in
// device pixels.
QRect fieldRect(double dpi);

// How many A4 pages the sheet has: a long table runs on to further pages.
int pageCount(const Content& content);

// Draws page `page` (from 0) onto a painter whose device has `dpi` dots
// per inch and the size of an A4 page.
void paintPage(QPainter& painter, double dpi, const Content& content, int page);

// The whole sheet as a file of options.format: every page of a PDF; an
// SVG or PNG is one picture and holds the first page only.
QByteArray renderSheet(const Content& content);

// Writes the sheet to options.file, replacing it only once the new sheet
// is complete. Returns the exit status (0, or 1 with `error` set).
int writeSheet(const Content& content, std::string& error);

} // namespace sheet
