#include "ProgramOnWayland.h"

#include "ProgramCopy.h"
#include "WaylandDesktop.h"

#include <QThread>

ProgramOnWayland::ProgramOnWayland(const WaylandDesktop &desktop, ProgramCopy &program)
    : m_desktop(desktop), m_program(program), m_keys(desktop)
{}

bool ProgramOnWayland::Type(const QStringList &arguments) const
{
    return m_desktop.Wtype(
        QStringList{QStringLiteral("-s"), QString::number(WaylandDesktop::KeyboardLeadMs)} +
        arguments);
}

QString ProgramOnWayland::Start()
{
    if (!m_desktop.GiveToUser(m_program.Folder()))
        return QStringLiteral("cannot hand %1 to the desktop's user").arg(m_program.Folder());
    QProcessEnvironment environment = m_desktop.Environment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    if (!m_program.Start(environment, m_desktop.AsUser()))
        return QStringLiteral("the program did not start: ") + m_program.Output();
    if (!m_desktop.WaitForFocused(QStringLiteral("Velmora")))
        return QStringLiteral("no program window: ") + m_program.Output();
    return {};
}

QString ProgramOnWayland::PressStart(bool afterRun)
{
    QStringList keys;
    // After a test has stopped keys press no button until a second has
    // passed without one; the last key of the run may have been read late.
    if (afterRun) {
        QThread::msleep(1500);
        keys << QStringLiteral("-M") << QStringLiteral("shift") << QStringLiteral("-k")
             << QStringLiteral("Tab") << QStringLiteral("-m") << QStringLiteral("shift")
             << QStringLiteral("-s") << QStringLiteral("50");
    }
    // The test window gives "Start" the focus when it is activated.
    if (!Type(keys << QStringLiteral("-k") << QStringLiteral("space")))
        return QStringLiteral("wtype failed");
    if (!m_desktop.WaitForFocused(QStringLiteral("Input")))
        return QStringLiteral("Start did not ask for the name");
    return {};
}

QString ProgramOnWayland::BeginTest(const QString &name, bool afterRun)
{
    if (const QString error = PressStart(afterRun); !error.isEmpty())
        return error;
    if (!Type({QStringLiteral("-d"), QStringLiteral("20"), name, QStringLiteral("-s"),
               QStringLiteral("50"), QStringLiteral("-k"), QStringLiteral("Return")}))
        return QStringLiteral("the name could not be typed");
    if (!m_desktop.WaitForWindowGone(QStringLiteral("Input")))
        return QStringLiteral("the input box stayed open");
    if (!m_desktop.WaitForFocused(QStringLiteral("Velmora")))
        return QStringLiteral("the test window did not get the keys back");
    return {};
}

bool ProgramOnWayland::WaitForWindowGone(const QString &title) const
{
    return m_desktop.WaitForWindowGone(title);
}
