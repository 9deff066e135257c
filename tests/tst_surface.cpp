#include "field_chart.h"
#include "surface.h"

#include "../ui/twips.h"

#include <QtTest>

#include <limits>

namespace {
const QRgb black = 0x000000;
const QRgb white = 0xFFFFFF;
const QRgb red = 0xFF0000;
const QRgb blue = 0x0000FF;

QRgb at(const Surface& s, int x, int y) { return s.image().pixel(x, y) & 0xFFFFFF; }

// Columns and rows of a colour along a line through the image.
int runLength(const Surface& s, int x, int y, int dx, int dy, QRgb colour)
{
    int n = 0;
    while (x >= 0 && y >= 0 && x < s.image().width() && y < s.image().height() && at(s, x, y) == colour) {
        ++n;
        x += dx;
        y += dy;
    }
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
    void palette_data();
    void palette();
    void filledBoxTakesEitherCorner_data();
    void filledBoxTakesEitherCorner();
    void markIsFiveOrSixPixels_data();
    void markIsFiveOrSixPixels();
    void gridRunsOverEarlierMarks();
    void farCoordinatesAreClipped_data();
    void farCoordinatesAreClipped();
    void boxAndLines();
    void printMovesDownALine();
    void clearRemovesEverything();
    void crispAtDoubleDensity();
};

void TestSurface::chartToPixel_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QPoint>("pixel");
    QTest::addRow("origin") << 0.0 << 0.0 << QPoint(0, 0);
    QTest::addRow("frame top-left") << 10.0 << 10.0 << QPoint(53, 55);
    QTest::addRow("frame bottom-right") << 110.0 << 60.0 << QPoint(591, 333);
    QTest::addRow("mouse marker at start") << 11.0 << 60.0 << QPoint(59, 333);
    QTest::addRow("dog marker at start") << 11.0 << 10.0 << QPoint(59, 55);
    QTest::addRow("far corner is the last pixel + 1") << 120.0 << 70.0 << QPoint(645, 389);
    QTest::addRow("just inside the far corner") << 119.99 << 69.99 << QPoint(644, 388);
    QTest::addRow("negative floors downwards") << -0.1 << -0.1 << QPoint(-1, -1);
    QTest::addRow("x-axis label row") << 9.0 << 68.0 << QPoint(48, 377);
}

void TestSurface::chartToPixel()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QPoint, pixel);
    const FieldChart chart;
    QCOMPARE(QPoint(chart.surface().deviceX(x), chart.surface().deviceY(y)), pixel);
    QCOMPARE(FieldChart::markerPixel({float(x), float(y)}), pixel);
}

void TestSurface::twipsToPixel_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::addRow("zero") << 0 << 0;
    QTest::addRow("one pixel") << 15 << 1;
    QTest::addRow("rounds down below half") << 22 << 1;
    QTest::addRow("rounds up at half") << 23 << 2;
    QTest::addRow("client width") << 10215 << 681;
    QTest::addRow("client height") << 9360 << 624;
    QTest::addRow("field width") << 9735 << 649;
    QTest::addRow("mouse picture width") << 555 << 37;
    QTest::addRow("negative mirrors positive") << -23 << -2;
}

void TestSurface::twipsToPixel()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

void TestSurface::palette_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("colour");
    QTest::addRow("0 black") << 0 << QColor(0, 0, 0);
    QTest::addRow("9 bright blue") << 9 << QColor(0, 0, 255);
    QTest::addRow("12 bright red") << 12 << QColor(255, 0, 0);
    QTest::addRow("1 dark blue") << 1 << QColor(0, 0, 128);
    QTest::addRow("4 dark red") << 4 << QColor(128, 0, 0);
    QTest::addRow("15 white") << 15 << QColor(255, 255, 255);
    QTest::addRow("out of range is black") << 99 << QColor(0, 0, 0);
}

void TestSurface::palette()
{
    QFETCH(int, index);
    QFETCH(QColor, colour);
    QCOMPARE(Surface::paletteColour(index), colour);
}

void TestSurface::filledBoxTakesEitherCorner_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addRow("low corner first") << QPointF(49, 29) << QPointF(50, 30);
    QTest::addRow("high corner first") << QPointF(50, 30) << QPointF(49, 29);
    QTest::addRow("mixed corners") << QPointF(49, 30) << QPointF(50, 29);
}

void TestSurface::filledBoxTakesEitherCorner()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    FieldChart reference;
    reference.surface().filledBox({49, 29}, {50, 30}, FieldChart::mouseColour);
    FieldChart chart;
    chart.surface().filledBox(a, b, FieldChart::mouseColour);
    QVERIFY(chart.surface().image() == reference.surface().image());
    QCOMPARE(at(chart.surface(), chart.surface().deviceX(49.5), chart.surface().deviceY(29.5)), red);
}

void TestSurface::markIsFiveOrSixPixels_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addRow("start of the mouse") << 10.0f << 60.0f;
    QTest::addRow("odd fraction") << 46.873f << 59.997f;
    QTest::addRow("whole metres") << 37.0f << 23.0f;
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
    QCOMPARE(at(s, right, bottom), blue); // the mark reaches the animal's own pixel
    const int wide = runLength(s, right, bottom, -1, 0, blue);
    const int high = runLength(s, right, bottom, 0, -1, blue);
    QVERIFY2(wide == 5 || wide == 6, qPrintable(QString::number(wide)));
    QVERIFY2(high == 5 || high == 6, qPrintable(QString::number(high)));
    QCOMPARE(at(s, right + 1, bottom), white);
    QCOMPARE(at(s, right, bottom + 1), white);
}

