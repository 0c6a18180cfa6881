#pragma once

#include "IdleColourCycle.h"
#include "TestRun.h"
#include "platform/ChildWindow.h"

#include <QTimer>

#include <cstdint>

class PictureBox;
class QLabel;
class QPushButton;

// The test window, where a test is run: the view of a TestRun. "Start"
// starts the run; the key releases in the diagram area go to it, and the
// window follows it, drawing the live diagram while it counts and going
// back to idle when it stops. Between runs the diagram area shows a slowly
// changing colour.
class Form1 : public ChildWindow
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Resize() override;
    void Form_Unload() override;

    void Command1_Click();
    void Command2_Click();
    void Picture1_KeyDown(std::int16_t keyCode);
    // timestamp: when the key was let go, as the window system stamped it;
    // 0 when unknown.
    void Picture1_KeyUp(std::int16_t keyCode, quint64 timestamp = 0);
    void Timer2_Timer();
    void Timer4_Timer();

    TestRun &Run() { return m_run; }
    const TestRun &Run() const { return m_run; }

    PictureBox *Picture1() const { return m_picture1; }
    QPushButton *Command1() const { return m_command1; }
    QPushButton *Command2() const { return m_command2; }
    QLabel *Label1() const { return m_label1; }
    QLabel *Label2() const { return m_label2; }
    QLabel *Label3() const { return m_label3; }
    QLabel *Label4() const { return m_label4; }
    QTimer *Timer2() { return &m_timer2; }
    QTimer *Timer4() { return &m_timer4; }

signals:
    // "Next >>" was clicked: the frame grows and shows the result.
    void NextRequested();

private:
    void BuildControls();
    void FitLabel4();
    // What the window shows as the run is armed, ends an interval, stops.
    void ShowArmed();
    void ShowIntervalEnded();
    void ShowStopped();

    PictureBox *m_image1 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label1 = nullptr;
    PictureBox *m_picture1 = nullptr;
    QLabel *m_label2 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QLabel *m_label4 = nullptr;
    QTimer m_timer2;
    QTimer m_timer4;
    TestRun m_run;
    IdleColourCycle m_cycle;
};
