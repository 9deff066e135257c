#include "sheet.h"
#include "surface.h"

#include <QtTest>

struct Run {
    int exitCode = -1;
    QString out, err;
};

// Runs a program to its end; exit code -1 if it crashed or did not end within a minute.
static Run runTool(const QString& program, const QStringList& args, const QString& folder = {})
{
    QProcess tool;
    tool.setWorkingDirectory(folder);
    tool.start(program, args);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return {};
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
        QString::fromUtf8(tool.readAllStandardError())};
}

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    // Each row runs torvikan-sheet in a folder that holds only an empty folder, taken.svg.
    void sheetFile_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("listed"); // the clicks in the sheet's table
        QTest::addColumn<QStringList>("lines"); // lines on the page, the last position last
        const auto sheet = [](const char* name, const QStringList& args, const char* listed, const QStringList& lines) {
            for (const QString type : {"pdf", "png"})
                QTest::addRow("%s, %s", name, qPrintable(type))
                    << args + QStringList{"sheet." + type} << 0 << listed << lines;
        };
        // Grid lines cross both marks of click 51 and the mouse's of click 34.
        sheet("every 34th of 51 and the last, full-width text", {"--u", "６", "--clicks", "51", "--every", "34"},
            "0 34 51",
            {"0 0.000 0.000 0.000 50.000 0.000", "34 20.400 0.000 8.471 17.479 3.400",
                "51 30.600 0.000 20.682 5.484 5.100"});
        // Without --clicks, up to the first catch cue. The catch: a·v / (v² − u²) = 50·10 / 64 = 7.8125 s.
        sheet("exact, to the catch", {"--exact", "--every", "25"}, "0 25 50 75 78",
            {"厳密な追いかけっこで犬がねずみに追いつく時刻：7.813 秒",
                "25 15.000 0.000 4.289 25.502 2.500 4.429 25.557 0.150",
                "78 46.800 0.000 46.873 -0.003 7.800 鳴った 46.750 0.000 0.123"});
        // Clicks 2 and 3 end in a fault: the read-outs of click 1 stay.
        sheet("faulted clicks keep the read-outs", {"--u", "10", "--h", "5", "--clicks", "3"}, "0 1 2 3",
            {"※エラー：計算できなかったクリックです。位置と秒経過は前のクリックのままです。",
                "3 50.000 0.000 0.000 0.000 5.000 エラー※"});
        sheet("blank, no answers", {"--blank", "--exact"}, "0 6 12 18 24 30 36 42 48 54 60 66 72 78",
            {"厳密な追いかけっこで犬がねずみに追いつく時刻： 秒", "78"});
        QTest::addRow("unknown extension") << QStringList{"sheet.txt"} << 2 << QString() << QStringList();
        QTest::addRow("unknown option") << QStringList{"--colour", "5", "sheet.pdf"} << 2 << QString() << QStringList();
        QTest::addRow("zero clicks") << QStringList{"--clicks", "0", "sheet.pdf"} << 2 << QString() << QStringList();
        QTest::addRow("absurd clicks") << QStringList{"--clicks", "100001", "sheet.pdf"} << 2 << QString() << QStringList();
        QTest::addRow("every too small for one page")
            << QStringList{"--clicks", "300", "--every", "5", "sheet.pdf"} << 2 << QString() << QStringList();
        QTest::addRow("folder missing") << QStringList{"no/such/folder/sheet.pdf"} << 1 << QString() << QStringList();
        QTest::addRow("target is a folder") << QStringList{"taken.svg"} << 1 << QString() << QStringList();
    }

    void sheetFile()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, listed);
        QFETCH(QStringList, lines);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("taken.svg")));
        const Run run = runTool(QStringLiteral(SHEET_TOOL), args, folder.path());
        QCOMPARE(run.exitCode, exitCode);
        // Nothing but the sheet is left, not even part of a file.
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            (listed.isEmpty() ? QStringList{"taken.svg"} : QStringList{args.last(), "taken.svg"}));
        QVERIFY(QDir(folder.filePath(QStringLiteral("taken.svg"))).isEmpty());
        if (listed.isEmpty()) { // the usage or what was wrong, in Japanese then English
            const QString& message = exitCode == 0 ? run.out : run.err;
            QVERIFY2(message.contains(QRegularExpression(
                         QStringLiteral("(?s)[ぁ-ん].*\\b(needs|must|gives?|unknown|cannot|Usage)\\b"))),
                qPrintable(message));
            return;
        }
        const QString file = folder.filePath(args.last());
        if (file.endsWith(QLatin1String(".png"))) {
            const QImage page = QImage(file).convertToFormat(QImage::Format_RGB32);
            QVERIFY(page.size() == QSize(1240, 1754) && qRound(page.dotsPerMeterX() * 0.0254) == 150); // A4 at 150 dpi
            // No trail, picture or exact path on the pupils' page: nothing but greys.
            QCOMPARE(page.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32) == page,
                args.contains("--blank"));
            const QRect field = sheet::fieldRect(150);
            const UserScale scale(field.size(), QSizeF(sim::chartWidth, sim::chartHeight));
            // A position's mark fills the square metre left of and above it, the dog's over the
            // mouse's; nothing of a trail lies right of or below its last position.
            for (const QString& line : lines) {
                const QStringList n = line.split(u' ');
                for (const auto& trail : {std::pair{1, 0xFF0000u}, std::pair{3, 0x0000FFu}}) {
                    const int column = trail.first;
                    const QRgb colour = trail.second;
                    if (n.size() < 5
                        || (column == 1
                            && qAbs(n[1].toDouble() - n[3].toDouble()) + qAbs(n[2].toDouble() - n[4].toDouble()) < 1))
                        continue;
                    const QPointF at(sim::chartX(n[column].toDouble()), sim::chartY(n[column + 1].toDouble()));
                    const auto is = [&](double dx, double dy) {
                        return (page.pixel(field.topLeft() + QPoint(scale.x(at.x() + dx), scale.y(at.y() + dy)))
                                   & 0xFFFFFF)
                            == colour;
                    };
                    int hits = 0; // of 64: the grid lies over older marks, the exact path over any
                    for (int i = 0; i < 64; ++i)
                        hits += is(-0.85 + i % 8 * 0.1, -0.85 + i / 8 * 0.1);
                    QVERIFY2(hits >= (args.contains("--exact") ? 40
                                     : line == lines.last()    ? 64
                                                               : 56)
                            && (line != lines.last() || (!is(0.5, -0.5) && !is(-0.5, 0.5))),
                        qPrintable(line));
                }
            }
            return;
        }
        const QString info = runTool(QStringLiteral("pdfinfo"), {file}).out;
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))
                && info.contains(QStringLiteral("(A4)")),
            qPrintable(info));
        // Below the table's heading: the table, whose lines start with their click, and its notes.
        QStringList text = runTool(QStringLiteral("pdftotext"), {"-layout", file, "-"})
                               .out.section(QStringLiteral("の記録"), 1)
                               .split(u'\n'),
                    clicks;
        for (QString& line : text)
            if (!(line = line.simplified()).isEmpty() && line[0].isDigit())
                clicks << line.section(u' ', 0, 0);
        QCOMPARE(clicks.join(u' '), listed);
        for (const QString& line : lines)
            QVERIFY2(text.contains(line), qPrintable(line));
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
