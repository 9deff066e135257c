#include "number_text.h"

#include <QtTest>

#include <bit>
#include <cmath>
#include <limits>

using number_text::formatReadout;
using number_text::textToNumber;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void formatIgnoresLocale();
    void read_data();
    void read();
    void readNeverLooksPastTheText();
};

void TestNumberText::format_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");

    QTest::addRow("zero") << 0.0f << "0.000";
    QTest::addRow("negative zero") << -0.0f << "0.000";
    QTest::addRow("tiny negative rounds to zero, no sign") << -0.000244140625f << "0.000";
    QTest::addRow("below one keeps a leading zero") << 0.6f << "0.600";
    QTest::addRow("fifty") << 50.0f << "50.000";
    QTest::addRow("small negative") << -0.003f << "-0.003";
    QTest::addRow("many digits rounded") << 1234.5678f << "1234.568";
    QTest::addRow("no grouping") << 1234567.0f << "1234567.000";
    QTest::addRow("exact tie rounds away from zero") << 0.0625f << "0.063";
    QTest::addRow("negative tie rounds away from zero") << -0.0625f << "-0.063";
    QTest::addRow("tie 2.0625") << 2.0625f << "2.063";
    QTest::addRow("float nearest 0.0005 lies above it") << 0.0005f << "0.001"; // 0.000500000024
    QTest::addRow("exact half thousandth") << 0.00048828125f << "0.000";
    QTest::addRow("carry into the integer") << 9.9996f << "10.000";
    QTest::addRow("float just below 0.1") << 0.1f << "0.100";
    QTest::addRow("clock after 167 clicks") << 16.700005f << "16.700";
    QTest::addRow("last fast-path value") << 16777215.0f << "16777215.000";
    QTest::addRow("two to the 24") << 16777216.0f << "16777216.000";
    QTest::addRow("largest float") << std::numeric_limits<float>::max()
                                   << "340282346638528859811704183484516925440.000";
    QTest::addRow("most negative float") << std::numeric_limits<float>::lowest()
                                         << "-340282346638528859811704183484516925440.000";
    QTest::addRow("smallest subnormal") << std::numeric_limits<float>::denorm_min() << "0.000";
}

void TestNumberText::format()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatReadout(value)), text);
}

void TestNumberText::formatIgnoresLocale()
{
    // A German desktop writes decimals with a comma; the read-outs must not.
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        QSKIP("de_DE.UTF-8 locale not installed");
    const std::string text = formatReadout(1234.5f);
    const double read = textToNumber("0.5");
    std::setlocale(LC_ALL, saved.c_str());
    QCOMPARE(QString::fromStdString(text), QStringLiteral("1234.500"));
    QCOMPARE(read, 0.5);
}

void TestNumberText::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    QTest::addRow("plain") << "6" << 6.0;
    QTest::addRow("decimal") << "0.1" << 0.1;
    QTest::addRow("empty") << "" << 0.0;
    QTest::addRow("junk") << "abc" << 0.0;
    QTest::addRow("trailing unit ignored") << "10m/s" << 10.0;
    QTest::addRow("leading blanks and tab") << "  \t7.5" << 7.5;
    QTest::addRow("sign") << "-0.1" << -0.1;
    QTest::addRow("plus sign") << "+3" << 3.0;
    QTest::addRow("point first") << ".5" << 0.5;
    QTest::addRow("sign and point first") << "-.25" << -0.25;
    QTest::addRow("point last") << "5." << 5.0;
    QTest::addRow("lone point") << "." << 0.0;
    QTest::addRow("lone sign") << "-" << 0.0;
    QTest::addRow("two signs") << "+-3" << 0.0;
    QTest::addRow("blank after sign ends it") << "- 3" << 0.0;
    QTest::addRow("second point ends it") << "1.2.3" << 1.2;
    QTest::addRow("comma ends it") << "1,5" << 1.0;
    QTest::addRow("blank inside ends it") << "1 000" << 1.0;
    QTest::addRow("exponent") << "1e3" << 1000.0;
    QTest::addRow("negative exponent") << "25E-1" << 2.5;
    QTest::addRow("exponent with plus") << "2e+2" << 200.0;
    QTest::addRow("bare e is not an exponent") << "2e" << 2.0;
    QTest::addRow("e then letters") << "3em" << 3.0;
    QTest::addRow("e then sign only") << "4e-" << 4.0;
    QTest::addRow("exponent without mantissa digits") << "e5" << 0.0;
    QTest::addRow("hex is not read") << "0x10" << 0.0;
    QTest::addRow("inf is not read") << "inf" << 0.0;
    QTest::addRow("nan is not read") << "nan" << 0.0;
    QTest::addRow("full-width digit") << "６" << 6.0;
    QTest::addRow("full-width decimal") << "０．１" << 0.1;
    QTest::addRow("full-width minus") << "－２" << -2.0;
    QTest::addRow("full-width plus") << "＋２" << 2.0;
    QTest::addRow("ideographic space first") << "\u3000１０" << 10.0;
    QTest::addRow("mixed widths") << "1０.５" << 10.5;
    QTest::addRow("full-width exponent") << "１ｅ２" << 100.0;
    QTest::addRow("full-width unit after number") << "１０ｍ" << 10.0;
    QTest::addRow("kanji first") << "十" << 0.0;
    QTest::addRow("nearest double") << "0.30000000000000004" << 0.30000000000000004;
    QTest::addRow("huge exponent is infinite") << "1e400" << std::numeric_limits<double>::infinity();
    QTest::addRow("negative huge is minus infinity") << "-1e999999999999999999999"
                                                     << -std::numeric_limits<double>::infinity();
    QTest::addRow("long run of digits is infinite") << QString(400, u'9') << std::numeric_limits<double>::infinity();
    QTest::addRow("tiny is zero") << "1e-400" << 0.0;
    QTest::addRow("many leading zeros") << "0.000000000000000000000000000000000000000000001" << 1e-45;
    QTest::addRow("zero with huge exponent") << "0e99999" << 0.0;
}

void TestNumberText::read()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    const double got = textToNumber(text.toStdString());
    QCOMPARE(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(number));
}

void TestNumberText::readNeverLooksPastTheText()
{
    // A full-width character cut short at the end of the text must not be
    // read beyond it (the sanitizer build catches an over-read).
    const char buffer[] = {'7', '\xEF', '\xBC', '9'};
    QCOMPARE(textToNumber(std::string_view(buffer, 3)), 7.0);
    QCOMPARE(textToNumber(std::string_view(buffer + 1, 2)), 0.0);
    const char ideographic[] = {'\xE3', '\x80'};
    QCOMPARE(textToNumber(std::string_view(ideographic, 2)), 0.0);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
