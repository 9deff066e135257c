// torvikan-sheet's file: the pages drawn as PDF, SVG or PNG, and written
// so that an older sheet is replaced only by a complete new one.

#include "sheet_page.h"

#include "replace_file.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cstdio>

namespace sheet {

namespace {

// The dots per inch each format is drawn at: fine enough that lines stay
// thin and every mark of a long chase keeps its own edge.
constexpr double pdfDpi = 1200.0;
constexpr double svgDpi = 300.0;

QSize pageSizeAt(double dpi) { return {qRound(dotsOf(pageWidth, dpi)), qRound(dotsOf(pageHeight, dpi))}; }

QByteArray renderPdf(const Content& content)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(int(pdfDpi));
    writer.setTitle(qText(titleText));
    writer.setCreator(QStringLiteral("torvikan-sheet"));
    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    // The pictures keep every pixel: no lossy compression.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const std::vector<TablePart> parts = tableParts(content);
    for (int page = 0; page <= parts.back().page; ++page) {
        if (page > 0 && !writer.newPage())
            return {};
        paintPage(painter, pdfDpi, content, parts, page);
    }
    return painter.end() ? bytes : QByteArray();
}

QByteArray renderSvg(const Content& content)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(int(svgDpi));
    generator.setSize(pageSizeAt(svgDpi));
    generator.setViewBox(QRect(QPoint(0, 0), pageSizeAt(svgDpi)));
    generator.setTitle(qText(titleText));
    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    paintPage(painter, svgDpi, content, 0);
    return painter.end() ? bytes : QByteArray();
}

QByteArray renderPng(const Content& content)
{
    QImage image(pageSizeAt(pngDpi), QImage::Format_RGB32);
    const int dotsPerMetre = qRound(pngDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, pngDpi, content, 0);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

} // namespace

QByteArray renderSheet(const Content& content, Format format)
{
    switch (format) {
    case Format::pdf:
        return renderPdf(content);
    case Format::svg:
        return renderSvg(content);
    case Format::png:
        break;
    }
    return renderPng(content);
}

int writeSheet(const Content& content, const Options& options, std::string& error)
{
    const QString& name = options.file;
    const auto fail = [&](const QString& why) {
        error = ("書き込めません: " + name + ": " + why + " / cannot write " + name + ": " + why).toStdString();
        return 1;
    };
    const QByteArray bytes = renderSheet(content, options.format);
    if (bytes.isEmpty())
        return fail(QStringLiteral("描画できませんでした / drawing failed"));
    std::string why;
    if (!replaceFile(QFile::encodeName(name).toStdString(), std::string_view(bytes.constData(), bytes.size()), why))
        return fail(QString::fromLocal8Bit(why));
    // A picture holds one page; a table that runs on is for a PDF.
    const int pages = pageCount(content);
    if (pages > 1 && options.format != Format::pdf) {
        const char* kind = options.format == Format::png ? "PNG" : "SVG";
        std::fprintf(stderr,
            "torvikan-sheet: 表は %d ページになります。%s には 1 ページ目だけを書きました。すべてのページは .pdf に"
            "書けます / the table runs to %d pages; the %s holds the first page, a .pdf holds them all\n",
            pages, kind, pages, kind);
    }
    return 0;
}

} // namespace sheet
