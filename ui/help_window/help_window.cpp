#include "help_window.h"

#include "fonts.h"
#include "help_text.h"
#include "lettering.h"
#include "mapping.h"
#include "surface.h"
#include "surface_view.h"
#include "twips.h"
#include "ui_help_window.h"

#include <QFontMetricsF>

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::HelpWindow>())
{
    m_ui->setupUi(this);
    setFont(desktopFont());
    // The same face as the layout was drawn for, narrowed where a line
    // would otherwise run past the box's right edge.
    QStringList lines;
    for (const std::string& line : helpLines())
        lines << QString::fromStdString(line);
    m_ui->helpBox->setFont(
        narrowedToFit(japaneseFont(lettering::helpPoints), lines, m_ui->helpBox->contentsRect().width()));

    m_surface = std::make_unique<Surface>(m_ui->helpBox->contentsRect().size(), devicePixelRatioF());
    m_ui->helpText->setSurface(m_surface.get());

    connect(m_ui->closeButton, &QPushButton::clicked, this, &HelpWindow::closeRequested);
}

HelpWindow::~HelpWindow() = default;

bool HelpWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (mayChangePixelRatio(event))
        followPixelRatio();
    return handled;
}

void HelpWindow::followPixelRatio()
{
    // On a screen of another pixel ratio the text is printed afresh, as
    // sharp as on the first, rather than scaled.
    if (devicePixelRatioF() == m_surface->devicePixelRatio())
        return;
    auto surface = std::make_unique<Surface>(m_ui->helpBox->contentsRect().size(), devicePixelRatioF());
    std::swap(surface, m_surface);
    m_ui->helpText->setSurface(m_surface.get());
    if (m_printed)
        printHelp();
}

void HelpWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Printed once per window, when it first appears; showing it again
    // must not print a second copy below the first.
    if (!m_printed) {
        m_printed = true;
        printHelp();
        m_ui->closeButton->setFocus(Qt::OtherFocusReason);
    }
}

void HelpWindow::printHelp()
{
    // The box prints in twips from its interior's top-left corner: one
    // print per line, each at the box's left edge one line below the last.
    // The box's font is narrowed so that every line fits its width.
    const QSize interior = m_ui->helpBox->contentsRect().size();
    const QSize device = m_surface->image().size();
    const double twipsHigh = interior.height() * twipsPerPixel;
    const chart::Mapping twips(device.width(), device.height(), interior.width() * twipsPerPixel, twipsHigh);
    QFont font = m_ui->helpBox->font();
    const int pixelSize = qRound(font.pixelSize() * m_surface->devicePixelRatio());
    font.setPixelSize(pixelSize);
    const double lineHeight = QFontMetricsF(font).height() / (device.height() / twipsHigh);

    QStringList text;
    Surface::Painting painting(*m_surface, font);
    double currentY = 0.0;
    for (const std::string& line : helpLines()) {
        painting.canvas().text(0, twips.y(currentY), line, pixelSize);
        currentY += lineHeight;
        text << QString::fromStdString(line);
    }
    m_ui->helpText->refresh();
    // The text exists only as pixels; screen readers read it from here.
    m_ui->helpBox->setAccessibleDescription(text.join(u'\n'));
}
