#include "main_window.h"

#include "cue_player.h"
#include "fonts.h"
#include "lettering.h"
#include "messages.h"
#include "number_text.h"
#include "surface_view.h"
#include "ui_main_window.h"

#include <QEvent>
#include <QMessageBox>

namespace {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

} // namespace

MainWindow::MainWindow(CuePlayer& player, QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
    , m_player(player)
{
    m_ui->setupUi(this);
    applyFonts();

    m_surface = std::make_unique<Surface>(m_ui->field->contentsRect().size(), devicePixelRatioF());
    m_lesson = std::make_unique<Lesson>(fieldChart());
    m_labelFace = desktopFont();
    m_ui->fieldSurface->setSurface(m_surface.get());

    connect(m_ui->nextButton, &QPushButton::clicked, this, &MainWindow::nextStep);
    connect(m_ui->startOverButton, &QPushButton::clicked, this, &MainWindow::startOver);
    connect(m_ui->quitButton, &QPushButton::clicked, this, &MainWindow::askToQuit);
    connect(m_ui->helpButton, &QPushButton::clicked, this, &MainWindow::openHelp);

    showProblem = [this](const QString& message) {
        QMessageBox box(QMessageBox::Warning, toQString(messages::title), message, QMessageBox::Ok, this);
        box.exec();
    };
    confirmQuit = [this] {
        QMessageBox box(QMessageBox::NoIcon, toQString(messages::title), toQString(messages::quitQuestion),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::Yes);
        // Escape and the box's own close button answer No: there is no
        // third answer.
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
}

MainWindow::~MainWindow() = default;

void MainWindow::applyFonts()
{
    // The form holds whole points; the layout was drawn for these sizes.
    setFont(desktopFont());
    const QFont caption = japaneseFont(lettering::captionPoints, true);
    for (QLabel* label : {m_ui->mouseXCaption, m_ui->mouseYCaption, m_ui->dogXCaption, m_ui->dogYCaption,
                          m_ui->secondsUnit, m_ui->mouseSpeedCaption, m_ui->mouseSpeedUnit, m_ui->dogSpeedCaption,
                          m_ui->dogSpeedUnit, m_ui->unitTimeCaption, m_ui->unitTimeUnit})
        label->setFont(caption);
    m_ui->heading->setFont(japaneseFont(lettering::headingPoints, true));
    const QFont boxes = japaneseFont(lettering::boxPoints);
    for (QLineEdit* box : {m_ui->mouseSpeed, m_ui->dogSpeed, m_ui->unitTime})
        box->setFont(boxes);
    // The read-outs are narrower than the widest value they may show.
    m_ui->mouseX->setFont(boxes);
    const QFont readout = narrowedToFit(*m_ui->mouseX, QString::fromUtf8(lettering::widestReadout));
    for (QLineEdit* box : {m_ui->mouseX, m_ui->mouseY, m_ui->dogX, m_ui->dogY, m_ui->seconds})
        box->setFont(readout);
}

chart::FieldChart MainWindow::fieldChart() const
{
    const QSize field = m_ui->field->contentsRect().size();
    return {{field.width(), field.height()}, m_surface->devicePixelRatio()};
}

template <typename Drawing> auto MainWindow::paint(Drawing drawing)
{
    Surface::Painting painting(*m_surface, m_labelFace);
    return drawing(painting.canvas());
}

bool MainWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (mayChangePixelRatio(event))
        followPixelRatio();
    return handled;
}

void MainWindow::followPixelRatio()
{
    // The trail exists only as what was painted, so the image at the new
    // ratio is drawn again from the lesson's frames rather than scaled.
    if (devicePixelRatioF() == m_surface->devicePixelRatio())
        return;
    auto surface = std::make_unique<Surface>(m_ui->field->contentsRect().size(), devicePixelRatioF());
    std::swap(surface, m_surface);
    paint([this](chart::Canvas& canvas) { m_lesson->redraw(canvas, fieldChart()); });
    m_ui->fieldSurface->setSurface(m_surface.get());
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The start sequence runs once per window, when it first appears:
    // coming back from another program must never reset a chase.
    if (!m_started) {
        m_started = true;
        showStartPosition(paint([this](chart::Canvas& canvas) { return m_lesson->start(canvas); }));
        m_ui->field->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::showStartPosition(const sim::Frame& start)
{
    placeMarkers(start);
    showReadouts(start.readouts);
    m_ui->fieldSurface->refresh();
}

void MainWindow::nextStep()
{
    const sim::StepOutcome o = paint([this](chart::Canvas& canvas) {
        return m_lesson->next(canvas, m_ui->mouseSpeed->text().toStdString(), m_ui->dogSpeed->text().toStdString(),
                              m_ui->unitTime->text().toStdString());
    });
    if (o.fault != sim::Fault::none) {
        // Nothing was drawn for a click that could not be finished; the
        // pupil is told why and can go on.
        showProblem(toQString(messages::problem(o.fault)));
        return;
    }
    showReadouts(o.frame.readouts);
    placeMarkers(o.frame);
    m_ui->fieldSurface->refresh();
    if (o.catchCue)
        m_player.playCue(QStringLiteral("logoff.wav"));
}

void MainWindow::startOver()
{
    m_player.playCue(QStringLiteral("pinpon.wav"));
    showStartPosition(paint([this](chart::Canvas& canvas) { return m_lesson->startOver(canvas); }));
}

void MainWindow::askToQuit()
{
    m_player.playCue(QStringLiteral("endpinpon.wav"));
    if (confirmQuit())
        emit quitRequested();
}

void MainWindow::openHelp()
{
    m_player.playCue(QStringLiteral("pinpon.wav"));
    emit helpRequested();
}

void MainWindow::showReadouts(const sim::Readouts& r)
{
    const auto show = [](QLineEdit* box, float value) {
        box->setText(QString::fromStdString(number_text::formatReadout(value)));
    };
    show(m_ui->mouseX, r.mouseX);
    show(m_ui->mouseY, r.mouseY);
    show(m_ui->dogX, r.dogX);
    show(m_ui->dogY, r.dogY);
    show(m_ui->seconds, r.seconds);
}

void MainWindow::placeMarkers(const sim::Frame& frame)
{
    const QSize field = m_ui->field->contentsRect().size();
    const auto place = [&](QWidget* picture, sim::ChartPoint topLeft) {
        const chart::PixelPoint p = chart::markerPixel(topLeft, {field.width(), field.height()});
        picture->move(p.x, p.y);
    };
    place(m_ui->mousePicture, frame.mouseMarker);
    place(m_ui->dogPicture, frame.dogMarker);
}
