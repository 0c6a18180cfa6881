#include "ProgramOnWayland.h"

#include "ProgramCopy.h"
#include "WaylandDesktop.h"

#include <QStringList>

ProgramOnWayland::ProgramOnWayland(const WaylandDesktop &desktop, ProgramCopy &program)
    : m_desktop(desktop), m_program(program)
{}

bool ProgramOnWayland::Keys(const QStringList &arguments) const
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

QString ProgramOnWayland::BeginTest(const QString &name)
{
    // The test window gives "Start" the focus when it is activated.
    if (!Keys({QStringLiteral("-k"), QStringLiteral("space")}))
        return QStringLiteral("wtype failed");
    if (!m_desktop.WaitForFocused(QStringLiteral("Input")))
        return QStringLiteral("Start did not ask for the name");
    if (!Keys({QStringLiteral("-d"), QStringLiteral("20"), name, QStringLiteral("-s"),
               QStringLiteral("50"), QStringLiteral("-k"), QStringLiteral("Return")}))
        return QStringLiteral("the name could not be typed");
    if (!m_desktop.WaitForWindowGone(QStringLiteral("Input")))
        return QStringLiteral("the input box stayed open");
    if (!m_desktop.WaitForFocused(QStringLiteral("Velmora")))
        return QStringLiteral("the test window did not get the keys back");
    return {};
}
