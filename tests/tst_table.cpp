#include "table.h"

#include <QtTest>

#include <sstream>

namespace {
std::vector<std::string> toArgs(const QStringList& args)
{
    std::vector<std::string> out;
    for (const QString& a : args)
        out.push_back(a.toStdString());
    return out;
}
} // namespace

class TestTable : public QObject {
    Q_OBJECT
private slots:
    void wholeOutput_data();
    void wholeOutput();
    void badArguments_data();
    void badArguments();
    void toolExitCodes();
};

void TestTable::wholeOutput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("rows"); // after the header line
    QTest::addRow("defaults, two clicks") << QStringList{"--steps", "2"}
                                          << "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
                                             "1\t0.600\t0.000\t0.000\t49.000\t0.100\t0\t\n"
                                             "2\t1.200\t0.000\t0.012\t48.000\t0.200\t0\t\n";
    // Click 2 ends in the dog's y update; the window keeps showing click 1.
    QTest::addRow("fault keeps the read-outs, csv") << QStringList{"--u", "10", "--h", "5", "--steps", "3", "--csv"}
                                                    << "0,0.000,0.000,0.000,50.000,0.000,0,\n"
                                                       "1,50.000,0.000,0.000,0.000,5.000,0,\n"
                                                       "2,50.000,0.000,0.000,0.000,5.000,0,invalid\n"
                                                       "3,50.000,0.000,0.000,0.000,5.000,0,invalid\n";
    QTest::addRow("texts read like the boxes, cue column")
        << QStringList{"--u", "０m/s", "--v", "", "--h", "0.1秒", "--steps", "1"}
        << "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
           "1\t0.000\t0.000\t0.000\t50.000\t0.100\t1\t\n";
    QTest::addRow("overflowing input") << QStringList{"--h", "1e39", "--steps", "1"}
                                       << "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
                                          "1\t0.000\t0.000\t0.000\t50.000\t0.000\t0\toverflow\n";
}

void TestTable::wholeOutput()
{
    QFETCH(QStringList, args);
    QFETCH(QString, rows);
    const table::Parsed p = table::parseArguments(toArgs(args));
    QCOMPARE(p.action, table::Action::run);
    std::ostringstream out;
    table::write(out, p.options);
    QString header = QStringLiteral("クリック\tねずみの位置ｘ\tねずみの位置ｙ\t犬の位置ｘ\t犬の位置ｙ\t秒経過\t追いついた音\tエラー\n");
    if (p.options.csv)
        header.replace(u'\t', u',');
    QCOMPARE(QString::fromStdString(out.str()), header + rows);
}

void TestTable::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addRow("unknown option") << QStringList{"--speed", "3"};
    QTest::addRow("stray word") << QStringList{"6"};
    QTest::addRow("missing value") << QStringList{"--u"};
    QTest::addRow("negative steps") << QStringList{"--steps", "-1"};
    QTest::addRow("fractional steps") << QStringList{"--steps", "2.5"};
    QTest::addRow("empty steps") << QStringList{"--steps", ""};
    QTest::addRow("steps beyond 64 bits") << QStringList{"--steps", "99999999999999999999999"};
}

void TestTable::badArguments()
{
    QFETCH(QStringList, args);
    const table::Parsed p = table::parseArguments(toArgs(args));
    QCOMPARE(p.action, table::Action::error);
    QVERIFY(!p.error.empty());
}

void TestTable::toolExitCodes()
{
    const auto run = [](const QStringList& args, int& lines, QString& err) {
        QProcess tool;
        tool.start(QStringLiteral(TABLE_TOOL), args);
        tool.waitForFinished(30000);
        lines = int(tool.readAllStandardOutput().count('\n'));
        err = QString::fromUtf8(tool.readAllStandardError());
        return tool.exitCode();
    };
    int lines = 0;
    QString err;
    QCOMPARE(run({}, lines, err), 0);
    QCOMPARE(lines, 202); // header, the start and 200 clicks
    QCOMPARE(run({"--help"}, lines, err), 0);
    QVERIFY(lines > 5);
    QCOMPARE(run({"--steps", "many"}, lines, err), 2);
    QCOMPARE(lines, 0);
    QVERIFY(err.contains(QStringLiteral("使い方")) && err.contains(QStringLiteral("Usage")));
}

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
