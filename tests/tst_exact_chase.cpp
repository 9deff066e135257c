#include "exact_chase.h"

#include <QtTest>

using sim::exact::Point;

namespace {

// The chase's own law, which has no closed form: the dog runs at v straight
// at the mouse. Classic Runge–Kutta from the start, `steps` steps of `dt`.
Point integrate(double u, double v, double dt, int steps)
{
    Point p{0.0, sim::exact::dogStartHeight};
    const auto f = [&](double t, Point k, double h) { // the velocity at p + h·k
        const double dx = u * t - p.x - h * k.x, dy = -p.y - h * k.y;
        return Point{v * dx / std::hypot(dx, dy), v * dy / std::hypot(dx, dy)};
    };
    for (double t = 0.0; steps-- > 0; t += dt) {
        const Point k1 = f(t, {}, 0), k2 = f(t + dt / 2, k1, dt / 2), k3 = f(t + dt / 2, k2, dt / 2),
                    k4 = f(t + dt, k3, dt);
        p = {p.x + dt / 6 * (k1.x + 2 * k2.x + 2 * k3.x + k4.x), p.y + dt / 6 * (k1.y + 2 * k2.y + 2 * k3.y + k4.y)};
    }
    return p;
}

// Before the catch each position is also the law's, integrated in fine steps. x NaN: no
// position; x infinite: no other value known; catchTime NaN: the dog never catches the mouse.
struct Row {
    double u, v, t, x, y, tolerance, catchTime;
};

} // namespace

class TestExactChase : public QObject {
    Q_OBJECT
private slots:
    void dogAt_data()
    {
        QTest::addColumn<Row>("row");
        QTest::addRow("defaults at 4 s") << Row{6, 10, 4, 12.3214, 12.8888, 5e-5, 7.8125};
        QTest::addRow("defaults, near the catch") << Row{6, 10, 7.6, qInf(), 0, 0, 7.8125};
        QTest::addRow("after the catch, with the mouse") << Row{6, 10, 10, 60, 0, 1e-9, 7.8125};
        QTest::addRow("mouse to the left mirrors") << Row{-6, 10, 4, -12.3214, 12.8888, 5e-5, 7.8125};
        // k = 1/2 at y = a/4, where both powers of y/a are whole fractions.
        QTest::addRow("half speed at a quarter height")
            << Row{5, 10, 95.0 / 24, 125.0 / 12, 12.5, 1e-9, 50.0 * 10 / 75};
        // k = 1 at y = a/e: x = (a/2)(1 − e⁻²)/2, run (a/2)(3 − e⁻²)/2.
        QTest::addRow("equal speeds") << Row{
            10, 10, 3.5808308959542337, 14.19169104045766, 18.393972058572118, 1e-9, qQNaN()};
        QTest::addRow("k a hair below 1") << Row{10 - 0x1p-36, 10, 30, qInf(), 0, 0, 500 / (0x1p-36 * (20 - 0x1p-36))};
        QTest::addRow("k a hair above 1") << Row{10 * (1 + 1e-9), 10, 30, qInf(), 0, 0, qQNaN()};
        QTest::addRow("mouse twice as fast") << Row{20, 10, 30, qInf(), 0, 0, qQNaN()};
        QTest::addRow("mouse twice as fast, to the left") << Row{-20, 10, 30, qInf(), 0, 0, qQNaN()};
        QTest::addRow("dog standing still") << Row{6, 0, 1, qQNaN(), 0, 0, qQNaN()};
        QTest::addRow("dog running backwards") << Row{6, -10, 1, qQNaN(), 0, 0, qQNaN()};
        QTest::addRow("before the start") << Row{6, 10, -0.1, qQNaN(), 0, 0, 7.8125};
        QTest::addRow("mouse speed not a number") << Row{qQNaN(), 10, 1, qQNaN(), 0, 0, qQNaN()};
        QTest::addRow("position beyond a double") << Row{1e300, 1e301, 1e10, qQNaN(), 0, 0, 50 / 0.99e301};
    }

    void dogAt()
    {
        QFETCH(Row, row);
        QCOMPARE(sim::exact::catchTime(row.u, row.v).value_or(qQNaN()), row.catchTime);
        const std::optional<Point> p = sim::exact::dogAt(row.u, row.v, row.t);
        QCOMPARE(p.has_value(), !std::isnan(row.x));
        if (!p)
            return;
        const Point law
            = row.t < row.catchTime || std::isnan(row.catchTime) ? integrate(row.u, row.v, row.t / 200000, 200000) : *p;
        QVERIFY2(std::hypot(p->x - law.x, p->y - law.y) < 1e-6
                && (std::isinf(row.x) || std::hypot(p->x - row.x, p->y - row.y) <= row.tolerance),
            qPrintable(QString("(%1, %2), the law's (%3, %4)")
                           .arg(p->x, 0, 'g', 17)
                           .arg(p->y, 0, 'g', 17)
                           .arg(law.x)
                           .arg(law.y)));
    }

    void pathEndsAtTheCatch()
    {
        const std::vector<Point> toCatch = sim::exact::dogPath(6, 10, qInf(), 50),
                                 toFive = sim::exact::dogPath(10, 10, 5, 11);
        QVERIFY(
            toCatch.size() == 50 && toCatch.front().y == 50.0 && toCatch.back().x == 46.875 && toCatch.back().y == 0.0);
        QVERIFY(toFive.size() == 11 && toFive[2].x == sim::exact::dogAt(10, 10, 1).value().x);
        QVERIFY(sim::exact::dogPath(10, 10, qInf(), 11).empty() && sim::exact::dogPath(6, 0, 5, 11).empty());
    }
};

QTEST_APPLESS_MAIN(TestExactChase)
#include "tst_exact_chase.moc"
