#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

// The child processes a harness starts (servers, the program, the tools
// that drive it) and the wall clock it times keys by. Every child dies with
// the process that started it, even when that one is killed outright, so a
// timed-out or crashed test leaves no server or program behind.
namespace Processes {

// Wall-clock milliseconds since the epoch: the clock the program itself
// times its intervals by.
qint64 NowMs();
void SleepUntilMs(qint64 whenMs);

// Makes the child die with this process; extra runs in the child first
// (for example to change its user), after fork and before exec.
void DieWithParent(QProcess &process, std::function<void()> extra = {});
// Kills the process and waits for it, if it still runs.
void Stop(QProcess &process);

// Runs a tool to its end; false on a non-zero exit or when it takes longer
// than timeoutMs (it is killed then). Its standard output goes to output.
bool Run(const QString &program, const QStringList &arguments,
         const QProcessEnvironment &environment, int timeoutMs, QByteArray *output = nullptr,
         std::function<void()> inChild = {});

} // namespace Processes
