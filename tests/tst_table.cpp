#include "run_tool.h"

#include <QtTest>

namespace {
const QString clicks
    = QStringLiteral("クリック\tねずみの位置ｘ\tねずみの位置ｙ\t犬の位置ｘ\t犬の位置ｙ\t秒経過\t追いついた音\tエラー");
const QString exact = clicks + QStringLiteral("\t理論上の犬の位置ｘ\t理論上の犬の位置ｙ\tずれ\n");
const QString converge = QStringLiteral(
    "ｈ\t初めて音が鳴ったクリック\tそのときの秒経過\t理論上追いつく秒\t最大のずれ\t前の行÷この行\t備考\n");
const QString roundingLeftOut = QStringLiteral("省略：ｈを半分にしても単精度の丸めがずれを上回る\n");
// What --csv makes of the tab-separated lines: commas and CRLF.
QString csv(QString text) { return text.replace(u'\t', u',').replace(u'\n', QStringLiteral("\r\n")); }
} // namespace

class TestTable : public QObject {
    Q_OBJECT
private slots:
    // Each row runs torvikan-table; what it prints has `lines` lines and ends in `tail`,
    // and standard error says `told` besides any warnings.
    void tool_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("tail");
        QTest::addColumn<QString>("told");
        // Click 2 ends in the dog's y update; the window keeps showing click 1.
        QTest::addRow("fault keeps the read-outs, csv")
            << QStringList{"--u", "10", "--h", "5", "--steps", "3", "--csv"} << 5
            << csv(clicks
                   + "\n0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n"
                     "1\t50.000\t0.000\t0.000\t0.000\t5.000\t0\t\n"
                     "2\t50.000\t0.000\t0.000\t0.000\t5.000\t0\tinvalid\n"
                     "3\t50.000\t0.000\t0.000\t0.000\t5.000\t0\tinvalid\n")
            << QString();
        QTest::addRow("texts read like the boxes, cue")
            << QStringList{"--u", "０m/s", "--v", "", "--h", "0.1秒", "--steps", "1"} << 3
            << clicks + "\n0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n1\t0.000\t0.000\t0.000\t50.000\t0.100\t1\t\n"
            << QString();
        QTest::addRow("overflowing input") << QStringList{"--h", "1e39", "--steps", "1"} << 3
                                           << clicks
                + "\n0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\n1\t0.000\t0.000\t0.000\t50.000\t0.000\t0\toverflow\n"
                                           << QString();
        QTest::addRow("exact dog, defaults") << QStringList{"--exact", "--steps", "1"} << 3
                                             << exact
                + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\t0.000\t50.000\t0.000\n"
                  "1\t0.600\t0.000\t0.000\t49.000\t0.100\t0\t\t0.006\t49.000\t0.006\n"
                                             << QString();
        QTest::addRow("no exact dog without a dog speed, csv")
            << QStringList{"--v", "0", "--exact", "--steps", "1", "--csv"} << 3
            << csv(exact
                   + "0\t0.000\t0.000\t0.000\t50.000\t0.000\t0\t\t\t\t\n"
                     "1\t0.600\t0.000\t0.000\t50.000\t0.100\t0\t\t\t\t\n")
            << QString();
        // Halving h halves the largest distance from the exact dog, until single precision's
        // rounding would outweigh it.
        QTest::addRow("convergence, defaults") << QStringList{"--converge", "8", "--steps", "1", "--exact"} << 9
                                               << "0.00625\t1250\t7.812\t7.813\t0.030015\t1.986476\t\n"
                                                  "0.003125\t2500\t7.813\t7.813\t0.014946\t2.008143\t\n"
                                                  "0.0015625\t\t\t7.813\t\t\t"
                + roundingLeftOut + "0.00078125\t\t\t7.813\t\t\t" + roundingLeftOut
                                               << QString();
        // The cue sounds from the first click; the dogs are compared up to the exact catch.
        QTest::addRow("convergence, mouse running left") << QStringList{"--u", "-6", "--converge", "2"} << 3
                                                         << converge
                + "0.1\t1\t0.100\t7.813\t0.484944\t\t1 回目から音が鳴る（ねずみが犬より前に出ない）\n"
                  "0.05\t1\t0.050\t7.813\t0.240148\t2.019359\t1 回目から音が鳴る（ねずみが犬より前に出ない）\n"
                                                         << QString();
        // Never caught: compared up to the field's edge, where the window's chase stops.
        QTest::addRow("convergence, equal speeds") << QStringList{"--u", "10", "--v", "10", "--converge", "2"} << 3
                                                   << converge
                + "0.1\t\t\t\t0.450768\t\tねずみが右端で止まった\n"
                  "0.05\t\t\t\t0.224170\t2.010835\tねずみが右端で止まった\n"
                                                   << QString();
        QTest::addRow("convergence, rounding outweighs") << QStringList{"--h", "0.0001", "--converge", "2"} << 3
                                                         << converge
                + "0.0001\t78052\t7.809\t7.813\t0.044964\t\tずれは単精度の丸めの大きさ\n"
                  "0.00005\t\t\t7.813\t\t\t"
                + roundingLeftOut << QString();
        QTest::addRow("convergence, fault") << QStringList{"--u", "10", "--h", "5", "--converge", "1"} << 2
                                            << "5\t\t\t\t\t\t2 回目が計算できないクリック（invalid）\n"
                                            << QString();
        QTest::addRow("convergence, too many clicks, csv")
            << QStringList{"--h", "0.00001", "--converge", "1", "--csv"} << 2
            << csv("0.00001\t\t\t7.813\t\t\t") + "\"省略：クリックが多すぎる（合わせて 500,000 回まで）\"\r\n"
            << QString();
        // With a number of clicks the table runs on past the catch.
        QTest::addRow("200 clicks, past the catch")
            << QStringList{"--steps", "200"} << 202 << "200\t100.200\t0.000\t99.875\t0.000\t16.700\t0\t\n"
            << QString();
        // Without one it is the sheet's record, and its last line says why it ends there.
        QTest::addRow("defaults: to the first catch cue")
            << QStringList{} << 81
            << "78\t46.800\t0.000\t46.873\t-0.003\t7.800\t1\t\n"
               "# 追いついた音は 78 回目のクリック（7.800 "
               "秒）で初めて鳴り、犬がねずみに追いついたので、記録はここまでです。\n"
            << QString();
        QTest::addRow("to the mouse leaving the field")
            << QStringList{"--u", "8"} << 128
            << "125\t100.000\t0.000\t97.218\t0.000\t12.500\t0\t\n"
               "# 追いついた音は鳴らず、ねずみが方眼の外に出たので、記録はここまでです。\n"
            << QString();
        QTest::addRow("to a fault")
            << QStringList{"--u", "10", "--h", "5"} << 5
            << "2\t50.000\t0.000\t0.000\t0.000\t5.000\t0\tinvalid\n"
               "# 追いついた音は鳴らず、2 回目のクリックから計算できなくなる（エラー）ので、記録はここまでです。\n"
            << QString();
        // A spreadsheet gets rows only; the sentence goes to the terminal.
        QTest::addRow("to the first catch cue, csv")
            << QStringList{"--csv"} << 80 << csv("78\t46.800\t0.000\t46.873\t-0.003\t7.800\t1\t\n")
            << "torvikan-table: 追いついた音は 78 回目のクリック（7.800 秒）で初めて鳴り、犬がねずみに追いついたので、"
               "記録はここまでです。\n";
    }

    void tool()
    {
        QFETCH(QStringList, args);
        QFETCH(int, lines);
        QFETCH(QString, tail);
        QFETCH(QString, told);
        const Run run = runTool(QStringLiteral(TABLE_TOOL), args);
        QCOMPARE(run.exitCode, 0);
        const QByteArray& out = run.bytes;
        // A spreadsheet takes a CSV without a byte order mark for the desktop's own code page.
        QCOMPARE(out.startsWith("\xEF\xBB\xBF"), args.contains("--csv"));
        QCOMPARE(out.count('\n'), lines);
        QCOMPARE(QString::fromUtf8(out).right(tail.size()), tail);
        // Warnings on the inputs are tst_arguments' concern.
        QString err = run.err;
        err.remove(
            QRegularExpression(QStringLiteral("^torvikan-table: 警告: .*\n"), QRegularExpression::MultilineOption));
        QCOMPARE(err, told);
    }

    // The table of the sheet's record is, row for row, the table of as many
    // clicks, then the line on why it ends.
    void recordIsItsClicks_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("lastClick");
        QTest::addRow("defaults") << QStringList{} << "78";
        QTest::addRow("mouse leaves the field, exact dog") << QStringList{"--u", "8", "--exact"} << "125";
        QTest::addRow("fault, csv") << QStringList{"--u", "10", "--h", "5", "--csv"} << "2";
        // The cue sounds from the first click; the record runs to the exact catch.
        QTest::addRow("mouse never ahead") << QStringList{"--u", "-6"} << "78";
        QTest::addRow("nothing moves") << QStringList{"--h", "0"} << "1";
    }

    void recordIsItsClicks()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, lastClick);
        const auto run = [](const QStringList& args) {
            const Run table = runTool(QStringLiteral(TABLE_TOOL), args);
            return table.exitCode == 0 ? table.bytes : QByteArray();
        };
        const QByteArray record = run(args);
        const QByteArray clicks = run(args + QStringList{"--steps", lastClick});
        QVERIFY(!clicks.isEmpty());
        if (args.contains("--csv")) {
            QCOMPARE(record, clicks);
        } else {
            QVERIFY(record.startsWith(clicks));
            const QByteArray end = record.mid(clicks.size());
            QVERIFY2(end.startsWith("# ") && end.endsWith("記録はここまでです。\n") && end.count('\n') == 1,
                end.constData());
        }
    }

    // A table that cannot be written ends at once with status 1, rather
    // than computing every click for nobody: a hundred billion clicks
    // would take hours.
    void unwritable_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addRow("clicks") << QStringList{"--steps", "100000000000"};
        QTest::addRow("clicks, csv") << QStringList{"--steps", "100000000000", "--csv"};
        QTest::addRow("clicks with the exact dog") << QStringList{"--steps", "100000000000", "--exact"};
        QTest::addRow("the sheet's record, csv") << QStringList{"--csv"};
    }

    void unwritable()
    {
        QFETCH(QStringList, args);
        QCOMPARE(runTool(QStringLiteral(TABLE_TOOL), args, {}, {}, QStringLiteral("/dev/full")).exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
