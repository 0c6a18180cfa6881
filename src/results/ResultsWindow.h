#pragma once

#include "ResultReport.h"
#include "platform/ui/ChildWindow.h"

#include <QColor>

#include <optional>

class GraphDecoration;
class PictureBox;
class QLabel;
class QPushButton;

// The results window: the current result of the session (a run just
// finished or a record chosen in the data window) with the tested person's
// name, date and time, both verdicts and a small graph of the four counts.
// Every activation reads the session afresh; the window keeps only what it
// shows, to print it. Its size is fixed; "Cancel" forgets the current result and closes it,
// the close box only closes it. Ctrl+P and its context menu ask the frame
// to print the result it shows on one page.
class ResultsWindow : public ChildWindow
{
    Q_OBJECT

public:
    explicit ResultsWindow(QWidget *parent = nullptr);

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
    void PrintRequested(const ResultReport &report);

private:
    void BuildControls();
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
    // The result on the screen, as the last activation that showed one
    // read it from the session.
    std::optional<ResultReport> m_shown;
};
