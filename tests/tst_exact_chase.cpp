#include "exact_chase.h"

#include <QtTest>

#include <cmath>
#include <limits>

using sim::exact::Point;

namespace {

const double none = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

// The chase's own law, with no closed form: the dog runs at v straight at
// the mouse. Classic Runge–Kutta, `steps` steps from `p` at `t` to `t + span`.
Point integrate(double u, double v, Point p, double t, double span, int steps)
{
    const auto velocity = [u, v](double time, Point q) {
        const double dx = u * time - q.x;
        const double dy = -q.y;
        const double d = std::hypot(dx, dy);
        return Point{v * dx / d, v * dy / d};
    };
    const double dt = span / steps;
    for (int i = 0; i < steps; ++i, t += dt) {
        const Point k1 = velocity(t, p);
        const Point k2 = velocity(t + dt / 2, {p.x + dt / 2 * k1.x, p.y + dt / 2 * k1.y});
        const Point k3 = velocity(t + dt / 2, {p.x + dt / 2 * k2.x, p.y + dt / 2 * k2.y});
        const Point k4 = velocity(t + dt, {p.x + dt * k3.x, p.y + dt * k3.y});
        p.x += dt / 6 * (k1.x + 2 * k2.x + 2 * k3.x + k4.x);
        p.y += dt / 6 * (k1.y + 2 * k2.y + 2 * k3.y + k4.y);
    }
    return p;
}

} // namespace

class TestExactChase : public QObject {
    Q_OBJECT
private slots:
    void knownPositions_data();
    void knownPositions();
    void followsThePursuit_data();
    void followsThePursuit();
    void undefined_data();
    void undefined();
    void pathEndsAtTheCatch();
};

void TestExactChase::knownPositions_data()
{
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("v");
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<double>("catchTime"); // NaN: never caught

    QTest::addRow("defaults at 4 s") << 6.0 << 10.0 << 4.0 << 12.3214 << 12.8888 << 5e-5 << 7.8125;
    QTest::addRow("defaults: the catch") << 6.0 << 10.0 << 7.8125 << 46.875 << 0.0 << 1e-9 << 7.8125;
    QTest::addRow("after the catch, with the mouse") << 6.0 << 10.0 << 10.0 << 60.0 << 0.0 << 1e-9 << 7.8125;
    QTest::addRow("mouse to the left mirrors") << -6.0 << 10.0 << 4.0 << -12.3214 << 12.8888 << 5e-5 << 7.8125;
    // k = 1/2 at y = a/4, where both powers of r are whole fractions.
    QTest::addRow("half speed at a quarter height")
        << 5.0 << 10.0 << 3.9583333333333335 << 10.416666666666667 << 12.5 << 1e-9 << 50.0 * 10 / 75;
    // k = 1 at y = a/e: x = (a/2)(1 − e⁻²)/2, run (a/2)(3 − e⁻²)/2.
    QTest::addRow("equal speeds, never caught")
        << 10.0 << 10.0 << 3.5808308959542337 << 14.19169104045766 << 18.393972058572118 << 1e-9 << none;
    QTest::addRow("still mouse: straight down") << 0.0 << 10.0 << 2.0 << 0.0 << 30.0 << 1e-9 << 5.0;
    QTest::addRow("fast mouse, never caught") << 20.0 << 10.0 << 0.0 << 0.0 << 50.0 << 0.0 << none;
}

void TestExactChase::knownPositions()
{
    QFETCH(double, u);
    QFETCH(double, v);
    QFETCH(double, t);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, tolerance);
    QFETCH(double, catchTime);
    const std::optional<Point> p = sim::exact::dogAt(u, v, t);
    QVERIFY(p);
    QVERIFY2(std::fabs(p->x - x) <= tolerance && std::fabs(p->y - y) <= tolerance,
             qPrintable(QString("(%1, %2)").arg(p->x, 0, 'g', 17).arg(p->y, 0, 'g', 17)));
    const std::optional<double> caught = sim::exact::catchTime(u, v);
    QCOMPARE(caught.has_value(), !std::isnan(catchTime));
    if (caught)
        QCOMPARE(*caught, catchTime);
}

