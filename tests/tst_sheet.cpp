#include "field_chart.h"
#include "sheet.h"
#include "table.h"

#include <QPainter>
#include <QtTest>

#include <sstream>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QString& program, const QStringList& args, const QString& folder = {})
{
    QProcess tool;
    if (!folder.isEmpty())
        tool.setWorkingDirectory(folder);
    tool.start(program, args);
    if (!tool.waitForFinished(60000))
        return {};
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()), QString::fromUtf8(tool.readAllStandardError())};
}

Run runSheet(const QStringList& args, const QString& folder = {})
{
    return runTool(QStringLiteral(SHEET_TOOL), args, folder);
}

// The table tool's rows for the given inputs: click 0, then one per click.
QList<QStringList> tableRows(const std::string& u, const std::string& v, const std::string& h, int clicks,
                             bool exact = false)
{
    table::Options options;
    options.exact = exact;
    options.mouseSpeed = u;
    options.dogSpeed = v;
    options.unitTime = h;
    options.steps = std::uint64_t(clicks);
    std::ostringstream out;
    table::write(out, options);
    QStringList lines = QString::fromStdString(out.str()).split(u'\n', Qt::SkipEmptyParts);
    lines.removeFirst(); // the header
    QList<QStringList> rows;
    for (const QString& line : lines)
        rows.append(line.split(u'\t'));
    return rows;
}

// The frames a chase draws on the window: the start, then each click
// that could be finished.
QList<sim::Frame> framesOf(const char* u, const char* v, const char* h, int clicks)
{
    sim::PursuitState state;
    QList<sim::Frame> frames{sim::resetToStart(state)};
    for (int i = 0; i < clicks; ++i)
        if (const sim::StepOutcome o = sim::step(state, u, v, h); o.fault == sim::Fault::none)
            frames.append(o.frame);
    return frames;
}

QFont labelFont()
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(10);
    return f;
}

// Device pixels of `colour` within the rectangle.
int countColour(const QImage& image, const QRect& r, QRgb colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == colour;
    return n;
}

} // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    void pageChartIsTheWindowChart_data();
    void pageChartIsTheWindowChart();
    void trailsWhereTheTableSays_data();
    void trailsWhereTheTableSays();
    void pdfHoldsTheTableNumbers_data();
    void pdfHoldsTheTableNumbers();
    void blankHasNoAnswers();
    void badInput_data();
    void badInput();
};

void TestSheet::pageChartIsTheWindowChart_data()
{
    QTest::addColumn<QByteArray>("u");
    QTest::addColumn<QByteArray>("h");
    QTest::addColumn<int>("clicks");
    QTest::addRow("mouse held at the edge, frames repeat") << QByteArray("6") << QByteArray("0.1") << 200;
    QTest::addRow("dog lands on the mouse, then faults") << QByteArray("0") << QByteArray("0.1") << 60;
}

// The page draws the steps in one go through a painter; the field it
// draws must be the window's, pixel for pixel.
void TestSheet::pageChartIsTheWindowChart()
{
    QFETCH(QByteArray, u);
    QFETCH(QByteArray, h);
    QFETCH(int, clicks);
    const QList<sim::Frame> frames = framesOf(u.constData(), "10", h.constData(), clicks);
    const QSize interior(645, 389);

    FieldChart window(interior, 1.0, labelFont());
    window.drawStart(frames.front());
    for (qsizetype i = 1; i < frames.size(); ++i)
        window.drawStep(frames[i]);

    const QPoint origin(37, 21);
    QImage page(interior + QSize(80, 60), QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        FieldChart sheet(painter, origin, interior, 1.0, 1, labelFont());
        sheet.drawStart(frames.front());
        sheet.drawSteps(std::span(frames).subspan(1));
    }
    // The field and its marks, away from the labels, whose text may sit a
    // fraction of a pixel differently on another device.
    const Surface& s = window.surface();
    const QRect field(QPoint(s.deviceX(8), s.deviceY(8)), QPoint(s.deviceX(112), s.deviceY(62)));
    QCOMPARE(page.copy(field.translated(origin)), window.surface().image().copy(field));
}

