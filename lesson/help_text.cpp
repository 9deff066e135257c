#include "help_text.h"

#include <array>
#include <string_view>

namespace {

struct HelpLine {
    int indent; // leading ideographic spaces
    std::string_view text;
};

// The diagram (lines 9 to 15) lines up under a fixed-width indent: the dog
// above, the mouse below, the bars between them and "５０ｍ" one place
// further left so that it sits across the bars.
constexpr std::array<HelpLine, 21> lines = {{
    {0, ""},
    {1, "【問\u3000\u3000題】"},
    {8, "下図のように、ねずみと犬は最初５０ｍ離れた位置にいます。"},
    {8, "ねずみは、まっすぐに矢印の方向に６ｍ／ｓの速度で逃げます。"},
    {8, "犬は、ねずみに向かってまっすぐに１０ｍ／ｓの速度で追いかけます。"},
    {8, "ねずみを追いかける犬はどんな道筋をたどるのでしょうか。"},
    {8, "また、犬はねずみに何秒後に追いつくのでしょうか。"},
    {0, ""},
    {8, "犬（ねずみに向かって１０ｍ／ｓの速度で追いかける）"},
    {8, "｜"},
    {8, "｜"},
    {7, "５０ｍ"},
    {8, "｜"},
    {8, "｜"},
    {8, "ねずみ→（矢印の方向に６ｍ／ｓの速度で逃げる）"},
    {0, ""},
    {0, ""},
    {1, "【操作方法】"},
    {9, "［次へ］コマンドボタンをクリックするたびに、犬とねずみが動きます。"},
    {9, "［初期化］コマンドボタンをクリックすると、犬とねずみが元の位置に戻ります。"},
    {9, "［単位時間ｈ＝］テキストボックス等の数字を変更できます。"},
}};

constexpr std::string_view ideographicSpace = "\u3000";

} // namespace

std::vector<std::string> helpLines()
{
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const HelpLine& line : lines) {
        std::string text;
        for (int i = 0; i < line.indent; ++i)
            text += ideographicSpace;
        out.push_back(text.append(line.text));
    }
    return out;
}
