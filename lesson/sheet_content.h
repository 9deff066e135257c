#pragma once

#include "chase_texts.h"
#include "exact_chase.h"
#include "field_chart.h"
#include "palette.h"
#include "pursuit.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a worksheet of a chase says, decided once for torvikan-sheet, which
// lays it out with QPainter, and for the teacher's page, which lays it out
// as HTML for the browser to print: the clicks it lists, their read-outs,
// the first cue, why the record ends, its sentences, the exact chase
// beside it and the pupils' blank version, page by page.
namespace sheet {

// More clicks than any lesson needs; beyond this a sheet only grows.
inline constexpr int maxClicks = 100'000;
// Without a number of clicks the run ends by itself (the catch, the mouse
// leaving the field, a run that no longer changes); this only guards a
// run that never ends.
inline constexpr int defaultClickLimit = 100'000;
// A sheet in PNG is one picture of its first page at this many dots per inch.
inline constexpr int pngDpi = 150;

// What a teacher asks for. The inputs are the texts as given, read as the
// window reads its boxes; where a text is not wholly a number ("1/10",
// "l0", an empty text) the sheet prints the value the chase runs with
// beside it.
struct Request : lesson::ChaseTexts {
    std::optional<int> clicks; // unset: see defaultClickLimit
    std::optional<int> every; // unset: the sheet chooses
    bool exact = false;
    bool blank = false; // never with exact, whose columns would give the answers away
    int grid = 10; // metres between the field's grid lines on paper: 10 (the window's), 5 or 1
};

// What the window shows after one click; after a click that could not be
// finished, the previous click's picture and read-outs stay.
struct Click {
    sim::Frame shown;
    sim::Fault fault = sim::Fault::none;
    bool catchCue = false;
};

// The exact chase beside the clicks.
struct Exact {
    double u = 0.0; // the speeds as the window stores them
    double v = 0.0;
    bool available = false; // false: v <= 0 or a speed too large for the window
    std::optional<double> catchTime; // unset: the dog never catches the mouse
    std::vector<sim::exact::Point> path; // display metres
    double pathEnd = 0.0; // the seconds at the path's last point
};

// Why the clicks on the sheet end where they do.
enum class RunEnd {
    caught, // the first catch cue
    exactCatch, // the exact chase's catch time, when the cue cannot tell a catch
    mouseLeft, // the mouse left the field
    stillness, // neither animal moves any more
    fault, // a click could not be finished, nor could any after it
    repeats, // with a number of clicks: every further click would repeat the last
    clickLimit, // defaultClickLimit, without a number of clicks
    askedClicks, // as many clicks as were asked for
};

// The clicks of a chase as the window shows them, and why they end.
struct Record {
    std::vector<Click> clicks; // [0] is the start position, then one per click
    int lastClick = 0;
    std::optional<int> firstCue; // the first click that played the catch cue
    // The mouse starts level with the dog and no click takes it to the right
    // (h·u <= 0), so the cue plays from the first click on without a catch.
    bool mouseNeverAhead = false;
    RunEnd end = RunEnd::askedClicks;
    // When the mouse is never ahead and time runs forwards: the exact catch
    // time, which ends a run without a number of clicks in place of the cue.
    std::optional<double> exactCatch;
};

// The window's clicks, as many as asked for, or without a number as many
// as tell the chase: up to the first catch cue; where the cue cannot tell
// a catch, up to the exact catch time, else until the mouse leaves the
// field; and never past a click that cannot be finished or after which
// nothing moves. Either way the run stops before clicks that would only
// repeat the last row.
Record runClicks(const lesson::ChaseTexts& texts, std::optional<int> clicks);

// The sentence that says when the cue first sounded and why the record
// ends where it does.
std::string endSentence(const Record& record);

// Everything on the sheet. A blank sheet runs the same clicks and lists
// the same ones as the answer sheet, and shows none of their numbers.
struct Content : Record {
    Request options;
    int every = 1;
    std::vector<int> listed; // the table's clicks: 0, every, 2·every, …, the first cue and the last
    Exact exact;
};

// Runs the clicks and chooses the table's rows. Any request makes a
// sheet: a long table runs on to further pages.
Content prepare(const Request& request);

// The page, A4 portrait, in millimetres.
inline constexpr double pageWidth = 210.0;
inline constexpr double pageHeight = 297.0;
inline constexpr double margin = 15.0;
inline constexpr double contentWidth = pageWidth - 2 * margin;
inline constexpr double pageBottom = pageHeight - 12.0; // where the table and its notes end
inline constexpr double titleTop = 12.0;
inline constexpr double inputsTop = 22.0;
inline constexpr double fieldTop = 30.0;
inline constexpr double firstTableTop = 146.0;
inline constexpr double laterTableTop = 32.0; // below the heading every page repeats
inline constexpr double pageNumberTop = pageBottom + 3.0;
inline constexpr double captionHeight = 6.0;
inline constexpr double headerHeight = 10.5; // three lines of the headers' font
inline constexpr double rowHeight = 4.3;
inline constexpr double blankRowHeight = 7.0; // room to write in by hand
inline constexpr double notePoints = 9.5;
inline constexpr double noteLineHeight = 4.2; // at least the font's line spacing
inline constexpr double notesGap = 2.0; // between the table and its first note, and between two notes

// The field on paper is laid out in the window's logical pixels: its
// labels are 10 pixels high and its pictures 34 pixels wide, as on screen.
// The window shows about 5.4 pixels per metre across; the sheet keeps
// that, with square metres, so that a grid square on paper is square. It
// spans the page's width inside the margins.
inline constexpr int fieldPixelsWide = 645;
inline constexpr int fieldPixelsHigh = 376;
inline constexpr int markerBorder = 2; // the pictures' sunken frame, in logical pixels
inline constexpr double fieldLineWidth = 0.25; // a 1-pixel line of the window, in millimetres
// The exact path runs along the dog's marks, so it is a colour of its own,
// dashed (5 of its widths on, 3 off), on a white casing that keeps it from
// sinking into the dog's trail when the page is printed in grey.
inline constexpr chart::Rgb exactPathColour{0, 170, 60};
inline constexpr double exactPathWidth = 0.45;
inline constexpr double exactPathCasing = 0.15; // white on either side of the dashes

// A larger view of the end of the record, on an answer sheet that draws
// the exact path: on the field, 1 m is 1.5 mm and the dog's marks, the
// mouse's and the dashed path run together into one band near the catch,
// where they lie a few tenths of a metre apart. Below the field's legend,
// a box shows 11 m × 2 m around the dog's last steps ten times larger, each
// click's position as a small mark centred on it, on a 1 m grid numbered
// in metres, so that a grey print keeps the three apart.
inline constexpr int insetMagnification = 10;
inline constexpr double insetMillimetresPerMetre = insetMagnification * contentWidth / sim::chartWidth;
inline constexpr double insetMetresWide = 11.0;
inline constexpr double insetMetresHigh = 2.0;
inline constexpr double insetTop = firstTableTop; // its caption, where the table starts without it
inline constexpr double insetCaptionHeight = 5.0;
inline constexpr double insetCaptionPoints = 9.0;
inline constexpr double insetLabelPoints = 7.0;
inline constexpr double insetLabelHeight = 3.5;
inline constexpr double insetLeft = margin + 8.0; // right of the column of its y values
inline constexpr double insetBoxTop = insetTop + insetCaptionHeight;
inline constexpr double insetBoxBottom = insetBoxTop + insetMetresHigh * insetMillimetresPerMetre;
inline constexpr double insetTableTop = insetBoxBottom + insetLabelHeight + 4.0;
inline constexpr double insetDogMark = 1.0; // the side of a dog's filled square, in millimetres
inline constexpr double insetMouseMark = 1.3; // the side of a mouse's outlined square
inline constexpr double insetGridWidth = 0.1;
inline constexpr double insetFrameWidth = 0.2;
inline constexpr chart::Colour insetGridColour = chart::fineGridColour;

// Millimetres on the page.
struct PagePoint {
    double x = 0.0;
    double y = 0.0;
};
struct PageRect {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

struct InsetLabel {
    PageRect area;
    std::string text;
    bool alignRight = false; // the y values; the x values and the unit are centred
};

// What the box shows, in millimetres of the page, for torvikan-sheet and
// the teacher's page to draw alike: inside `box`, the grid, the exact path,
// the mouse's marks and the dog's over them, so that every mark stays whole
// where it lies on the path.
struct Inset {
    bool shown = false;
    double left = 0.0; // display metres at the box's bottom-left corner
    double bottom = 0.0;
    PageRect box;
    std::string caption;
    std::vector<double> gridX, gridY;
    std::vector<PagePoint> mouse, dog; // the centres of the marks
    std::vector<PagePoint> path;
    std::vector<InsetLabel> labels; // in reading order: the y values from the top, the x values, the unit
};
// Unshown on pupils' sheets and wherever the exact path is not drawn.
Inset insetOf(const Content& content);
// The part of the dog's path inside a box of display metres, cut at its
// edges, for back-ends that keep no clipping (an SVG of Qt's): one piece,
// as the dog always heads down and towards the mouse's side.
std::vector<sim::exact::Point> pathInside(
    const std::vector<sim::exact::Point>& path, double left, double bottom, double right, double top);
bool hasInset(const Content& content);

// Where the table of each page starts: the first page's below the field,
// or below the inset where there is one, the others' below the heading
// that every page repeats.
double tableTop(const Content& content, int page);
double rowHeightOf(const Content& content);
inline double firstRowTop(const Content& content, int page)
{
    return tableTop(content, page) + captionHeight + headerHeight;
}

// Which listed clicks each page's table holds.
struct TablePart {
    int page = 0;
    std::size_t firstRow = 0; // indices into Content::listed
    std::size_t endRow = 0;
};
std::vector<TablePart> tableParts(const Content& content);
// The rows that fit on a page above `notes` millimetres of notes.
int rowsOnPage(const Content& content, int page, double notes);
// How many table rows the first page holds, below the field and above the
// notes.
int rowsOnFirstPage(const Content& content);
int pageCount(const Content& content);

// The sheet's words, in UTF-8.
inline constexpr std::string_view titleText = "犬とねずみの追いかけっこ　記録用紙";
inline constexpr std::string_view nameText = "年　　組　　番　名前";
// The three inputs as typed, each with what the chase reads it as where
// that is not all of the text.
std::string inputsText(const Request& request);
std::string captionText(const Content& content, bool continued);
std::string pageNumberText(int page, int count);
std::string gridText(int grid);
inline constexpr std::string_view blankLegendText = "表に読み取った位置を、ねずみは赤、犬は青で図にかきこみましょう。";
inline constexpr std::string_view mouseTrailText = "ねずみの跡";
inline constexpr std::string_view dogTrailText = "犬の跡";
inline constexpr std::string_view exactPathText = "理論上の犬の道すじ";

struct Column {
    std::string_view header; // its lines parted by "\n"
    double width; // millimetres
    bool centred = false; // the click and the cue; numbers are set right
    bool endsGroup = false; // a black rule after it: the click, the window's read-outs, the exact chase
};
std::vector<Column> columnsOf(const Content& content);

// The texts of one row: the click, the window's read-outs and cue, and
// for the exact chase its dog and its distance from the window's. Only
// the click on a blank sheet.
std::vector<std::string> rowTexts(const Content& content, int click);

// The sentences under the table, and how much room they take: reckoned
// from their length, so that the rows are laid out before any font is
// loaded.
std::vector<std::string> notesOf(const Content& content);
double notesHeight(const Content& content);

// The sheet's field as the window would show it: a pupils' sheet has the
// labels and the grid alone, an answer sheet the start and then every click
// the window could finish, in order. A long chase would repeat the grid for
// every click; a page keeps each repeat, so the steps go down as one.
void drawChase(chart::Canvas& canvas, const chart::FieldChart& chart, const Content& content);
// The chart of the sheet's field, `scale` device pixels to each of its
// fieldPixelsWide × fieldPixelsHigh at `dotsPerMillimetre` of the page: its
// lines fieldLineWidth thick, with the finer grid the options ask for.
chart::FieldChart fieldChart(const Request& options, double scale, double dotsPerMillimetre);

} // namespace sheet
