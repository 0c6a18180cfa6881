#include "TestWindow.h"

#include "RunKeyboard.h"
#include "Startup.h"
#include "platform/HelpTopic.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/PendingInput.h"
#include "platform/ui/HelpContext.h"
#include "platform/ui/LabelFit.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr double PictureWiderBy = 100.0;
constexpr double InstructionsWidth = 4935.0;
constexpr double InstructionsHeight = 615.0;

} // namespace

TestWindow::TestWindow(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmora"));
    BuildControls();
    m_idleColourTimer.setInterval(56);
    m_refocusTimer.setInterval(500);
    connect(&m_idleColourTimer, &QTimer::timeout, this, &TestWindow::OnIdleColourTick);
    connect(&m_refocusTimer, &QTimer::timeout, this, &TestWindow::OnRefocusTick);
    connect(m_startButton, &QPushButton::clicked, this, &TestWindow::OnStartClicked);
    connect(m_nextButton, &QPushButton::clicked, this, &TestWindow::OnNextClicked);
    connect(m_diagram, &PictureBox::KeyDown, this, &TestWindow::OnDiagramKeyDown);
    connect(m_diagram, &PictureBox::KeyUp, this, &TestWindow::OnDiagramKeyUp);
    connect(&m_run, &TestRun::Armed, this, &TestWindow::ShowArmed);
    connect(&m_run, &TestRun::KeyCounted, this,
            [this](std::int16_t keyCount) { m_countLabel->setText(QString::number(keyCount)); });
    connect(&m_run, &TestRun::DiagramStep, this,
            [this](bool keyStep) { m_pen.DrawDiagramStep(*m_diagram, keyStep); });
    connect(&m_run, &TestRun::IntervalEnded, this, &TestWindow::ShowIntervalEnded);
    connect(&m_run, &TestRun::Stopped, this, &TestWindow::ShowStopped);
    connect(&m_run, &TestRun::Completed, this, [this] { ShowEndNote(tr("Test complete")); });
    connect(&m_run, &TestRun::Aborted, this, [this] { ShowEndNote(tr("Test stopped")); });
    connect(&m_run, &TestRun::Aborted, m_keyboard, &RunKeyboard::Release);
    m_run.SetPendingInput(&PendingInput::TakeIn);
}

void TestWindow::BuildControls()
{
    // A picture, not a control: it takes neither the focus nor the mouse.
    m_logo = new PictureBox(this);
    m_logo->setObjectName(QStringLiteral("Image1"));
    m_logo->setFocusPolicy(Qt::NoFocus);
    m_logo->setEnabled(false);
    Twips::Place(m_logo, 120, 120, 1995, 720);
    m_logo->SetBackColor(palette().color(QPalette::Window));
    // The picture has the test's name drawn into it, so each language has
    // a picture of its own, named by its catalogue.
    m_logo->PaintPicture(
        QImage(tr(":/art/test.png", "the picture's path; its subtitle drawn in this language")));
    m_logo->setAccessibleName(QStringLiteral("Velmora"));

    m_intervalLabel = NewLabel("Label3", QStringLiteral("0"));
    Twips::Place(m_intervalLabel, 2160, 240, 495, 375);
    m_intervalLabel->hide();

    m_countLabel = NewLabel("Label1", QStringLiteral("Label1"));
    Twips::Place(m_countLabel, 3000, 240, 855, 375);
    m_countLabel->hide();

    m_diagram = new PictureBox(this);
    // Said once, not read out as it changes: the tested person is busy.
    m_diagram->setAccessibleName(tr("Rate diagram"));
    m_diagram->setAccessibleDescription(
        tr("Rises with every key released and sinks between them; keep it in the "
           "green area above the middle."));
    m_diagram->setObjectName(QStringLiteral("Picture1"));
    HelpContext::Set(m_diagram, HelpTopic::Test);
    Twips::Place(m_diagram, -120, 960, 8775, 2895);
    m_diagram->setEnabled(false);

    m_escHint = NewLabel("Label2", tr("Press \"Esc\" for stop test!"));
    Twips::Place(m_escHint, 120, 3960, 1815, 255);
    // Free as far as the instructions, for a language that says it longer.
    LabelFit::Widen(m_escHint, Twips::ToPixels(3480 - 120) - 4);
    m_escHint->hide();

    m_startButton = new QPushButton(tr("Start"), this);
    m_startButton->setObjectName(QStringLiteral("Command1"));
    Twips::Place(m_startButton, 120, 4200, 1575, 375);

    m_nextButton = new QPushButton(tr("Next >>"), this);
    m_nextButton->setObjectName(QStringLiteral("Command2"));
    Twips::Place(m_nextButton, 1680, 4200, 1575, 375);
    m_nextButton->setEnabled(false);

    m_instructions =
        NewLabel("Label4", tr("With the maximal frequency press any key on the keyboard "
                              "(behind exception {Esc} and {Enter}) while there is a "
                              "display of the diagram. Try to keep the diagram in green "
                              "area."));
    m_instructions->setWordWrap(true);
    Twips::Place(m_instructions, 3480, 4080, InstructionsWidth, InstructionsHeight);
    m_instructions->hide();

    // Black on white, large and bold, so it reads on any colour of the
    // idle cycle behind it.
    m_endNote = NewLabel("EndNote");
    QFont large = font();
    large.setPointSizeF(18.0);
    large.setBold(true);
    m_endNote->setFont(large);
    m_endNote->setAlignment(Qt::AlignCenter);
    m_endNote->setMargin(10);
    m_endNote->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_endNote->setAutoFillBackground(true);
    QPalette blackOnWhite = m_endNote->palette();
    blackOnWhite.setColor(QPalette::Window, Qt::white);
    blackOnWhite.setColor(QPalette::WindowText, Qt::black);
    m_endNote->setPalette(blackOnWhite);
    m_endNote->hide();

    m_keyboard = new RunKeyboard(m_diagram, this);

    setTabOrder(m_diagram, m_startButton);
    setTabOrder(m_startButton, m_nextButton);
    for (QPushButton *button : {m_startButton, m_nextButton})
        button->setAutoDefault(false);
}

