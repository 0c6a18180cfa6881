#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;

// A private X desktop for driving the real program as a person would: an
// Xvfb server on a display of its own with openbox managing its windows,
// and xdotool to find windows and send keys and clicks through the server's
// own input path. The server and the manager live as long as this object.
class XDesktop
{
public:
    XDesktop();
    ~XDesktop();
    XDesktop(const XDesktop &) = delete;
    XDesktop &operator=(const XDesktop &) = delete;

    // Starts the server and waits until the manager has taken the screen;
    // an empty text when it did, else what went wrong.
    QString Start();
    QString Display() const { return m_display; }
    // This process's environment for a program on this desktop: the
    // display, and nothing that would send Qt to another platform.
    QProcessEnvironment Environment() const;

    // Runs xdotool against the display; false on a non-zero exit or when it
    // takes longer than timeoutMs.
    bool Xdotool(const QStringList &arguments, int timeoutMs = 10000,
                 QByteArray *output = nullptr) const;
    // The first visible window with exactly this title, waited for; empty
    // when none came.
    QString WaitForWindow(const QString &title, int timeoutMs = WindowTimeoutMs) const;
    bool WaitForWindowGone(const QString &title, int timeoutMs = WindowTimeoutMs) const;
    // The visible windows with exactly this title, none when there are none.
    QStringList VisibleWindows(const QString &title) const;
    // Gives the window the keyboard focus.
    bool Focus(const QString &window) const;
    // The window's place on the screen and size as xdotool reads them;
    // invalid when they cannot be read. The place is right for a window
    // the manager leaves alone (a menu's popup); one it frames comes out
    // shifted by the frame's top-left edges.
    QRect WindowGeometry(const QString &window) const;

    static constexpr int WindowTimeoutMs = 30000;

private:
    QProcess m_server;
    QProcess m_manager;
    std::unique_ptr<QTemporaryDir> m_managerDir;
    QString m_display;
};
