#include "table.h"

#include <limits>
#include <optional>

namespace table {

Parsed parseArguments(const std::vector<std::string>& args)
{
    Parsed p;
    const std::vector<arguments::Argument> given = arguments::split(args,
        {{"--u", true}, {"--v", true}, {"--h", true}, {"--steps", true}, {"--converge", true}, {"--csv"}, {"--exact"}},
        p);
    for (const arguments::Argument& a : given) {
        if (arguments::takeInput(a, p.options, p))
            continue;
        if (a.option == "--csv") {
            p.options.csv = true;
        } else if (a.option == "--exact") {
            p.options.exact = true;
        } else if (a.option == "--steps") {
            const std::optional<std::uint64_t> steps
                = arguments::count(a, 0, std::numeric_limits<std::uint64_t>::max(), p);
            if (!steps)
                return p;
            p.options.steps = *steps;
        } else if (a.option == "--converge") {
            const std::optional<std::uint64_t> rows = arguments::count(a, 1, maxConvergeRows, p);
            if (!rows)
                return p;
            p.options.converge = int(*rows);
        } else {
            arguments::fail(p, "余分な引数: " + a.value + "（表は標準出力に書きます。ファイルには > で）",
                "unexpected argument: " + a.value + " (the table goes to standard output; use > for a file)");
            return p;
        }
    }
    return p;
}

std::string usage()
{
    return "使い方: torvikan-table [--u 文字列] [--v 文字列] [--h 文字列] [--steps N] [--csv] [--exact]\n"
           "       torvikan-table [--u 文字列] [--v 文字列] [--h 文字列] [--csv] --converge K\n"
           "       torvikan-table --help\n"
           "  ねずみの速度ｕ、犬の速度ｖ、単位時間ｈを入力欄と同じように読み取り、「次へ」を\n"
           "  押すごとの表示を 1 行ずつ、タブ区切りで出力します（0 行目は初期位置）。\n"
           "  列: クリック、ねずみの位置ｘ・ｙ、犬の位置ｘ・ｙ、秒経過、追いついた音（1 か 0）、\n"
           "  そのクリックを止めたエラー（invalid、divzero、overflow）または空欄。\n"
           "  既定値: --u 6  --v 10  --h 0.1\n"
           "  --u 文字列    ねずみの速度ｕ（m/秒）。\n"
           "  --v 文字列    犬の速度ｖ（m/秒）。\n"
           "  --h 文字列    単位時間ｈ（秒）。\n"
           "                全角数字も読みます。数だけでない文字列（1/10、0,1、空欄など）は入力欄\n"
           "                と同じく先頭の数（なければ 0）として読み、標準エラーに警告します。\n"
           "  --steps N     「次へ」を押す回数（0 以上の整数。全角数字も可）。指定しないときは\n"
           "                記録用紙と同じく、追いついた音が初めて鳴る、ねずみが方眼の外に出る、\n"
           "                計算できなくなる、何も動かなくなるなど、記録が終わるクリックまでで、\n"
           "                最後の行に「# 」に続けて、記録がそこで終わる理由を書きます（--csv\n"
           "                では CSV に入れず、標準エラーに書きます）。\n"
           "  --csv         表計算ソフト用の CSV: UTF-8（BOM 付き）、CRLF 改行、カンマ区切り。\n"
           "  --exact       各行の秒経過での理論上の（連続の）追いかけっこの犬の位置ｘ・ｙと、\n"
           "                画面の犬とのずれ（距離）の 3 列を加えます。ｖが 0 以下、秒が負の\n"
           "                ときは空欄です。\n"
           "  --converge K  クリックの表の代わりに、ｈ、ｈ/2、…、ｈ/2^(K-1)（K は 1〜30）\n"
           "                ごとに 1 行: ｈ、初めて音が鳴ったクリックとそのときの秒経過、理論上\n"
           "                追いつく秒、画面の犬と理論上の犬との最大のずれ、前の行のずれ÷この行の\n"
           "                ずれ（1 次の方法なら約 2）、備考。ずれは理論上追いつく秒までのクリック\n"
           "                で比べます（音がそれより後なら音まで、ねずみが先に右端に着けばそこ\n"
           "                まで）。単精度の丸めがずれを上回った行より後と、クリックが合わせて\n"
           "                500,000 回を超える行は計算せず、備考に理由を書きます。--steps と\n"
           "                --exact は使いません。\n"
           "  --help        この説明を表示して終了します。\n"
           "  値をとるオプションは --u=8 のようにも書けます。\n"
           "  終了コード: 0 出力した、1 書き込めなかった、2 引数の誤り（理由は標準エラーに）。\n"
           "\n"
           "Usage: torvikan-table [--u TEXT] [--v TEXT] [--h TEXT] [--steps N] [--csv] [--exact]\n"
           "       torvikan-table [--u TEXT] [--v TEXT] [--h TEXT] [--csv] --converge K\n"
           "       torvikan-table --help\n"
           "  Reads the mouse speed u, the dog speed v and the unit time h as the\n"
           "  input boxes read them, and prints what the window shows after each\n"
           "  click on 次へ (row 0 is the start position), tab-separated.\n"
           "  Columns: click, mouse x, mouse y, dog x, dog y, seconds, catch cue (1/0),\n"
           "  fault that ended the click (invalid, divzero, overflow) or empty.\n"
           "  Defaults: --u 6  --v 10  --h 0.1\n"
           "  --u TEXT      the mouse speed u, in m/s.\n"
           "  --v TEXT      the dog speed v, in m/s.\n"
           "  --h TEXT      the unit time h, in seconds.\n"
           "                Full-width digits are read too. A text that is not a number\n"
           "                alone (1/10, 0,1, empty...) reads as the number it begins with,\n"
           "                or 0, as in the input boxes, with a warning on standard error.\n"
           "  --steps N     how many clicks on 次へ (a whole number of 0 or more; full-\n"
           "                width digits too). Without it, as many as the worksheet's\n"
           "                record holds: up to the first catch cue, the mouse leaving the\n"
           "                field, a click that cannot be finished or nothing moving any\n"
           "                more; a last line after \"# \" says why the record ends there\n"
           "                (with --csv it goes to standard error, not into the CSV).\n"
           "  --csv         CSV for a spreadsheet: UTF-8 with a byte order mark, CRLF line\n"
           "                ends, commas between the columns.\n"
           "  --exact       adds three columns: the dog of the exact (continuous) chase at\n"
           "                the row's seconds, x and y, and its distance from the window's\n"
           "                dog; empty when v is 0 or less or the seconds are negative.\n"
           "  --converge K  instead of the clicks, one row for each of h, h/2, ...,\n"
           "                h/2^(K-1) (K from 1 to 30): h, the first click with the catch\n"
           "                cue and its seconds, the exact catch time, the largest distance\n"
           "                between the window's dog and the exact one, the previous row's\n"
           "                largest distance divided by this row's (about 2 for a first-\n"
           "                order method), and a note. The dogs are compared over the clicks\n"
           "                up to the exact catch time (on to the cue if that comes later;\n"
           "                up to the field's right edge if the mouse gets there first).\n"
           "                Rows after the one where single precision's rounding outweighs\n"
           "                the distance, and rows that would take the clicks past 500,000\n"
           "                in all, are not run; their note says why. --steps and --exact\n"
           "                do not apply.\n"
           "  --help        print this text and exit.\n"
           "  An option's value may also follow an equals sign: --u=8.\n"
           "  Exit status: 0 printed, 1 could not be written in full, 2 bad arguments\n"
           "  (the reason goes to standard error).\n";
}

} // namespace table
