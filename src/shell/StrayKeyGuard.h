#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class QWidget;

// Keeps keys from pressing buttons for a moment. A person being tested
// goes on pressing keys for a little while after the test has stopped, and
// the focus then sits on a button ("Next >>", then "Cancel" in the results
// window), so those keys would go on to open, wipe and restart things
// nobody asked for. While the guard is on, key presses and releases aimed
// at a button of the windows it covers are dropped; the mouse and every
// other control work as ever. The moment is timed on the platform clock.
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
    // Drops the keys aimed at covered buttons for the next ms milliseconds.
    void Start(int ms = QuietMs);
    bool IsOn() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Stop();

    std::function<bool(const QWidget *)> m_covered;
    std::int64_t m_untilNs = 0;
    bool m_installed = false;
};
