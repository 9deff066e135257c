#include "lesson.h"

Lesson::Lesson(chart::FieldChart chart)
    : m_chart(chart)
{
}

const sim::Frame& Lesson::start(chart::Canvas& canvas)
{
    m_frames.assign(1, sim::resetToStart(m_state));
    m_chart.drawStart(canvas, m_frames.front());
    return m_frames.front();
}

const sim::Frame& Lesson::startOver(chart::Canvas& canvas)
{
    m_chart.clearChart(canvas);
    return start(canvas);
}

sim::StepOutcome Lesson::next(chart::Canvas& canvas, std::string_view mouseSpeedText, std::string_view dogSpeedText,
                              std::string_view unitTimeText)
{
    const sim::StepOutcome o = sim::step(m_state, mouseSpeedText, dogSpeedText, unitTimeText);
    // The step computes everything before anything is drawn, so a fault
    // leaves the field as the pupil last saw it.
    if (o.fault != sim::Fault::none)
        return o;
    m_chart.drawStep(canvas, o.frame);
    m_frames.push_back(o.frame);
    return o;
}

void Lesson::redraw(chart::Canvas& canvas, const chart::FieldChart& chart)
{
    m_chart = chart;
    m_chart.clearChart(canvas);
    if (m_frames.empty())
        return;
    m_chart.drawStart(canvas, m_frames.front());
    m_chart.drawSteps(canvas, std::span(m_frames).subspan(1));
}
