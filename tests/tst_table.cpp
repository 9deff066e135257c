#include "table.h"

#include <QtTest>

#include <sstream>

class TestTable : public QObject {
    Q_OBJECT
private slots:
    void wholeOutputOfShortRuns_data();
    void wholeOutputOfShortRuns();
    void arguments_data();
    void arguments();
    void toolExitCodes_data();
    void toolExitCodes();
};

namespace {
const QString header = QStringLiteral("クリック\tねずみの位置ｘ\tねずみの位置ｙ\t犬の位置ｘ\t犬の位置ｙ\t秒経過\t追いついた音\tエラー\n");
}

void TestTable::wholeOutputOfShortRuns_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("output");

    QTest::addRow("default inputs, two clicks") << QStringList{"--steps", "2"}
                                                << header + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
                                                            "1\t0.600\t0.000\t0.000\t49.000\t0.100\t0\t\n"
                                                            "2\t1.200\t0.000\t0.012\t48.000\t0.200\t0\t\n";
    // Click 2 ends in the dog's y update; the window keeps showing click 1.
    QTest::addRow("fault keeps the previous read-outs, csv")
        << QStringList{"--u", "10", "--v", "10", "--h", "5", "--steps", "3", "--csv"}
        << QString(header).replace('\t', ',') + "0,0.000,0.000,0.000,50.000,0.000,0,\n"
                                                "1,50.000,0.000,0.000,0.000,5.000,0,\n"
                                                "2,50.000,0.000,0.000,0.000,5.000,0,invalid\n"
                                                "3,50.000,0.000,0.000,0.000,5.000,0,invalid\n";
    QTest::addRow("texts read like the input boxes")
        << QStringList{"--u", "６m/s", "--v", "", "--h", "0.1秒", "--steps", "1"}
        << header + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
                    "1\t0.600\t0.000\t0.000\t50.000\t0.100\t0\t\n";
    QTest::addRow("catch cue column") << QStringList{"--u", "0", "--steps", "1"}
                                      << header + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
                                                  "1\t0.000\t0.000\t0.000\t49.000\t0.100\t1\t\n";
    QTest::addRow("overflowing input") << QStringList{"--h", "1e39", "--steps", "1"}
                                       << header + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
                                                   "1\t0.000\t0.000\t0.000\t50.000\t0.000\t0\toverflow\n";
    QTest::addRow("no clicks") << QStringList{"--steps", "0"}
                               << header + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n";
}

void TestTable::wholeOutputOfShortRuns()
{
    QFETCH(QStringList, args);
    QFETCH(QString, output);
    std::vector<std::string> argv;
    for (const QString& a : args)
        argv.push_back(a.toStdString());
    const table::Parsed p = table::parseArguments(argv);
    QCOMPARE(p.action, table::Action::run);
    std::ostringstream out;
    table::write(out, p.options);
    QCOMPARE(QString::fromStdString(out.str()), output);
}

void TestTable::arguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<table::Action>("action");

    QTest::addRow("none") << QStringList{} << table::Action::run;
    QTest::addRow("help") << QStringList{"--help"} << table::Action::help;
    QTest::addRow("help after others") << QStringList{"--u", "3", "--help"} << table::Action::help;
    QTest::addRow("unknown option") << QStringList{"--speed", "3"} << table::Action::error;
    QTest::addRow("stray word") << QStringList{"6"} << table::Action::error;
    QTest::addRow("missing value") << QStringList{"--u"} << table::Action::error;
    QTest::addRow("negative steps") << QStringList{"--steps", "-1"} << table::Action::error;
    QTest::addRow("fractional steps") << QStringList{"--steps", "2.5"} << table::Action::error;
    QTest::addRow("empty steps") << QStringList{"--steps", ""} << table::Action::error;
    QTest::addRow("steps with junk") << QStringList{"--steps", "10x"} << table::Action::error;
    QTest::addRow("steps beyond 64 bits") << QStringList{"--steps", "99999999999999999999999"} << table::Action::error;
    QTest::addRow("value that looks like an option") << QStringList{"--u", "--csv"} << table::Action::run;
}

void TestTable::arguments()
{
    QFETCH(QStringList, args);
    QFETCH(table::Action, action);
    std::vector<std::string> argv;
    for (const QString& a : args)
        argv.push_back(a.toStdString());
    const table::Parsed p = table::parseArguments(argv);
    QCOMPARE(p.action, action);
    QCOMPARE(p.error.empty(), action != table::Action::error);
}

void TestTable::toolExitCodes_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("stdoutLines");
    QTest::addColumn<bool>("usageOnStderr");

    QTest::addRow("defaults print 200 clicks") << QStringList{} << 0 << 202 << false;
    QTest::addRow("help") << QStringList{"--help"} << 0 << 13 << false;
    QTest::addRow("bad option") << QStringList{"--x"} << 2 << 0 << true;
    QTest::addRow("bad steps") << QStringList{"--steps", "many"} << 2 << 0 << true;
}

void TestTable::toolExitCodes()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(int, stdoutLines);
    QFETCH(bool, usageOnStderr);
    QProcess tool;
    tool.start(QStringLiteral(TABLE_TOOL), args);
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), exitCode);
    const QByteArray out = tool.readAllStandardOutput();
    QCOMPARE(out.count('\n'), stdoutLines);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    QCOMPARE(err.contains(QStringLiteral("使い方")) && err.contains(QStringLiteral("Usage")), usageOnStderr);
}

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
