#pragma once

#include "ProgramOnDesktop.h"
#include "WaylandKeys.h"

#include <QString>
#include <QStringList>

class ProgramCopy;
class WaylandDesktop;

// The program on a private Wayland desktop, worked through its keyboard
// alone: started as the desktop's user, and a test begun with a name typed
// into its input box. Each step says what went wrong (an empty text when
// nothing did) so tests and benchmarks alike can use it.
class ProgramOnWayland : public ProgramOnDesktop
{
public:
    ProgramOnWayland(const WaylandDesktop &desktop, ProgramCopy &program);

    // Hands the program's folder to the desktop's user first: the program
    // keeps its history beside itself, so its user must own the folder, as
    // a person owns their installation.
    QString Start() override;
    QString PressStart(bool afterRun) override;
    QString BeginTest(const QString &name, bool afterRun = false) override;
    HeldKeyRun::Keys &Keys() override { return m_keys; }
    bool WaitForWindowGone(const QString &title) const override;

private:
    // Keys through wtype, after the lead each call needs.
    bool Type(const QStringList &arguments) const;

    const WaylandDesktop &m_desktop;
    ProgramCopy &m_program;
    WaylandKeys m_keys;
};
