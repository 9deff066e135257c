#include "field_chart.h"
#include "surface.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

constexpr QSize interior{645, 389}; // the window's field, less its border
constexpr QRgb white = 0xFFFFFF, black = 0x000000, red = 0xFF0000, blue = 0x0000FF;

// Chart metres to pixels, written out apart from the chart's own mapping.
int px(double x) { return int(std::floor(x * 645.0 / 120.0)); }
int py(double y) { return int(std::floor(y * 389.0 / 70.0)); }

// The window's chart on a retained image of its own.
struct Field {
    Surface surface{interior};
    chart::FieldChart chart{{interior.width(), interior.height()}, 1.0};

    template <typename Drawing> void draw(Drawing drawing)
    {
        Surface::Painting painting(surface, QFont());
        drawing(painting.canvas());
    }
    QRgb at(int x, int y) const { return surface.image().pixel(x, y) & 0xFFFFFF; }
};

sim::Frame frameAt(float mouseX, float dogX, float dogY)
{
    sim::Frame f;
    f.mouseMark = {{mouseX, 60.0f}, {mouseX - 1.0f, 59.0f}};
    f.dogMark = {{dogX, dogY}, {dogX - 1.0f, dogY - 1.0f}};
    return f;
}

} // namespace

class TestFieldChart : public QObject {
    Q_OBJECT
private slots:
    void markIsFiveOrSixPixels_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addRow("start of the mouse") << 10.0f << 60.0f;
        QTest::addRow("odd fraction") << 46.873f << 59.997f;
    }

    void markIsFiveOrSixPixels()
    {
        QFETCH(float, x);
        QFETCH(float, y);
        Field c;
        c.draw([&](chart::Canvas& canvas) { c.chart.drawTrailMark(canvas, {{x, y}, {x - 1, y - 1}}, chart::dogColour); });
        // The mark reaches the animal's own pixel, which a grid line there shares.
        const int right = px(x), bottom = py(y);
        QCOMPARE(c.at(right, bottom), blue);
        int wide = 0, high = 0;
        while (c.at(right - wide, bottom) == blue)
            ++wide;
        while (c.at(right, bottom - high) == blue)
            ++high;
        // Just past its low edges up to and including its high ones: 5 or 6 pixels.
        QCOMPARE(QSize(wide, high), QSize(px(x) - px(x - 1), py(y) - py(y - 1)));
        QCOMPARE(c.at(right + 1, bottom), white);
        QCOMPARE(c.at(right, bottom + 1), white);
    }

    void startMarksLieUnderTheGridStepMarksOver()
    {
        Field c;
        c.draw([&](chart::Canvas& canvas) { c.chart.drawStart(canvas, frameAt(10, 10, 10)); });
        // The start marks, x 9..10, y 59..60 and y 9..10, under the frame's lines.
        QCOMPARE(c.at(px(9.5), py(59.5)), red);
        QCOMPARE(c.at(px(9.5), py(9.5)), blue);
        QCOMPARE(c.at(px(10), py(59.5)), black);
        QCOMPARE(c.at(px(10) - 1, py(59.5)), red);
        QCOMPARE(c.at(px(10), py(10)), black);
        for (int x = 10; x <= 110; x += 10)
            QVERIFY2(c.at(px(x), py(12.5)) == black && c.at(px(x), py(57.5)) == black, qPrintable(QString::number(x)));
        for (int y = 10; y <= 60; y += 10)
            QVERIFY2(c.at(px(12.5), py(y)) == black && c.at(px(107.5), py(y)) == black, qPrintable(QString::number(y)));
        QCOMPARE(c.at(px(15), py(15)), white);
        QCOMPARE(c.at(px(111.5), py(35)), white); // nothing of the grid outside the frame

        // A click's marks on a grid line cover it; the next click's grid runs
        // over the older ones again.
        c.draw([&](chart::Canvas& canvas) { c.chart.drawStep(canvas, frameAt(20.5, 30.5, 30.5)); });
        QCOMPARE(c.at(px(20), py(59.5)), red);
        QCOMPARE(c.at(px(30), py(30)), blue);
        c.draw([&](chart::Canvas& canvas) { c.chart.drawStep(canvas, frameAt(24, 34, 34)); });
        QCOMPARE(c.at(px(20), py(59.5)), black);
        QCOMPARE(c.at(px(30), py(30)), black);
        QCOMPARE(c.at(px(20.2), py(59.5)), red);
    }

    void farCoordinatesDrawNothing()
    {
        constexpr float far = std::numeric_limits<float>::max();
        Field c;
        const QImage blank = c.surface.image();
        for (const sim::ChartPoint p : {sim::ChartPoint{far, 30}, sim::ChartPoint{-far, 30}, sim::ChartPoint{50, far}})
            c.draw([&](chart::Canvas& canvas) { c.chart.drawTrailMark(canvas, {p, {p.x - 1, p.y - 1}}, chart::mouseColour); });
        QVERIFY(c.surface.image() == blank);
    }
};

QTEST_MAIN(TestFieldChart)
#include "tst_field_chart.moc"
