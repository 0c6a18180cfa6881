#pragma once

#include <QObject>

class QWidget;

// The keyboard of a test going on. Once a run is armed, every key made in
// the program's windows is the tested person's and goes to the run's
// diagram area, whichever working window the operator has brought up with
// the mouse meanwhile: a key never lands in the history list, on a button
// or in a menu opened from the menu bar, and Esc stops the run from
// anywhere. The mouse works as ever, and a modal dialog the operator opens
// (a file dialog, a message) takes its own keys. Help asked for through
// the menu still opens.
class RunKeyboard : public QObject
{
    Q_OBJECT

public:
    // The keys go to area while the keyboard is taken.
    explicit RunKeyboard(QWidget *area, QObject *parent = nullptr);
    ~RunKeyboard() override;

    void Take();
    void Release();
    bool IsTaken() const { return m_taken; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_area;
    bool m_taken = false;
};
