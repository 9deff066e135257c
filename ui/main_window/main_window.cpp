#include "main_window.h"

#include "cue_player.h"
#include "fonts.h"
#include "layout.h"
#include "main_layout.h"
#include "number_text.h"
#include "surface_view.h"
#include "twips.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString title = QStringLiteral("Torvikan");

// The field's labels need a line of about two chart units (11 pixels).
QFont fieldLabelFont() { return desktopFont(10); }

} // namespace

Form1::Form1(CuePlayer& player, QWidget* parent)
    : QWidget(parent)
    , m_player(player)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" Torvikan"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    setFixedSize(twipsToPixels(mainWindowWidthTwips), twipsToPixels(mainWindowHeightTwips));

    const QHash<QString, QWidget*> controls = buildLayout(this, mainWindowLayout());
    for (int i = 1; i <= 8; ++i)
        m_text[i] = qobject_cast<QLineEdit*>(controls.value(QStringLiteral("Text%1").arg(i)));
    for (int i = 1; i <= 4; ++i)
        m_command[i] = qobject_cast<QPushButton*>(controls.value(QStringLiteral("Command%1").arg(i)));
    m_field = qobject_cast<SurfaceView*>(controls.value(QStringLiteral("Picture1")));
    m_mouse = qobject_cast<QLabel*>(controls.value(QStringLiteral("Picture2")));
    m_dog = qobject_cast<QLabel*>(controls.value(QStringLiteral("Picture3")));
    // Near the catch the two pictures overlap; the chaser is drawn on top.
    m_dog->raise();
    // Read-outs line up on the right, so x and y compare digit by digit.
    for (int i = 4; i <= 8; ++i)
        m_text[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_chart = std::make_unique<FieldChart>(devicePixelRatioF(), fieldLabelFont());
    m_field->setSurface(&m_chart->surface());

    connect(m_command[1], &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_command[2], &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_command[3], &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(m_command[4], &QPushButton::clicked, this, &Form1::Command4_Click);

    showProblem = [this](const QString& message) {
        QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, this);
        box.exec();
    };
    confirmQuit = [this] {
        QMessageBox box(QMessageBox::NoIcon, title, QStringLiteral("終了していいですか？"),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::Yes);
        // Escape and the box's own close button answer No: there is no
        // third answer.
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
}

Form1::~Form1() = default;

QString Form1::problemMessage(sim::Fault fault)
{
    switch (fault) {
    case sim::Fault::invalid:
        return QStringLiteral("犬がねずみにぴったり重なったので、これ以上計算できません。\n"
                              "［初期化］をクリックして、最初からやり直してください。");
    case sim::Fault::divisionByZero:
        return QStringLiteral("計算の途中で０で割ることになったので、先へ進めません。\n"
                              "入力した数字を確かめて、［初期化］をクリックしてください。");
    case sim::Fault::overflow:
        return QStringLiteral("数が大きすぎて計算できません。\n"
                              "ネズミの速度ｕ・犬の速度ｖ・単位時間hの数字を確かめてください。");
    case sim::Fault::none:
        break;
    }
    return {};
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The start sequence runs once per window, when it first appears:
    // coming back from another program must never reset a chase.
    if (!m_started) {
        m_started = true;
        Form_Activate();
        m_field->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::Form_Activate() { showStartPosition(); }

void Form1::showStartPosition()
{
    m_chart->drawAxisLabels();
    const sim::Frame start = sim::resetToStart(m_state);
    m_chart->drawTrailMark(start.mouseMark, FieldChart::mouseColour);
    m_chart->drawTrailMark(start.dogMark, FieldChart::dogColour);
    placeMarker(m_mouse, start.mouseMarker);
    placeMarker(m_dog, start.dogMarker);
    m_chart->drawGrid();
    writeReadouts(start.readouts);
    m_field->refresh();
}

QString Form1::inputText(int box) const { return m_text[box]->text(); }

void Form1::Command1_Click()
{
    const sim::StepOutcome o = sim::step(m_state, inputText(1).toStdString(), inputText(2).toStdString(),
                                         inputText(3).toStdString());
    if (o.fault != sim::Fault::none) {
        // Nothing is drawn for a click that could not be finished; the
        // pupil is told why and can go on.
        showProblem(problemMessage(o.fault));
        return;
    }
    m_chart->drawGrid();
    writeReadouts(o.frame.readouts);
    placeMarker(m_mouse, o.frame.mouseMarker);
    m_chart->drawTrailMark(o.frame.mouseMark, FieldChart::mouseColour);
    placeMarker(m_dog, o.frame.dogMarker);
    m_chart->drawTrailMark(o.frame.dogMark, FieldChart::dogColour);
    m_field->refresh();
    if (o.catchCue)
        m_player.playCue(QStringLiteral("logoff.wav"), false);
}

void Form1::Command2_Click()
{
    m_player.playCue(QStringLiteral("endpinpon.wav"), true);
    if (confirmQuit())
        emit quitRequested();
}

void Form1::Command3_Click()
{
    m_player.playCue(QStringLiteral("pinpon.wav"), true);
    m_chart->clearChart();
    showStartPosition();
}

void Form1::Command4_Click()
{
    m_player.playCue(QStringLiteral("pinpon.wav"), true);
    emit helpRequested();
}

void Form1::writeReadouts(const sim::Readouts& r)
{
    const auto write = [this](int box, float value) {
        m_text[box]->setText(QString::fromStdString(number_text::formatReadout(value)));
    };
    write(4, r.mouseX);
    write(5, r.mouseY);
    write(6, r.dogX);
    write(7, r.dogY);
    write(8, r.seconds);
}

void Form1::placeMarker(QLabel* marker, sim::ChartPoint topLeft) { marker->move(FieldChart::markerPixel(topLeft)); }
