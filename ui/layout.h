#pragma once

#include <QColor>
#include <QHash>
#include <QString>
#include <QWidget>

#include <span>

// A window's controls as a table of data, read by one builder.
enum class ControlKind {
    button,     // push button; never the Enter or Escape button
    textBox,    // one-line text box
    label,      // opaque label, text from its top-left corner
    heading,    // label with a frame, text centred
    pictureBox, // sunken-border box in a plain colour
    surface,    // sunken-border box that shows a retained drawing
    picture,    // sunken-border box showing a picture, on the interior of `parent`
    line,       // 1-pixel rule; left/top and width/height hold its two end points
};

enum class FontRole { window, label, heading, textBox, help };

struct ControlSpec {
    const char* name;
    ControlKind kind;
    int left;   // twips
    int top;
    int width;
    int height;
    const char16_t* text = u"";   // caption, start text or picture resource
    QRgb background = 0;          // with hasBackground
    bool hasBackground = false;
    FontRole font = FontRole::window;
    int tab = -1;                 // tab position; -1 never takes the focus
    const char16_t* accessibleName = nullptr; // when it differs from the text
    const char* parent = nullptr; // for pictures: the surface they lie on
};

QFont fontFor(FontRole role);

// Builds the controls on `window`, each named after its row, chains the
// tab order, and returns them by name.
QHash<QString, QWidget*> buildLayout(QWidget* window, std::span<const ControlSpec> controls);
