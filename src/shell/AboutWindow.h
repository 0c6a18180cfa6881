#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The About window: the program's logo, name and version and a short legal
// notice. It is a small tool window of its own beside the main frame, not
// one of the frame's working windows; the frame keeps at most one and
// closes it when the frame itself closes. It shows fixed content only, and
// closing it discards it, so the next opening builds it anew.
class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);

    void OnOkClicked();

    QLabel *Logo() const { return m_logo; }
    QLabel *Version() const { return m_version; }
    QLabel *Notice() const { return m_notice; }
    QPushButton *OkButton() const { return m_okButton; }

protected:
    bool event(QEvent *event) override;

private:
    void OnActivate();

    QLabel *m_logo = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_notice = nullptr;
    QPushButton *m_okButton = nullptr;
};
