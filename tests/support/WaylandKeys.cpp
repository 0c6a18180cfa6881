#include "WaylandKeys.h"

#include "Processes.h"
#include "WaylandDesktop.h"

std::optional<HeldKeyRun::Span> WaylandKeys::Send(qint64 dueMs, qint64 beforeReleaseMs,
                                                  const QStringList &keys)
{
    constexpr qint64 lead = WaylandDesktop::KeyboardLeadMs;
    Processes::SleepUntilMs(dueMs - lead);
    const qint64 beforeMs = Processes::NowMs();
    if (!m_desktop.Wtype(QStringList{QStringLiteral("-s"), QString::number(lead)} + keys))
        return std::nullopt;
    return HeldKeyRun::Span{beforeMs + lead + beforeReleaseMs, Processes::NowMs()};
}

std::optional<HeldKeyRun::Span> WaylandKeys::Taps(qint64 dueMs, const QStringList &keys)
{
    QStringList arguments;
    for (const QString &key : keys)
        arguments << QStringLiteral("-k") << key;
    return Send(dueMs, 0, arguments);
}

std::optional<HeldKeyRun::Span> WaylandKeys::Hold(qint64 dueMs, const QString &key, qint64 holdMs)
{
    return Send(dueMs, holdMs,
                {QStringLiteral("-P"), key, QStringLiteral("-s"), QString::number(holdMs),
                 QStringLiteral("-p"), key});
}

qint64 WaylandKeys::LeadMs() const
{
    return WaylandDesktop::KeyboardLeadMs;
}
