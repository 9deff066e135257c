#include "number_text.h"
#include "pursuit.h"

#include <QtTest>

#include <bit>
#include <cstdint>
#include <vector>

using number_text::formatReadout;

namespace {

struct Shown {
    QString mouseX, mouseY, dogX, dogY, seconds;
    bool operator==(const Shown&) const = default;
};

Shown shown(const sim::Readouts& r)
{
    const auto f = [](float v) { return QString::fromStdString(formatReadout(v)); };
    return {f(r.mouseX), f(r.mouseY), f(r.dogX), f(r.dogY), f(r.seconds)};
}

char* toString(const Shown& s)
{
    return QTest::toString(QStringList{s.mouseX, s.mouseY, s.dogX, s.dogY, s.seconds}.join(QLatin1String(" | ")));
}

std::uint32_t bits(float f) { return std::bit_cast<std::uint32_t>(f); }

// Clicks 次へ `clicks` times with fixed texts; returns the last outcome.
sim::StepOutcome run(sim::PursuitState& s, int clicks, const QByteArray& u, const QByteArray& v,
                     const QByteArray& h)
{
    sim::resetToStart(s);
    sim::StepOutcome o;
    for (int i = 0; i < clicks; ++i)
        o = sim::step(s, u.toStdString(), v.toStdString(), h.toStdString());
    return o;
}

} // namespace

class TestPursuit : public QObject {
    Q_OBJECT
private slots:
    void startPosition();
    void readoutsAfterClicks_data();
    void readoutsAfterClicks();
    void catchCueClicksOfDefaultChase();
    void faultsKeepWhatWasStored_data();
    void faultsKeepWhatWasStored();
    void inputChangedBetweenClicks();
    void marksAndMarkersFollowTheAnimals();
};

void TestPursuit::startPosition()
{
    sim::PursuitState s;
    s.ux = 55.0f;
    s.kx = 70.0f;
    s.u = 3.0f;
    const sim::Frame f = sim::resetToStart(s);
    QCOMPARE(shown(f.readouts), (Shown{"0.000", "0.000", "0.000", "50.000", "0.000"}));
    QCOMPARE(s.u, 3.0f); // the start leaves the typed speeds alone
    QCOMPARE(f.mouseMarker.x, 11.0f);
    QCOMPARE(f.mouseMarker.y, 60.0f);
    QCOMPARE(f.dogMarker.x, 11.0f);
    QCOMPARE(f.dogMarker.y, 10.0f);
    QCOMPARE(f.mouseMark.opposite.x, 9.0f);
    QCOMPARE(f.mouseMark.opposite.y, 59.0f);
    QCOMPARE(f.dogMark.opposite.y, 9.0f);
}