void TestSurface::gridRunsOverEarlierMarks()
{
    FieldChart chart;
    const sim::TrailMark onCorner{{20, 40}, {19, 39}};
    chart.drawTrailMark(onCorner, FieldChart::mouseColour);
    const Surface& s = chart.surface();
    QCOMPARE(at(s, s.deviceX(20), s.deviceY(39.5)), red);
    chart.drawGrid();
    QCOMPARE(at(s, s.deviceX(20), s.deviceY(39.5)), black);
    QCOMPARE(at(s, s.deviceX(19.5), s.deviceY(40)), black);
    QCOMPARE(at(s, s.deviceX(19.5), s.deviceY(39.5)), red);
    chart.drawTrailMark(onCorner, FieldChart::dogColour);
    QCOMPARE(at(s, s.deviceX(20), s.deviceY(40)), blue); // the newest mark lies over the grid
}

void TestSurface::farCoordinatesAreClipped_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addRow("largest float") << std::numeric_limits<float>::max() << 30.0f;
    QTest::addRow("most negative float") << std::numeric_limits<float>::lowest() << 30.0f;
    QTest::addRow("far below") << 50.0f << 3.0e38f;
    QTest::addRow("just beyond the right edge") << 121.0f << 30.0f;
}

void TestSurface::farCoordinatesAreClipped()
{
    QFETCH(float, x);
    QFETCH(float, y);
    FieldChart chart;
    const QImage blank = chart.surface().image();
    chart.drawTrailMark({{x, y}, {x - 1, y - 1}}, FieldChart::mouseColour);
    chart.surface().line({double(x), double(y)}, {double(x), double(y) + 1}, 0);
    QVERIFY(chart.surface().image() == blank);
}

void TestSurface::boxAndLines()
{
    Surface s(QSize(100, 100), QSizeF(100, 100));
    s.box({80, 80}, {20, 20}, 12);
    QCOMPARE(at(s, 20, 50), red);
    QCOMPARE(at(s, 80, 50), red);
    QCOMPARE(at(s, 50, 20), red);
    QCOMPARE(at(s, 50, 80), red);
    QCOMPARE(at(s, 50, 50), white); // an outline only
    s.line({10, 90}, {90, 10}, 9);
    QCOMPARE(at(s, 50, 50), blue);
    QCOMPARE(at(s, 10, 90), blue);
    QCOMPARE(at(s, 90, 10), blue);
}

void TestSurface::printMovesDownALine()
{
    Surface s(QSize(200, 200), QSizeF(200, 200));
    QFont f;
    f.setPixelSize(14);
    s.setFont(f);
    s.setCurrentX(30);
    s.setCurrentY(40);
    s.print(QStringLiteral("MMMM"));
    QCOMPARE(s.currentX(), 0.0);
    QVERIFY(s.currentY() > 40 + 10 && s.currentY() < 40 + 30);
    const double afterText = s.currentY();
    s.print();
    QCOMPARE(s.currentY(), afterText + s.lineHeight());
    // The text went below and right of the position it was printed at.
    bool ink = false;
    for (int y = 40; y < 60 && !ink; ++y)
        for (int x = 30; x < 80 && !ink; ++x)
            ink = at(s, x, y) != white;
    QVERIFY(ink);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            QCOMPARE(at(s, x, y), white);
}

void TestSurface::clearRemovesEverything()
{
    FieldChart chart;
    const QImage blank = chart.surface().image();
    chart.drawAxisLabels();
    chart.drawGrid();
    chart.drawTrailMark({{50, 50}, {49, 49}}, FieldChart::dogColour);
    QVERIFY(chart.surface().image() != blank);
    chart.surface().setCurrentX(40);
    chart.clearChart();
    QVERIFY(chart.surface().image() == blank);
    QCOMPARE(chart.surface().currentX(), 0.0);
}

void TestSurface::crispAtDoubleDensity()
{
    FieldChart chart(2.0);
    const Surface& s = chart.surface();
    QCOMPARE(s.image().size(), QSize(1290, 778));
    chart.drawGrid();
    chart.drawTrailMark({{30, 30}, {29, 29}}, FieldChart::mouseColour);
    // A 1-pixel line is two device pixels wide, solid black, no grey edge.
    const int x = s.deviceX(50);
    const int y = s.deviceY(35);
    QCOMPARE(at(s, x, y), black);
    QCOMPARE(at(s, x + 1, y), black);
    QCOMPARE(at(s, x - 1, y), white);
    QCOMPARE(at(s, x + 2, y), white);
    const int wide = runLength(s, s.deviceX(29.5), s.deviceY(29.5), 1, 0, red)
                     + runLength(s, s.deviceX(29.5), s.deviceY(29.5), -1, 0, red) - 1;
    QVERIFY2(wide >= 9 && wide <= 12, qPrintable(QString::number(wide)));
    QCOMPARE(chart.surface().takeDirtyRect(), QRect(0, 0, 645, 389));
}

QTEST_MAIN(TestSurface)
#include "tst_surface.moc"
