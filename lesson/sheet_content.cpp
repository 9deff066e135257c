#include "sheet_content.h"

#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace sheet {

namespace {

// Closer than one trail mark, the dog is at the mouse on the field.
constexpr double caughtWithin = 1.0;

std::string seconds(double value) { return number_text::formatFixed(value, 3); }
std::string number(long long n) { return std::to_string(n); }

bool mouseOffField(const sim::PursuitState& state) { return state.ux < sim::frameLeft || state.ux >= sim::frameRight; }

Exact exactChase(const Request& request, double lastSeconds)
{
    Exact exact;
    exact.u = number_text::textToFloat(request.mouseSpeed);
    exact.v = number_text::textToFloat(request.dogSpeed);
    exact.available = sim::exact::dogAt(exact.u, exact.v, 0.0).has_value();
    if (!exact.available)
        return exact;
    exact.catchTime = sim::exact::catchTime(exact.u, exact.v);
    // The path covers the clicks on the sheet, and runs on to the catch
    // when that happens inside the field.
    double end = lastSeconds;
    const double fieldWidth = sim::displayX(sim::frameRight);
    if (exact.catchTime && std::fabs(exact.u) * *exact.catchTime <= fieldWidth)
        end = std::max(end, *exact.catchTime);
    exact.path = sim::exact::dogPath(exact.u, exact.v, end, 600);
    exact.pathEnd = exact.catchTime ? std::min(end, *exact.catchTime) : end;
    return exact;
}

// 0, every, 2·every, …, the last click and the first cue wherever it
// falls: the same rows on the answer sheet and on the pupils' sheet.
std::vector<int> listedClicks(const Content& content, int every)
{
    std::set<int> listed;
    for (int click = 0; click < content.lastClick; click += every)
        listed.insert(click);
    listed.insert(content.lastClick);
    if (content.firstCue)
        listed.insert(*content.firstCue);
    return {listed.begin(), listed.end()};
}

// The first half of the sentence on the cue, up to its comma.
std::string cueClause(const Record& record)
{
    if (!record.firstCue)
        return "追いついた音は鳴らず、";
    const Click& c = record.clicks[std::size_t(*record.firstCue)];
    return "追いついた音は " + number(*record.firstCue) + " 回目のクリック（" + seconds(c.shown.readouts.seconds)
        + " 秒）で初めて鳴り、";
}

std::string endClause(const Record& record)
{
    const std::string here = "ので、記録はここまでです。";
    const int last = record.lastClick;
    switch (record.end) {
    case RunEnd::caught: {
        // The cue sounds once the mouse is no longer to the right of the
        // dog, which a dog with long steps reaches far from the mouse.
        const sim::Readouts& r = record.clicks[std::size_t(last)].shown.readouts;
        const double apart = std::hypot(double(r.dogX) - double(r.mouseX), double(r.dogY) - double(r.mouseY));
        if (apart < caughtWithin)
            return "犬がねずみに追いついた" + here;
        return "犬の位置ｘがねずみの位置ｘに追いついた（犬とねずみはまだ " + number_text::formatFixed(apart, 3)
            + " m 離れています）" + here;
    }
    case RunEnd::exactCatch:
        return "理論上、犬がねずみに追いつく時刻（" + seconds(*record.exactCatch) + " 秒）になった" + here;
    case RunEnd::mouseLeft:
        return "ねずみが方眼の外に出た" + here;
    case RunEnd::stillness:
        return "犬もねずみもこれ以上動かない" + here;
    case RunEnd::fault:
        return number(last) + " 回目のクリックから計算できなくなる（エラー）" + here;
    case RunEnd::repeats:
        if (record.clicks.back().shown.readouts.mouseX >= sim::displayX(sim::frameRight))
            return "ねずみが方眼の外に出て、" + number(last + 1) + " 回目からは何も変わらない" + here;
        return number(last + 1) + " 回目からはクリックしても何も変わらない" + here;
    case RunEnd::clickLimit:
        return "クリックが上限の " + number(last) + " 回になった" + here;
    case RunEnd::askedClicks:
        break;
    }
    return "記録は指定された " + number(last) + " 回目のクリックまでです。";
}

// The window's cue compares only x: a mouse that never gets ahead of the
// dog sets it off from the first click, long before any catch.
bool cueFromTheStart(const Record& record) { return record.mouseNeverAhead && record.firstCue == 1; }

std::string exactNote(const Exact& e)
{
    if (!e.available)
        return "理論上の追いかけっこは計算できません（犬の速度ｖが０以下か、速度が大きすぎます）。";
    if (!e.catchTime)
        return "理論上の追いかけっこでは、犬はねずみに追いつきません（ねずみが犬より速いか、同じ速さです）。";
    return "理論上の追いかけっこで犬がねずみに追いつく時刻：" + seconds(*e.catchTime) + " 秒";
}

// What the pupils' sheet asks of the end of the record, with room to
// write: the first cue where it sounds, else what ended the record.
std::string blankQuestion(const Record& record)
{
    if (record.firstCue && !cueFromTheStart(record))
        return "追いついた音が初めて鳴ったのは、　　　　回目のクリック（　　　　秒）です。";
    if (record.end == RunEnd::mouseLeft)
        return "ねずみが方眼の外に出たのは、　　　　回目のクリック（　　　　秒）です。";
    return "記録の終わりで、犬とねずみはどうなっていますか。";
}

// Lines a note takes across the page: a full-width character is about one
// em of the note's font, anything else a little over half of one.
int linesOf(std::string_view note)
{
    const lesson::CharacterCounts counts = lesson::characterCounts(note);
    const double ems = double(counts.wide) + 0.6 * double(counts.narrow);
    const double emsPerLine = contentWidth / (notePoints / 72.0 * 25.4);
    return std::max(1, int(std::ceil(ems / (emsPerLine - 1.0))));
}

std::string fullWidthDigits(int n)
{
    std::string out;
    for (const char digit : std::to_string(n)) {
        // U+FF10 + d in UTF-8: EF BC 90+d
        out += "\xEF\xBC";
        out += char(0x90 + (digit - '0'));
    }
    return out;
}

// An input as typed and, where the window reads it as a number that is
// not all of the text, the number it computes with.
std::string inputText(const std::string& typed, std::string_view unit)
{
    std::string s = typed + " " + std::string(unit);
    if (const lesson::Reading reading = lesson::readingOf(typed); !reading.wholeNumber)
        s += "（" + lesson::plainDecimal(reading.value) + " として計算）";
    return s;
}

} // namespace

