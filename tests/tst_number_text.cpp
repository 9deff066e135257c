#include "number_text.h"

#include <QtTest>

#include <bit>
#include <limits>

using number_text::formatReadout;
using number_text::textToNumber;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void format_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        const float huge = std::numeric_limits<float>::max();

        QTest::addRow("zero") << 0.0f << "0.000";
        QTest::addRow("negative zero") << -0.0f << "0.000";
        QTest::addRow("tiny negative, no sign") << -0.000244140625f << "0.000";
        QTest::addRow("leading zero") << 0.6f << "0.600";
        QTest::addRow("small negative") << -0.003f << "-0.003";
        QTest::addRow("the float's own value, no grouping") << 1234567.5678f << "1234567.625";
        QTest::addRow("tie rounds away from zero") << 0.0625f << "0.063";
        QTest::addRow("negative tie") << -2.0625f << "-2.063";
        QTest::addRow("float nearest 0.0005 is above it") << 0.0005f << "0.001";
        QTest::addRow("exact half thousandth below") << 0.00048828125f << "0.000";
        QTest::addRow("carry into the integer") << 9.9996f << "10.000";
        QTest::addRow("clock after 167 clicks") << 16.700005f << "16.700";
        QTest::addRow("last value below 2^24") << 16777215.0f << "16777215.000";
        QTest::addRow("largest float") << huge << "340282346638528859811704183484516925440.000";
        QTest::addRow("most negative float") << -huge << "-340282346638528859811704183484516925440.000";
    }

    void format()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatReadout(value)), text);
    }

    void formatFixed_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");

        QTest::addRow("tie rounds away from zero, not to even") << 0.0078125 << 6 << "0.007813";
        QTest::addRow("tiny negative, no sign") << -1e-9 << 6 << "0.000000";
    }

    void formatFixed()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(number_text::formatFixed(value, decimals)), text);
    }

    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        const double inf = std::numeric_limits<double>::infinity();

        QTest::addRow("empty") << "" << 0.0;
        QTest::addRow("junk") << "abc" << 0.0;
        QTest::addRow("trailing unit") << "10m/s" << 10.0;
        QTest::addRow("leading blanks and tab") << "  \t7.5" << 7.5;
        QTest::addRow("sign and point first") << "-.25" << -0.25;
        QTest::addRow("lone point") << "." << 0.0;
        QTest::addRow("two signs") << "+-3" << 0.0;
        QTest::addRow("blank after sign") << "- 3" << 0.0;
        QTest::addRow("second point ends it") << "1.2.3" << 1.2;
        QTest::addRow("exponent") << "25E-1" << 2.5;
        QTest::addRow("bare e") << "2e" << 2.0;
        QTest::addRow("e then sign only") << "4e-" << 4.0;
        QTest::addRow("e without mantissa") << "e5" << 0.0;
        QTest::addRow("all ten full-width digits") << "９８７６５４３２１０" << 9876543210.0;
        QTest::addRow("full-width decimal") << "０．１" << 0.1;
        QTest::addRow("full-width minus") << "－２" << -2.0;
        QTest::addRow("ideographic space") << "\u3000＋１０" << 10.0;
        QTest::addRow("mixed widths") << "1０.５" << 10.5;
        QTest::addRow("full-width exponent") << "１ｅ２" << 100.0;
        QTest::addRow("huge exponent") << "1e400" << inf;
        QTest::addRow("exponent beyond 64 bits") << "-1e999999999999999999999" << -inf;
        QTest::addRow("long run of digits") << QString(400, u'9') << inf;
        QTest::addRow("tiny") << "1e-400" << 0.0;
        QTest::addRow("many leading zeros") << "0." + QString(44, u'0') + "1" << 1e-45;
        QTest::addRow("zero, huge exponent") << "0e99999" << 0.0;
    }

    void read()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(std::bit_cast<std::uint64_t>(textToNumber(text.toStdString())), std::bit_cast<std::uint64_t>(number));
    }

    void wholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        QTest::addRow("blanks around it") << "\u3000 ６.５e1 " << true;
        QTest::addRow("empty") << "" << false;
        QTest::addRow("sign alone") << "-" << false;
        QTest::addRow("fraction") << "1/10" << false;
        QTest::addRow("decimal comma") << "0,1" << false;
        QTest::addRow("letter l for one") << "l0" << false;
        QTest::addRow("e without digits is left over") << "2e" << false;
    }

    void wholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, whole);
        QCOMPARE(number_text::isWholeNumber(text.toStdString()), whole);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
