#include "Processes.h"

#include <QDateTime>

#include <chrono>
#include <csignal>
#include <thread>

#include <sys/prctl.h>

namespace Processes {

qint64 NowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

void SleepUntilMs(qint64 whenMs)
{
    const qint64 left = whenMs - NowMs();
    if (left > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(left));
}

void DieWithParent(QProcess &process, std::function<void()> extra)
{
    // The death signal is set last: changing the user clears it.
    process.setChildProcessModifier([extra = std::move(extra)] {
        if (extra)
            extra();
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
}

void Stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(5000);
}

bool Run(const QString &program, const QStringList &arguments,
         const QProcessEnvironment &environment, int timeoutMs, QByteArray *output,
         std::function<void()> inChild)
{
    QProcess tool;
    DieWithParent(tool, std::move(inChild));
    tool.setProcessEnvironment(environment);
    tool.start(program, arguments);
    if (!tool.waitForFinished(timeoutMs)) {
        Stop(tool);
        return false;
    }
    if (output != nullptr)
        *output = tool.readAllStandardOutput();
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

} // namespace Processes