void TestSheet::trailsWhereTheTableSays_data()
{
    QTest::addColumn<QStringList>("inputs"); // u, v, h
    QTest::addColumn<int>("clicks");
    QTest::addRow("defaults, 40 clicks") << QStringList{"6", "10", "0.1"} << 40;
    QTest::addRow("big steps, full-width text") << QStringList{"８", "10", "0.5"} << 16;
}

void TestSheet::trailsWhereTheTableSays()
{
    QFETCH(QStringList, inputs);
    QFETCH(int, clicks);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("sheet.png"));
    const Run run = runSheet({"--u", inputs[0], "--v", inputs[1], "--h", inputs[2], "--clicks",
                              QString::number(clicks), file});
    QCOMPARE(run.exitCode, 0);
    QImage page(file);
    QCOMPARE(page.size(), QSize(1240, 1754)); // A4 at 150 dpi
    QCOMPARE(qRound(page.dotsPerMeterX() * 0.0254), 150);

    const QRect field = sheet::fieldRect(150);
    const UserScale scale(field.size(), QSizeF(sim::chartWidth, sim::chartHeight));
    // A device rectangle between chart metres, on the page.
    const auto area = [&](double left, double top, double right, double bottom) {
        return QRect(QPoint(scale.x(left), scale.y(top)), QPoint(scale.x(right), scale.y(bottom)))
            .translated(field.topLeft());
    };
    const QList<QStringList> rows = tableRows(inputs[0].toStdString(), inputs[1].toStdString(),
                                              inputs[2].toStdString(), clicks);
    for (int click = 0; click <= clicks; click += clicks / 4) {
        const QStringList& row = rows[click];
        for (const auto& [column, colour] : {std::pair{1, 0xFF0000u}, std::pair{3, 0x0000FFu}}) {
            const double x = sim::chartX(row[column].toDouble());
            const double y = sim::chartY(row[column + 1].toDouble());
            // The mark for a position fills the square metre left of and
            // above it; the grid may cross a line of it.
            const QRect mark = area(x - 0.85, y - 0.85, x - 0.15, y - 0.15);
            QVERIFY2(countColour(page, mark, colour) * 3 >= mark.width() * mark.height() * 2,
                     qPrintable(QStringLiteral("click %1, column %2").arg(click).arg(column)));
            if (click == clicks) {
                // Nothing of that trail right of or below the last position.
                QCOMPARE(countColour(page, area(x + 0.2, y - 0.8, x + 0.8, y - 0.2), colour), 0);
                QCOMPARE(countColour(page, area(x - 0.8, y + 0.2, x - 0.2, y + 0.8), colour), 0);
            }
        }
    }
}

void TestSheet::pdfHoldsTheTableNumbers_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QList<int>>("listed");
    QTest::addColumn<QString>("note"); // a line under the table
    QTest::addRow("every 10th of 45, and the last")
        << QStringList{"--clicks", "45", "--every", "10"} << 45 << QList<int>{0, 10, 20, 30, 40, 45} << QString();
    // Without --clicks: up to the first catch cue, which is the last row.
    QTest::addRow("defaults, to the catch") << QStringList{} << 78 << QList<int>{0, 78} << QString();
    // The catch time is a·v / (v² − u²) = 50·10 / 64 = 7.8125 s.
    QTest::addRow("exact columns and catch time")
        << QStringList{"--exact", "--clicks", "30", "--every", "10"} << 30 << QList<int>{0, 10, 20, 30}
        << QStringLiteral("追いつく時刻：7.813 秒");
    // Click 3 ends in a fault: the read-outs of click 1 stay.
    QTest::addRow("faulted clicks keep the read-outs")
        << QStringList{"--u", "10", "--h", "5", "--clicks", "3", "--every", "1"} << 3 << QList<int>{1, 2, 3}
        << QStringLiteral("※エラー");
}

