#pragma once

#include "platform/ui/ChildWindow.h"
#include "record/TestResult.h"

#include <QColor>

#include <optional>

class CurrentResult;
class GraphDecoration;
class PictureBox;
class QLabel;
class QPushButton;

// The results window: the frame's current result (a test just stored, or
// one chosen in the data window or the trend) with the tested person's
// name, date and time, both verdicts and a small graph of the four counts.
// It only reads that result, afresh at every activation, and keeps a copy
// of what it shows, to print it. Its size is fixed; "Cancel" asks the frame
// to forget the current result and closes the window, the close box only
// closes it. Ctrl+P and its context menu ask the frame to print the result
// it shows on one page.
class ResultsWindow : public ChildWindow
{
    Q_OBJECT

public:
    explicit ResultsWindow(QWidget *parent = nullptr);

    // Where the window reads the result it shows.
    void ReadFrom(const CurrentResult *current) { m_current = current; }

    void OnActivate() override;
    void OnResize() override;

    void OnCancelClicked();
    void OnPrintResultClicked();

    QLabel *NameBox() const { return m_nameBox; }
    QLabel *DateBox() const { return m_dateBox; }
    QLabel *TimeBox() const { return m_timeBox; }
    QLabel *ResultsBox() const { return m_resultsBox; }
    QLabel *ReliabilityBox() const { return m_reliabilityBox; }
    QPushButton *CancelButton() const { return m_cancelButton; }
    PictureBox *Graph() const { return m_graph; }
    GraphDecoration *Decoration() const { return m_decoration; }

signals:
    // The result shown, to be printed.
    void PrintRequested(const TestResult &result);
    // "Cancel": the current result is to be forgotten.
    void ForgetRequested();

private:
    void BuildControls();
    void Show(const TestResult &result);
    // Nothing means the button-text colour, a label's colour at load.
    void SetForeColor(QLabel *label, std::optional<QColor> colour);

    QLabel *m_nameBox = nullptr;
    QLabel *m_dateBox = nullptr;
    QLabel *m_timeBox = nullptr;
    QLabel *m_resultsBox = nullptr;
    QLabel *m_reliabilityBox = nullptr;
    QPushButton *m_cancelButton = nullptr;
    PictureBox *m_graph = nullptr;
    GraphDecoration *m_decoration = nullptr;
    const CurrentResult *m_current = nullptr;
    // The result on the screen, as the last activation that showed one
    // read it.
    std::optional<TestResult> m_shown;
};
