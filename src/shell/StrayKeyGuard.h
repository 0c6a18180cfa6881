#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class QWidget;

// Keeps keys from pressing buttons until the tested person has stopped. A
// person being tested goes on pressing keys for a while after the test has
// stopped, some for seconds when they have not noticed the end, and the
// focus then sits on a button ("Next >>", then "Cancel" in the results
// window), so those keys would go on to open, wipe and restart things
// nobody asked for. While the guard is on, key presses and releases aimed
// at a button of the windows it covers are dropped, and every key the
// program gets keeps it on: it lifts only once a quiet moment has passed
// without any key. The mouse and every other control work as ever. The
// moment is timed on the platform clock.
class StrayKeyGuard : public QObject
{
    Q_OBJECT

public:
    static constexpr int QuietMs = 1000;

    explicit StrayKeyGuard(QObject *parent = nullptr);
    ~StrayKeyGuard() override;

    // Which widgets the guard covers: those for which this says true.
    void SetCovered(std::function<bool(const QWidget *)> covered)
    {
        m_covered = std::move(covered);
    }
    // Drops the keys aimed at covered buttons until ms milliseconds have
    // passed without a key.
    void Start(int ms = QuietMs);
    bool IsOn() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Stop();

    std::function<bool(const QWidget *)> m_covered;
    std::int64_t m_untilNs = 0;
    std::int64_t m_quietNs = std::int64_t(QuietMs) * 1'000'000;
    bool m_installed = false;
};
