#pragma once

#include "field_chart.h"
#include "pursuit.h"

#include <span>
#include <string_view>
#include <vector>

// One lesson as a pupil works it: the chase, and the field it draws. The
// window and the page both run their chase through a Lesson and give it
// the canvas to draw on, so a click is computed and drawn once for both.
class Lesson {
public:
    // `chart` decides where and how large the field is drawn.
    explicit Lesson(chart::FieldChart chart);

    const sim::PursuitState& state() const { return m_state; }
    // The start and every click drawn since; empty before start().
    std::span<const sim::Frame> frames() const { return m_frames; }
    const chart::FieldChart& chart() const { return m_chart; }

    // Puts mouse, dog and clock at the start and draws the start picture on
    // a blank `canvas`.
    const sim::Frame& start(chart::Canvas& canvas);
    // Clears the field and starts again (初期化).
    const sim::Frame& startOver(chart::Canvas& canvas);
    // One click of 次へ with the three boxes' texts. A click that faults
    // draws nothing and keeps every frame; the state keeps what was stored
    // before the fault.
    sim::StepOutcome next(chart::Canvas& canvas, std::string_view mouseSpeedText, std::string_view dogSpeedText,
                          std::string_view unitTimeText);
    // Draws the whole chase again through `chart`, which draws every click
    // from now on, onto a `canvas` of its size: for a field that changed its
    // size or its screen's pixel density.
    void redraw(chart::Canvas& canvas, const chart::FieldChart& chart);

private:
    chart::FieldChart m_chart;
    sim::PursuitState m_state;
    std::vector<sim::Frame> m_frames;
};
