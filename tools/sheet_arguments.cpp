// torvikan-sheet's command line.

#include "sheet_options.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace sheet {

namespace {

std::optional<Format> formatOf(const QString& file)
{
    const QString name = file.toLower();
    if (name.endsWith(QLatin1String(".pdf")))
        return Format::pdf;
    if (name.endsWith(QLatin1String(".svg")))
        return Format::svg;
    if (name.endsWith(QLatin1String(".png")))
        return Format::png;
    return std::nullopt;
}

} // namespace

Parsed parseArguments(const std::vector<std::string>& args)
{
    Parsed p;
    const std::vector<arguments::Argument> given = arguments::split(args,
        {{"--u", true}, {"--v", true}, {"--h", true}, {"--clicks", true}, {"--every", true}, {"--grid", true},
            {"--exact"}, {"--blank"}},
        p);
    std::optional<std::string> file;
    for (const arguments::Argument& a : given) {
        if (arguments::takeInput(a, p.options, p))
            continue;
        if (a.option == "--exact") {
            p.options.exact = true;
        } else if (a.option == "--blank") {
            p.options.blank = true;
        } else if (a.option == "--clicks" || a.option == "--every") {
            const std::optional<std::uint64_t> n = arguments::count(a, 1, maxClicks, p);
            if (!n)
                return p;
            (a.option == "--clicks" ? p.options.clicks : p.options.every) = int(*n);
        } else if (a.option == "--grid") {
            arguments::Outcome notACount;
            const std::optional<std::uint64_t> metres
                = arguments::count(a, 0, std::numeric_limits<std::uint64_t>::max(), notACount);
            if (!metres || (*metres != 10 && *metres != 5 && *metres != 1)) {
                arguments::fail(p, "--grid には 10、5、1 のどれかを指定してください: " + a.value,
                    "--grid needs 10, 5 or 1: " + a.value);
                return p;
            }
            p.options.grid = int(*metres);
        } else if (file) {
            // Most likely a value whose option was left out, as in "--u 3 8 sheet.pdf".
            arguments::fail(p, "ファイルは 1 つだけ指定してください: " + *file + " と " + a.value,
                "give one file only, not both " + *file + " and " + a.value);
            return p;
        } else {
            file = a.value;
        }
    }
    if (p.action != Action::run)
        return p;
    if (p.options.blank && p.options.exact) {
        arguments::fail(p, "--blank と --exact は一緒に使えません。理論上の値の列が答えになってしまいます",
            "--blank cannot go with --exact: the exact columns would give the answers away");
        return p;
    }
    if (!file) {
        arguments::fail(p, "出力するファイルを指定してください", "no output file given");
        return p;
    }
    p.options.file = QFile::decodeName(QByteArray::fromStdString(*file));
    const std::optional<Format> format = formatOf(p.options.file);
    if (!format) {
        // "記録用紙．ｐｄｆ", typed with the input method still in full width.
        QString halfWidthEnd = p.options.file;
        for (qsizetype i = std::max<qsizetype>(0, halfWidthEnd.size() - 4); i < halfWidthEnd.size(); ++i) {
            const char16_t c = halfWidthEnd[i].unicode();
            if (c >= 0xFF01 && c <= 0xFF5E)
                halfWidthEnd[i] = QChar(c - 0xFF01 + 0x21);
        }
        if (halfWidthEnd != p.options.file && formatOf(halfWidthEnd)) {
            arguments::fail(p, "拡張子は半角で入力してください（" + halfWidthEnd.toStdString() + " のように）: " + *file,
                "type the file name's suffix in half-width letters, as in " + halfWidthEnd.toStdString() + ": " + *file);
            return p;
        }
        arguments::fail(p, "ファイル名は .pdf、.svg、.png のどれかで終えてください: " + *file,
            "the file name must end in .pdf, .svg or .png: " + *file);
        return p;
    }
    p.options.format = *format;
    return p;
}

