#pragma once

#include "XDesktop.h"

#include <QString>
#include <QStringList>

class ProgramCopy;

// The program on a private X desktop, worked through its keyboard alone:
// started, a test begun with a name typed into its input box, menus opened
// by their keys and message boxes answered. Each step says what went wrong
// (an empty text when nothing did) so tests and benchmarks alike can use it.
class ProgramOnX
{
public:
    ProgramOnX(const XDesktop &desktop, ProgramCopy &program);

    // Starts the program and waits for its main window.
    QString Start();
    QString MainWindow() const { return m_mainWindow; }

    // Start, the name in the input box, Return; leaves the keys in the
    // diagram area. After a run the focus is on "Next >>", one back from
    // "Start".
    QString BeginTest(const QString &name, bool afterRun = false);
    // Keys for the menus, pressed one after another in the main window.
    bool Menu(const QStringList &keys);
    // A message box: a window under the program's own title that is not its
    // main window, waited for; empty when none came.
    QString WaitForMessageBox(int timeoutMs = XDesktop::WindowTimeoutMs);
    bool WaitForWindowIdGone(const QString &window, int timeoutMs = XDesktop::WindowTimeoutMs);
    // Closes a message box with Return, its default button.
    bool Answer(const QString &box, int timeoutMs = XDesktop::WindowTimeoutMs);

private:
    const XDesktop &m_desktop;
    ProgramCopy &m_program;
    QString m_mainWindow;
};
