#include "XDesktop.h"

#include "Processes.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

XDesktop::XDesktop() = default;

XDesktop::~XDesktop()
{
    Processes::Stop(m_manager);
    Processes::Stop(m_server);
}

QString XDesktop::Start()
{
    for (const char *tool : {"Xvfb", "xdotool", "openbox"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            return QStringLiteral("%1 is not installed (bash scripts/setup.sh installs it)")
                .arg(QLatin1String(tool));
    }
    // The server picks a free display itself and names it on its stdout
    // once it accepts clients.
    Processes::DieWithParent(m_server);
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-noreset"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1024x768x24")});
    if (!m_server.waitForStarted(10000))
        return QStringLiteral("Xvfb did not start: ") + m_server.errorString();
    QElapsedTimer waited;
    waited.start();
    QByteArray number;
    while (!number.contains('\n') && waited.elapsed() < WindowTimeoutMs &&
           m_server.state() == QProcess::Running) {
        m_server.waitForReadyRead(500);
        number += m_server.readAllStandardOutput();
    }
    if (!number.contains('\n'))
        return QStringLiteral("Xvfb did not start: ") +
               QString::fromLocal8Bit(m_server.readAllStandardError());
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    // The manager, with its stock settings, claims the screen
    // asynchronously; a window mapped before it has done so would stay
    // unmanaged. It runs the command given at start-up once it manages
    // the screen.
    m_managerDir = std::make_unique<QTemporaryDir>();
    if (!m_managerDir->isValid())
        return QStringLiteral("no folder for openbox: ") + m_managerDir->errorString();
    const QString ready = m_managerDir->filePath(QStringLiteral("ready"));
    QProcessEnvironment environment = Environment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_managerDir->path());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_managerDir->path());
    m_manager.setProcessEnvironment(environment);
    Processes::DieWithParent(m_manager);
    m_manager.start(QStringLiteral("openbox"),
                    {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                     QStringLiteral("touch ") + ready});
    if (!m_manager.waitForStarted(10000))
        return QStringLiteral("openbox did not start: ") + m_manager.errorString();
    waited.restart();
    // Waiting for its end a little at a time notices at once when it ends.
    while (!QFileInfo::exists(ready) && waited.elapsed() < WindowTimeoutMs &&
           m_manager.state() == QProcess::Running && !m_manager.waitForFinished(50))
        ;
    if (!QFileInfo::exists(ready))
        return QStringLiteral("openbox did not start: ") +
               QString::fromLocal8Bit(m_manager.readAllStandardError());
    return {};
}

QProcessEnvironment XDesktop::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // CTest runs the suite on the offscreen platform; a program here must
    // reach the X server.
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    return environment;
}

bool XDesktop::Xdotool(const QStringList &arguments, int timeoutMs, QByteArray *output) const
{
    return Processes::Run(QStringLiteral("xdotool"), arguments, Environment(), timeoutMs, output);
}

QString XDesktop::WaitForWindow(const QString &title, int timeoutMs) const
{
    QByteArray found;
    if (!Xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                  QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QLatin1Char('^') + title + QLatin1Char('$')},
                 timeoutMs, &found))
        return {};
    return QString::fromLatin1(found).section(QLatin1Char('\n'), 0, 0).trimmed();
}

bool XDesktop::WaitForWindowGone(const QString &title, int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        if (VisibleWindows(title).isEmpty())
            return true;
        QThread::msleep(50);
    }
    return false;
}

QStringList XDesktop::VisibleWindows(const QString &title) const
{
    QByteArray found;
    // search exits with 1 when nothing matches.
    if (!Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')},
                 10000, &found))
        return {};
    QStringList windows;
    for (const QString &window : QString::fromLatin1(found).split(QLatin1Char('\n')))
        if (!window.trimmed().isEmpty())
            windows << window.trimmed();
    return windows;
}

bool XDesktop::Focus(const QString &window) const
{
    // Nobody hands the focus back when a dialog closes, and a dialog may
    // map before the program focuses it; setting it here makes the keys'
    // target certain whatever the manager decided.
    return Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
}

QRect XDesktop::WindowGeometry(const QString &window) const
{
    QByteArray shell;
    if (!Xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window}, 10000,
                 &shell))
        return {};
    QRect geometry;
    for (const QByteArray &line : shell.split('\n')) {
        const int value = line.mid(line.indexOf('=') + 1).toInt();
        if (line.startsWith("X="))
            geometry.moveLeft(value);
        else if (line.startsWith("Y="))
            geometry.moveTop(value);
        else if (line.startsWith("WIDTH="))
            geometry.setWidth(value);
        else if (line.startsWith("HEIGHT="))
            geometry.setHeight(value);
    }
    return geometry;
}
