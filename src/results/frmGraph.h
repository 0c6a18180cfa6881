#pragma once

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
// It keeps nothing of its own: every activation reads the session afresh.
// Its size is fixed; "Cancel" forgets the current result and closes it,
// the close box only closes it.
class frmGraph : public ChildWindow
{
    Q_OBJECT

public:
    explicit frmGraph(QWidget *parent = nullptr);

    void Form_Activate() override;
    void Form_Resize() override;

    void Command1_Click();

    QLabel *lblNm() const { return m_lblNm; }
    QLabel *lblDt() const { return m_lblDt; }
    QLabel *lblTm() const { return m_lblTm; }
    QLabel *Label3() const { return m_label3; }
    QLabel *lblValid() const { return m_lblValid; }
    QPushButton *Command1() const { return m_command1; }
    PictureBox *Picture1() const { return m_picture1; }
    GraphDecoration *Decoration() const { return m_decoration; }

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
};
