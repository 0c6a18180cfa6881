#include "StrayKeyGuard.h"

#include "platform/Clock.h"
#include "platform/Platform.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>

StrayKeyGuard::StrayKeyGuard(QObject *parent) : QObject(parent) {}

StrayKeyGuard::~StrayKeyGuard()
{
    Stop();
}

void StrayKeyGuard::Start(int ms)
{
    m_quietNs = std::int64_t(ms) * 1'000'000;
    m_untilNs = Platform::GetClock().MonotonicNs() + m_quietNs;
    // Watching every event of the program only while it matters.
    if (!m_installed && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->installEventFilter(this);
        m_installed = true;
    }
}

bool StrayKeyGuard::IsOn() const
{
    return m_installed && Platform::GetClock().MonotonicNs() < m_untilNs;
}

void StrayKeyGuard::Stop()
{
    if (m_installed && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
    m_installed = false;
}

bool StrayKeyGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    if (!IsOn()) {
        Stop();
        return false;
    }
    // A key while the person is still pressing, wherever it goes: the
    // quiet moment starts again from it.
    m_untilNs = Platform::GetClock().MonotonicNs() + m_quietNs;
    const auto *button = qobject_cast<const QAbstractButton *>(watched);
    return button != nullptr && m_covered && m_covered(button);
}
