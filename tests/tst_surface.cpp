#include "field_chart.h"
#include "surface.h"

#include "../ui/twips.h"

#include <QtTest>

#include <limits>

namespace {
QRgb at(const Surface& s, int x, int y) { return s.image().pixel(x, y) & 0xFFFFFF; }

// How far a colour runs from (x, y) in the direction (dx, dy).
int runLength(const Surface& s, int x, int y, int dx, int dy, QRgb colour)
{
    int n = 0;
    for (; s.image().valid(x, y) && at(s, x, y) == colour; x += dx, y += dy)
        ++n;
    return n;
}
} // namespace

class TestSurface : public QObject {
    Q_OBJECT
private slots:
    void chartToPixel_data();
    void chartToPixel();
    void twipsToPixel_data();
    void twipsToPixel();
    void markIsFiveOrSixPixels_data();
    void markIsFiveOrSixPixels();
    void filledBoxTakesEitherCorner();
    void farCoordinatesDrawNothing_data();
    void farCoordinatesDrawNothing();
    void crispAtDoubleDensity();
};

void TestSurface::chartToPixel_data()
{
    QTest::addColumn<QPointF>("chart");
    QTest::addColumn<QPoint>("pixel");
    QTest::addRow("origin") << QPointF(0, 0) << QPoint(0, 0);
    QTest::addRow("frame top-left") << QPointF(10, 10) << QPoint(53, 55);
    QTest::addRow("frame bottom-right") << QPointF(110, 60) << QPoint(591, 333);
    QTest::addRow("mouse marker at start") << QPointF(11, 60) << QPoint(59, 333);
    QTest::addRow("just inside the far corner") << QPointF(119.99, 69.99) << QPoint(644, 388);
    QTest::addRow("negative floors downwards") << QPointF(-0.1, -0.1) << QPoint(-1, -1);
}

void TestSurface::chartToPixel()
{
    QFETCH(QPointF, chart);
    QFETCH(QPoint, pixel);
    const FieldChart field;
    QCOMPARE(QPoint(field.surface().deviceX(chart.x()), field.surface().deviceY(chart.y())), pixel);
    QCOMPARE(FieldChart::markerPixel({float(chart.x()), float(chart.y())}), pixel);
}

void TestSurface::twipsToPixel_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::addRow("one pixel") << 15 << 1;
    QTest::addRow("below half rounds down") << 22 << 1;
    QTest::addRow("half rounds up") << 23 << 2;
    QTest::addRow("client width") << 10215 << 681;
    QTest::addRow("mouse picture") << 555 << 37;
    QTest::addRow("negative mirrors positive") << -23 << -2;
}

void TestSurface::twipsToPixel()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

void TestSurface::markIsFiveOrSixPixels_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addRow("start of the mouse") << 10.0f << 60.0f;
    QTest::addRow("odd fraction") << 46.873f << 59.997f;
    QTest::addRow("past the edge") << 110.2f << 60.0f;
}

void TestSurface::markIsFiveOrSixPixels()
{
    QFETCH(float, x);
    QFETCH(float, y);
    FieldChart chart;
    chart.drawTrailMark({{x, y}, {x - 1, y - 1}}, FieldChart::dogColour);
    const Surface& s = chart.surface();
    const int right = s.deviceX(x);
    const int bottom = s.deviceY(y);
    // The mark reaches the animal's own pixel, which a grid line there shares.
    QCOMPARE(at(s, right, bottom), 0x0000FFu);
    const int wide = runLength(s, right, bottom, -1, 0, 0x0000FF);
    const int high = runLength(s, right, bottom, 0, -1, 0x0000FF);
    QVERIFY2(wide == 5 || wide == 6, qPrintable(QString::number(wide)));
    QVERIFY2(high == 5 || high == 6, qPrintable(QString::number(high)));
    QCOMPARE(at(s, right + 1, bottom), 0xFFFFFFu);
    QCOMPARE(at(s, right, bottom + 1), 0xFFFFFFu);
}

void TestSurface::filledBoxTakesEitherCorner()
{
    FieldChart reference;
    reference.surface().filledBox({49, 29}, {50, 30}, FieldChart::mouseColour);
    for (const auto& [a, b] : {std::pair{QPointF(50, 30), QPointF(49, 29)}, {QPointF(49, 30), QPointF(50, 29)}}) {
        FieldChart chart;
        chart.surface().filledBox(a, b, FieldChart::mouseColour);
        QVERIFY(chart.surface().image() == reference.surface().image());
    }
}

void TestSurface::farCoordinatesDrawNothing_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addRow("largest float") << std::numeric_limits<float>::max() << 30.0f;
    QTest::addRow("most negative float") << std::numeric_limits<float>::lowest() << 30.0f;
    QTest::addRow("far below") << 50.0f << 3.0e38f;
}

void TestSurface::farCoordinatesDrawNothing()
{
    QFETCH(float, x);
    QFETCH(float, y);
    FieldChart chart;
    const QImage blank = chart.surface().image();
    chart.drawTrailMark({{x, y}, {x - 1, y - 1}}, FieldChart::mouseColour);
    chart.surface().line({double(x), double(y)}, {double(x), double(y) + 1}, 0);
    QVERIFY(chart.surface().image() == blank);
}

void TestSurface::crispAtDoubleDensity()
{
    FieldChart chart(2.0);
    const Surface& s = chart.surface();
    QCOMPARE(s.image().size(), QSize(1290, 778));
    chart.drawGrid();
    // A 1-pixel line is two device pixels wide, solid black, no grey edge.
    const int x = s.deviceX(50);
    const int y = s.deviceY(35);
    QCOMPARE(QList<QRgb>({at(s, x - 1, y), at(s, x, y), at(s, x + 1, y), at(s, x + 2, y)}),
             QList<QRgb>({0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF}));
    QCOMPARE(chart.surface().takeDirtyRect(), QRect(0, 0, 645, 389)); // in logical pixels
}

QTEST_MAIN(TestSurface)
#include "tst_surface.moc"