void TestSheet::pdfHoldsTheTableNumbers()
{
    QFETCH(QStringList, args);
    QFETCH(int, clicks);
    QFETCH(QList<int>, listed);
    QFETCH(QString, note);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("pdftotext and pdfinfo (Debian package poppler-utils) are not installed");
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("sheet.pdf"));
    QCOMPARE(runSheet(args + QStringList{file}).exitCode, 0);

    const Run info = runTool(QStringLiteral("pdfinfo"), {file});
    QVERIFY2(info.out.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info.out));
    QVERIFY2(info.out.contains(QStringLiteral("(A4)")), qPrintable(info.out));

    const QString text = runTool(QStringLiteral("pdftotext"), {"-layout", file, "-"}).out;
    const auto option = [&](const QString& name, const char* fallback) {
        const qsizetype i = args.indexOf(name);
        return i < 0 ? std::string(fallback) : args[i + 1].toStdString();
    };
    const bool exact = args.contains(QStringLiteral("--exact"));
    const QList<QStringList> rows =
        tableRows(option("--u", "6"), option("--v", "10"), option("--h", "0.1"), clicks, exact);
    QCOMPARE(rows.size(), clicks + 1);
    for (const int click : listed) {
        // The click, the five read-outs, the cue or fault and the exact
        // columns, in the table tool's text.
        const QStringList& row = rows[click];
        QString pattern = QStringLiteral("\\n\\s*%1").arg(click);
        for (int column = 1; column <= 5; ++column)
            pattern += QStringLiteral("\\s+") + QRegularExpression::escape(row[column]);
        if (!row[7].isEmpty())
            pattern += QStringLiteral("\\s+エラー※");
        else if (row[6] == QLatin1String("1"))
            pattern += QStringLiteral("\\s+鳴った");
        for (int column = 8; column < row.size(); ++column)
            pattern += QStringLiteral("\\s+") + QRegularExpression::escape(row[column]);
        pattern += QStringLiteral("\\s*\\n");
        QVERIFY2(text.contains(QRegularExpression(pattern)), qPrintable(QStringLiteral("click %1").arg(click)));
    }
    QVERIFY(text.contains(note));
}

void TestSheet::blankHasNoAnswers()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("pupils.png"));
    QCOMPARE(runSheet({"--blank", "--exact", file}).exitCode, 0);
    const QImage page(file);
    QVERIFY(!page.isNull());
    // No trail, picture or exact path: nothing on the page has a colour.
    int coloured = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            coloured += std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 40;
        }
    QCOMPARE(coloured, 0);
}

void TestSheet::badInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addRow("unknown extension") << QStringList{"sheet.txt"} << 2;
    QTest::addRow("no file") << QStringList{"--exact"} << 2;
    QTest::addRow("two files") << QStringList{"a.pdf", "b.pdf"} << 2;
    QTest::addRow("unknown option") << QStringList{"--colour", "red", "sheet.pdf"} << 2;
    QTest::addRow("option without its value") << QStringList{"sheet.pdf", "--u"} << 2;
    QTest::addRow("zero clicks") << QStringList{"--clicks", "0", "sheet.pdf"} << 2;
    QTest::addRow("negative clicks") << QStringList{"--clicks", "-5", "sheet.pdf"} << 2;
    QTest::addRow("clicks not a number") << QStringList{"--clicks", "10x", "sheet.pdf"} << 2;
    QTest::addRow("absurd clicks") << QStringList{"--clicks", "100001", "sheet.pdf"} << 2;
    QTest::addRow("every zero") << QStringList{"--every", "0", "sheet.pdf"} << 2;
    QTest::addRow("every too small for one page") << QStringList{"--clicks", "300", "--every", "5", "sheet.pdf"}
                                                  << 2;
    QTest::addRow("folder missing") << QStringList{"no/such/folder/sheet.pdf"} << 1;
    QTest::addRow("target is a folder") << QStringList{"taken.svg"} << 1;
    QTest::addRow("help writes nothing") << QStringList{"--help", "sheet.pdf"} << 0;
}

void TestSheet::badInput()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("taken.svg")));
    const Run run = runSheet(args, folder.path());
    QCOMPARE(run.exitCode, exitCode);
    // Japanese and English, and nothing written, not even part of a file.
    const QString& message = exitCode == 0 ? run.out : run.err;
    QVERIFY2(message.contains(QRegularExpression(QStringLiteral("[ぁ-ん]"))) &&
                 message.contains(QRegularExpression(QStringLiteral("\\b(cannot|needs|must|give|gives|unknown|Usage)\\b"))),
             qPrintable(message));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"taken.svg"});
    QVERIFY(QDir(folder.filePath(QStringLiteral("taken.svg"))).isEmpty());
}

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
