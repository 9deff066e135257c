#include "exact_chase.h"

#include <cmath>
#include <limits>

namespace sim::exact {
namespace {

constexpr double a = dogStartHeight;
constexpr double infinity = std::numeric_limits<double>::infinity();

// With r = y/a the dog's height and s = ln r, the path and the length run
// are built from (1 − r^e)/e for e = 1 + k and e = 1 − k, k = |u|/v. Written
// as −expm1(e·s)/e it stays accurate as e goes to 0 (k near 1), where it
// tends to −s and the textbook form r^(1−k)/(1−k) loses every digit to
// cancellation against a·k/(1 − k²).
double shortfall(double e, double s)
{
    const double z = e * s;
    if (std::fabs(z) < 1e-8)
        return -s * (1.0 + z * (0.5 + z / 6.0));
    return -std::expm1(z) / e;
}

struct Height {
    double s = 0.0; // ln(y/a), from 0 at the start down towards −∞ at the line
    double k = 0.0;
};

struct Run {
    double length = 0.0; // how far the dog has run when at this height
    double logSlope = 0.0; // d(ln length)/ds
};

// The slope comes from the same two terms, using r^e = 1 − e·(1 − r^e)/e,
// and is divided through term by term so that it stays finite wherever the
// length does (a fast mouse makes r^(1−k) overflow long before the length).
Run runAt(const Height& h)
{
    const double up = 1.0 + h.k;
    const double down = 1.0 - h.k;
    const double fromUp = shortfall(up, h.s);
    const double fromDown = shortfall(down, h.s);
    const double sum = fromUp + fromDown;
    return {a / 2.0 * sum, -(2.0 / sum - up * (fromUp / sum) - down * (fromDown / sum))};
}

// How far the dog is across, for u > 0.
double across(const Height& h)
{
    return a / 2.0 * (shortfall(1.0 - h.k, h.s) - shortfall(1.0 + h.k, h.s));
}

// The s at which the dog has run `length` (> 0), before any catch. The
// length falls as s rises to 0, so a root once bracketed stays bracketed.
// Newton's step is taken while it stays inside the bracket and at least
// halves the step before; otherwise the bracket is halved, or, while no
// point with too long a run is known yet, the search reaches twice as far
// down. Far from the root, where the length grows like an exponential
// (k > 1) or levels off (k < 1), Newton alone would creep.
double heightAfter(double k, double length)
{
    double below = -infinity; // runs longer than `length`
    double above = 0.0;       // runs no longer
    double lastStep = infinity;
    const double logLength = std::log(length);
    Height h{-length / a, k}; // where a dog running straight down would be
    for (int i = 0; i < 400; ++i) {
        const Run run = runAt(h);
        if (run.length > length)
            below = h.s;
        else if (run.length < length)
            above = h.s;
        else
            return h.s;
        // Newton on the logarithm: far down the length grows like an
        // exponential in s, whose logarithm is nearly a straight line.
        double next = h.s - (std::log(run.length) - logLength) / run.logSlope;
        if (std::fabs(next - h.s) <= 1e-13 * std::fabs(h.s))
            return next;
        if (!(next > below && next < above && std::fabs(next - h.s) <= std::fabs(lastStep) / 2.0))
            next = std::isinf(below) ? 2.0 * above - 1.0 : below + (above - below) / 2.0;
        lastStep = next - h.s;
        h.s = next;
    }
    return h.s;
}

bool undefined(double u, double v, double seconds)
{
    return !std::isfinite(u) || !std::isfinite(v) || !std::isfinite(seconds) || v <= 0.0 || seconds < 0.0;
}

} // namespace

std::optional<double> catchTime(double u, double v)
{
    if (undefined(u, v, 0.0) || std::fabs(u) >= v)
        return std::nullopt;
    // a·v / ((v − |u|)(v + |u|)), grouped so that large speeds cannot
    // overflow the squares.
    const double t = a / (v - std::fabs(u)) * (v / (v + std::fabs(u)));
    if (!std::isfinite(t))
        return std::nullopt;
    return t;
}

std::optional<Point> dogAt(double u, double v, double seconds)
{
    if (undefined(u, v, seconds))
        return std::nullopt;
    Point p{0.0, a};
    if (const std::optional<double> caught = catchTime(u, v); caught && seconds >= *caught) {
        p = {u * seconds, 0.0};
    } else if (seconds > 0.0) {
        const double k = std::fabs(u) / v;
        const Height h{heightAfter(k, v * seconds), k};
        p = {std::copysign(across(h), u), a * std::exp(h.s)};
    }
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return std::nullopt;
    return p;
}

std::vector<Point> dogPath(double u, double v, double endSeconds, std::size_t points)
{
    std::vector<Point> path;
    if (points < 2 || std::isnan(endSeconds) || endSeconds < 0.0 || undefined(u, v, 0.0))
        return path;
    double end = endSeconds;
    if (const std::optional<double> caught = catchTime(u, v); caught && *caught < end)
        end = *caught;
    if (std::isinf(end))
        return path;
    path.reserve(points);
    const double last = static_cast<double>(points - 1);
    for (std::size_t i = 0; i < points; ++i) {
        // The last point is the end itself, not the sum of the steps.
        const double t = i + 1 == points ? end : end * (static_cast<double>(i) / last);
        const std::optional<Point> p = dogAt(u, v, t);
        if (!p)
            return {};
        path.push_back(*p);
    }
    return path;
}

double distanceFromShown(const Readouts& shown, Point exact)
{
    return std::hypot(double(shown.dogX) - exact.x, double(shown.dogY) - exact.y);
}

} // namespace sim::exact