void TestPursuit::readoutsAfterClicks_data()
{
    QTest::addColumn<QByteArray>("u");
    QTest::addColumn<QByteArray>("v");
    QTest::addColumn<QByteArray>("h");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<Shown>("expected");
    QTest::addColumn<bool>("cue");

    const auto add = [](const char* name, const char* u, const char* v, const char* h, int clicks,
                        Shown expected, bool cue) {
        QTest::addRow("%s", name) << QByteArray(u) << QByteArray(v) << QByteArray(h) << clicks << expected << cue;
    };
    add("default click 1", "6", "10", "0.1", 1, {"0.600", "0.000", "0.000", "49.000", "0.100"}, false);
    add("default click 2: y update divides by the new distance", "6", "10", "0.1", 2,
        {"1.200", "0.000", "0.012", "48.000", "0.200"}, false);
    add("default click 77", "6", "10", "0.1", 77, {"46.200", "0.000", "45.873", "0.007", "7.700"}, false);
    add("default click 78: first catch", "6", "10", "0.1", 78, {"46.800", "0.000", "46.873", "-0.003", "7.800"}, true);
    add("default click 79", "6", "10", "0.1", 79, {"47.400", "0.000", "45.874", "0.000", "7.900"}, false);
    add("default click 80: a hair below the line shows 0.000", "6", "10", "0.1", 80,
        {"48.000", "0.000", "46.874", "0.000", "8.000"}, false);
    add("default click 167: mouse past the edge", "6", "10", "0.1", 167,
        {"100.200", "0.000", "99.875", "0.000", "16.700"}, false);
    add("default click 200: nothing moves any more", "6", "10", "0.1", 200,
        {"100.200", "0.000", "99.875", "0.000", "16.700"}, false);
    add("h = 0 freezes everything, dog level with mouse", "6", "10", "0", 5,
        {"0.000", "0.000", "0.000", "50.000", "0.000"}, true);
    add("v = 0 leaves the dog", "6", "0", "0.1", 1, {"0.600", "0.000", "0.000", "50.000", "0.100"}, false);
    add("u = 0: dog runs straight down", "0", "10", "0.1", 1, {"0.000", "0.000", "0.000", "49.000", "0.100"}, true);
    add("u = 0: dog on the mouse at click 50", "0", "10", "0.1", 50, {"0.000", "0.000", "0.000", "0.000", "5.000"}, true);
    add("negative h runs time backwards", "6", "10", "-0.1", 1, {"-0.600", "0.000", "0.000", "51.000", "-0.100"}, true);
    add("h = 5 click 1", "6", "10", "5", 1, {"30.000", "0.000", "0.000", "0.000", "5.000"}, false);
    add("h = 5 click 2", "6", "10", "5", 2, {"60.000", "0.000", "50.000", "0.000", "10.000"}, false);
    add("h = 5 click 3: dog overshoots", "6", "10", "5", 3, {"90.000", "0.000", "100.000", "0.000", "15.000"}, true);
    add("h = 5 click 4: dog turned back", "6", "10", "5", 4, {"120.000", "0.000", "50.000", "0.000", "20.000"}, false);
    add("h = 5 click 9: mouse stopped past the edge", "6", "10", "5", 9,
        {"120.000", "0.000", "50.000", "0.000", "20.000"}, false);
    add("junk and empty mouse speed read as 0", "abc", "10", "0.1", 1,
        {"0.000", "0.000", "0.000", "49.000", "0.100"}, true);
    add("full-width digits move the mouse", "６", "１０", "０．１", 2, {"1.200", "0.000", "0.012", "48.000", "0.200"}, false);
}

void TestPursuit::readoutsAfterClicks()
{
    QFETCH(QByteArray, u);
    QFETCH(QByteArray, v);
    QFETCH(QByteArray, h);
    QFETCH(int, clicks);
    QFETCH(Shown, expected);
    QFETCH(bool, cue);
    sim::PursuitState s;
    const sim::StepOutcome o = run(s, clicks, u, v, h);
    QCOMPARE(o.fault, sim::Fault::none);
    QCOMPARE(shown(o.frame.readouts), expected);
    QCOMPARE(o.catchCue, cue);
}

void TestPursuit::catchCueClicksOfDefaultChase()
{
    sim::PursuitState s;
    sim::resetToStart(s);
    std::vector<int> cues;
    for (int click = 1; click <= 200; ++click) {
        const sim::StepOutcome o = sim::step(s, "6", "10", "0.1");
        QCOMPARE(o.fault, sim::Fault::none);
        if (o.catchCue)
            cues.push_back(click);
    }
    std::vector<int> expected;
    for (int click = 78; click <= 163; click += 5)
        expected.push_back(click);
    QCOMPARE(expected.size(), std::size_t{18});
    QCOMPARE(cues, expected);
}

