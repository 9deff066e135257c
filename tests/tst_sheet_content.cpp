// What a worksheet says, decided once for torvikan-sheet and the teacher's
// page: the pupils' sheet asks for the answer sheet's clicks and gives
// none of its answers, and the inputs are printed as the window reads them.

#include "chase_texts.h"
#include "sheet_content.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <string>

namespace {

// An ASCII or a full-width digit (U+FF10 to U+FF19: EF BC 90 to 99).
bool hasDigit(const std::string& text)
{
    if (text.find_first_of("0123456789") != std::string::npos)
        return true;
    for (std::size_t at = text.find("\xEF\xBC"); at != std::string::npos; at = text.find("\xEF\xBC", at + 1))
        if (at + 2 < text.size() && (unsigned char)text[at + 2] >= 0x90 && (unsigned char)text[at + 2] <= 0x99)
            return true;
    return false;
}

} // namespace

class TestSheetContent : public QObject {
    Q_OBJECT
private slots:
    // The shortest plain decimal that reads back as the same float, the
    // nearest of those, a tie to the even digit: what the page prints
    // beside a text that is not wholly a number, exactly as the tools do
    // with their own library's shortest digits.
    void plainDecimal_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::addRow("a tenth") << 0.1f << "0.1";
        QTest::addRow("a whole number") << 1.0f << "1";
        QTest::addRow("negative") << -2.5f << "-2.5";
        QTest::addRow("a tie, to the even digit") << 276.265625f << "276.26562";
        QTest::addRow("the least float")
            << std::numeric_limits<float>::denorm_min() << "0.000000000000000000000000000000000000000000001";
        QTest::addRow("a large float, every digit") << 1e30f << "1000000015047466219876688855040";
        QTest::addRow("the largest float") << std::numeric_limits<float>::max()
                                           << "340282346638528859811704183484516925440";
        QTest::addRow("a carry into a new digit") << 9.9999999f << "10";
        QTest::addRow("not a number") << std::numeric_limits<float>::quiet_NaN() << "NaN";
        QTest::addRow("minus infinity") << -std::numeric_limits<float>::infinity() << "-Infinity";
    }

    void plainDecimal()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(lesson::plainDecimal(value)), text);
    }

    // For the same request, the pupils' sheet lists the clicks of the
    // answer sheet as far as its record goes, and holds nothing of the chase
    // but the click numbers and the step between them.
    void pupilsSheetGivesNothingAway_data()
    {
        QTest::addColumn<QString>("u");
        QTest::addColumn<QString>("h");
        QTest::addColumn<int>("clicks"); // 0: to the end of the record
        QTest::addColumn<int>("every"); // 0: the sheet chooses
        QTest::addColumn<QString>("question");
        QTest::addRow("the window's start texts") << "6" << "0.1" << 0 << 0 << "追いついた音が初めて鳴ったのは";
        QTest::addRow("a fine unit time") << "6" << "0.01" << 0 << 0 << "追いついた音が初めて鳴ったのは";
        QTest::addRow("a mouse that leaves the field") << "8" << "0.1" << 0 << 0 << "ねずみが方眼の外に出たのは";
        QTest::addRow("clicks and a step asked for") << "6" << "0.1" << 100 << 7 << "追いついた音が初めて鳴ったのは";
        QTest::addRow("a fault part-way") << "10" << "5" << 3 << 0 << "どうなっていますか";
        QTest::addRow("a mouse that stands still") << "0" << "0.1" << 0 << 0 << "どうなっていますか";
    }

    void pupilsSheetGivesNothingAway()
    {
        QFETCH(QString, u);
        QFETCH(QString, h);
        QFETCH(int, clicks);
        QFETCH(int, every);
        QFETCH(QString, question);
        sheet::Request request;
        request.mouseSpeed = u.toStdString();
        request.unitTime = h.toStdString();
        if (clicks > 0)
            request.clicks = clicks;
        if (every > 0)
            request.every = every;
        const sheet::Content answers = sheet::prepare(request);
        request.blank = true;
        request.exact = true; // never honoured on a pupils' sheet
        const sheet::Content blank = sheet::prepare(request);

        QCOMPARE(blank.listed, answers.listed);
        QCOMPARE(blank.listed.back(), answers.lastClick);
        QVERIFY(!sheet::insetOf(blank).shown);
        for (const int click : blank.listed)
            QCOMPARE(sheet::rowTexts(blank, click), std::vector<std::string>{std::to_string(click)});
        QCOMPARE(sheet::columnsOf(blank).size(), 7u);
        const std::vector<std::string> notes = sheet::notesOf(blank);
        QCOMPARE(notes.size(), 1u);
        QVERIFY2(QString::fromStdString(notes[0]).contains(question), notes[0].c_str());
        QVERIFY2(!hasDigit(notes[0]), notes[0].c_str());
        const std::string caption = sheet::captionText(blank, false);
        QVERIFY2(caption.find(std::to_string(answers.lastClick) + " 回クリック") == std::string::npos, caption.c_str());
    }
};

QTEST_GUILESS_MAIN(TestSheetContent)
#include "tst_sheet_content.moc"