Record runClicks(const lesson::ChaseTexts& texts, std::optional<int> clicks)
{
    Record record;
    sim::PursuitState state;
    record.clicks.push_back({sim::resetToStart(state), sim::Fault::none, false});
    const float u = number_text::textToFloat(texts.mouseSpeed);
    const float h = number_text::textToFloat(texts.unitTime);
    record.mouseNeverAhead = !(double(h) * u > 0.0);
    if (record.mouseNeverAhead && h > 0.0f)
        record.exactCatch = sim::exact::catchTime(u, number_text::textToFloat(texts.dogSpeed));
    const std::optional<double>& exactCatch = record.exactCatch;

    const bool toTheEnd = !clicks;
    const int limit = clicks.value_or(defaultClickLimit);
    record.clicks.reserve(std::size_t(limit) + 1);
    record.end = toTheEnd ? RunEnd::clickLimit : RunEnd::askedClicks;
    for (int n = 1; n <= limit; ++n) {
        const sim::PursuitState before = state;
        const sim::StepOutcome o = sim::step(state, texts.mouseSpeed, texts.dogSpeed, texts.unitTime);
        // The window leaves everything as it was after a click it could
        // not finish.
        const Click click{o.fault == sim::Fault::none ? o.frame : record.clicks.back().shown, o.fault, o.catchCue};
        // A click that changes nothing is followed by ones just like it.
        const bool frozen = before == state;
        const RunEnd frozenEnd = o.fault != sim::Fault::none ? RunEnd::fault
            : toTheEnd                                       ? RunEnd::stillness
                                                             : RunEnd::repeats;
        const Click& previous = record.clicks.back();
        if (frozen && click.fault == previous.fault && click.catchCue == previous.catchCue
            && click.shown.readouts == previous.shown.readouts) {
            record.end = frozenEnd;
            break;
        }
        record.clicks.push_back(click);
        if (o.catchCue && !record.firstCue)
            record.firstCue = n;
        if (frozen) {
            record.end = frozenEnd;
            break;
        }
        if (!toTheEnd)
            continue;
        const sim::Frame& earlier = record.clicks[record.clicks.size() - 2].shown;
        if (o.fault != sim::Fault::none)
            record.end = RunEnd::fault;
        else if (o.catchCue && !record.mouseNeverAhead)
            record.end = RunEnd::caught;
        else if (exactCatch && click.shown.readouts.seconds >= *exactCatch - h / 2.0)
            record.end = RunEnd::exactCatch; // the click nearest the catch time
        else if (!exactCatch && mouseOffField(state))
            record.end = RunEnd::mouseLeft;
        else if (click.shown.mouseMark == earlier.mouseMark && click.shown.dogMark == earlier.dogMark)
            record.end = RunEnd::stillness;
        else
            continue;
        break;
    }
    record.lastClick = int(record.clicks.size()) - 1;
    return record;
}

