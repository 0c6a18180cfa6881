#include "TestRun.h"

#include "platform/Clock.h"
#include "platform/HelpTopic.h"
#include "platform/Platform.h"
#include "platform/input/KeyCodes.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/HelpViewer.h"
#include "record/OleDate.h"

#include <QPointer>

#include <cstdlib>

namespace {

constexpr std::int64_t NsPerMs = 1'000'000;
// A first release stamped further than this from the monotonic clock was
// stamped on another time base (a remote X server, another platform).
constexpr std::int64_t TrustedWithinNs = 1'000 * NsPerMs;
// Room for the presses of a run at 80 a second, far beyond the fastest
// tapping, so that recording a press does not allocate.
constexpr qsizetype ExpectedPresses = 2000;

} // namespace

TestRun::TestRun(QObject *parent) : QObject(parent)
{
    connect(&m_intervals, &RunTimer::IntervalEnded, this, &TestRun::OnIntervalEnded);
    connect(&m_driftTimer, &QTimer::timeout, this, &TestRun::OnDriftTick);
}

void TestRun::EnterTestedName()
{
    Dialogs::Input input;
    input.prompt = tr("Enter name of tested please!");
    input.title = tr("Input");
    input.helpFile = HelpViewer::ApplicationFile();
    input.helpTopic = HelpTopic::Test;
    // The name is stored in 20 characters of a Cyrillic code page: the
    // operator types no more than that, and sees before the run where a
    // letter will be stored as another ("ü" as "u", an emoji as "?").
    input.fits = &HistoryRecord::NameFits;
    input.keptAs = &HistoryRecord::StoredForm;
    const auto name = Platform::GetDialogs().InputBox(input);
    m_record.SetName(name.value_or(QString()));
}

void TestRun::Start()
{
    if (m_state != State::Idle)
        return;
    m_record = HistoryRecord();
    EnterTestedName();
    if (m_record.RecName.trimmed().isEmpty())
        return;
    ++m_runNumber;
    m_intervalNo = 0;
    m_byTimestamp = false;
    // A new run starts from nothing: an interval without a release must
    // not store the counts of an earlier run or of a record just viewed.
    m_counts.fill(0);
    m_presses.clear();
    m_presses.reserve(ExpectedPresses);
    const Clock::Reading now = Platform::GetClock().Now();
    m_record.RecDate = OleDate::FromDate(now.date);
    m_record.RecTime = OleDate::FromTime(now.time);
    m_state = State::Armed;
    emit Armed();
}

void TestRun::KeyDown(std::int16_t keyCode)
{
    if (m_state == State::Idle || keyCode != KeyCodes::Escape)
        return;
    m_counts.fill(0);
    m_presses.clear();
    StopTest();
    emit Aborted();
}

std::int16_t TestRun::KeyCount() const
{
    return m_state == State::Idle ? std::int16_t(0) : m_counts[std::size_t(m_intervalNo)];
}

bool TestRun::TimestampTrusted(quint64 timestampMs)
{
    if (timestampMs == 0)
        return false;
    return std::llabs(StampNs(timestampMs) - Platform::GetClock().MonotonicNs()) <= TrustedWithinNs;
}

std::int64_t TestRun::StampNs(quint64 timestampMs)
{
    // X11 and Wayland stamp events in milliseconds of the monotonic clock,
    // cut to 32 bits; a stamp is the moment nearest to now with those bits.
    const std::int64_t nowMs = Platform::GetClock().MonotonicNs() / NsPerMs;
    const auto offset = static_cast<std::int32_t>(static_cast<std::uint32_t>(timestampMs) -
                                                  static_cast<std::uint32_t>(nowMs));
    return (nowMs + offset) * NsPerMs;
}

std::optional<std::size_t> TestRun::IntervalOf(std::optional<std::int64_t> stampedNs) const
{
    const auto going = static_cast<std::size_t>(m_intervalNo);
    if (m_state != State::Counting || !stampedNs)
        return going;
    const std::int64_t made = *stampedNs;
    const std::int64_t firstEnd = m_intervals.FirstDueNs();
    if (made < firstEnd)
        return 0;
    const std::int64_t interval = (made - firstEnd) / RunTimer::IntervalNs + 1;
    if (interval >= IntervalsPerRun)
        return std::nullopt;
    return static_cast<std::size_t>(interval);
}

void TestRun::KeyUp(std::int16_t keyCode, quint64 timestampMs)
{
    if (m_state == State::Idle || keyCode == KeyCodes::Enter)
        return;
    m_lastKey = keyCode;
    if (m_state == State::Armed)
        m_byTimestamp = TimestampTrusted(timestampMs);
    const bool stamped = m_byTimestamp && timestampMs != 0;
    const std::int64_t madeNs = stamped ? StampNs(timestampMs) : Platform::GetClock().MonotonicNs();
    const std::optional<std::size_t> interval =
        IntervalOf(stamped ? std::optional(madeNs) : std::nullopt);
    if (!interval)
        return;
    std::int16_t &count = m_counts[*interval];
    if (count >= 0)
        RecordPress(*interval, keyCode, madeNs);
    if (count == 0)
        count = 1;
    else if (count > 0)
        ++count;
    emit KeyCounted(count);
    if (DiagramArmed()) {
        StartDrift();
        emit DiagramStep(true);
        return;
    }
    // The first counted release starts the timing and arms the diagram.
    m_state = State::Counting;
    RunIntervals();
}

void TestRun::RecordPress(std::size_t interval, std::int16_t keyCode, std::int64_t madeNs)
{
    if (m_presses.isEmpty())
        m_firstNs = madeNs;
    KeyPress &press = m_presses.emplace_back();
    press.interval = static_cast<int>(interval);
    press.number = static_cast<int>(m_presses.size());
    press.ms = (madeNs - m_firstNs) / NsPerMs;
    press.key = keyCode;
}

void TestRun::Abandon()
{
    const bool going = m_state != State::Idle;
    EndRun();
    if (going) {
        m_counts.fill(0);
        m_presses.clear();
        emit Aborted();
    }
}

void TestRun::StartDrift()
{
    // Enabling a running timer leaves its beat alone; a tick interval of 0
    // means the drift never runs.
    if (!m_driftTimer.isActive() && m_driftTimer.interval() > 0)
        m_driftTimer.start();
}

void TestRun::RunIntervals()
{
    m_intervals.Start();
}

void TestRun::OnIntervalEnded()
{
    if (m_state != State::Counting)
        return;
    // Releases made before the end that the program has not handled yet
    // (it was held up) belong to the interval ending. Taking them in lets
    // every other event through as well: Esc may stop the run meanwhile,
    // or the window close and take the run with it.
    if (m_takeInPending) {
        const quint64 run = m_runNumber;
        const QPointer<TestRun> alive(this);
        m_takeInPending();
        if (alive.isNull() || m_state != State::Counting || m_runNumber != run)
            return;
    }
    emit IntervalEnded();
    if (m_intervalNo < IntervalsPerRun - 1) {
        ++m_intervalNo;
        return;
    }
    StopTest();
    emit Completed();
}

void TestRun::StopTest()
{
    EndRun();
    emit Stopped();
}

void TestRun::EndRun()
{
    m_intervals.Stop();
    m_driftTimer.stop();
    m_intervalNo = 0;
    m_state = State::Idle;
}
