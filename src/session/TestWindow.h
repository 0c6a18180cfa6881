#pragma once

#include "IdleColourCycle.h"
#include "LiveDiagram.h"
#include "TestRun.h"
#include "platform/ui/ChildWindow.h"

#include <QTimer>

#include <cstdint>

class PictureBox;
class QLabel;
class QPushButton;
class RunKeyboard;

// The test window, where a test is run: the view of a TestRun, and the only
// one that sees its live counts. "Start" starts the run; from then until it
// stops every key of the program goes to the diagram area and on to the
// run, whichever window is active, and the window follows the run, drawing
// the live diagram while it counts and going back to idle when it stops.
// Between runs the diagram area shows a slowly changing colour; after a run
// it says plainly over that colour that the test is over, until the next
// "Start", so a person still pressing keys knows to stop.
class TestWindow : public ChildWindow
{
    Q_OBJECT

public:
    explicit TestWindow(QWidget *parent = nullptr);

    void OnLoad() override;
    void OnActivate() override;
    void OnDeactivate() override;
    void OnResize() override;
    void OnUnload() override;

    void OnStartClicked();
    void OnNextClicked();
    void OnDiagramKeyDown(std::int16_t keyCode);
    // timestamp: when the key was let go, as the window system stamped it;
    // 0 when unknown.
    void OnDiagramKeyUp(std::int16_t keyCode, quint64 timestamp = 0);
    void OnIdleColourTick();
    void OnRefocusTick();

    TestRun &Run() { return m_run; }
    const TestRun &Run() const { return m_run; }
    // The diagram and its pen.
    LiveDiagram &Pen() { return m_pen; }
    const LiveDiagram &Pen() const { return m_pen; }
    const RunKeyboard *Keyboard() const { return m_keyboard; }

    PictureBox *Diagram() const { return m_diagram; }
    QPushButton *StartButton() const { return m_startButton; }
    QPushButton *NextButton() const { return m_nextButton; }
    QLabel *CountLabel() const { return m_countLabel; }
    QLabel *EscHint() const { return m_escHint; }
    QLabel *IntervalLabel() const { return m_intervalLabel; }
    QLabel *Instructions() const { return m_instructions; }
    // "Test complete" (or "Test stopped" after Esc) over the diagram area.
    QLabel *EndNote() const { return m_endNote; }
    QTimer *IdleColourTimer() { return &m_idleColourTimer; }
    QTimer *RefocusTimer() { return &m_refocusTimer; }

signals:
    // "Next >>" was clicked: the frame grows and shows the result.
    void NextRequested();

private:
    void BuildControls();
    void FitInstructions();
    // What the window shows as the run is armed, ends an interval, stops.
    void ShowArmed();
    void ShowIntervalEnded();
    void ShowStopped();
    void ShowEndNote(const QString &text);
    void PlaceEndNote();

    PictureBox *m_logo = nullptr;
    QLabel *m_intervalLabel = nullptr;
    QLabel *m_countLabel = nullptr;
    PictureBox *m_diagram = nullptr;
    QLabel *m_escHint = nullptr;
    QPushButton *m_startButton = nullptr;
    QPushButton *m_nextButton = nullptr;
    QLabel *m_instructions = nullptr;
    QLabel *m_endNote = nullptr;
    QTimer m_idleColourTimer;
    QTimer m_refocusTimer;
    RunKeyboard *m_keyboard = nullptr;
    TestRun m_run;
    LiveDiagram m_pen;
    IdleColourCycle m_cycle;
};
