#pragma once

#include "ProgramOnDesktop.h"
#include "XDesktop.h"
#include "XKeys.h"

#include <QString>
#include <QStringList>

#include <functional>

class ProgramCopy;

// The program on a private X desktop, worked through its keyboard alone:
// started, a test begun with a name typed into its input box, menus opened
// by their keys and message boxes answered. Each step says what went wrong
// (an empty text when nothing did) so tests and benchmarks alike can use it.
class ProgramOnX : public ProgramOnDesktop
{
public:
    ProgramOnX(const XDesktop &desktop, ProgramCopy &program);

    QString Start() override { return Start({}); }
    // The same, with inChild run in the program's process before it starts
    // (for example to limit it).
    QString Start(const std::function<void()> &inChild);
    QString MainWindow() const { return m_mainWindow; }
    QString PressStart(bool afterRun) override;
    QString BeginTest(const QString &name, bool afterRun = false) override;
    HeldKeyRun::Keys &Keys() override { return m_keys; }
    bool WaitForWindowGone(const QString &title) const override
    {
        return m_desktop.WaitForWindowGone(title);
    }

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
    XKeys m_keys;
    QString m_mainWindow;
};
