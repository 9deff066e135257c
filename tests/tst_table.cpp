#include <QtTest>

namespace {
const QString clicks
    = QStringLiteral("クリック\tねずみの位置ｘ\tねずみの位置ｙ\t犬の位置ｘ\t犬の位置ｙ\t秒経過\t追いついた音\tエラー");
const QString exact = clicks + QStringLiteral("\t厳密な犬の位置ｘ\t厳密な犬の位置ｙ\tずれ\n");
const QString converge = QStringLiteral("ｈ\tクリック\t秒経過\t厳密に追いつく秒\t最大のずれ\t前の行÷この行\t備考\n");
QString csv(QString text) { return text.replace(u'\t', u','); }
} // namespace

class TestTable : public QObject {
    Q_OBJECT
private slots:
    // Each row runs torvikan-table; what it prints has `lines` lines and ends in `tail`.
    void tool_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("tail");
        // Click 2 ends in the dog's y update; the window keeps showing click 1.
        QTest::addRow("fault keeps the read-outs, csv")
            << QStringList{"--u", "10", "--h", "5", "--steps", "3", "--csv"} << 0 << 5
            << csv(clicks
                   + "\n0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
                     "1\t50.000\t0.000\t0.000\t0.000\t5.000\t0\t\n"
                     "2\t50.000\t0.000\t0.000\t0.000\t5.000\t0\tinvalid\n"
                     "3\t50.000\t0.000\t0.000\t0.000\t5.000\t0\tinvalid\n");
        QTest::addRow("texts read like the boxes, cue")
            << QStringList{"--u", "０m/s", "--v", "", "--h", "0.1秒", "--steps", "1"} << 0 << 3
            << clicks + "\n0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n1\t0.000\t0.000\t0.000\t50.000\t0.100\t1\t\n";
        QTest::addRow("overflowing input") << QStringList{"--h", "1e39", "--steps", "1"} << 0 << 3
                                           << clicks
                + "\n0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n1\t0.000\t0.000\t0.000\t50.000\t0.000\t0\toverflow\n";
        QTest::addRow("exact dog, defaults") << QStringList{"--exact", "--steps", "1"} << 0 << 3
                                             << exact
                + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\t0.000\t50.000\t0.000\n"
                  "1\t0.600\t0.000\t0.000\t49.000\t0.100\t0\t\t0.006\t49.000\t0.006\n";
        QTest::addRow("exact dog, equal speeds")
            << QStringList{"--u", "10", "--v", "10", "--exact", "--steps", "1"} << 0 << 3
            << exact
                + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\t0.000\t50.000\t0.000\n"
                  "1\t1.000\t0.000\t0.000\t49.000\t0.100\t0\t\t0.010\t49.000\t0.010\n";
        QTest::addRow("no exact dog without a dog speed, csv")
            << QStringList{"--v", "0", "--exact", "--steps", "1", "--csv"} << 0 << 3
            << csv(exact
                   + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\t\t\t\n"
                     "1\t0.600\t0.000\t0.000\t50.000\t0.100\t0\t\t\t\t\n");
        // Halving h halves the largest distance from the exact dog.
        QTest::addRow("convergence, defaults") << QStringList{"--converge", "3", "--steps", "1", "--exact"} << 0 << 4
                                               << converge
                + "0.1\t78\t7.799995\t7.812500\t0.484944\t\t\n0.05\t156\t7.800012\t7.812500\t0.240167\t2.019198\t\n"
                  "0.025\t313\t7.825021\t7.812500\t0.119470\t2.010269\t\n";
        QTest::addRow("convergence, equal speeds") << QStringList{"--u", "10", "--v", "10", "--converge", "2"} << 0 << 3
                                                   << converge
                + "0.1\t\t\t\t\t\t追いつかない（ねずみが右端を越えた）\n"
                  "0.05\t\t\t\t\t\t追いつかない（ねずみが右端を越えた）\n";
        QTest::addRow("defaults: the start and 200 clicks")
            << QStringList{} << 0 << 202 << "200\t100.200\t0.000\t99.875\t0.000\t16.700\t0\t\n";
    }

    void tool()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(int, lines);
        QFETCH(QString, tail);
        QProcess tool;
        tool.start(QStringLiteral(TABLE_TOOL), args);
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), exitCode);
        const QString out = QString::fromUtf8(tool.readAllStandardOutput());
        QCOMPARE(out.count(u'\n'), lines);
        QCOMPARE(out.right(tail.size()), tail);
    }
};

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
