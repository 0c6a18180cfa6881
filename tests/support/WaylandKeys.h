#pragma once

#include "HeldKeyRun.h"

class WaylandDesktop;

// Keys through a Wayland compositor with wtype. A held key goes down and up
// within one call, as the virtual keyboard goes away with the call; in
// between, the client repeats it. A release happens no earlier than the
// waits before it in its call and no later than the call's end.
class WaylandKeys : public HeldKeyRun::Keys
{
public:
    explicit WaylandKeys(const WaylandDesktop &desktop) : m_desktop(desktop) {}

    std::optional<HeldKeyRun::Span> Taps(qint64 dueMs, const QStringList &keys) override;
    std::optional<HeldKeyRun::Span> Hold(qint64 dueMs, const QString &key, qint64 holdMs) override;
    qint64 LeadMs() const override;

private:
    std::optional<HeldKeyRun::Span> Send(qint64 dueMs, qint64 beforeReleaseMs,
                                         const QStringList &keys);

    const WaylandDesktop &m_desktop;
};
