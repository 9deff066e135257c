#include "number_text.h"
#include "number_text_rows.h"

#include <QtTest>

#include <bit>
#include <charconv>
#include <cmath>
#include <random>

using number_text::formatReadout;
using number_text::textToNumber;

namespace {

// The C++ library's conversion, which rounds half way cases to even where
// formatFixed rounds them away from zero (the shared rows hold ties).
bool isTie(double value, int decimals) { return std::fmod(std::ldexp(std::fabs(value), decimals + 1), 2.0) == 1.0; }

QString referenceFixed(double value, int decimals)
{
    char text[400];
    const char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    std::string_view shown(text, static_cast<std::size_t>(end - text));
    if (shown.find_first_of("123456789") == std::string_view::npos && shown.front() == '-')
        shown.remove_prefix(1);
    return QString::fromLatin1(shown);
}

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    // The rows the WebAssembly build is checked against too.
    void sharedRows_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        std::vector<NumberTextRow> rows;
        try {
            rows = readNumberTextRows(NUMBER_TEXT_ROWS);
        } catch (const std::exception& e) {
            QFAIL(e.what());
        }
        for (const NumberTextRow& row : rows) {
            const auto [actual, expected] = numberTextOutcome(row);
            QTest::addRow("%s: %s", row.kind.c_str(), row.name.c_str())
                << QString::fromStdString(actual) << QString::fromStdString(expected);
        }
    }

    void sharedRows()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    // Many random numbers against the C++ library's own conversions.
    void agreesWithTheLibrary_data()
    {
        QTest::addColumn<int>("significantDigits");
        QTest::addColumn<int>("lowestExponent");
        QTest::addColumn<int>("highestExponent");
        QTest::addRow("short numbers") << 8 << -30 << 30;
        QTest::addRow("17 digits, whole range") << 17 << -345 << 310;
        QTest::addRow("hundreds of digits") << 900 << -1200 << -600;
        QTest::addRow("near the smallest doubles") << 25 << -350 << -300;
    }

    void agreesWithTheLibrary()
    {
        QFETCH(int, significantDigits);
        QFETCH(int, lowestExponent);
        QFETCH(int, highestExponent);
        std::mt19937_64 random(significantDigits);
        std::uniform_int_distribution<int> digit(0, 9), exponent(lowestExponent, highestExponent);
        for (int i = 0; i < 2000; ++i) {
            std::string text;
            for (int d = 0; d < significantDigits; ++d)
                text += static_cast<char>('0' + digit(random));
            const int power = exponent(random);
            text += 'e' + std::to_string(power);
            double expected = 0.0;
            if (std::from_chars(text.data(), text.data() + text.size(), expected).ec == std::errc::result_out_of_range)
                expected = power > 0 ? HUGE_VAL : 0.0;
            const double number = textToNumber(text);
            QCOMPARE(std::bit_cast<std::uint64_t>(number), std::bit_cast<std::uint64_t>(expected));

            const int decimals = digit(random) * 3;
            if (std::isfinite(number) && !isTie(number, decimals))
                QCOMPARE(QString::fromStdString(number_text::formatFixed(number, decimals)),
                         referenceFixed(number, decimals));
            const auto single = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
            if (std::isfinite(single) && !isTie(single, 3))
                QCOMPARE(QString::fromStdString(formatReadout(single)), referenceFixed(double{single}, 3));
        }
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
