#include "WaylandDesktop.h"

#include "Processes.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

// Every window sway shows, tiled or floating, with its title and whether it
// has the keyboard focus. Windows are the nodes that belong to a client.
void collectWindows(const QJsonObject &node, QStringList &titles, QString &focused)
{
    if (node.contains(QStringLiteral("pid"))) {
        const QString title = node.value(QStringLiteral("name")).toString();
        titles << title;
        if (node.value(QStringLiteral("focused")).toBool())
            focused = title;
    }
    for (const char *children : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray())
            collectWindows(child.toObject(), titles, focused);
}

} // namespace

WaylandDesktop::WaylandDesktop() = default;

WaylandDesktop::~WaylandDesktop()
{
    Processes::Stop(m_keyboard);
    Processes::Stop(m_compositor);
}

WaylandDesktop::Start WaylandDesktop::StartCompositor()
{
    for (const char *tool : {"sway", "swaymsg", "wtype"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            m_problem = QStringLiteral("%1 is not installed (bash scripts/setup.sh installs it)")
                            .arg(QLatin1String(tool));
            return Start::Broken;
        }
    }
    m_switchUser = ::geteuid() == 0;
    const passwd *user = m_switchUser ? ::getpwnam("nobody") : ::getpwuid(::geteuid());
    if (user == nullptr) {
        m_problem = m_switchUser ? QStringLiteral("no user \"nobody\" to run sway as, which "
                                                  "refuses to run as root")
                                 : QStringLiteral("this process's user is unknown");
        return Start::Broken;
    }
    m_uid = user->pw_uid;
    m_gid = user->pw_gid;
    m_userName = QString::fromLocal8Bit(user->pw_name);

    // Home, settings, caches and the runtime folder all of its own, so
    // nothing of this machine's desktop leaks in.
    m_home = std::make_unique<QTemporaryDir>();
    if (!m_home->isValid()) {
        m_problem = QStringLiteral("no folder for sway: ") + m_home->errorString();
        return Start::Broken;
    }
    QDir home(m_home->path());
    m_runtime = home.filePath(QStringLiteral("runtime"));
    const QString config = home.filePath(QStringLiteral("config"));
    const QString ready = home.filePath(QStringLiteral("ready"));
    const QString announce = home.filePath(QStringLiteral("announce.sh"));
    m_log = home.filePath(QStringLiteral("sway.log"));
    const QString &log = m_log;
    if (!home.mkdir(QStringLiteral("runtime")) ||
        !QFile::setPermissions(m_runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner)) {
        m_problem = QStringLiteral("cannot make the runtime folder ") + m_runtime;
        return Start::Broken;
    }
    {
        // sway runs what the settings start once it takes clients; that
        // names the sockets for this desktop's clients.
        QFile script(announce);
        QFile settings(config);
        if (!script.open(QIODevice::WriteOnly) || !settings.open(QIODevice::WriteOnly)) {
            m_problem = QStringLiteral("cannot write sway's settings in ") + home.path();
            return Start::Broken;
        }
        script.write(QStringLiteral("printf '%s\\n%s\\n' \"$WAYLAND_DISPLAY\" \"$SWAYSOCK\" > "
                                    "'%1.new' && mv '%1.new' '%1'\n")
                         .arg(ready)
                         .toLocal8Bit());
        settings.write(QStringLiteral("xwayland disable\n"
                                      "input type:keyboard {\n"
                                      "    repeat_delay %1\n"
                                      "    repeat_rate %2\n"
                                      "}\n"
                                      "exec sh '%3'\n")
                           .arg(RepeatDelayMs)
                           .arg(RepeatRate)
                           .arg(announce)
                           .toLocal8Bit());
    }
    if (!GiveToUser(home.path())) {
        m_problem = QStringLiteral("cannot hand %1 to the user %2").arg(home.path(), m_userName);
        return Start::Broken;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK", "I3SOCK"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral(".cache")));
    // No screen, no input devices and no graphics card: everything in
    // memory, the keys from the virtual keyboards alone.
    environment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    environment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    m_compositor.setProcessEnvironment(environment);
    m_compositor.setWorkingDirectory(home.path());
    m_compositor.setStandardOutputFile(log);
    m_compositor.setProcessChannelMode(QProcess::MergedChannels);
    Processes::DieWithParent(m_compositor, AsUser());
    m_compositor.start(QStringLiteral("sway"), {QStringLiteral("-c"), config});

    if (!m_compositor.waitForStarted(10000)) {
        m_problem = QStringLiteral("sway did not start: ") + m_compositor.errorString();
        return Start::NoCompositor;
    }
    QElapsedTimer waited;
    waited.start();
    // Waiting for its end a little at a time notices at once when it ends.
    while (!QFileInfo::exists(ready) && waited.elapsed() < WindowTimeoutMs &&
           m_compositor.state() == QProcess::Running && !m_compositor.waitForFinished(50))
        ;
    QFile names(ready);
    const QStringList sockets =
        names.open(QIODevice::ReadOnly)
            ? QString::fromLocal8Bit(names.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
            : QStringList();
    if (sockets.size() != 2) {
        m_problem =
            QStringLiteral("sway (as %1) did not start: %2").arg(m_userName, CompositorLog());
        Processes::Stop(m_compositor);
        return Start::NoCompositor;
    }
    m_socket = sockets[0];
    m_ipcSocket = sockets[1];

    // A desktop has a keyboard all the time. Without one the seat offers a
    // keyboard only while a wtype call lasts, and a client that cannot
    // answer at once (a stopped or busy program) finds it gone, with its
    // keys, by the time it asks for it. A wtype call that does nothing for
    // a day stands for it.
    m_keyboard.setProcessEnvironment(Environment());
    Processes::DieWithParent(m_keyboard, AsUser());
    m_keyboard.start(QStringLiteral("wtype"), {QStringLiteral("-s"), QStringLiteral("86400000")});
    if (!m_keyboard.waitForStarted(10000)) {
        m_problem = QStringLiteral("the desktop's keyboard (wtype) did not start: ") +
                    m_keyboard.errorString();
        return Start::Broken;
    }
    // Until it has its keyboard the seat offers none to a new client.
    QThread::msleep(KeyboardLeadMs);
    return Start::Ready;
}

QString WaylandDesktop::CompositorLog() const
{
    QFile file(m_log);
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return QString::fromLocal8Bit(text.right(2000)).trimmed();
}

QProcessEnvironment WaylandDesktop::Environment() const
{
    QProcessEnvironment environment = m_compositor.processEnvironment();
    for (const char *name : {"WLR_BACKENDS", "WLR_LIBINPUT_NO_DEVICES", "WLR_RENDERER"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), m_socket);
    environment.insert(QStringLiteral("SWAYSOCK"), m_ipcSocket);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    return environment;
}

std::function<void()> WaylandDesktop::AsUser() const
{
    if (!m_switchUser)
        return {};
    // Between fork and exec only plain system calls are safe; a failure
    // leaves the child root, which sway then refuses and a test sees.
    return [uid = m_uid, gid = m_gid] {
        (void)::setgroups(0, nullptr);
        (void)::setgid(gid);
        (void)::setuid(uid);
    };
}

bool WaylandDesktop::GiveToUser(const QString &path) const
{
    if (!m_switchUser)
        return true;
    bool given = ::lchown(QFile::encodeName(path).constData(), m_uid, m_gid) == 0;
    QDirIterator entries(path,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        given = ::lchown(QFile::encodeName(entries.next()).constData(), m_uid, m_gid) == 0 && given;
    return given;
}

bool WaylandDesktop::Wtype(const QStringList &arguments, int timeoutMs) const
{
    return Processes::Run(QStringLiteral("wtype"), arguments, Environment(), timeoutMs, nullptr,
                          AsUser());
}

QByteArray WaylandDesktop::Tree() const
{
    QByteArray tree;
    if (!Processes::Run(QStringLiteral("swaymsg"),
                        {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_tree")},
                        Environment(), 10000, &tree, AsUser()))
        return {};
    return tree;
}

bool WaylandDesktop::Snapshot(QStringList *titles, QString *focused) const
{
    const QJsonDocument tree = QJsonDocument::fromJson(Tree());
    if (!tree.isObject())
        return false;
    collectWindows(tree.object(), *titles, *focused);
    return true;
}

QStringList WaylandDesktop::Windows() const
{
    QStringList titles;
    QString focused;
    Snapshot(&titles, &focused);
    return titles;
}

QString WaylandDesktop::Focused() const
{
    QStringList titles;
    QString focused;
    Snapshot(&titles, &focused);
    return focused;
}

bool WaylandDesktop::WaitForFocused(const QString &title, int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        if (Focused() == title)
            return true;
        QThread::msleep(50);
    }
    return false;
}

bool WaylandDesktop::WaitForWindowGone(const QString &title, int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        QStringList titles;
        QString focused;
        if (Snapshot(&titles, &focused) && !titles.contains(title))
            return true;
        QThread::msleep(50);
    }
    return false;
}

bool WaylandDesktop::Focus(const QString &title) const
{
    const QString criteria =
        QStringLiteral("[title=\"^%1$\"]").arg(QRegularExpression::escape(title));
    return Processes::Run(QStringLiteral("swaymsg"), {criteria, QStringLiteral("focus")},
                          Environment(), 10000, nullptr, AsUser()) &&
           WaitForFocused(title, 5000);
}
