#include "layout.h"

#include "fonts.h"
#include "surface_view.h"
#include "twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <map>

QFont fontFor(FontRole role)
{
    switch (role) {
    case FontRole::window:
        return desktopFont();
    case FontRole::label:
        return japaneseFont(12, true);
    case FontRole::heading:
        return japaneseFont(15.75, true);
    case FontRole::textBox: {
        // IPAPGothic's digits are wider than those the layout was drawn
        // for; condensed to three quarters, "100.200" fits a read-out.
        QFont f = japaneseFont(18);
        f.setStretch(QFont::Condensed);
        return f;
    }
    case FontRole::help:
        return japaneseFont(11.25);
    }
    return desktopFont();
}

namespace {

QWidget* makeControl(const ControlSpec& c, QWidget* parent)
{
    const QString text = QString::fromUtf16(c.text);
    switch (c.kind) {
    case ControlKind::button: {
        auto* b = new QPushButton(text, parent);
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    }
    case ControlKind::textBox: {
        return new QLineEdit(text, parent);
    }
    case ControlKind::label:
    case ControlKind::heading: {
        auto* l = new QLabel(text, parent);
        l->setAutoFillBackground(true);
        l->setTextFormat(Qt::PlainText);
        if (c.kind == ControlKind::heading) {
            l->setAlignment(Qt::AlignCenter);
            l->setFrameStyle(QFrame::Box | QFrame::Plain);
            l->setLineWidth(1);
            QPalette pal = l->palette();
            pal.setColor(QPalette::WindowText, pal.color(QPalette::Text));
            l->setPalette(pal);
        } else {
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        return l;
    }
    case ControlKind::pictureBox: {
        auto* f = new QFrame(parent);
        f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        f->setLineWidth(SurfaceView::borderWidth);
        f->setAutoFillBackground(true);
        return f;
    }
    case ControlKind::surface:
        return new SurfaceView(parent);
    case ControlKind::picture: {
        auto* l = new QLabel(parent);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setLineWidth(SurfaceView::borderWidth);
        l->setAutoFillBackground(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setPixmap(QPixmap(text));
        return l;
    }
    case ControlKind::line: {
        auto* w = new QWidget(parent);
        w->setAutoFillBackground(true);
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::WindowText));
        w->setPalette(pal);
        return w;
    }
    }
    return nullptr;
}

QRect geometryOf(const ControlSpec& c)
{
    if (c.kind != ControlKind::line)
        return twipsRect(c.left, c.top, c.width, c.height);
    // A horizontal or vertical rule from (left, top) to (width, height).
    const QPoint a(twipsToPixels(c.left), twipsToPixels(c.top));
    const QPoint b(twipsToPixels(c.width), twipsToPixels(c.height));
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

} // namespace

QHash<QString, QWidget*> buildLayout(QWidget* window, std::span<const ControlSpec> controls)
{
    QHash<QString, QWidget*> built;
    std::map<int, QWidget*> byTab;
    for (const ControlSpec& c : controls) {
        QWidget* parent = window;
        if (c.parent) {
            auto* surface = qobject_cast<SurfaceView*>(built.value(QString::fromLatin1(c.parent)));
            Q_ASSERT_X(surface, "buildLayout", "a picture's parent must be an earlier surface");
            parent = surface ? surface->interior() : window;
        }
        QWidget* w = makeControl(c, parent);
        w->setObjectName(QString::fromLatin1(c.name));
        w->setGeometry(geometryOf(c));
        w->setFont(fontFor(c.font));
        if (c.hasBackground) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::Window, QColor::fromRgb(c.background));
            w->setPalette(pal);
        }
        if (c.accessibleName)
            w->setAccessibleName(QString::fromUtf16(c.accessibleName));
        const bool takesFocus = c.tab >= 0 && c.kind != ControlKind::label && c.kind != ControlKind::heading
                                && c.kind != ControlKind::line;
        if (takesFocus) {
            if (c.kind == ControlKind::pictureBox || c.kind == ControlKind::picture)
                w->setFocusPolicy(Qt::TabFocus);
            byTab[c.tab] = w;
        } else {
            w->setFocusPolicy(Qt::NoFocus);
        }
        built.insert(w->objectName(), w);
    }
    QWidget* previous = nullptr;
    for (const auto& [tab, w] : byTab) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
    return built;
}