std::string endSentence(const Record& record)
{
    if (cueFromTheStart(record))
        return endClause(record);
    return cueClause(record) + endClause(record);
}

Content prepare(const Request& request)
{
    Content content;
    static_cast<Record&>(content) = runClicks(request, request.clicks);
    content.options = request;
    content.options.exact = request.exact && !request.blank;
    if (content.options.exact)
        content.exact = exactChase(request, content.clicks.back().shown.readouts.seconds);

    // The rows of the answer sheet, so that the pupils' sheet, with its
    // taller rows, asks for the very clicks the answer sheet gives.
    Content answers;
    static_cast<Record&>(answers) = content;
    answers.options = request;
    answers.options.blank = false;
    answers.options.exact = request.exact && !request.blank; // a pupils' sheet never has the exact chase
    // Nor is the inset counted: below it the table starts lower and may run
    // on to one more page, but it lists the clicks it would list without it.
    answers.exact = {};
    if (request.every) {
        content.every = *request.every;
        content.listed = listedClicks(content, content.every);
        return content;
    }
    // The least step whose table stays on the first page.
    const int guess = content.lastClick / std::max(1, rowsOnFirstPage(answers) - 1);
    for (content.every = std::max(1, guess);; ++content.every) {
        answers.listed = listedClicks(content, content.every);
        if (int(answers.listed.size()) <= rowsOnFirstPage(answers) || content.every >= content.lastClick) {
            content.listed = std::move(answers.listed);
            return content;
        }
    }
}

