#pragma once

#include "HeldKeyRun.h"

#include <QString>

// The program on a private desktop, worked through its keyboard alone, as
// the end-to-end cases every desktop runs see it: how its keys are sent and
// its windows found is the desktop's own. Each step says what went wrong (an
// empty text when nothing did).
class ProgramOnDesktop
{
public:
    virtual ~ProgramOnDesktop() = default;

    // Starts the program and waits until its window has the keys.
    virtual QString Start() = 0;
    // Start pressed from the keyboard; waits for the input box and leaves
    // the keys in it. After a run the focus is on "Next >>", one back from
    // "Start", and keys press no button until a second has passed without
    // a key, which it waits for when called right after the run's last.
    virtual QString PressStart(bool afterRun) = 0;
    // Start, the name typed into the input box, Return; leaves the keys in
    // the diagram area.
    virtual QString BeginTest(const QString &name, bool afterRun = false) = 0;
    // Keys to whatever has the focus.
    virtual HeldKeyRun::Keys &Keys() = 0;
    virtual bool WaitForWindowGone(const QString &title) const = 0;
};
