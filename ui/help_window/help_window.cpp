#include "help_window.h"

#include "fonts.h"
#include "help_text.h"
#include "surface.h"
#include "twips.h"
#include "ui_help_window.h"

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::HelpWindow>())
{
    m_ui->setupUi(this);
    setFont(desktopFont());
    m_ui->helpBox->setFont(japaneseFont(11.25));

    // The box prints in twips from its interior's top-left corner.
    const QSize interior = m_ui->helpBox->contentsRect().size();
    m_surface = std::make_unique<Surface>(interior, QSizeF(interior) * twipsPerPixel, devicePixelRatioF());
    m_surface->setFont(m_ui->helpBox->font());
    m_ui->helpText->setSurface(m_surface.get());

    connect(m_ui->closeButton, &QPushButton::clicked, this, &HelpWindow::closeRequested);
}

HelpWindow::~HelpWindow() = default;

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
    // One print per line, each starting at the box's left edge one line
    // below the last; a line too wide for the box is cut off at its edge.
    const QStringList lines = helpLines();
    for (const QString& line : lines)
        m_surface->print(line);
    m_ui->helpText->refresh();
    // The text exists only as pixels; screen readers read it from here.
    m_ui->helpBox->setAccessibleDescription(lines.join(u'\n'));
}
