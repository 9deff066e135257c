#include "number_text.h"
#include "pursuit.h"

#include <QtTest>

#include <bit>
#include <cstdint>

namespace {

std::uint32_t bits(float f) { return std::bit_cast<std::uint32_t>(f); }

// Clicks 次へ `clicks` times from the start with the texts "u v h".
sim::StepOutcome run(sim::PursuitState& s, int clicks, const QByteArray& inputs)
{
    const QList<QByteArray> in = inputs.split(' ');
    sim::resetToStart(s);
    sim::StepOutcome o;
    for (int i = 0; i < clicks; ++i)
        o = sim::step(s, in[0].toStdString(), in[1].toStdString(), in[2].toStdString());
    return o;
}

} // namespace

class TestPursuit : public QObject {
    Q_OBJECT
private slots:
    void readoutsAfterClicks_data()
    {
        QTest::addColumn<QByteArray>("inputs");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("cue");

        const auto add = [](const char* name, const char* inputs, int clicks, const char* expected, bool cue) {
            QTest::addRow("%s", name) << QByteArray(inputs) << clicks << QString::fromUtf8(expected) << cue;
        };
        add("start", "6 10 0.1", 0, "0.000 0.000 0.000 50.000 0.000", false);
        add("click 2: y divides by the new distance", "6 10 0.1", 2, "1.200 0.000 0.012 48.000 0.200", false);
        add("click 78: first catch", "6 10 0.1", 78, "46.800 0.000 46.873 -0.003 7.800", true);
        add("click 83: the cue again", "6 10 0.1", 83, "49.800 0.000 49.874 0.002 8.300", true);
        add("click 167: mouse past the edge", "6 10 0.1", 167, "100.200 0.000 99.875 0.000 16.700", false);
        // Other speeds, many clicks: the last digits show every rounding.
        add("fast dog, click 34", "6 20 0.1", 34, "20.400 0.000 20.092 1.092 3.400", false);
        add("slow chase, click 60", "3 4 0.25", 60, "45.000 0.000 31.744 3.835 15.000", false);
        // h·u rounded to single first would read -1.298.
        add("the mouse's step in double", "-1.3 15 1.1", 16, "-22.880 0.000 -11.256 -1.297 17.600", true);
        add("mouse runs left", "-2 5 0.5", 20, "-20.000 0.000 -15.123 2.829 10.000", true);
        add("mouse exactly on the edge stops", "10 8 1", 11, "100.000 0.000 56.171 3.363 10.000", false);
        add("h = 0 freezes, dog level", "6 10 0", 5, "0.000 0.000 0.000 50.000 0.000", true);
        add("u = 0: dog on the mouse", "0 10 0.1", 50, "0.000 0.000 0.000 0.000 5.000", true);
        add("negative h", "6 10 -0.1", 1, "-0.600 0.000 0.000 51.000 -0.100", true);
        add("h = 5 click 3: overshoot", "6 10 5", 3, "90.000 0.000 100.000 0.000 15.000", true);
        add("h = 5 click 9: turned back, stopped", "6 10 5", 9, "120.000 0.000 50.000 0.000 20.000", false);
        add("junk reads as 0", "abc 10 0.1", 1, "0.000 0.000 0.000 49.000 0.100", true);
        add("full-width digits", "６ １０ ０．１", 2, "1.200 0.000 0.012 48.000 0.200", false);
    }

    void readoutsAfterClicks()
    {
        QFETCH(QByteArray, inputs);
        QFETCH(int, clicks);
        QFETCH(QString, expected);
        QFETCH(bool, cue);
        sim::PursuitState s;
        const sim::Frame start = sim::resetToStart(s);
        const sim::StepOutcome o = clicks ? run(s, clicks, inputs) : sim::StepOutcome{sim::Fault::none, start, false};
        QCOMPARE(o.fault, sim::Fault::none);
        const sim::Readouts& r = o.frame.readouts;
        QStringList shown;
        for (float v : {r.mouseX, r.mouseY, r.dogX, r.dogY, r.seconds})
            shown << QString::fromStdString(number_text::formatReadout(v));
        QCOMPARE(shown, expected.split(' '));
        QCOMPARE(o.catchCue, cue);
    }

    void faultsKeepWhatWasStored_data()
    {
        QTest::addColumn<QByteArray>("inputs");
        QTest::addColumn<int>("goodClicks");
        QTest::addColumn<sim::Fault>("fault");
        QTest::addColumn<bool>("kxChanges");

        QTest::addRow("dog on mouse: 0/0 in x") << QByteArray("0 10 0.1") << 50 << sim::Fault::invalid << false;
        QTest::addRow("dog lands on mouse: 0/0 in y, kx kept") << QByteArray("10 10 5") << 1 << sim::Fault::invalid << true;
        QTest::addRow("input too large for a float") << QByteArray("1e39 10 0.1") << 0 << sim::Fault::overflow << false;
        QTest::addRow("digits beyond a double") << QByteArray("6 " + QByteArray(400, '9') + " 0.1") << 0
                                                << sim::Fault::overflow << false;
        QTest::addRow("mouse leaves the float range") << QByteArray("3e38 0 3") << 0 << sim::Fault::overflow << false;
    }

    void faultsKeepWhatWasStored()
    {
        QFETCH(QByteArray, inputs);
        QFETCH(int, goodClicks);
        QFETCH(sim::Fault, fault);
        QFETCH(bool, kxChanges);
        sim::PursuitState s;
        run(s, goodClicks, inputs);
        // Other inputs before the faulting click tell what it stored.
        s.u = 1.5f;
        s.v = 2.5f;
        const sim::PursuitState before = s;
        const QList<QByteArray> in = inputs.split(' ');
        const sim::StepOutcome o = sim::step(s, in[0].toStdString(), in[1].toStdString(), in[2].toStdString());
        QCOMPARE(o.fault, fault);
        QVERIFY(!o.catchCue);

        const float u = static_cast<float>(number_text::textToNumber(in[0].toStdString()));
        QCOMPARE(bits(s.u), bits(std::isfinite(u) ? u : before.u));
        if (!std::isfinite(u))
            QCOMPARE(bits(s.v), bits(before.v)); // the step ended before reading v
        for (auto field : {&sim::PursuitState::s, &sim::PursuitState::ux, &sim::PursuitState::uy, &sim::PursuitState::ky})
            QCOMPARE(bits(s.*field), bits(before.*field));
        QCOMPARE(bits(s.kx) != bits(before.kx), kxChanges);
        if (kxChanges)
            QCOMPARE(s.kx, s.ux); // exactly on the mouse's x
    }
};

QTEST_APPLESS_MAIN(TestPursuit)
#include "tst_pursuit.moc"
