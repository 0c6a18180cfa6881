#pragma once

#include "HeldKeyRun.h"

class XDesktop;

// Keys through an X server with xdotool: a key held goes down and up in two
// xdotool calls, so the server repeats it in between; a release lies within
// the call that sends it.
class XKeys : public HeldKeyRun::Keys
{
public:
    explicit XKeys(const XDesktop &desktop) : m_desktop(desktop) {}

    std::optional<HeldKeyRun::Span> Taps(qint64 dueMs, const QStringList &keys) override;
    std::optional<HeldKeyRun::Span> Hold(qint64 dueMs, const QString &key, qint64 holdMs) override;

private:
    // One xdotool command at the given moment; when it was sent.
    std::optional<HeldKeyRun::Span> SendAt(qint64 dueMs, const QStringList &arguments);

    const XDesktop &m_desktop;
};