void TestWindow::OnLoad()
{
    m_cycle = IdleColourCycle();
    m_idleColourTimer.start();
    const std::int16_t tick = Startup::TickInterval();
    m_run.SetTickInterval(tick);
    m_countLabel->setText(QString::number(tick));
    KeepDesignedSize();
    OnResize();
}

void TestWindow::OnActivate()
{
    // Coming back to the window in the middle of a run must neither paint
    // the colour cycle over the diagram nor take the keys away from it.
    if (m_run.CurrentState() != TestRun::State::Idle) {
        m_diagram->setFocus();
        return;
    }
    m_idleColourTimer.start();
    m_startButton->setFocus();
}

void TestWindow::OnDeactivate()
{
    m_idleColourTimer.stop();
}

void TestWindow::OnResize()
{
    const QRect area = m_diagram->geometry();
    m_diagram->resize(Twips::ToPixels(OuterWidth() + PictureWiderBy), area.height());
    FitInstructions();
    PlaceEndNote();
}

void TestWindow::FitInstructions()
{
    // The instructions were laid out for a thinner window frame: at their
    // designed width they reach a few pixels past the window's inside and
    // every line loses its end. They keep their place and wrap within what
    // the window shows, growing downwards when that takes another line.
    const QSize designed = Twips::ToPixels(InstructionsWidth, InstructionsHeight);
    const int width = qMax(1, qMin(designed.width(), this->width() - m_instructions->x()));
    const int height = qMax(designed.height(), m_instructions->heightForWidth(width));
    m_instructions->resize(
        width, qMin(height, qMax(designed.height(), this->height() - m_instructions->y())));
}

void TestWindow::OnUnload()
{
    // A run still going is abandoned like one ended with Esc, without a
    // record or its counts, and gives the keyboard back.
    m_run.Abandon();
    m_keyboard->Release();
    m_idleColourTimer.stop();
    m_refocusTimer.stop();
}

void TestWindow::OnStartClicked()
{
    m_endNote->hide();
    m_run.Start();
}

void TestWindow::ShowArmed()
{
    m_pen.PlacePen(*m_diagram);
    m_startButton->setEnabled(false);
    m_nextButton->setEnabled(false);
    m_diagram->setEnabled(true);
    m_escHint->show();
    m_idleColourTimer.stop();
    m_diagram->SetBackColor(Qt::black);
    LiveDiagram::DrawReferenceLines(*m_diagram);
    m_instructions->show();
    m_diagram->setFocus();
    m_keyboard->Take();
}

void TestWindow::OnNextClicked()
{
    emit NextRequested();
    m_nextButton->setEnabled(false);
}

void TestWindow::OnDiagramKeyDown(std::int16_t keyCode)
{
    m_run.KeyDown(keyCode);
}

void TestWindow::OnDiagramKeyUp(std::int16_t keyCode, quint64 timestamp)
{
    m_run.KeyUp(keyCode, timestamp);
}

void TestWindow::ShowIntervalEnded()
{
    m_intervalLabel->setText(QString::number(m_intervalLabel->text().toInt() + 1));
}

void TestWindow::ShowStopped()
{
    m_keyboard->Release();
    m_startButton->setEnabled(true);
    m_nextButton->setEnabled(true);
    m_diagram->setEnabled(false);
    m_idleColourTimer.start();
    m_escHint->hide();
    m_instructions->hide();
    m_nextButton->setFocus();
    if (KeyCodes::IsArrow(m_run.LastKey()))
        m_refocusTimer.start();
}

void TestWindow::ShowEndNote(const QString &text)
{
    m_endNote->setText(text);
    m_endNote->adjustSize();
    PlaceEndNote();
    m_endNote->raise();
    m_endNote->show();
}

void TestWindow::PlaceEndNote()
{
    // In the middle of the part of the diagram the window shows.
    const QRect area = m_diagram->geometry().intersected(rect());
    QRect note = m_endNote->rect();
    note.moveCenter(area.center());
    m_endNote->move(note.topLeft());
}

void TestWindow::OnIdleColourTick()
{
    m_diagram->SetBackColor(m_cycle.Tick());
}

void TestWindow::OnRefocusTick()
{
    m_nextButton->setFocus();
    m_refocusTimer.stop();
}
