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
    void convergence_data();
    void convergence();
    void badArguments_data();
    void badArguments();
    void toolExitCodes();
};

void TestTable::wholeOutput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("rows"); // after the header line
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
    QTest::addRow("exact dog, defaults") << QStringList{"--exact", "--steps", "1"}
                                         << "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\t0.000\t50.000\t0.000\n"
                                            "1\t0.600\t0.000\t0.000\t49.000\t0.100\t0\t\t0.006\t49.000\t0.006\n";
    QTest::addRow("exact dog, equal speeds") << QStringList{"--u", "10", "--v", "10", "--exact", "--steps", "1"}
                                             << "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\t0.000\t50.000\t0.000\n"
                                                "1\t1.000\t0.000\t0.000\t49.000\t0.100\t0\t\t0.010\t49.000\t0.010\n";
    QTest::addRow("no exact dog without a dog speed, csv") << QStringList{"--v", "0", "--exact", "--steps", "1", "--csv"}
                                                           << "0,0.000,0.000,0.000,50.000,0.000,0,,,,\n"
                                                              "1,0.600,0.000,0.000,50.000,0.100,0,,,,\n";
}

void TestTable::wholeOutput()
{
    QFETCH(QStringList, args);
    QFETCH(QString, rows);
    const table::Parsed p = table::parseArguments(toArgs(args));
    QCOMPARE(p.action, table::Action::run);
    std::ostringstream out;
    table::write(out, p.options);
    QString header = QStringLiteral("クリック\tねずみの位置ｘ\tねずみの位置ｙ\t犬の位置ｘ\t犬の位置ｙ\t秒経過\t追いついた音\tエラー");
    if (p.options.exact)
        header += QStringLiteral("\t厳密な犬の位置ｘ\t厳密な犬の位置ｙ\tずれ");
    header += u'\n';
    if (p.options.csv)
        header.replace(u'\t', u',');
    QCOMPARE(QString::fromStdString(out.str()), header + rows);
}

void TestTable::convergence_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("rows"); // after the header line
    // Halving h halves the largest distance from the exact dog.
    QTest::addRow("defaults") << QStringList{"--converge", "3", "--steps", "1", "--exact"}
                              << "0.1\t78\t7.799995\t7.812500\t0.484944\t\t\n"
                                 "0.05\t156\t7.800012\t7.812500\t0.240167\t2.019198\t\n"
                                 "0.025\t313\t7.825021\t7.812500\t0.119470\t2.010269\t\n";
    QTest::addRow("equal speeds, never caught") << QStringList{"--u", "10", "--v", "10", "--converge", "2"}
                                                << "0.1\t\t\t\t\t\t追いつかない（ねずみが右端を越えた）\n"
                                                   "0.05\t\t\t\t\t\t追いつかない（ねずみが右端を越えた）\n";
}

void TestTable::convergence()
{
    QFETCH(QStringList, args);
    QFETCH(QString, rows);
    const table::Parsed p = table::parseArguments(toArgs(args));
    QCOMPARE(p.action, table::Action::run);
    std::ostringstream out;
    table::write(out, p.options);
    QCOMPARE(QString::fromStdString(out.str()),
             QStringLiteral("ｈ\tクリック\t秒経過\t厳密に追いつく秒\t最大のずれ\t前の行÷この行\t備考\n") + rows);
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
    QTest::addRow("no convergence rows") << QStringList{"--converge", "0"};
    QTest::addRow("negative convergence rows") << QStringList{"--converge", "-3"};
    QTest::addRow("convergence rows not a number") << QStringList{"--converge", "six"};
    QTest::addRow("convergence beyond 30 halvings") << QStringList{"--converge", "31"};
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
