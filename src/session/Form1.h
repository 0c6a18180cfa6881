#pragma once

#include "IdleColourCycle.h"
#include "RunTimer.h"
#include "platform/ChildWindow.h"

#include <QTimer>

#include <cstdint>

class PictureBox;
class QLabel;
class QPushButton;

// The test window, where a test is run. "Start" asks for the tested
// person's name and arms the diagram; the person's key releases in the
// diagram area are counted in five intervals of about five seconds, the
// first release starting the timing; after the fifth interval the window
// returns to idle and the run is appended to the history. Esc aborts a run
// at any moment without a record. Between runs the diagram area shows a
// slowly changing colour.
class Form1 : public ChildWindow
{
    Q_OBJECT

public:
    enum class State { Idle, Armed, Counting };

    explicit Form1(QWidget *parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Resize() override;
    void Form_Unload() override;

    void Command1_Click();
    void Command2_Click();
    void Picture1_KeyDown(std::int16_t keyCode);
    void Picture1_KeyUp(std::int16_t keyCode);
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();

    // Asks for the tested person's name and puts it into the current record.
    void EnterTestedName();
    // Starts timing the run's intervals; returns at once.
    void RunIntervals();
    void StopTest();

    State CurrentState() const;

    PictureBox *Picture1() const { return m_picture1; }
    QPushButton *Command1() const { return m_command1; }
    QPushButton *Command2() const { return m_command2; }
    QLabel *Label1() const { return m_label1; }
    QLabel *Label2() const { return m_label2; }
    QLabel *Label3() const { return m_label3; }
    QLabel *Label4() const { return m_label4; }
    QTimer *Timer2() { return &m_timer2; }
    QTimer *Timer3() { return &m_timer3; }
    QTimer *Timer4() { return &m_timer4; }
    RunTimer *Intervals() { return &m_intervals; }

signals:
    // "Next >>" was clicked: the frame grows and shows the result.
    void NextRequested();
    // The fifth interval has ended and the window is idle again: the run's
    // record is to be appended now.
    void RunCompleted();

private:
    void BuildControls();
    void FitLabel4();
    void IntervalEnded();
    void EnableTimer3();
    // Stops the timing and the drift and clears the run's counters.
    void EndRun();

    PictureBox *m_image1 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label1 = nullptr;
    PictureBox *m_picture1 = nullptr;
    QLabel *m_label2 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QLabel *m_label4 = nullptr;
    QTimer m_timer2;
    QTimer m_timer3;
    QTimer m_timer4;
    RunTimer m_intervals;
    IdleColourCycle m_cycle;
};