namespace {

struct Box {
    double left = 0.0, right = 0.0, bottom = 0.0, top = 0.0;
    void add(double x, double y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
};

// Room between the marks kept in view and the box's edges, in metres.
constexpr double insetPad = 0.5;
// The exact path in the box is drawn from points this far apart at most,
// in metres, so that it stays a smooth curve ten times enlarged.
constexpr double insetPathStep = 0.02;
constexpr std::size_t insetPathMostPoints = 50'000;

// The dog ends at the mouse: the record ends in a catch.
bool endsAtTheMouse(const Record& record)
{
    if (record.end == RunEnd::exactCatch)
        return true;
    if (record.end != RunEnd::caught)
        return false;
    const sim::Readouts& r = record.clicks[std::size_t(record.lastClick)].shown.readouts;
    return std::hypot(double(r.dogX) - double(r.mouseX), double(r.dogY) - double(r.mouseY)) < caughtWithin;
}

} // namespace

std::vector<sim::exact::Point> pathInside(
    const std::vector<sim::exact::Point>& path, double left, double bottom, double right, double top)
{
    std::vector<sim::exact::Point> inside;
    for (std::size_t i = 1; i < path.size(); ++i) {
        // The part of each step inside the box (Liang and Barsky's clipping).
        const sim::exact::Point a = path[i - 1], b = path[i];
        const double dx = b.x - a.x, dy = b.y - a.y;
        double from = 0.0, to = 1.0;
        for (const auto& [p, q] :
            {std::pair{-dx, a.x - left}, {dx, right - a.x}, {-dy, a.y - bottom}, {dy, top - a.y}}) {
            if (p == 0.0) {
                if (q < 0.0)
                    from = 2.0; // along this edge, outside it
            } else if (p < 0.0) {
                from = std::max(from, q / p);
            } else {
                to = std::min(to, q / p);
            }
        }
        if (from > to)
            continue;
        if (inside.empty() || from > 0.0)
            inside.push_back({a.x + from * dx, a.y + from * dy});
        inside.push_back({a.x + to * dx, a.y + to * dy});
    }
    return inside;
}

bool hasInset(const Content& content)
{
    return content.options.exact && !content.options.blank && content.exact.path.size() >= 2;
}

Inset insetOf(const Content& content)
{
    Inset inset;
    if (!hasInset(content))
        return inset;
    inset.shown = true;
    // The dog's and the mouse's positions of the last clicks, back as far as
    // they fit the box; at least the dog's last one.
    std::vector<const sim::Readouts*> shown;
    for (const Click& click : content.clicks)
        if (click.fault == sim::Fault::none)
            shown.push_back(&click.shown.readouts);
    const sim::Readouts& last = *shown.back();
    Box kept{last.dogX, last.dogX, last.dogY, last.dogY};
    for (auto r = shown.rbegin(); r != shown.rend(); ++r) {
        Box grown = kept;
        grown.add((*r)->dogX, (*r)->dogY);
        grown.add((*r)->mouseX, (*r)->mouseY);
        if (grown.right - grown.left > insetMetresWide - 2 * insetPad
            || grown.top - grown.bottom > insetMetresHigh - 2 * insetPad)
            break;
        kept = grown;
    }
    // Centred across; from the lowest mark up, as the mouse runs along the
    // field's bottom edge. Whole centimetres keep the numbers tidy.
    inset.left = std::round(((kept.left + kept.right - insetMetresWide) / 2) * 100) / 100;
    inset.bottom = std::round((kept.bottom - insetPad) * 100) / 100;
    const double scale = insetMillimetresPerMetre;
    inset.box = {insetLeft, insetBoxTop, insetMetresWide * scale, insetMetresHigh * scale};
    const double right = inset.left + insetMetresWide, top = inset.bottom + insetMetresHigh;
    const auto onPage = [&](double x, double y) -> PagePoint {
        return {inset.box.left + (x - inset.left) * scale, inset.box.top + (top - y) * scale};
    };

    const std::string view = endsAtTheMouse(content) ? "追いつく手前" : "記録の終わり";
    inset.caption
        = view + "の拡大図（" + number(insetMagnification) + " 倍）：印の中心が、各クリックでの犬とねずみの位置です。";

    // Only what lies within the box, since not every back-end clips (an SVG
    // of Qt's keeps no clipping): whole marks, and the path cut at the
    // box's edges. A mark that stays put is drawn once.
    const auto within = [&](double x, double y, double side) {
        const double m = side / 2 / scale;
        return x >= inset.left + m && x <= right - m && y >= inset.bottom + m && y <= top - m;
    };
    const sim::Readouts* before = nullptr;
    for (const sim::Readouts* r : shown) {
        if (within(r->mouseX, r->mouseY, insetMouseMark)
            && !(before && before->mouseX == r->mouseX && before->mouseY == r->mouseY))
            inset.mouse.push_back(onPage(r->mouseX, r->mouseY));
        if (within(r->dogX, r->dogY, insetDogMark) && !(before && before->dogX == r->dogX && before->dogY == r->dogY))
            inset.dog.push_back(onPage(r->dogX, r->dogY));
        before = r;
    }

    // The exact path afresh, finely enough for the box.
    const Exact& e = content.exact;
    const double length = std::fabs(e.v) * e.pathEnd;
    const std::size_t points
        = std::size_t(std::clamp(length / insetPathStep, double(e.path.size()), double(insetPathMostPoints)));
    const std::vector<sim::exact::Point> fine = sim::exact::dogPath(e.u, e.v, e.pathEnd, points);
    for (const sim::exact::Point& p : pathInside(fine, inset.left, inset.bottom, right, top))
        inset.path.push_back(onPage(p.x, p.y));

    // The grid every metre, and its numbers, but none crowding the box's
    // corners nor any too long for its place.
    const double labelGap = 0.3;
    const auto label = [&](double metres) -> std::optional<std::string> {
        if (std::fabs(metres) >= 1e6)
            return {};
        return number((long long)metres);
    };
    for (int i = 0; i <= int(insetMetresHigh); ++i) {
        const double y = std::floor(top) - i;
        if (!(y < top && y > inset.bottom))
            continue;
        const PagePoint at = onPage(inset.left, y);
        inset.gridY.push_back(at.y);
        if (const auto text = label(y); text && y <= top - labelGap && y >= inset.bottom + labelGap)
            inset.labels.push_back(
                {{margin, at.y - insetLabelHeight / 2, insetLeft - margin - 1.0, insetLabelHeight}, *text, true});
    }
    for (int i = 0; i <= int(insetMetresWide); ++i) {
        const double x = std::ceil(inset.left) + i;
        if (!(x > inset.left && x < right))
            continue;
        const PagePoint at = onPage(x, inset.bottom);
        inset.gridX.push_back(at.x);
        if (const auto text = label(x); text && x >= inset.left + labelGap && x <= right - labelGap)
            inset.labels.push_back({{at.x - 5.0, insetBoxBottom + 0.3, 10.0, insetLabelHeight}, *text});
    }
    inset.labels.push_back(
        {{inset.box.left + inset.box.width + 0.5, insetBoxBottom + 0.3, 5.0, insetLabelHeight}, "ｍ"});
    return inset;
}

double tableTop(const Content& content, int page)
{
    if (page > 0)
        return laterTableTop;
    return hasInset(content) ? insetTableTop : firstTableTop;
}

double rowHeightOf(const Content& content) { return content.options.blank ? blankRowHeight : rowHeight; }

int rowsOnPage(const Content& content, int page, double notes)
{
    const double room = pageBottom - firstRowTop(content, page) - notes;
    return std::max(0, int(room / rowHeightOf(content) + 1e-9));
}

int rowsOnFirstPage(const Content& content) { return rowsOnPage(content, 0, notesHeight(content)); }

std::vector<TablePart> tableParts(const Content& content)
{
    std::vector<TablePart> parts;
    const std::size_t rows = content.listed.size();
    const double notes = notesHeight(content);
    std::size_t row = 0;
    for (int page = 0;; ++page) {
        const std::size_t left = rows - row;
        const std::size_t withNotes = std::size_t(rowsOnPage(content, page, notes));
        if (left <= withNotes) {
            parts.push_back({page, row, rows});
            return parts;
        }
        // The notes follow the table: a last part they would not fit under
        // leaves some of its rows to the next page.
        const std::size_t room = std::max<std::size_t>(1, std::size_t(rowsOnPage(content, page, 0.0)));
        const std::size_t taken = left <= room ? std::max<std::size_t>(1, std::min(withNotes, left - 1)) : room;
        parts.push_back({page, row, row + taken});
        row += taken;
    }
}

int pageCount(const Content& content) { return tableParts(content).back().page + 1; }

std::string inputsText(const Request& request)
{
    return "ねずみの速度ｕ＝" + inputText(request.mouseSpeed, "ｍ／秒") + "　　犬の速度ｖ＝"
        + inputText(request.dogSpeed, "ｍ／秒") + "　　単位時間h＝" + inputText(request.unitTime, "秒");
}

std::string captionText(const Content& content, bool continued)
{
    const std::string every = content.every == 1 ? "毎回" : number(content.every) + " 回ごと";
    // The pupils' sheet leaves it to the chase to tell where the record ends.
    std::string caption = content.options.blank ? "［次へ］をクリックしたときの記録（" + every + "）"
                                                : "［次へ］を " + number(content.lastClick) + " 回クリックしたときの記録（" + every + "）";
    if (continued)
        caption += "（つづき）";
    return caption;
}

std::string pageNumberText(int page, int count) { return number(page + 1) + " / " + number(count); }

std::string gridText(int grid)
{
    if (grid == 10)
        return "方眼の１目盛り＝１０ｍ";
    return "方眼の１目盛り＝" + fullWidthDigits(grid) + "ｍ（黒い線は１０ｍごと）";
}

std::vector<Column> columnsOf(const Content& content)
{
    constexpr std::string_view mouseX = "ねずみの\n位置ｘ", mouseY = "ねずみの\n位置ｙ";
    constexpr std::string_view dogX = "犬の\n位置ｘ", dogY = "犬の\n位置ｙ";
    constexpr std::string_view click = "クリック", secondsPassed = "秒経過";
    constexpr std::string_view cue = "追いついた\n音";
    if (!content.options.exact || content.options.blank)
        return {{click, 16, true, true}, {mouseX, 26}, {mouseY, 26}, {dogX, 26}, {dogY, 26}, {secondsPassed, 26},
            {cue, 34, true, true}};
    return {{click, 13, true, true}, {mouseX, 17}, {mouseY, 17}, {dogX, 17}, {dogY, 17}, {secondsPassed, 17},
        {cue, 19, true, true}, {"理論上の犬の\n位置ｘ", 21}, {"理論上の犬の\n位置ｙ", 21},
        {"画面の犬と\n理論上の犬の\nずれ", 21}};
}

std::vector<std::string> rowTexts(const Content& content, int click)
{
    std::vector<std::string> cells{number(click)};
    if (content.options.blank)
        return cells;
    const Click& c = content.clicks[std::size_t(click)];
    const sim::Readouts& r = c.shown.readouts;
    for (const float value : {r.mouseX, r.mouseY, r.dogX, r.dogY, r.seconds})
        cells.push_back(number_text::formatReadout(value));
    cells.push_back(c.fault != sim::Fault::none ? "エラー※" : c.catchCue ? "鳴った" : "");
    if (!content.options.exact)
        return cells;
    const Exact& e = content.exact;
    if (const std::optional<sim::exact::Point> dog = sim::exact::dogAt(e.u, e.v, r.seconds)) {
        for (const double value : {dog->x, dog->y, sim::exact::distanceFromShown(r, *dog)})
            cells.push_back(number_text::formatFixed(value, 3));
    } else {
        cells.insert(cells.end(), 3, "－");
    }
    return cells;
}

std::vector<std::string> notesOf(const Content& content)
{
    if (content.options.blank)
        return {blankQuestion(content)};
    std::vector<std::string> notes;
    if (cueFromTheStart(content))
        notes.emplace_back("ねずみが犬より前（右）に出ることがないので、追いついた音は 1 回目のクリックから鳴ります。"
                           "犬がねずみに追いついたからではありません。");
    notes.push_back(endSentence(content));
    if (content.options.exact)
        notes.push_back(exactNote(content.exact));
    const bool faulted = std::any_of(content.listed.begin(), content.listed.end(),
        [&](int click) { return content.clicks[std::size_t(click)].fault != sim::Fault::none; });
    if (faulted)
        notes.emplace_back("※エラー：計算できなかったクリックです。位置と秒経過は前のクリックのままです。");
    return notes;
}

double notesHeight(const Content& content)
{
    double height = 0;
    for (const std::string& note : notesOf(content))
        height += notesGap + linesOf(note) * noteLineHeight;
    return height;
}

void drawChase(chart::Canvas& canvas, const chart::FieldChart& chart, const Content& content)
{
    if (content.options.blank) {
        chart.drawAxisLabels(canvas);
        chart.drawGrid(canvas);
        return;
    }
    chart.drawStart(canvas, content.clicks.front().shown);
    std::vector<sim::Frame> steps;
    steps.reserve(content.clicks.size());
    for (std::size_t i = 1; i < content.clicks.size(); ++i)
        if (content.clicks[i].fault == sim::Fault::none)
            steps.push_back(content.clicks[i].shown);
    chart.drawSteps(canvas, steps);
}

chart::FieldChart fieldChart(const Request& options, double scale, double dotsPerMillimetre)
{
    const int pen = std::max(1, int(std::lround(fieldLineWidth * dotsPerMillimetre)));
    const int fine = options.grid == 5 || options.grid == 1 ? options.grid : 0;
    return {{fieldPixelsWide, fieldPixelsHigh}, scale, pen, chart::FieldStyle{fine, true}};
}

} // namespace sheet