std::string usage()
{
    return "使い方: torvikan-sheet [--u 文字列] [--v 文字列] [--h 文字列] [--clicks N] [--every M]\n"
           "                      [--grid G] [--exact | --blank] [--] ファイル\n"
           "       torvikan-sheet --help\n"
           "  犬とねずみの追いかけっこの記録用紙（A4 縦）を作ります。形式はファイル名の拡張子\n"
           "  で決まります: .pdf（ベクター、日本語フォント埋め込み）、.svg、.png（150 dpi）。\n"
           "  表が 1 ページに収まらないとき、PDF は次のページに続き、SVG と PNG は 1 ページ目\n"
           "  だけを書きます。\n"
           "  図は画面と同じ方眼・目盛り・ねずみと犬の跡・犬とねずみの絵、表は\n"
           "  torvikan-table と同じ数字です。\n"
           "  既定値: --u 6  --v 10  --h 0.1  --grid 10\n"
           "  --u 文字列   ねずみの速度ｕ（m/秒）。\n"
           "  --v 文字列   犬の速度ｖ（m/秒）。\n"
           "  --h 文字列   単位時間ｈ（秒）。\n"
           "               入力欄と同じように読み取ります（全角数字も可）。数だけでない文字列\n"
           "               （1/10、0,1、空欄など）は先頭の数（なければ 0）として読み、標準エラー\n"
           "               に警告し、用紙には読み取った値も書きます。\n"
           "  --clicks N   「次へ」を N 回（1〜100000）押したところまで。既定では、追いついた\n"
           "               音が初めて鳴るクリックまで（1 回目から鳴るときは理論上追いつく時刻\n"
           "               まで）、または、ねずみが右端を越える、何も変わらなくなる、計算でき\n"
           "               ないクリックまで（最大 100000 回）。\n"
           "  --every M    表に M クリックごとの表示を載せます（1〜100000）。0 回目、音が初めて\n"
           "               鳴ったクリック、最後のクリックは必ず載せます。長い表は次のページに\n"
           "               続きます。既定の M はクリックの数から決めます。\n"
           "               --blank の既定は 5 クリックごとに 0〜75 回（1 ページ）です。\n"
           "  --grid G     用紙の図の方眼の間隔（m）: 10（画面と同じ）、5、1。\n"
           "  --exact      理論上の（なめらかな）追いかけっこの犬の道すじを描き、表に理論上の\n"
           "               犬の位置ｘ・ｙと画面の犬とのずれを加え、理論上追いつく時刻を書きます。\n"
           "  --blank      児童・生徒用: 方眼と目盛りだけの図と、クリック番号だけの空欄の表。\n"
           "               --exact とは使えません（答えがわかってしまうため）。\n"
           "  --help       この説明を表示して終了します。\n"
           "  値をとるオプションは --u=8 のようにも書けます。「-」で始まるファイル名は -- の\n"
           "  後に書きます。\n"
           "  終了コード: 0 書き出した、1 書き込めなかった、2 引数の誤り（理由は標準エラーに）。\n"
           "  書き込めなかったときは、書きかけのファイルを残さず、前からあるファイルもそのまま\n"
           "  です。ふつうのファイルでないもの（デバイス、パイプなど）には書きません（1）。\n"
           "\n"
           "Usage: torvikan-sheet [--u TEXT] [--v TEXT] [--h TEXT] [--clicks N] [--every M]\n"
           "                      [--grid G] [--exact | --blank] [--] FILE\n"
           "       torvikan-sheet --help\n"
           "  Writes an A4 worksheet of the chase. The file name's extension chooses\n"
           "  the format: .pdf (vector, Japanese font embedded), .svg, or .png (150 dpi).\n"
           "  A table longer than a page continues on further pages in a PDF; an SVG or\n"
           "  PNG holds page 1 only.\n"
           "  The field is the window's: grid, axis labels, the mouse's and the dog's\n"
           "  trails and the two pictures; the table holds the numbers torvikan-table\n"
           "  prints.\n"
           "  Defaults: --u 6  --v 10  --h 0.1  --grid 10\n"
           "  --u TEXT     the mouse speed u, in m/s.\n"
           "  --v TEXT     the dog speed v, in m/s.\n"
           "  --h TEXT     the unit time h, in seconds.\n"
           "               Read as the input boxes read them (full-width digits too). A\n"
           "               text that is not a number alone (1/10, 0,1, empty...) reads as\n"
           "               the number it begins with, or 0, with a warning on standard\n"
           "               error, and the sheet prints the value read beside it.\n"
           "  --clicks N   draw N clicks on 次へ (1 to 100000). By default: up to the\n"
           "               first click with the catch cue (to the exact catch time where\n"
           "               the cue sounds from the first click), or until the mouse leaves\n"
           "               the field, nothing changes any more or a click cannot be\n"
           "               finished, at most 100000 clicks.\n"
           "  --every M    list every M-th click in the table (1 to 100000); click 0, the\n"
           "               first click with the cue and the last click are always listed.\n"
           "               A long table continues on further pages. By default M is\n"
           "               chosen from the number of clicks; with --blank, every 5th of\n"
           "               clicks 0 to 75 (one page).\n"
           "  --grid G     metres between the grid lines of the sheet's field: 10 (the\n"
           "               window's), 5 or 1.\n"
           "  --exact      draw the dog's path in the exact (continuous) chase, add the\n"
           "               exact dog's x and y and its distance from the window's dog to\n"
           "               the table, and give the exact catch time.\n"
           "  --blank      the pupils' version: the field with its grid and labels only,\n"
           "               and a table of click numbers with empty cells. Not with --exact,\n"
           "               which would give the answers away.\n"
           "  --help       print this text and exit.\n"
           "  An option's value may also follow an equals sign: --u=8. A file name\n"
           "  starting with \"-\" goes after --.\n"
           "  Exit status: 0 written, 1 the file could not be written, 2 bad arguments\n"
           "  (the reason goes to standard error). A sheet that cannot be written in\n"
           "  full leaves no file behind and an older file as it was. A target that\n"
           "  is not a regular file (a device, a pipe) is never written (status 1).\n";
}

} // namespace sheet
