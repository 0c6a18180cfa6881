#pragma once

#include <QRect>
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

    // Shows a page and brings the window to the front. The first time,
    // the window opens beside the one help was asked from, so the two can
    // be read side by side.
    void ShowPage(const QUrl &page);

    // Where a window of the given frame size goes beside a window that
    // takes up beside on the screen area available: to its right where it
    // fits, else to its left, else against the area's right edge; never
    // above or beyond the area.
    static QPoint PlaceBeside(const QRect &beside, const QSize &size, const QRect &available);

    QTextBrowser *Browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
    QPushButton *m_back = nullptr;
    bool m_placed = false;
};