void TestPursuit::faultsKeepWhatWasStored_data()
{
    QTest::addColumn<QByteArray>("u");
    QTest::addColumn<QByteArray>("v");
    QTest::addColumn<QByteArray>("h");
    QTest::addColumn<int>("goodClicks");
    QTest::addColumn<sim::Fault>("fault");
    QTest::addColumn<bool>("kxChanges");

    QTest::addRow("dog on mouse: 0/0 in the x update") << QByteArray("0") << QByteArray("10") << QByteArray("0.1") << 50
                                                       << sim::Fault::invalid << false;
    QTest::addRow("dog lands on mouse: 0/0 in the y update after kx was stored")
        << QByteArray("10") << QByteArray("10") << QByteArray("5") << 1 << sim::Fault::invalid << true;
    QTest::addRow("mouse speed too large for a float") << QByteArray("1e39") << QByteArray("10") << QByteArray("0.1") << 0
                                                       << sim::Fault::overflow << false;
    QTest::addRow("long run of digits overflows the double") << QByteArray("6") << QByteArray(400, '9')
                                                             << QByteArray("0.1") << 0 << sim::Fault::overflow << false;
    QTest::addRow("mouse position leaves the float range")
        << QByteArray("3e38") << QByteArray("0") << QByteArray("3") << 0 << sim::Fault::overflow << false;
}

void TestPursuit::faultsKeepWhatWasStored()
{
    QFETCH(QByteArray, u);
    QFETCH(QByteArray, v);
    QFETCH(QByteArray, h);
    QFETCH(int, goodClicks);
    QFETCH(sim::Fault, fault);
    QFETCH(bool, kxChanges);

    sim::PursuitState s;
    run(s, goodClicks, u, v, h);
    // Start the faulting click from known, different inputs, so that what
    // the click stored can be told apart from what was there.
    s.u = 1.5f;
    s.v = 2.5f;
    s.h = 3.5f;
    const sim::PursuitState before = s;
    const sim::StepOutcome o = sim::step(s, u.toStdString(), v.toStdString(), h.toStdString());
    QCOMPARE(o.fault, fault);
    QVERIFY(!o.catchCue);

    const float expectU = static_cast<float>(number_text::textToNumber(u.toStdString()));
    const bool uFits = std::isfinite(expectU);
    QCOMPARE(bits(s.u), bits(uFits ? expectU : before.u));
    if (!uFits)
        QCOMPARE(bits(s.v), bits(before.v)); // the step ended before reading v
    QCOMPARE(bits(s.s), bits(before.s));
    QCOMPARE(bits(s.ux), bits(before.ux));
    QCOMPARE(bits(s.uy), bits(before.uy));
    QCOMPARE(bits(s.ky), bits(before.ky));
    QCOMPARE(bits(s.kx) != bits(before.kx), kxChanges);
    if (kxChanges)
        QCOMPARE(s.kx, s.ux); // the dog is exactly on the mouse's x
}

void TestPursuit::inputChangedBetweenClicks()
{
    sim::PursuitState s;
    sim::resetToStart(s);
    sim::step(s, "6", "10", "0.1");
    const sim::StepOutcome o = sim::step(s, "6", "20", "0.1");
    QCOMPARE(s.v, 20.0f);
    // With v = 20 the dog covers 2 m in this click instead of 1 m.
    QCOMPARE(shown(o.frame.readouts).dogY, QStringLiteral("47.000"));
}

void TestPursuit::marksAndMarkersFollowTheAnimals()
{
    sim::PursuitState s;
    const sim::StepOutcome o = run(s, 3, "6", "10", "0.1");
    QCOMPARE(o.frame.mouseMark.corner.x, s.ux);
    QCOMPARE(o.frame.mouseMark.opposite.x, static_cast<float>(double(s.ux) - 1.0));
    QCOMPARE(o.frame.mouseMarker.x, static_cast<float>(double(s.ux) + 1.0));
    QCOMPARE(o.frame.mouseMarker.y, 60.0f);
    QCOMPARE(o.frame.dogMark.corner.y, s.ky);
    QCOMPARE(o.frame.dogMark.opposite.y, static_cast<float>(double(s.ky) - 1.0));
    QCOMPARE(o.frame.dogMarker.x, static_cast<float>(double(s.kx) + 1.0));
    QCOMPARE(o.frame.dogMarker.y, s.ky);
}

QTEST_APPLESS_MAIN(TestPursuit)
#include "tst_pursuit.moc"
