#include "help_text.h"

#include <array>

namespace {

struct HelpLine {
    int indent; // leading ideographic spaces (U+3000)
    const char16_t* text;
};

// The diagram (lines 9 to 15) lines up under a fixed-width indent: the dog
// above, the mouse below, the bars between them and "５０ｍ" one place
// further left so that it sits across the bars.
constexpr std::array<HelpLine, 21> lines = {{
    {0, u""},
    {1, u"【問\u3000\u3000題】"},
    {8, u"下図のように、ねずみと犬は最初５０ｍ離れた位置にいます。"},
    {8, u"ねずみは、まっすぐに矢印の方向に６ｍ／ｓの速度で逃げます。"},
    {8, u"犬は、ねずみに向かってまっすぐに１０ｍ／ｓの速度で追いかけます。"},
    {8, u"ねずみを追いかける犬はどんな道筋をたどるのでしょうか。"},
    {8, u"また、犬はねずみに何秒後に追いつくのでしょうか。"},
    {0, u""},
    {8, u"犬（ねずみに向かって１０ｍ／ｓの速度で追いかける）"},
    {8, u"｜"},
    {8, u"｜"},
    {7, u"５０ｍ"},
    {8, u"｜"},
    {8, u"｜"},
    {8, u"ねずみ→（矢印の方向に６ｍ／ｓの速度で逃げる）"},
    {0, u""},
    {0, u""},
    {1, u"【操作方法】"},
    {9, u"［次へ］コマンドボタンをクリックするたびに、犬とねずみが動きます。"},
    {9, u"［初期化］コマンドボタンをクリックすると、犬とねずみが元の位置に戻ります。"},
    {9, u"［単位時間ｈ＝］テキストボックス等の数字を変更できます。"},
}};

} // namespace

QStringList helpLines()
{
    QStringList out;
    out.reserve(int(lines.size()));
    for (const HelpLine& line : lines)
        out << QString(line.indent, QChar(0x3000)) + QString::fromUtf16(line.text);
    return out;
}
