#include "XKeys.h"

#include "Processes.h"
#include "XDesktop.h"

std::optional<HeldKeyRun::Span> XKeys::SendAt(qint64 dueMs, const QStringList &arguments)
{
    Processes::SleepUntilMs(dueMs);
    HeldKeyRun::Span span;
    span.earliestMs = Processes::NowMs();
    if (!m_desktop.Xdotool(arguments))
        return std::nullopt;
    span.latestMs = Processes::NowMs();
    return span;
}

std::optional<HeldKeyRun::Span> XKeys::Taps(qint64 dueMs, const QStringList &keys)
{
    // Without a pause between them the keys go down and up at once.
    return SendAt(
        dueMs,
        QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("0")} + keys);
}

std::optional<HeldKeyRun::Span> XKeys::Hold(qint64 dueMs, const QString &key, qint64 holdMs)
{
    if (!SendAt(dueMs, {QStringLiteral("keydown"), key}))
        return std::nullopt;
    return SendAt(dueMs + holdMs, {QStringLiteral("keyup"), key});
}
