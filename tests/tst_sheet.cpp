#include "replace_file.h"
#include "run_tool.h"
#include "sheet.h"
#include "mapping.h"

#include <QImageReader>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// The first page of a sheet, drawn in this process, in the greys of a black-and-white print.
QImage greyPage(const sheet::Options& options)
{
    const QImage page = QImage::fromData(sheet::renderSheet(sheet::prepare(options), options.format), "PNG");
    return page.convertToFormat(QImage::Format_Grayscale8);
}

// Grey of the page at a point of the field, in the field's chart metres.
int greyAt(const QImage& page, double x, double y)
{
    const QRect field = sheet::fieldRect(150);
    const chart::Mapping scale(field.width(), field.height(), sim::chartWidth, sim::chartHeight);
    return qGray(page.pixel(field.topLeft() + QPoint(scale.x(x), scale.y(y))));
}

int dots(double millimetres) { return int(millimetres / 25.4 * 150); }

} // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    // Each row runs torvikan-sheet in a folder that holds only an empty folder, taken.svg.
    void sheetFile_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("listed"); // the clicks in the sheet's table, if given
        QTest::addColumn<QStringList>("lines"); // on the page, spaces aside; table rows: the last position last
        QTest::addColumn<int>("pages");
        const auto sheet = [](const char* name, const QStringList& args, const QString& listed,
                               const QStringList& lines, bool png = false, int pages = 1) {
            for (const QString& type : png ? QStringList{"pdf", "png"} : QStringList{"pdf"})
                QTest::addRow("%s, %s", name, qPrintable(type))
                    << args + QStringList{"sheet." + type} << 0 << listed << lines << pages;
        };
        const auto steps = [](int last, int every) {
            QStringList clicks;
            for (int click = 0; click <= last; click += every)
                clicks << QString::number(click);
            return clicks.join(u' ');
        };
        // Grid lines cross both marks of click 51 and the mouse's of click 34.
        sheet("every 34th of 51 and the last, full-width text", {"--u", "６", "--clicks", "51", "--every", "34"},
            "0 34 51",
            {"ねずみの速度ｕ＝６ ｍ／秒 犬の速度ｖ＝10 ｍ／秒 単位時間h＝0.1 秒", "34 20.400 0.000 8.471 17.479 3.400",
                "51 30.600 0.000 20.682 5.484 5.100"},
            true);
        // Without --clicks, up to the first catch cue. The catch: a·v / (v² − u²) = 50·10 / 64 = 7.8125 s.
        sheet("exact, to the catch", {"--exact", "--every", "25"}, "0 25 50 75 78",
            {"理論上の追いかけっこで犬がねずみに追いつく時刻：7.813 秒",
                "25 15.000 0.000 4.289 25.502 2.500 4.429 25.557 0.150",
                "追いついた音は 78 回目のクリック（7.800 "
                "秒）で初めて鳴り、犬がねずみに追いついたので、記録はここまでです。",
                "78 46.800 0.000 46.873 -0.003 7.800 鳴った 46.750 0.000 0.123"});
        // Click 2 ends in a fault, and so does every click after it: the read-outs of click 1 stay.
        sheet("faulted clicks keep the read-outs", {"--u", "10", "--h", "5", "--clicks", "3"}, "0 1 2",
            {"※エラー：計算できなかったクリックです。位置と秒経過は前のクリックのままです。",
                "2 回目のクリックから計算できなくなる（エラー）ので、記録はここまでです。",
                "2 50.000 0.000 0.000 0.000 5.000 エラー※"});
        sheet("the first cue is listed whatever the step", {"--clicks", "100"},
            steps(75, 5) + " 78 " + steps(100, 5).section(u' ', 16),
            {"追いついた音は 78 回目のクリック（7.800 秒）で初めて鳴り、記録は指定された 100 回目のクリックまでです。",
                "78 46.800 0.000 46.873 -0.003 7.800 鳴った"});
        sheet("a fine unit time runs to its first cue", {"--h", "0.01", "--exact"}, {},
            {"781 回目のクリック（7.810 秒）で初めて鳴り、犬がねずみに追いついたので",
                "781 46.860 0.000 46.866 0.000 7.810 鳴った 46.851 0.000 0.015"},
            false, 2);
        // The cue sounds once the mouse is not to the right of the dog: a fast dog gets there 20 m off.
        sheet("a fast dog reaches the mouse's x, not the mouse", {"--v", "300"}, "0 1 2 3",
            {"追いついた音は 3 回目のクリック（0.300 秒）で初めて鳴り、犬の位置ｘがねずみの位置ｘに追いついた"
             "（犬とねずみはまだ 19.949 m 離れています）ので、記録はここまでです。"});
        // The cue tells no catch when the mouse stays level with the dog: the exact catch at 5 s ends the run.
        sheet("mouse never ahead, to the exact catch", {"--u", "0", "--exact"}, {},
            {"ねずみが犬より前（右）に出ることがないので、追いついた音は 1 回目のクリックから鳴ります。",
                "理論上、犬がねずみに追いつく時刻（5.000 秒）になったので、記録はここまでです。",
                "50 0.000 0.000 0.000 0.000 5.000 鳴った 0.000 0.000 0.000"},
            false, 2);
        sheet("a dog that stands still, to the field's edge", {"--v", "0", "--every", "40"}, "0 40 80 120 160 167",
            {"追いついた音は鳴らず、ねずみが方眼の外に出たので、記録はここまでです。",
                "120 72.000 0.000 0.000 50.000 12.000", "167 100.200 0.000 0.000 50.000 16.700"},
            true);
        sheet("no clicks that repeat the last", {"--clicks", "300", "--every", "50"}, "0 50 78 100 150 167",
            {"ねずみが方眼の外に出て、168 回目からは何も変わらないので、記録はここまでです。"});
        sheet("every click, on two pages", {"--every", "1"}, steps(78, 1),
            {"［次へ］を 78 回クリックしたときの記録（毎回）（つづき）"}, false, 2);
        sheet("numbers as typed and as read, none cut", {"--u", "1e30", "--h", "1/10"}, "0 1",
            {"単位時間h＝1/10 秒（1 として計算）", "1000000015047466219876688855040.000"});
        // The pupils' sheet asks for the answer sheet's clicks, as far as it goes, with room to write.
        sheet("blank, the answer sheet's clicks", {"--blank"}, steps(76, 4) + " 78",
            {"［次へ］をクリックしたときの記録（4 回ごと）",
                "追いついた音が初めて鳴ったのは、 回目のクリック（ 秒）です。"},
            false, 2);
        sheet("blank, where the cue never sounds", {"--blank", "--u", "8"}, steps(125, 5),
            {"ねずみが方眼の外に出たのは、 回目のクリック（ 秒）です。"}, false, 2);
        sheet("blank, every second click", {"--blank", "--every", "2", "--clicks", "30"}, steps(30, 2), {});
        for (const QStringList& args : {QStringList{"sheet.txt"}, {"--colour", "5", "sheet.pdf"},
                 {"--clicks", "0", "sheet.pdf"}, {"--clicks", "100001", "sheet.pdf"}})
            QTest::addRow("%s", qPrintable(args.join(u' '))) << args << 2 << QString() << QStringList() << 0;
        QTest::addRow("folder missing") << QStringList{"no/such/folder/sheet.pdf"} << 1 << QString() << QStringList()
                                        << 0;
        QTest::addRow("target is a folder") << QStringList{"taken.svg"} << 1 << QString() << QStringList() << 0;
    }

    void sheetFile()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, listed);
        QFETCH(QStringList, lines);
        QFETCH(int, pages);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("taken.svg")));
        const Run run = runTool(QStringLiteral(SHEET_TOOL), args, folder.path());
        QCOMPARE(run.exitCode, exitCode);
        // Nothing but the sheet is left, not even part of a file.
        QCOMPARE(
            entries(folder.path()), (exitCode != 0 ? QStringList{"taken.svg"} : QStringList{args.last(), "taken.svg"}));
        QVERIFY(QDir(folder.filePath(QStringLiteral("taken.svg"))).isEmpty());
        if (exitCode != 0) { // what was wrong, in Japanese then English
            QVERIFY2(run.err.contains(QRegularExpression(
                         QStringLiteral("(?s)[ぁ-ん].*\\b(needs|must|gives?|unknown|cannot|Usage)\\b"))),
                qPrintable(run.err));
            return;
        }
        const QString file = folder.filePath(args.last());
        if (file.endsWith(QLatin1String(".png"))) {
            const QImage page = QImage(file).convertToFormat(QImage::Format_RGB32);
            QVERIFY(page.size() == QSize(1240, 1754) && qRound(page.dotsPerMeterX() * 0.0254) == 150); // A4 at 150 dpi
            const QRect field = sheet::fieldRect(150);
            const chart::Mapping scale(field.width(), field.height(), sim::chartWidth, sim::chartHeight);
            // A position's mark lies in the square metre left of and above it: the dog's filled, the mouse's
            // outlined, the dog's over the mouse's; nothing of a trail lies right of or below its last position.
            for (const QString& line : lines) {
                const QStringList n = line.split(u' ');
                if (n.size() < 5 || !n[1][0].isDigit())
                    continue;
                const bool last = line == lines.last();
                const auto at = [&](int column, double dx, double dy, QRgb colour) {
                    const QPointF p(sim::chartX(n[column].toDouble()) + dx, sim::chartY(n[column + 1].toDouble()) + dy);
                    return (page.pixel(field.topLeft() + QPoint(scale.x(p.x()), scale.y(p.y()))) & 0xFFFFFF) == colour;
                };
                int dog = 0, mouseEdge = 0; // the grid lies over older marks
                for (int i = 0; i < 64; ++i)
                    dog += at(3, -0.85 + i % 8 * 0.1, -0.85 + i / 8 * 0.1, 0x0000FF);
                for (int i = 0; i < 8; ++i)
                    mouseEdge += at(1, -0.85 + i * 0.1, -0.98, 0xFF0000);
                const bool mouseUnderDog
                    = qAbs(n[1].toDouble() - n[3].toDouble()) + qAbs(n[2].toDouble() - n[4].toDouble()) < 1;
                QVERIFY2(dog >= (last ? 64 : 56) && (mouseUnderDog || mouseEdge >= (last ? 8 : 6)), qPrintable(line));
                if (last)
                    for (const auto& [column, colour] : {std::pair{1, 0xFF0000u}, std::pair{3, 0x0000FFu}})
                        QVERIFY2(!at(column, 0.5, -0.5, colour) && !at(column, -0.5, 0.5, colour), qPrintable(line));
            }
            return;
        }
        const QString info = runTool(QStringLiteral("pdfinfo"), {file}).out;
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages)))
                && info.contains(QStringLiteral("(A4)")),
            qPrintable(info));
        const QString text = runTool(QStringLiteral("pdftotext"), {"-layout", file, "-"}).out;
        // Each page repeats the table's header.
        QCOMPARE(text.count(QRegularExpression(QStringLiteral("クリック\\s+秒経過"))), pages);
        // Below the table's heading: the table, whose lines start with their click.
        QStringList clicks;
        for (QString line : text.section(QStringLiteral("の記録"), 1).split(u'\n'))
            if (bool click = false; (line = line.simplified()).section(u' ', 0, 0).toInt(&click) >= 0 && click)
                clicks << line.section(u' ', 0, 0);
        if (!listed.isEmpty())
            QCOMPARE(clicks.join(u' '), listed);
        QString compact = text;
        compact.remove(QRegularExpression(QStringLiteral("\\s")));
        for (QString line : lines)
            QVERIFY2(compact.contains(line.remove(u' ')), qPrintable(line));
    }

    // On a grey print (red 130, blue 70, green 147 in Qt's greys) the mouse's marks are hollow and
    // the dog's solid, and the exact path keeps its dashes on white where it runs along the dog's trail.
    void greyPrintKeepsTrailsApart()
    {
        sheet::Options options;
        options.format = sheet::Format::png;
        const sheet::Content content = sheet::prepare(options);
        QImage page = greyPage(options);
        int light = 0, dogInk = 0;
        for (double x = 11; x < 40; x += 0.05) // along the middle of the mouse's trail
            light += greyAt(page, x, 59.5) > 200;
        for (const sheet::Click& click : content.clicks)
            dogInk += greyAt(page, click.shown.dogMark.corner.x - 0.5, click.shown.dogMark.corner.y - 0.5) < 100;
        QVERIFY2(light > 580 * 0.3 && light < 580 * 0.8, qPrintable(QString::number(light)));
        QVERIFY2(dogInk > 0.9 * content.clicks.size(), qPrintable(QString::number(dogInk)));

        options.exact = true;
        page = greyPage(options);
        int dash = 0, gap = 0, points = 0;
        const std::vector<sim::exact::Point> path = sheet::prepare(options).exact.path;
        for (const sim::exact::Point& p : path) {
            if (p.x < 1 || p.x > 40)
                continue;
            const int grey = greyAt(page, sim::chartX(p.x), sim::chartY(p.y));
            ++points;
            dash += grey >= 100 && grey <= 200;
            gap += grey > 200;
        }
        QVERIFY2(dash > points / 3 && gap > points / 5 && dash + gap > points * 0.9,
            qPrintable(QStringLiteral("%1 %2 %3").arg(dash).arg(gap).arg(points)));

        // Ten times larger under the field, the path keeps its dashes, and white parts it from each of
        // the dog's last marks that lies 0.1 m (1.5 mm) or more off it.
        const sheet::Inset inset = sheet::insetOf(sheet::prepare(options));
        const auto grey = [&](sheet::PagePoint p) { return qGray(page.pixel(dots(p.x), dots(p.y))); };
        dash = 0;
        for (const sheet::PagePoint& p : inset.path)
            dash += grey(p) >= 100 && grey(p) <= 200;
        QVERIFY2(
            dash > int(inset.path.size()) / 3, qPrintable(QStringLiteral("%1 of %2").arg(dash).arg(inset.path.size())));
        int apart = 0;
        for (const sheet::PagePoint& dog : inset.dog) {
            const auto off = [&](sheet::PagePoint p) { return std::hypot(p.x - dog.x, p.y - dog.y); };
            const sheet::PagePoint path = *std::min_element(inset.path.begin(), inset.path.end(),
                [&](sheet::PagePoint a, sheet::PagePoint b) { return off(a) < off(b); });
            if (off(path) < 1.5)
                continue;
            ++apart;
            bool white = false;
            for (double f = 0.1; f < 0.9; f += 0.05)
                white |= grey({dog.x + f * (path.x - dog.x), dog.y + f * (path.y - dog.y)}) > 200;
            QVERIFY2(grey(dog) < 100 && white, qPrintable(QStringLiteral("dog at %1, %2 mm").arg(dog.x).arg(dog.y)));
        }
        QVERIFY2(apart >= 3, qPrintable(QString::number(apart)));
    }

    // The pictures stay on the field, as the window clips them: nowhere
    // off the field's drawing area is there a pixel of their green ground,
    // in a PNG nor in an SVG, which keeps no clipping: here a dog that leaps
    // below the field, over where the table begins.
    void picturesStayOnTheField_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("dpi");
        QTest::addRow("PNG") << "sheet.png" << 150;
        QTest::addRow("SVG") << "sheet.svg" << 300;
    }

    void picturesStayOnTheField()
    {
        QFETCH(QString, file);
        QFETCH(int, dpi);
        QTemporaryDir folder;
        const Run run = runTool(QStringLiteral(SHEET_TOOL), {"--v", "1000", file}, folder.path());
        QCOMPARE(run.exitCode, 0);
        QImageReader reader(folder.filePath(file));
        if (file.endsWith(QLatin1String(".svg")))
            reader.setScaledSize({2480, 3508}); // A4 at its 300 dpi, as its view box gives it
        const QImage page = reader.read().convertToFormat(QImage::Format_RGB32);
        const QRect field = sheet::fieldRect(dpi);
        const QRgb ground = qRgb(0, 128, 0);
        int inside = 0, outside = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixel(x, y) == ground)
                    ++(field.contains(x, y) ? inside : outside);
        QVERIFY2(inside > 0, "no picture on the field");
        QCOMPARE(outside, 0);
    }

    // The pupils' sheet: a field to plot on, and a table with no answer in it.
    void pupilsSheet_data()
    {
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("fiveMetreLine"); // grey where a 5 m line would be
        QTest::addColumn<int>("oneMetreLine");
        QTest::addRow("the window's 10 m grid") << 10 << 255 << 255;
        QTest::addRow("5 m lines") << 5 << 0xC0 << 255;
        QTest::addRow("1 m lines") << 1 << 0xC0 << 0xC0;
    }

    void pupilsSheet()
    {
        QFETCH(int, grid);
        QFETCH(int, fiveMetreLine);
        QFETCH(int, oneMetreLine);
        sheet::Options options;
        options.blank = true;
        options.grid = grid;
        options.format = sheet::Format::png;
        const QImage page = greyPage(options);
        QVERIFY(greyAt(page, 9.5, 9.5) == 255 && greyAt(page, 9.5, 59.5) == 255); // no start marks
        QCOMPARE(greyAt(page, 15, 32.5), fiveMetreLine);
        QCOMPARE(greyAt(page, 11, 32.5), oneMetreLine);
        QCOMPARE(greyAt(page, 20, 32.5), 0);
        // Its table's rows: 7 mm high from 162.5 mm down, in columns 16 and 5 × 26 and 34 mm wide from 15 mm.
        // Each row's click is all there is in it, and every rule between the columns runs down beside it.
        for (int row = 0; row < 16; ++row) {
            const double middle = 162.5 + 7 * row + 3.5;
            double left = 31;
            for (const double width : {26, 26, 26, 26, 26, 34}) {
                QVERIFY2(qGray(page.pixel(dots(left), dots(middle))) < 200
                        || qGray(page.pixel(dots(left) + 1, dots(middle))) < 200,
                    qPrintable(QStringLiteral("row %1, rule at %2 mm").arg(row).arg(left)));
                for (double x = left + 1; x < left + width - 1; x += 0.2)
                    for (double y = middle - 2.5; y < middle + 2.5; y += 0.5)
                        QVERIFY2(qGray(page.pixel(dots(x), dots(y))) == 255,
                            qPrintable(QStringLiteral("row %1, %2 mm across").arg(row).arg(x)));
                left += width;
            }
        }
    }

    // A sheet replaces only a regular file, and only with a whole sheet.
    void writesOnlyWholeSheets_data()
    {
        QTest::addColumn<QString>("target"); // in a folder that holds old.pdf and a pipe, pipe.pdf
        QTest::addColumn<bool>("fileSizeLimit");
        QTest::addColumn<int>("exitCode");
        QTest::addRow("a pipe is never replaced") << "pipe.pdf" << false << 1;
        QTest::addRow("nor is one behind a link") << "to-pipe.pdf" << false << 1;
        QTest::addRow("a link to a sheet stays a link") << "to-old.pdf" << false << 0;
        QTest::addRow("a file-size limit keeps the old sheet") << "old.pdf" << true << 1;
    }

    void writesOnlyWholeSheets()
    {
        QFETCH(QString, target);
        QFETCH(bool, fileSizeLimit);
        QFETCH(int, exitCode);
        QTemporaryDir folder;
        const QString old = folder.filePath(QStringLiteral("old.pdf")),
                      pipe = folder.filePath(QStringLiteral("pipe.pdf"));
        QFile oldFile(old);
        QVERIFY(oldFile.open(QIODevice::WriteOnly) && oldFile.write("an older sheet") > 0);
        oldFile.close();
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0644) == 0);
        QVERIFY(QFile::link(QStringLiteral("pipe.pdf"), folder.filePath(QStringLiteral("to-pipe.pdf"))));
        QVERIFY(QFile::link(QStringLiteral("old.pdf"), folder.filePath(QStringLiteral("to-old.pdf"))));
        const Run run = runTool(QStringLiteral(SHEET_TOOL), {target}, folder.path(), [fileSizeLimit] {
            const rlimit limit{16384, 16384};
            if (fileSizeLimit)
                ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(entries(folder.path()), (QStringList{"old.pdf", "pipe.pdf", "to-old.pdf", "to-pipe.pdf"}));
        struct stat pipeStatus { };
        QVERIFY(::stat(QFile::encodeName(pipe).constData(), &pipeStatus) == 0 && S_ISFIFO(pipeStatus.st_mode));
        QVERIFY(QFileInfo(folder.filePath("to-pipe.pdf")).isSymLink()
            && QFileInfo(folder.filePath("to-old.pdf")).isSymLink());
        QVERIFY(oldFile.open(QIODevice::ReadOnly));
        QCOMPARE(oldFile.read(4), exitCode == 0 ? QByteArray("%PDF") : QByteArray("an o"));
    }

    // A new sheet has the mode any new file of the teacher's gets, and an
    // old one keeps its own.
    void sheetMode_data()
    {
        QTest::addColumn<unsigned>("mask");
        QTest::addColumn<unsigned>("oldMode"); // 0: no old sheet
        QTest::addColumn<unsigned>("mode");
        QTest::addRow("new, the usual mask") << 022u << 0u << 0644u;
        QTest::addRow("new, a private mask") << 077u << 0u << 0600u;
        QTest::addRow("new, a group's mask") << 002u << 0u << 0664u;
        QTest::addRow("old, whatever the mask") << 077u << 0604u << 0604u;
    }

    void sheetMode()
    {
        QFETCH(unsigned, mask);
        QFETCH(unsigned, oldMode);
        QFETCH(unsigned, mode);
        QTemporaryDir folder;
        const QString sheetPath = folder.filePath(QStringLiteral("sheet.pdf"));
        if (oldMode) {
            QFile old(sheetPath);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older sheet") > 0);
            old.close();
            QVERIFY(::chmod(QFile::encodeName(sheetPath).constData(), mode_t(oldMode)) == 0);
        }
        const Run run = runTool(QStringLiteral(SHEET_TOOL), {sheetPath}, folder.path(), [mask] { ::umask(mode_t(mask)); });
        QCOMPARE(run.exitCode, 0);
        struct stat written { };
        QVERIFY(::stat(QFile::encodeName(sheetPath).constData(), &written) == 0);
        QCOMPARE(unsigned(written.st_mode & 07777), mode);
    }

    // SIGTERM while a file is being written ends the program and leaves the folder as it was.
    void interruptLeavesNoTemporaryFile()
    {
        QTemporaryDir folder;
        const std::string target = QFile::encodeName(folder.filePath(QStringLiteral("sheet.pdf"))).toStdString();
        const pid_t child = ::fork();
        if (child == 0) {
            ::signal(SIGTERM, SIG_DFL); // as in the tool, not the test's reporting handler
            std::string error;
            const std::string bytes(std::size_t(32) << 20, 'x'); // long enough to be caught writing
            replaceFile(target, bytes, error);
            ::_exit(0);
        }
        QElapsedTimer waiting;
        waiting.start();
        while (entries(folder.path()).isEmpty() && waiting.elapsed() < 20000)
            ::usleep(200);
        QCOMPARE(entries(folder.path()).size(), 1);
        ::kill(child, SIGTERM);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
        QCOMPARE(entries(folder.path()), QStringList());
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
