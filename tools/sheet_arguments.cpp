// torvikan-sheet's command line.

#include "sheet_options.h"

#include <QFile>

#include <algorithm>

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
    const tool_options::Tool& tool = tool_options::sheet();
    const std::vector<arguments::Argument> given = arguments::split(args, tool, p);
    std::optional<std::string> file;
    for (const arguments::Argument& a : given) {
        if (arguments::takeInput(a, p.options, p))
            continue;
        if (a.option == "--exact") {
            p.options.exact = true;
        } else if (a.option == "--blank") {
            p.options.blank = true;
        } else if (a.option == "--clicks" || a.option == "--every" || a.option == "--grid") {
            const std::optional<std::uint64_t> n = arguments::count(a, tool.option(a.option), p);
            if (!n)
                return p;
            if (a.option == "--grid")
                p.options.grid = int(*n);
            else
                (a.option == "--clicks" ? p.options.clicks : p.options.every) = int(*n);
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
            arguments::fail(p,
                "拡張子は半角で入力してください（" + halfWidthEnd.toStdString() + " のように）: " + *file,
                "type the file name's suffix in half-width letters, as in " + halfWidthEnd.toStdString() + ": "
                    + *file);
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
    using tool_options::Language;
    const tool_options::Tool& tool = tool_options::sheet();
    const auto synopsis
        = [&](std::string_view pattern, Language language) { return tool_options::synopsis(tool, pattern, language); };
    const std::string dpi = std::to_string(pngDpi);
    return synopsis("使い方: torvikan-sheet [--u] [--v] [--h] [--clicks] [--every]\n"
                    "                      [--grid] [--exact | --blank] [--] ファイル\n"
                    "       torvikan-sheet --help\n",
               Language::japanese)
        + "  犬とねずみの追いかけっこの記録用紙（A4 縦）を作ります。形式はファイル名の拡張子\n"
          "  で決まります: .pdf（ベクター、日本語フォント埋め込み）、.svg、.png（"
        + dpi
        + " dpi）。\n"
          "  表が 1 ページに収まらないとき、PDF は次のページに続き、SVG と PNG は 1 ページ目\n"
          "  だけを書きます。\n"
          "  図は画面と同じ方眼・目盛り・ねずみと犬の跡・犬とねずみの絵、表は\n"
          "  torvikan-table と同じ数字です。\n"
        + tool_options::defaultsLine(tool, Language::japanese) + tool_options::optionsHelp(tool, Language::japanese)
        + "  値をとるオプションは --u=8 のようにも書けます。「-」で始まるファイル名は -- の\n"
          "  後に書きます。\n"
          "  終了コード: 0 書き出した、1 書き込めなかった、2 引数の誤り（理由は標準エラーに）。\n"
          "  書き込めなかったときは、書きかけのファイルを残さず、前からあるファイルもそのまま\n"
          "  です。ふつうのファイルでないもの（デバイス、パイプなど）には書きません（1）。\n"
          "\n"
        + synopsis("Usage: torvikan-sheet [--u] [--v] [--h] [--clicks] [--every]\n"
                   "                      [--grid] [--exact | --blank] [--] FILE\n"
                   "       torvikan-sheet --help\n",
            Language::english)
        + "  Writes an A4 worksheet of the chase. The file name's extension chooses\n"
          "  the format: .pdf (vector, Japanese font embedded), .svg, or .png ("
        + dpi
        + " dpi).\n"
          "  A table longer than a page continues on further pages in a PDF; an SVG or\n"
          "  PNG holds page 1 only.\n"
          "  The field is the window's: grid, axis labels, the mouse's and the dog's\n"
          "  trails and the two pictures; the table holds the numbers torvikan-table\n"
          "  prints.\n"
        + tool_options::defaultsLine(tool, Language::english) + tool_options::optionsHelp(tool, Language::english)
        + "  An option's value may also follow an equals sign: --u=8. A file name\n"
          "  starting with \"-\" goes after --.\n"
          "  Exit status: 0 written, 1 the file could not be written, 2 bad arguments\n"
          "  (the reason goes to standard error). A sheet that cannot be written in\n"
          "  full leaves no file behind and an older file as it was. A target that\n"
          "  is not a regular file (a device, a pipe) is never written (status 1).\n";
}

} // namespace sheet
