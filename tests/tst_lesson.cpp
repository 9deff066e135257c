#include "lesson.h"

#include <QtTest>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using chart::PixelSize;

// The field as whole device pixels of palette colours, and the labels
// written on it, as a retained image keeps them. A new window's image
// starts in the background colour; a canvas that has just changed its
// size holds nothing.
constexpr int nothing = -1;

struct Raster final : chart::Canvas {
    PixelSize size;
    std::vector<int> pixels;
    std::vector<std::string> labels;
    int operations = 0;

    explicit Raster(PixelSize s, int blank = int(chart::background))
        : size(s)
        , pixels(std::size_t(s.width * s.height), blank)
    {
    }
    void fill(chart::PixelRect area, chart::Colour colour) override
    {
        ++operations;
        for (int y = std::max(area.top, 0); y <= std::min(area.bottom, size.height - 1); ++y)
            for (int x = std::max(area.left, 0); x <= std::min(area.right, size.width - 1); ++x)
                pixels[std::size_t(y * size.width + x)] = int(colour);
    }
    void text(int x, int y, std::string_view text, int pixelSize) override
    {
        ++operations;
        labels.push_back(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(pixelSize) + ":"
                         + std::string(text));
    }
    bool operator==(const Raster& o) const { return size == o.size && pixels == o.pixels && labels == o.labels; }
};

// The window's field at a device pixel ratio, or the page's canvas sized
// in device pixels by the page itself.
struct Chart {
    double ratio = 1.0;
    PixelSize device;
    chart::FieldChart make() const
    {
        if (device.width > 0)
            return {{645, 389}, device, std::max(1, device.width / 645)};
        return {{645, 389}, ratio};
    }
};
chart::FieldChart window(double ratio) { return Chart{ratio, {}}.make(); }
Chart windowAt(double ratio) { return {ratio, {}}; }
Chart page(PixelSize device) { return {1.0, device}; }

struct Inputs {
    std::string u, v, h;
};
Inputs inputs(const QByteArray& line)
{
    const QList<QByteArray> in = line.split(' ');
    return {in[0].toStdString(), in[1].toStdString(), in[2].toStdString()};
}

// Starts `lesson` on `raster` and clicks 次へ `clicks` times.
void run(Lesson& lesson, Raster& raster, const Inputs& in, int clicks)
{
    lesson.start(raster);
    for (int i = 0; i < clicks; ++i)
        lesson.next(raster, in.u, in.v, in.h);
}

} // namespace

Q_DECLARE_METATYPE(Chart)

class TestLesson : public QObject {
    Q_OBJECT
private slots:
    void redrawEqualsDrawingAfresh_data()
    {
        QTest::addColumn<QByteArray>("inputs");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<Chart>("fromChart");
        QTest::addColumn<Chart>("toChart");
        QTest::addRow("not started") << QByteArray("6 10 0.1") << -1 << windowAt(1) << windowAt(2);
        QTest::addRow("the start alone") << QByteArray("6 10 0.1") << 0 << windowAt(1) << windowAt(2);
        QTest::addRow("window to a denser screen") << QByteArray("6 10 0.1") << 60 << windowAt(1) << windowAt(2);
        QTest::addRow("window back to ratio 1") << QByteArray("6 10 0.1") << 60 << windowAt(2) << windowAt(1);
        QTest::addRow("window at ratio 1.5") << QByteArray("3 4 0.25") << 40 << windowAt(1) << windowAt(1.5);
        QTest::addRow("marks on the same pixels") << QByteArray("6 10 0.01") << 120 << windowAt(1) << windowAt(2);
        QTest::addRow("page canvas grows") << QByteArray("6 10 0.1") << 78 << page({645, 389}) << page({1290, 778});
        QTest::addRow("page canvas shrinks") << QByteArray("-2 5 0.5") << 20 << page({968, 584}) << page({645, 389});
        QTest::addRow("faults part-way") << QByteArray("0 10 0.1") << 55 << windowAt(1) << windowAt(2);
    }

    void redrawEqualsDrawingAfresh()
    {
        QFETCH(QByteArray, inputs);
        QFETCH(int, clicks);
        QFETCH(Chart, fromChart);
        QFETCH(Chart, toChart);
        const chart::FieldChart from = fromChart.make();
        const chart::FieldChart to = toChart.make();
        const Inputs in = ::inputs(inputs);
        Lesson moved(from);
        Raster before(from.deviceSize());
        if (clicks >= 0)
            run(moved, before, in, clicks);
        Raster after(to.deviceSize(), nothing);
        moved.redraw(after, to);

        Lesson fresh(to);
        Raster freshField(to.deviceSize());
        if (clicks >= 0)
            run(fresh, freshField, in, clicks);
        else
            fresh.redraw(freshField, to);
        QVERIFY(after == freshField);
        // Later clicks are drawn at the new size too.
        moved.next(after, "6", "10", "0.1");
        fresh.next(freshField, "6", "10", "0.1");
        QVERIFY(after == freshField);
    }

    void faultDrawsNothing_data()
    {
        QTest::addColumn<QByteArray>("inputs");
        QTest::addColumn<int>("goodClicks");
        QTest::addColumn<sim::Fault>("fault");
        QTest::addRow("dog lands on mouse") << QByteArray("0 10 0.1") << 50 << sim::Fault::invalid;
        QTest::addRow("dog lands on mouse after its x moved") << QByteArray("10 10 5") << 1 << sim::Fault::invalid;
        QTest::addRow("input too large for a float") << QByteArray("6 1e39 0.1") << 0 << sim::Fault::overflow;
        QTest::addRow("mouse leaves the float range") << QByteArray("3e38 0 3") << 0 << sim::Fault::overflow;
    }

    void faultDrawsNothing()
    {
        QFETCH(QByteArray, inputs);
        QFETCH(int, goodClicks);
        QFETCH(sim::Fault, fault);
        const Inputs in = ::inputs(inputs);
        Lesson lesson(window(1));
        Raster field({645, 389});
        run(lesson, field, in, goodClicks);
        const Raster before = field;
        const std::size_t frames = lesson.frames().size();

        for (int click = 0; click < 2; ++click) {
            const sim::StepOutcome o = lesson.next(field, in.u, in.v, in.h);
            QCOMPARE(o.fault, fault);
            QVERIFY(!o.catchCue);
        }
        QCOMPARE(field.operations, before.operations);
        QVERIFY(field == before);
        QCOMPARE(lesson.frames().size(), frames);
        // What a new size draws holds no trace of the faults either.
        Raster redrawn({645, 389}, nothing);
        lesson.redraw(redrawn, window(1));
        QVERIFY(redrawn.pixels == before.pixels);
    }
};

QTEST_APPLESS_MAIN(TestLesson)
#include "tst_lesson.moc"
