// torvikan-sheet's command line.

#include "sheet_options.h"

#include "arguments.h"

#include <QFile>

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
    const auto fail = [&p](const std::string& japanese, const std::string& english) {
        p.action = Action::error;
        p.error = japanese + " / " + english;
        return p;
    };
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            p.action = Action::help;
            return p;
        }
        if (a == "--exact") {
            p.options.exact = true;
            continue;
        }
        if (a == "--blank") {
            p.options.blank = true;
            continue;
        }
        if (a.empty() || a[0] != '-') {
            if (haveFile)
                return fail("ファイルは 1 つだけ指定してください: " + a, "give one file only: " + a);
            haveFile = true;
            p.options.file = QFile::decodeName(QByteArray::fromStdString(a));
            continue;
        }
        if (a != "--u" && a != "--v" && a != "--h" && a != "--clicks" && a != "--every")
            return fail("不明なオプション: " + a, "unknown option: " + a);
        if (i + 1 == args.size())
            return fail(a + " の値がありません", a + " needs a value");
        const std::string& value = args[++i];
        if (a == "--u") {
            p.options.mouseSpeed = value;
        } else if (a == "--v") {
            p.options.dogSpeed = value;
        } else if (a == "--h") {
            p.options.unitTime = value;
        } else {
            const std::optional<std::uint64_t> n = wholeNumber(value, 1, maxClicks);
            const std::string range = "1〜" + std::to_string(maxClicks);
            if (!n)
                return fail(a + " には " + range + " の整数を指定してください: " + value,
                            a + " needs a whole number from 1 to " + std::to_string(maxClicks) + ": " + value);
            (a == "--clicks" ? p.options.clicks : p.options.every) = int(*n);
        }
    }
    if (!haveFile)
        return fail("出力するファイルを指定してください", "no output file given");
    const std::optional<Format> format = formatOf(p.options.file);
    if (!format)
        return fail("ファイル名は .pdf、.svg、.png のどれかで終えてください: " + p.options.file.toStdString(),
                    "the file name must end in .pdf, .svg or .png: " + p.options.file.toStdString());
    p.options.format = *format;
    return p;
}

std::string usage()
{
    return "使い方: torvikan-sheet [--u 文字列] [--v 文字列] [--h 文字列] [--clicks N] [--every M]\n"
           "                      [--exact] [--blank] ファイル\n"
           "  犬とねずみの追いかけっこの記録用紙（A4 縦 1 ページ）を作ります。形式はファイル名\n"
           "  の拡張子で決まります: .pdf（ベクター、日本語フォント埋め込み）、.svg、.png（150 dpi）。\n"
           "  図は画面と同じ方眼・目盛り・赤（ねずみ）と青（犬）の跡・犬とねずみの絵、表は\n"
           "  torvikan-table と同じ数字です。ねずみの速度ｕ、犬の速度ｖ、単位時間ｈは入力欄と\n"
           "  同じように読み取ります。既定値: --u 6  --v 10  --h 0.1。\n"
           "  --clicks N  「次へ」を N 回（1〜100000）押したところまで。既定では、追いついた\n"
           "              音が初めて鳴るクリックまで（鳴らなければ、ねずみが右端に着くか、\n"
           "              計算できないクリックまで。最大 200 回）。\n"
           "  --every M   表に M クリックごとの表示を載せます（1〜100000。0 回目と最後の\n"
           "              クリックは必ず載せます）。既定では表が 1 ページに収まる最小の M。\n"
           "  --exact     厳密な（連続の）追いかけっこの犬の道すじを緑の破線で描き、表に\n"
           "              厳密な犬の位置ｘ・ｙと画面の犬とのずれを加え、厳密に追いつく時刻を\n"
           "              書きます。\n"
           "  --blank     児童・生徒用: 方眼と目盛りだけの図と、クリック番号だけの空欄の表。\n"
           "  -h, --help  この説明を表示して終了します。\n"
           "  終了コード: 0 書き出した、1 書き込めなかった、2 引数の誤り。書き込めなかった\n"
           "  ときは、書きかけのファイルを残しません。\n"
           "\n"
           "Usage: torvikan-sheet [--u TEXT] [--v TEXT] [--h TEXT] [--clicks N] [--every M]\n"
           "                      [--exact] [--blank] FILE\n"
           "  Writes a one-page A4 worksheet of the chase. The file name's extension\n"
           "  chooses the format: .pdf (vector, Japanese font embedded), .svg, or .png\n"
           "  (150 dpi). The field is the window's: grid, axis labels, the red (mouse)\n"
           "  and blue (dog) trails and the two pictures; the table holds the numbers\n"
           "  torvikan-table prints. The mouse speed u, the dog speed v and the unit\n"
           "  time h are read as the input boxes read them.\n"
           "  Defaults: --u 6  --v 10  --h 0.1.\n"
           "  --clicks N  draw N clicks on 次へ (1 to 100000). By default: up to and\n"
           "              including the first click with the catch cue, else until the\n"
           "              mouse reaches the field's right edge or a click cannot be\n"
           "              finished, at most 200.\n"
           "  --every M   list every M-th click in the table (1 to 100000); click 0 and\n"
           "              the last click are always listed. By default the smallest M\n"
           "              whose table fits the page.\n"
           "  --exact     draw the dog's path in the exact (continuous) chase as a green\n"
           "              dashed line, add the exact dog's x and y and its distance from\n"
           "              the window's dog to the table, and give the exact catch time.\n"
           "  --blank     the pupils' version: the field with its grid and labels only,\n"
           "              and a table of click numbers with empty cells.\n"
           "  -h, --help  print this text and exit.\n"
           "  Exit status: 0 written, 1 the file could not be written, 2 bad arguments.\n"
           "  A sheet that cannot be written in full leaves no file behind.\n";
}

} // namespace sheet
