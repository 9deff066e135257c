// The sentences under torvikan-sheet's table: how the chase went on the
// answer sheet, a line to fill in on the pupils' sheet.

#include "sheet_page.h"

#include "number_text.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

constexpr double notePoints = 9.5;
constexpr double noteLineHeight = 4.2; // at least the font's line spacing
constexpr double notesGap = 2.0; // between the table and its first note, and between two notes
// Closer than one trail mark, the dog is at the mouse on the field.
constexpr double caughtWithin = 1.0;

QString seconds(double value) { return QString::fromStdString(number_text::formatFixed(value, 3)); }

// The first half of the sentence on the cue, up to its comma.
QString cueClause(const Content& content)
{
    if (!content.firstCue)
        return QStringLiteral("追いついた音は鳴らず、");
    const Click& c = content.clicks[std::size_t(*content.firstCue)];
    return QStringLiteral("追いついた音は %1 回目のクリック（%2 秒）で初めて鳴り、")
        .arg(*content.firstCue)
        .arg(seconds(c.shown.readouts.seconds));
}

QString endClause(const Content& content)
{
    const QString here = QStringLiteral("ので、記録はここまでです。");
    const int last = content.lastClick;
    switch (content.end) {
    case RunEnd::caught: {
        // The cue sounds once the mouse is no longer to the right of the
        // dog, which a dog with long steps reaches far from the mouse.
        const sim::Readouts& r = content.clicks[std::size_t(last)].shown.readouts;
        const double apart = std::hypot(double(r.dogX) - double(r.mouseX), double(r.dogY) - double(r.mouseY));
        if (apart < caughtWithin)
            return QStringLiteral("犬がねずみに追いついた") + here;
        return QStringLiteral("犬の位置ｘがねずみの位置ｘに追いついた（犬とねずみはまだ %1 m 離れています）")
                   .arg(QString::fromStdString(number_text::formatFixed(apart, 3)))
            + here;
    }
    case RunEnd::exactCatch:
        return QStringLiteral("理論上、犬がねずみに追いつく時刻（%1 秒）になった").arg(seconds(*content.exactCatch))
            + here;
    case RunEnd::mouseLeft:
        return QStringLiteral("ねずみが方眼の外に出た") + here;
    case RunEnd::stillness:
        return QStringLiteral("犬もねずみもこれ以上動かない") + here;
    case RunEnd::fault:
        return QStringLiteral("%1 回目のクリックから計算できなくなる（エラー）").arg(last) + here;
    case RunEnd::repeats:
        if (content.clicks.back().shown.readouts.mouseX >= sim::displayX(sim::frameRight))
            return QStringLiteral("ねずみが方眼の外に出て、%1 回目からは何も変わらない").arg(last + 1) + here;
        return QStringLiteral("%1 回目からはクリックしても何も変わらない").arg(last + 1) + here;
    case RunEnd::clickLimit:
        return QStringLiteral("クリックが上限の %1 回になった").arg(last) + here;
    case RunEnd::askedClicks:
        break;
    }
    return QStringLiteral("記録は指定された %1 回目のクリックまでです。").arg(last);
}

QString exactNote(const Exact& e)
{
    if (!e.available)
        return QStringLiteral("理論上の追いかけっこは計算できません（犬の速度ｖが０以下か、速度が大きすぎます）。");
    if (!e.catchTime)
        return QStringLiteral(
            "理論上の追いかけっこでは、犬はねずみに追いつきません（ねずみが犬より速いか、同じ速さです）。");
    return QStringLiteral("理論上の追いかけっこで犬がねずみに追いつく時刻：%1 秒").arg(seconds(*e.catchTime));
}

// Lines a note takes across the page: a full-width character is about one
// em of the note's font, anything else a little over half of one.
int linesOf(const QString& note)
{
    double ems = 0;
    for (const QChar c : note)
        ems += c.unicode() >= 0x2E80 ? 1.0 : 0.6;
    const double emsPerLine = contentWidth / (notePoints / 72.0 * 25.4);
    return std::max(1, int(std::ceil(ems / (emsPerLine - 1.0))));
}

} // namespace

QStringList notesOf(const Content& content)
{
    if (content.options.blank)
        return {QStringLiteral("追いついた音が初めて鳴ったのは、　　　　回目のクリック（　　　　秒）です。")};
    QStringList notes;
    // The window's cue compares only x: a mouse that never gets ahead of
    // the dog sets it off from the first click, long before any catch.
    const bool cueFromTheStart = content.mouseNeverAhead && content.firstCue == 1;
    if (cueFromTheStart)
        notes << QStringLiteral(
            "ねずみが犬より前（右）に出ることがないので、追いついた音は 1 回目のクリックから鳴ります。"
            "犬がねずみに追いついたからではありません。");
    notes << (cueFromTheStart ? QString() : cueClause(content)) + endClause(content);
    if (content.options.exact)
        notes << exactNote(content.exact);
    const bool faulted = std::any_of(content.listed.begin(), content.listed.end(),
        [&](int click) { return content.clicks[std::size_t(click)].fault != sim::Fault::none; });
    if (faulted)
        notes << QStringLiteral("※エラー：計算できなかったクリックです。位置と秒経過は前のクリックのままです。");
    return notes;
}

double notesHeight(const Content& content)
{
    double height = 0;
    for (const QString& note : notesOf(content))
        height += notesGap + linesOf(note) * noteLineHeight;
    return height;
}

void drawNotes(Page& page, const Content& content, double top)
{
    const QFont font = Page::font(notePoints);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    double y = top;
    for (const QString& note : notesOf(content)) {
        y += notesGap;
        const QRectF area = page.rect(margin, y, contentWidth, pageHeight - y);
        page.text(area, flags, note, font);
        y += QFontMetricsF(font, page.painter().device()).boundingRect(area, flags, note).height() / page.dots(1.0);
    }
}

} // namespace sheet
