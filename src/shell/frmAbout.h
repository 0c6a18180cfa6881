#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The About window: the program's logo, name and version and a short legal
// notice. It is a small tool window of its own beside the main frame, not
// one of the frame's working windows; the frame keeps at most one and
// closes it when the frame itself closes. It shows fixed content only, and
// closing it discards it, so the next opening builds it anew.
class frmAbout : public QWidget
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    void Command3_Click();

    QLabel *Image1() const { return m_image1; }
    QLabel *Label3() const { return m_label3; }
    QLabel *Label4() const { return m_label4; }
    QPushButton *Command3() const { return m_command3; }

protected:
    bool event(QEvent *event) override;

private:
    void Form_Activate();

    QLabel *m_image1 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label4 = nullptr;
    QPushButton *m_command3 = nullptr;
};
