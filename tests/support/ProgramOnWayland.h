#pragma once

#include <QString>

class ProgramCopy;
class WaylandDesktop;

// The program on a private Wayland desktop, worked through its keyboard
// alone: started as the desktop's user, and a test begun with a name typed
// into its input box. Each step says what went wrong (an empty text when
// nothing did) so tests and benchmarks alike can use it.
class ProgramOnWayland
{
public:
    ProgramOnWayland(const WaylandDesktop &desktop, ProgramCopy &program);

    // Hands the program's folder to the desktop's user (the program keeps
    // its history beside itself, so its user must own the folder, as a
    // person owns their installation), starts it there and waits until its
    // window has the keys.
    QString Start();
    // Start, the name typed into the input box, Return; leaves the keys in
    // the diagram area.
    QString BeginTest(const QString &name);
    // Keys through wtype, after the lead each call needs.
    bool Keys(const QStringList &arguments) const;

private:
    const WaylandDesktop &m_desktop;
    ProgramCopy &m_program;
};
