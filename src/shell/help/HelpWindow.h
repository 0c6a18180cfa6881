#pragma once

#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// The small window in which the program's own help pages are read: one
// page at a time, with links between the pages, a way back and a way to
// the contents. It is a window of its own beside the main frame and does
// not keep the program running once the main frame is closed.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows a page and brings the window to the front.
    void ShowPage(const QUrl &page);

    QTextBrowser *Browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
    QPushButton *m_back = nullptr;
};
