#pragma once

// Where the chase happens. Chart metres cover the field's drawing area:
// x from 0 at the left edge to 120 at the right, y from 0 at the top to 70
// at the bottom, so y grows downwards. The read-outs and the axis labels
// count display metres instead, from the frame's bottom-left corner with y
// upwards.
namespace sim {

struct ChartPoint {
    float x = 0.0f;
    float y = 0.0f;
    bool operator==(const ChartPoint&) const = default;
};

inline constexpr double chartWidth = 120.0;
inline constexpr double chartHeight = 70.0;

// The 100 m × 50 m field inside the chart, outlined and gridded every 10 m.
inline constexpr float frameLeft = 10.0f;
inline constexpr float frameRight = 110.0f;
inline constexpr float frameTop = 10.0f;
inline constexpr float frameBottom = 60.0f;
inline constexpr int gridSpacing = 10;

// The mouse starts at the frame's bottom-left corner and runs along its
// bottom edge; the dog starts 50 m straight above it, at the top-left.
inline constexpr ChartPoint mouseStart{frameLeft, frameBottom};
inline constexpr ChartPoint dogStart{frameLeft, frameTop};

// Display metres from chart metres and back, in double precision.
constexpr double displayX(double chartX) { return chartX - double(frameLeft); }
constexpr double displayY(double chartY) { return double(frameBottom) - chartY; }
constexpr double chartX(double displayX) { return double(frameLeft) + displayX; }
constexpr double chartY(double displayY) { return double(frameBottom) - displayY; }

} // namespace sim
