#include "ProgramOnX.h"

#include "ProgramCopy.h"
#include "XDesktop.h"

#include <QElapsedTimer>
#include <QThread>

ProgramOnX::ProgramOnX(const XDesktop &desktop, ProgramCopy &program)
    : m_desktop(desktop), m_program(program), m_keys(desktop)
{}

QString ProgramOnX::Start(const std::function<void()> &inChild)
{
    QProcessEnvironment environment = m_desktop.Environment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_program.Folder());
    // Dates and times in the lists and the export as a system without
    // regional settings writes them, whatever this machine's are.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    if (!m_program.Start(environment, inChild))
        return QStringLiteral("the program did not start: ") + m_program.Output();
    m_mainWindow = m_desktop.WaitForWindow(QStringLiteral("Velmora"));
    if (m_mainWindow.isEmpty())
        return QStringLiteral("no program window: ") + m_program.Output();
    return {};
}

QString ProgramOnX::PressStart(bool afterRun)
{
    if (!m_desktop.Focus(m_mainWindow))
        return QStringLiteral("the main window took no focus");
    // After a test has stopped keys press no button until a second has
    // passed without one; the last key of the run may have been read late.
    if (afterRun)
        QThread::msleep(1500);
    if (afterRun && !m_desktop.Xdotool({QStringLiteral("key"), QStringLiteral("shift+Tab")}))
        return QStringLiteral("xdotool failed");
    // The test window gives "Start" the focus when it is activated.
    if (!m_desktop.Xdotool({QStringLiteral("key"), QStringLiteral("space")}))
        return QStringLiteral("xdotool failed");
    const QString input = m_desktop.WaitForWindow(QStringLiteral("Input"));
    if (input.isEmpty())
        return QStringLiteral("Start did not ask for the name");
    if (!m_desktop.Focus(input))
        return QStringLiteral("the input box took no focus");
    return {};
}

QString ProgramOnX::BeginTest(const QString &name, bool afterRun)
{
    if (const QString error = PressStart(afterRun); !error.isEmpty())
        return error;
    if (!m_desktop.Xdotool(
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), name}) ||
        !m_desktop.Xdotool({QStringLiteral("key"), QStringLiteral("Return")}))
        return QStringLiteral("the name could not be typed");
    if (!m_desktop.WaitForWindowGone(QStringLiteral("Input")))
        return QStringLiteral("the input box stayed open");
    if (!m_desktop.Focus(m_mainWindow))
        return QStringLiteral("the main window took no focus");
    return {};
}

bool ProgramOnX::Menu(const QStringList &keys)
{
    // One command, so the keys follow one another in order; the pause lets
    // each menu open before the next key looks for an item in it.
    return m_desktop.Focus(m_mainWindow) &&
           m_desktop.Xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                         QStringLiteral("150")} +
                             keys);
}

QString ProgramOnX::WaitForMessageBox(int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        for (const QString &window : m_desktop.VisibleWindows(QStringLiteral("Velmora"))) {
            if (window != m_mainWindow)
                return window;
        }
        QThread::msleep(50);
    }
    return {};
}

bool ProgramOnX::WaitForWindowIdGone(const QString &window, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        bool shown = false;
        for (const QString &title : {QStringLiteral("Velmora"), QStringLiteral("Data delete")})
            shown = shown || m_desktop.VisibleWindows(title).contains(window);
        if (!shown)
            return true;
        QThread::msleep(50);
    }
    return false;
}

bool ProgramOnX::Answer(const QString &box, int timeoutMs)
{
    return !box.isEmpty() && m_desktop.Focus(box) &&
           m_desktop.Xdotool({QStringLiteral("key"), QStringLiteral("Return")}) &&
           WaitForWindowIdGone(box, timeoutMs);
}
