#include "main_layout.h"

#include <array>

namespace {

using K = ControlKind;
using F = FontRole;

constexpr QRgb red = 0xFF0000;
constexpr QRgb blue = 0x0000FF;
constexpr QRgb white = 0xFFFFFF;
constexpr QRgb green = 0x008000;
constexpr QRgb lightGreen = 0xC0FFC0;

// In creation order. Left, top, width and height in twips; the pictures
// measured from the field's interior. The hidden sound player is no
// control here: the program keeps one for all its windows.
constexpr std::array<ControlSpec, 32> controls = {{
    {"Command2", K::button, 0, 0, 855, 375, u"終了", 0, false, F::window, 12},
    {"Label12", K::heading, 2880, 0, 4575, 375, u"T o r v i k a n", lightGreen, true, F::heading, 31},
    {"Command4", K::button, 8520, 0, 855, 375, u"HELP", 0, false, F::window, 30},
    {"Command3", K::button, 9360, 0, 855, 375, u"初期化", 0, false, F::window, 29},
    {"Line1", K::line, 0, 360, 10200, 360},
    {"Picture6", K::pictureBox, 480, 720, 255, 255, u"", red, true, F::window, 22, u"ねずみの色"},
    {"Label9", K::label, 840, 720, 1935, 255, u"ねずみの位置ｘ＝", 0, false, F::label, 21},
    {"Text4", K::textBox, 2880, 600, 1215, 495, u"", 0, false, F::textBox, 13, u"ねずみの位置ｘ＝"},
    {"Picture4", K::pictureBox, 4440, 720, 255, 255, u"", blue, true, F::window, 18, u"犬の色"},
    {"Label8", K::label, 4800, 720, 1455, 255, u"犬の位置ｘ＝", 0, false, F::label, 14},
    {"Text6", K::textBox, 6360, 600, 1215, 495, u"", 0, false, F::textBox, 20, u"犬の位置ｘ＝"},
    {"Picture5", K::pictureBox, 480, 1320, 255, 255, u"", red, true, F::window, 19, u"ねずみの色"},
    {"Label7", K::label, 840, 1320, 1935, 255, u"ねずみの位置ｙ＝", 0, false, F::label, 16},
    {"Text5", K::textBox, 2880, 1200, 1215, 495, u"", 0, false, F::textBox, 15, u"ねずみの位置ｙ＝"},
    {"Picture7", K::pictureBox, 4440, 1320, 255, 255, u"", blue, true, F::window, 25, u"犬の色"},
    {"Label10", K::label, 4800, 1320, 1455, 255, u"犬の位置ｙ＝", 0, false, F::label, 24},
    {"Text7", K::textBox, 6360, 1200, 1215, 495, u"", 0, false, F::textBox, 23, u"犬の位置ｙ＝"},
    {"Text8", K::textBox, 7920, 1200, 1215, 495, u"", 0, false, F::textBox, 26, u"秒経過"},
    {"Label11", K::label, 9240, 1320, 855, 255, u"秒経過", 0, false, F::label, 27},
    {"Picture1", K::surface, 240, 1920, 9735, 5895, u"", white, true, F::window, 0, u"フィールド"},
    {"Picture3", K::picture, 960, 840, 570, 570, u":/pictures/dog.png", green, true, F::window, 17, u"犬",
     "Picture1"},
    {"Picture2", K::picture, 480, 5880, 555, 570, u":/pictures/mouse.png", green, true, F::window, 10, u"ねずみ",
     "Picture1"},
    {"Label1", K::label, 960, 8160, 1935, 255, u"ネズミの速度ｕ＝", 0, false, F::label, 1},
    {"Text1", K::textBox, 3000, 8040, 735, 495, u"6", 0, false, F::textBox, 2, u"ネズミの速度ｕ＝"},
    {"Label2", K::label, 3840, 8160, 855, 255, u"ｍ／秒", 0, false, F::label, 3},
    {"Label3", K::label, 1320, 8760, 1455, 255, u"犬の速度ｖ＝", 0, false, F::label, 4},
    {"Text2", K::textBox, 3000, 8640, 735, 495, u"10", 0, false, F::textBox, 5, u"犬の速度ｖ＝"},
    {"Label4", K::label, 3840, 8760, 855, 255, u"ｍ／秒", 0, false, F::label, 6},
    {"Label5", K::label, 6000, 8160, 1455, 255, u"単位時間h＝", 0, false, F::label, 7},
    {"Text3", K::textBox, 7560, 8040, 1215, 495, u"0.1", 0, false, F::textBox, 8, u"単位時間h＝"},
    {"Label6", K::label, 8880, 8160, 375, 255, u"秒", 0, false, F::label, 9},
    {"Command1", K::button, 6000, 8760, 3375, 375, u"次へ", 0, false, F::window, 11},
}};

} // namespace

std::span<const ControlSpec> mainWindowLayout() { return controls; }
