#pragma once

#include "ResultReport.h"
#include "platform/ChildWindow.h"

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
class frmGraph : public ChildWindow
{
    Q_OBJECT

public:
    explicit frmGraph(QWidget *parent = nullptr);

    void Form_Activate() override;
    void Form_Resize() override;

    void Command1_Click();
    void mnuPrintResult_Click();

    QLabel *lblNm() const { return m_lblNm; }
    QLabel *lblDt() const { return m_lblDt; }
    QLabel *lblTm() const { return m_lblTm; }
    QLabel *Label3() const { return m_label3; }
    QLabel *lblValid() const { return m_lblValid; }
    QPushButton *Command1() const { return m_command1; }
    PictureBox *Picture1() const { return m_picture1; }
    GraphDecoration *Decoration() const { return m_decoration; }

signals:
    // The result shown, to be printed.
    void PrintRequested(const ResultReport &report);

private:
    void BuildControls();
    // Nothing means the button-text colour, a label's colour at load.
    void SetForeColor(QLabel *label, std::optional<QColor> colour);

    QLabel *m_lblNm = nullptr;
    QLabel *m_lblDt = nullptr;
    QLabel *m_lblTm = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_lblValid = nullptr;
    QPushButton *m_command1 = nullptr;
    PictureBox *m_picture1 = nullptr;
    GraphDecoration *m_decoration = nullptr;
    // The result on the screen, as the last activation that showed one
    // read it from the session.
    std::optional<ResultReport> m_shown;
};
