#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <sys/types.h>

class QTemporaryDir;

// A private Wayland desktop for driving the real program as a person would:
// a headless sway with no input devices of its own, a virtual keyboard
// that is there all the time and repeats a held key after a short delay,
// wtype to send keys through virtual keyboards of their own, and sway's own
// tree to find windows and the focus.
// sway refuses to run as root, so when this process is root the compositor
// and everything on it run as the unprivileged user "nobody", in folders
// handed to that user; otherwise they run as this process's own user. The
// compositor lives as long as this object.
class WaylandDesktop
{
public:
    enum class Start { Ready, NoCompositor, Broken };

    WaylandDesktop();
    ~WaylandDesktop();
    WaylandDesktop(const WaylandDesktop &) = delete;
    WaylandDesktop &operator=(const WaylandDesktop &) = delete;

    // Starts the compositor and waits until it takes clients. NoCompositor
    // when the compositor itself could not start on this machine, Broken
    // when anything else is wrong (a tool missing, no unprivileged user);
    // Problem() says what.
    Start StartCompositor();
    QString Problem() const { return m_problem; }
    // The end of what the compositor wrote to its output.
    QString CompositorLog() const;

    // The environment of a program on this desktop: Qt on Wayland, the
    // compositor's socket, and no X display to fall back to.
    QProcessEnvironment Environment() const;
    // Runs in a child before exec to make it the desktop's user.
    std::function<void()> AsUser() const;
    // Hands the path and everything in it to the desktop's user.
    bool GiveToUser(const QString &path) const;
    QString UserName() const { return m_userName; }

    // Runs wtype on this desktop; false when it failed or took longer than
    // timeoutMs.
    bool Wtype(const QStringList &arguments, int timeoutMs = 10000) const;
    // The titles of the windows shown, and the one with the keyboard focus
    // (empty when none has it).
    QStringList Windows() const;
    QString Focused() const;
    bool WaitForFocused(const QString &title, int timeoutMs = WindowTimeoutMs) const;
    bool WaitForWindowGone(const QString &title, int timeoutMs = WindowTimeoutMs) const;
    // Asks the compositor to focus the window with this title.
    bool Focus(const QString &title) const;

    static constexpr int WindowTimeoutMs = 30000;
    // wtype makes a new virtual keyboard on each call, and a client may not
    // have taken its key map before the first key comes: each call waits
    // this long before its first key.
    static constexpr qint64 KeyboardLeadMs = 60;
    // The keyboard's repeat, as the compositor tells its clients.
    static constexpr int RepeatDelayMs = 250;
    static constexpr int RepeatRate = 30;

private:
    QByteArray Tree() const;
    // The windows' titles and the focused one; false when sway did not
    // answer.
    bool Snapshot(QStringList *titles, QString *focused) const;

    QProcess m_compositor;
    QProcess m_keyboard;
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_runtime;
    QString m_socket;
    QString m_ipcSocket;
    QString m_problem;
    QString m_log;
    QString m_userName;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    bool m_switchUser = false;
};