void TestExactChase::followsThePursuit_data()
{
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("v");
    QTest::addColumn<double>("until");

    QTest::addRow("defaults, up to near the catch") << 6.0 << 10.0 << 7.6;
    QTest::addRow("mouse to the left") << -6.0 << 10.0 << 7.6;
    QTest::addRow("k a hair below 1") << 10.0 * (1 - 1e-12) << 10.0 << 30.0;
    QTest::addRow("k exactly 1") << 10.0 << 10.0 << 30.0;
    QTest::addRow("k a hair above 1") << 10.0 * (1 + 1e-9) << 10.0 << 30.0;
    QTest::addRow("mouse twice as fast") << 12.0 << 6.0 << 30.0;
}

void TestExactChase::followsThePursuit()
{
    QFETCH(double, u);
    QFETCH(double, v);
    QFETCH(double, until);
    Point integrated{0.0, sim::exact::dogStartHeight};
    const int checks = 10;
    for (int i = 1; i <= checks; ++i) {
        const double t0 = until * (i - 1) / checks;
        const double t = until * i / checks;
        integrated = integrate(u, v, integrated, t0, t - t0, 20000);
        const Point p = sim::exact::dogAt(u, v, t).value();
        QVERIFY2(std::hypot(p.x - integrated.x, p.y - integrated.y) < 1e-6,
                 qPrintable(QString("t %1: (%2, %3) against (%4, %5)")
                                .arg(t).arg(p.x, 0, 'g', 12).arg(p.y, 0, 'g', 12)
                                .arg(integrated.x, 0, 'g', 12).arg(integrated.y, 0, 'g', 12)));
        // Along the path the dog heads at the mouse, at its own speed.
        const double dt = 1e-5;
        const Point before = sim::exact::dogAt(u, v, t - dt).value();
        const Point after = sim::exact::dogAt(u, v, t + dt).value();
        const Point velocity{(after.x - before.x) / (2 * dt), (after.y - before.y) / (2 * dt)};
        const Point toMouse{u * t - p.x, -p.y};
        const double speed = std::hypot(velocity.x, velocity.y);
        const double sine = (velocity.x * toMouse.y - velocity.y * toMouse.x) / (speed * std::hypot(toMouse.x, toMouse.y));
        QVERIFY2(std::fabs(sine) < 1e-6 && velocity.x * toMouse.x + velocity.y * toMouse.y > 0,
                 qPrintable(QString("t %1: off the mouse by %2").arg(t).arg(sine)));
        QVERIFY2(std::fabs(speed - v) < 1e-6 * v, qPrintable(QString("t %1: speed %2").arg(t).arg(speed)));
    }
}

void TestExactChase::undefined_data()
{
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("v");
    QTest::addColumn<double>("t");

    QTest::addRow("dog standing still") << 6.0 << 0.0 << 1.0;
    QTest::addRow("dog running backwards") << 6.0 << -10.0 << 1.0;
    QTest::addRow("before the start") << 6.0 << 10.0 << -0.1;
    QTest::addRow("mouse speed not a number") << none << 10.0 << 1.0;
    QTest::addRow("infinite dog speed") << 6.0 << inf << 1.0;
    QTest::addRow("infinite time") << 6.0 << 10.0 << inf;
    QTest::addRow("position beyond a double") << 1e300 << 1e301 << 1e10;
}

void TestExactChase::undefined()
{
    QFETCH(double, u);
    QFETCH(double, v);
    QFETCH(double, t);
    QVERIFY(!sim::exact::dogAt(u, v, t));
}

void TestExactChase::pathEndsAtTheCatch()
{
    const std::vector<Point> toCatch = sim::exact::dogPath(6, 10, inf, 50);
    QCOMPARE(toCatch.size(), std::size_t(50));
    QCOMPARE(toCatch.front().y, 50.0);
    QCOMPARE(toCatch.back().x, 46.875);
    QCOMPARE(toCatch.back().y, 0.0);
    const std::vector<Point> neverCaught = sim::exact::dogPath(10, 10, 5, 11);
    QCOMPARE(neverCaught.size(), std::size_t(11));
    QCOMPARE(neverCaught[2].x, sim::exact::dogAt(10, 10, 1).value().x);
    QVERIFY(sim::exact::dogPath(10, 10, inf, 11).empty());
    QVERIFY(sim::exact::dogPath(6, 0, 5, 11).empty());
}

QTEST_APPLESS_MAIN(TestExactChase)
#include "tst_exact_chase.moc"
