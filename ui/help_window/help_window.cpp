#include "help_window.h"

#include "help_layout.h"
#include "help_text.h"
#include "surface.h"
#include "surface_view.h"
#include "twips.h"

#include <QPushButton>

Form2::Form2(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral(" Torvikan＿ヘルプ（設問と操作方法）"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    setFixedSize(twipsToPixels(helpWindowWidthTwips), twipsToPixels(helpWindowHeightTwips));

    const QHash<QString, QWidget*> controls = buildLayout(this, helpWindowLayout());
    m_box = qobject_cast<SurfaceView*>(controls.value(QStringLiteral("Picture1")));
    m_close = qobject_cast<QPushButton*>(controls.value(QStringLiteral("Command1")));

    // The box's coordinates are twips from its interior's top-left corner.
    m_surface = std::make_unique<Surface>(
        QSize(twipsToPixels(helpBoxInteriorWidthTwips), twipsToPixels(helpBoxInteriorHeightTwips)),
        QSizeF(helpBoxInteriorWidthTwips, helpBoxInteriorHeightTwips), devicePixelRatioF(), Qt::white);
    m_surface->setFont(m_box->font());
    m_box->setSurface(m_surface.get());

    connect(m_close, &QPushButton::clicked, this, &Form2::Command1_Click);
}

Form2::~Form2() = default;

void Form2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Printed once per window, when it first appears; showing it again
    // must not print a second copy below the first.
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
        m_close->setFocus(Qt::OtherFocusReason);
    }
}

void Form2::Form_Activate()
{
    // One print per line, each starting at the box's left edge one line
    // below the last; a line too wide for the box is cut off at its edge.
    for (const QString& line : helpLines()) {
        m_surface->print(line);
        m_printed << line;
    }
    m_box->refresh();
    // The text exists only as pixels; screen readers read what was printed
    // from here.
    m_box->setAccessibleDescription(m_printed.join(u'\n'));
}

void Form2::Command1_Click() { emit closeRequested(); }
