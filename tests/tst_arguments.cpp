#include "run_tool.h"
#include "tool_options.h"

#include <QtTest>

namespace {

const QString table = QStringLiteral(TABLE_TOOL);
const QString sheet = QStringLiteral(SHEET_TOOL);

} // namespace

class TestArguments : public QObject {
    Q_OBJECT
private slots:
    // Each row runs a tool in an empty folder.
    void commandLine_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("told"); // what standard error says, in pieces; empty: nothing
        QTest::addColumn<QString>("lastLine"); // the start of the table's last line
        QTest::addColumn<QString>("written"); // the sheet left in the folder
        QTest::addRow("-h with a value is not the help")
            << table << QStringList{"-h", "0.05"} << 2 << QStringList{"--help", "--h 0.05"} << QString() << QString();
        QTest::addRow("-h alone is not the help, sheet")
            << sheet << QStringList{"-h", "sheet.pdf"} << 2 << QStringList{"--help"} << QString() << QString();
        QTest::addRow("not wholly a number")
            << table << QStringList{"--h", "1/10", "--steps", "1"} << 0
            << QStringList{"--h", "「1/10」", " 1 と読みます", "\"1/10\"", "read as 1\n"}
            << "1\t6.000\t0.000\t0.000\t40.000" << QString();
        QTest::addRow("empty text, with an equals sign")
            << table << QStringList{"--v=", "--steps", "1"} << 0 << QStringList{"--v", "空", "read as 0\n"}
            << "1\t0.600\t0.000\t0.000\t50.000" << QString();
        QTest::addRow("full-width count, equals sign")
            << table << QStringList{"--steps=９０", "--u=8"} << 0 << QStringList() << "90\t72.000" << QString();
        for (const QStringList& args : {QStringList{"--steps", "５x"}, {"--steps", "2.5"}, {"--steps", "-1"},
                 {"--steps", "99999999999999999999"}, {"--converge", "0"}, {"--converge", "31"}})
            QTest::addRow("%s", qPrintable(args.join(u' ')))
                << table << args << 2 << QStringList{args[0], args[1]} << QString() << QString();
        QTest::addRow("unknown option") << table << QStringList{"--speed", "3"} << 2 << QStringList{"--speed"}
                                        << QString() << QString();
        QTest::addRow("value missing") << table << QStringList{"--u"} << 2 << QStringList{"--u"} << QString()
                                       << QString();
        QTest::addRow("value given to a flag")
            << table << QStringList{"--csv=yes"} << 2 << QStringList{"--csv"} << QString() << QString();
        QTest::addRow("the table takes no file")
            << table << QStringList{"chase.csv"} << 2 << QStringList{"chase.csv"} << QString() << QString();
        QTest::addRow("extra file name, sheet") << sheet << QStringList{"--u", "3", "8", "sheet.pdf"} << 2
                                                << QStringList{" 8 ", "sheet.pdf"} << QString() << QString();
        QTest::addRow("a file name starting with -, sheet") << sheet << QStringList{"--grid", "5", "--", "-sheet.pdf"}
                                                            << 0 << QStringList() << QString() << "-sheet.pdf";
        QTest::addRow("blank and exact, sheet") << sheet << QStringList{"--blank", "--exact", "sheet.pdf"} << 2
                                                << QStringList{"--blank", "--exact"} << QString() << QString();
        QTest::addRow("grid of 3 m, sheet") << sheet << QStringList{"--grid", "3", "sheet.pdf"} << 2
                                            << QStringList{"--grid", "3"} << QString() << QString();
        // Options typed with the input method in full width, or its dash for the hyphen key.
        QTest::addRow("full-width option names, equals sign and value")
            << table << QStringList{"－－ｓｔｅｐｓ＝２", "ーーｕ", "８"} << 0 << QStringList() << "2	1.600"
            << QString();
        QTest::addRow("full-width options, sheet")
            << sheet << QStringList{"－－ｇｒｉｄ", "5", "sheet.pdf"} << 0 << QStringList() << QString() << "sheet.pdf";
        QTest::addRow("a file name in kana is no option, sheet")
            << sheet << QStringList{"ーメモ.pdf"} << 0 << QStringList() << QString() << "ーメモ.pdf";
        QTest::addRow("a full-width suffix, with the hint to type it half-width, sheet")
            << sheet << QStringList{"記録用紙．ｐｄｆ"} << 2 << QStringList{"半角", "記録用紙.pdf"} << QString()
            << QString();
    }

    void commandLine()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, told);
        QFETCH(QString, lastLine);
        QFETCH(QString, written);
        QTemporaryDir folder;
        const Run run = runTool(tool, args, folder.path());
        QCOMPARE(run.exitCode, exitCode);
        // An error is one line of Japanese and English pointing to --help, not the usage.
        if (exitCode == 2)
            QVERIFY2(run.err.count(u'\n') == 1
                    && run.err.contains(QRegularExpression(QStringLiteral(
                        "^torvikan-(table|sheet): .*[ぁ-ん].* / .*[a-z].*; 詳しくは --help / see --help\\n$"))),
                qPrintable(run.err));
        for (const QString& piece : told)
            QVERIFY2(run.err.contains(piece), qPrintable(run.err));
        if (told.isEmpty() && tool == table)
            QCOMPARE(run.err, QString());
        QCOMPARE(run.out.section(u'\n', -2, -2).left(lastLine.size()), lastLine);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), written.isEmpty() ? QStringList() : QStringList{written});
    }

    // Every option of a tool's table, with its least or default value, is
    // one its command line takes: an option the table lists and the tool
    // does not read would be refused as an extra argument.
    void everyOptionIsRead_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        for (const tool_options::Tool* t : {&tool_options::table(), &tool_options::sheet()}) {
            for (const tool_options::Option& o : t->options) {
                QStringList args{QString::fromStdString(o.name)};
                if (o.takesValue())
                    args << QString::fromStdString(!o.defaultValue.empty() ? o.defaultValue
                            : o.range                                      ? std::to_string(o.range->least)
                                                                           : std::to_string(o.choices.front()));
                if (t == &tool_options::sheet())
                    args << "sheet.pdf";
                QTest::addRow("%s %s", t->name.data(), o.name.c_str())
                    << (t == &tool_options::table() ? table : sheet) << args;
            }
        }
    }

    void everyOptionIsRead()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QTemporaryDir folder;
        const Run run = runTool(tool, args, folder.path());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(TestArguments)
#include "tst_arguments.moc"
