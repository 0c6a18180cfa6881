#include "Form1.h"

#include "LiveDiagram.h"
#include "SessionState.h"
#include "platform/HelpContext.h"
#include "platform/KeyCodes.h"
#include "platform/PendingInput.h"
#include "platform/PictureBox.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr double PictureWiderBy = 100.0;
constexpr double Label4Width = 4935.0;
constexpr double Label4Height = 615.0;

} // namespace

Form1::Form1(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmora"));
    BuildControls();
    m_timer2.setInterval(56);
    m_timer4.setInterval(500);
    connect(&m_timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(&m_timer4, &QTimer::timeout, this, &Form1::Timer4_Timer);
    connect(m_command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_picture1, &PictureBox::KeyDown, this, &Form1::Picture1_KeyDown);
    connect(m_picture1, &PictureBox::KeyUp, this, &Form1::Picture1_KeyUp);
    connect(&m_run, &TestRun::Armed, this, &Form1::ShowArmed);
    connect(&m_run, &TestRun::KeyCounted, this,
            [this](std::int16_t keyCount) { m_label1->setText(QString::number(keyCount)); });
    connect(&m_run, &TestRun::DiagramStep, this,
            [this](bool keyStep) { LiveDiagram::DrawDiagramStep(*m_picture1, keyStep); });
    connect(&m_run, &TestRun::IntervalEnded, this, &Form1::ShowIntervalEnded);
    connect(&m_run, &TestRun::Stopped, this, &Form1::ShowStopped);
    m_run.SetPendingInput(&PendingInput::TakeIn);
}

void Form1::BuildControls()
{
    // A picture, not a control: it takes neither the focus nor the mouse.
    m_image1 = new PictureBox(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setFocusPolicy(Qt::NoFocus);
    m_image1->setEnabled(false);
    Twips::Place(m_image1, 120, 120, 1995, 720);
    m_image1->SetBackColor(palette().color(QPalette::Window));
    m_image1->PaintPicture(QImage(QStringLiteral(":/art/test.png")));
    m_image1->setAccessibleName(QStringLiteral("Velmora"));

    m_label3 = NewLabel("Label3", QStringLiteral("0"));
    Twips::Place(m_label3, 2160, 240, 495, 375);
    m_label3->hide();

    m_label1 = NewLabel("Label1", QStringLiteral("Label1"));
    Twips::Place(m_label1, 3000, 240, 855, 375);
    m_label1->hide();

    m_picture1 = new PictureBox(this);
    // Said once, not read out as it changes: the tested person is busy.
    m_picture1->setAccessibleName(QStringLiteral("Rate diagram"));
    m_picture1->setAccessibleDescription(
        QStringLiteral("Rises with every key released and sinks between them; keep it in the "
                       "green area above the middle."));
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    HelpContext::Set(m_picture1, 103);
    Twips::Place(m_picture1, -120, 960, 8775, 2895);
    m_picture1->setEnabled(false);

    m_label2 = NewLabel("Label2", QStringLiteral("Press \"Esc\" for stop test!"));
    Twips::Place(m_label2, 120, 3960, 1815, 255);
    m_label2->hide();

    m_command1 = new QPushButton(QStringLiteral("Start"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    Twips::Place(m_command1, 120, 4200, 1575, 375);

    m_command2 = new QPushButton(QStringLiteral("Next >>"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    Twips::Place(m_command2, 1680, 4200, 1575, 375);
    m_command2->setEnabled(false);

    m_label4 = NewLabel("Label4",
                        QStringLiteral("With the maximal frequency press any key on the keyboard "
                                       "(behind exception {Esc} and {Enter}) while there is a "
                                       "display of the diagram. Try to keep the diagram in green "
                                       "area."));
    m_label4->setWordWrap(true);
    Twips::Place(m_label4, 3480, 4080, Label4Width, Label4Height);
    m_label4->hide();

    setTabOrder(m_picture1, m_command1);
    setTabOrder(m_command1, m_command2);
    for (QPushButton *button : {m_command1, m_command2})
        button->setAutoDefault(false);
}

void Form1::Form_Load()
{
    SessionState &session = Session();
    m_cycle = IdleColourCycle();
    session.RecNo = 1;
    m_timer2.start();
    m_run.SetTickInterval(session.TickInterval);
    m_label1->setText(QString::number(session.TickInterval));
    session.CurrentRecord.SetName(QString());
    KeepDesignedSize();
    Form_Resize();
}

void Form1::Form_Activate()
{
    Session().TestFormActive = true;
    // Coming back to the window in the middle of a run must neither paint
    // the colour cycle over the diagram nor take the keys away from it.
    if (m_run.CurrentState() != TestRun::State::Idle) {
        m_picture1->setFocus();
        return;
    }
    m_timer2.start();
    m_command1->setFocus();
}

void Form1::Form_Deactivate()
{
    Session().TestFormActive = false;
    m_timer2.stop();
}

void Form1::Form_Resize()
{
    const QRect area = m_picture1->geometry();
    m_picture1->resize(Twips::ToPixels(OuterWidth() + PictureWiderBy), area.height());
    FitLabel4();
}

void Form1::FitLabel4()
{
    // The instructions were laid out for a thinner window frame: at their
    // designed width they reach a few pixels past the window's inside and
    // every line loses its end. They keep their place and wrap within what
    // the window shows, growing downwards when that takes another line.
    const QSize designed = Twips::ToPixels(Label4Width, Label4Height);
    const int width = qMax(1, qMin(designed.width(), this->width() - m_label4->x()));
    const int height = qMax(designed.height(), m_label4->heightForWidth(width));
    m_label4->resize(width, qMin(height, qMax(designed.height(), this->height() - m_label4->y())));
}

void Form1::Form_Unload()
{
    // A closed window is no longer the active one, so "Test" loads it anew
    // instead of focusing a window that is gone; a run still going is
    // abandoned like one ended with Esc, without a record or its counts.
    Session().TestFormActive = false;
    m_run.Abandon();
    m_timer2.stop();
    m_timer4.stop();
}

void Form1::Command1_Click()
{
    m_run.Start();
}

void Form1::ShowArmed()
{
    SessionState &session = Session();
    session.PenX = static_cast<float>(m_picture1->ScaleWidth() / 10);
    session.PenY = static_cast<float>(m_picture1->ScaleHeight() / 2);
    m_command1->setEnabled(false);
    m_command2->setEnabled(false);
    m_picture1->setEnabled(true);
    m_label2->show();
    m_timer2.stop();
    m_picture1->SetBackColor(Qt::black);
    LiveDiagram::DrawReferenceLines(*m_picture1);
    m_label4->show();
    m_picture1->setFocus();
}

void Form1::Command2_Click()
{
    emit NextRequested();
    m_command2->setEnabled(false);
}

void Form1::Picture1_KeyDown(std::int16_t keyCode)
{
    m_run.KeyDown(keyCode);
}

void Form1::Picture1_KeyUp(std::int16_t keyCode, quint64 timestamp)
{
    m_run.KeyUp(keyCode, timestamp);
}

void Form1::ShowIntervalEnded()
{
    m_label3->setText(QString::number(m_label3->text().toInt() + 1));
}

void Form1::ShowStopped()
{
    m_command1->setEnabled(true);
    m_command2->setEnabled(true);
    m_picture1->setEnabled(false);
    m_timer2.start();
    m_label2->hide();
    m_label4->hide();
    m_command2->setFocus();
    if (KeyCodes::IsArrow(m_run.LastKey()))
        m_timer4.start();
}

void Form1::Timer2_Timer()
{
    m_picture1->SetBackColor(m_cycle.Tick());
}

void Form1::Timer4_Timer()
{
    m_command2->setFocus();
    m_timer4.stop();
}
