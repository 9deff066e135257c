#include "help_layout.h"

#include <array>

namespace {

using K = ControlKind;
using F = FontRole;

constexpr QRgb white = 0xFFFFFF;

// In creation order, twips from the client area's top-left corner. The
// close button comes first in the tab order, so it holds the focus when
// the window opens and the space bar closes help at once.
constexpr std::array<ControlSpec, 3> controls = {{
    {"Picture1", K::surface, 120, 480, 9015, 6855, u"", white, true, F::help, 1, u"設問と操作方法"},
    {"Command1", K::button, 8400, 0, 735, 375, u"閉じる", 0, false, F::window, 0},
    {"Line1", K::line, 9120, 360, 120, 360},
}};

} // namespace

std::span<const ControlSpec> helpWindowLayout() { return controls; }
