#include "TestRun.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/OleDate.h"
#include "platform/Platform.h"

TestRun::TestRun(QObject *parent) : QObject(parent)
{
    connect(&m_intervals, &RunTimer::IntervalEnded, this, &TestRun::OnIntervalEnded);
    connect(&m_timer3, &QTimer::timeout, this, &TestRun::Timer3_Timer);
}

void TestRun::EnterTestedName()
{
    Dialogs::Input input;
    input.prompt = QStringLiteral("Enter name of tested please!");
    input.title = QStringLiteral("Input");
    input.helpFile = QStringLiteral("Velm2.chm");
    input.helpTopic = 103;
    const auto name = Platform::GetDialogs().InputBox(input);
    m_record.SetName(name.value_or(QString()));
    Session().CurrentRecord.SetName(m_record.RecName);
}

void TestRun::Start()
{
    if (m_state != State::Idle)
        return;
    m_record = HistoryRecord();
    EnterTestedName();
    if (m_record.RecName.trimmed().isEmpty())
        return;
    m_keyCount = 0;
    m_intervalNo = 0;
    // A new run starts from nothing: an interval without a release must
    // not store the counts of an earlier run or of a record just viewed.
    m_counts.fill(0);
    const Clock::Reading now = Platform::GetClock().Now();
    m_record.RecDate = OleDate::FromDate(now.date);
    m_record.RecTime = OleDate::FromTime(now.time);
    SessionState &session = Session();
    session.Counts = m_counts;
    session.CurrentRecord.RecDate = m_record.RecDate;
    session.CurrentRecord.RecTime = m_record.RecTime;
    m_state = State::Armed;
    emit Armed();
}

void TestRun::KeyDown(std::int16_t keyCode)
{
    if (m_state == State::Idle || keyCode != KeyCodes::Escape)
        return;
    m_counts.fill(0);
    Session().Counts.fill(0);
    ShowRunInSession();
    StopTest();
}

void TestRun::KeyUp(std::int16_t keyCode)
{
    if (m_state == State::Idle || keyCode == KeyCodes::Enter)
        return;
    m_lastKey = keyCode;
    if (m_keyCount == 0)
        m_keyCount = 1;
    else if (m_keyCount > 0)
        ++m_keyCount;
    emit KeyCounted(m_keyCount);
    const auto interval = static_cast<std::size_t>(m_intervalNo);
    m_counts[interval] = m_keyCount;
    Session().Counts[interval] = m_keyCount;
    if (DiagramArmed()) {
        EnableTimer3();
        emit DiagramStep(true);
        return;
    }
    // The first counted release starts the timing and arms the diagram.
    m_state = State::Counting;
    RunIntervals();
}

void TestRun::Abandon()
{
    if (m_state != State::Idle) {
        m_counts.fill(0);
        Session().Counts.fill(0);
        ShowRunInSession();
    }
    EndRun();
}

void TestRun::EnableTimer3()
{
    // Enabling a running timer leaves its beat alone; a tick interval of 0
    // means the drift never runs.
    if (!m_timer3.isActive() && m_timer3.interval() > 0)
        m_timer3.start();
}

void TestRun::RunIntervals()
{
    m_intervals.Start();
}

void TestRun::OnIntervalEnded()
{
    if (m_state != State::Counting)
        return;
    emit IntervalEnded();
    if (m_intervalNo < IntervalsPerRun - 1) {
        ++m_intervalNo;
        m_keyCount = 0;
        return;
    }
    StopTest();
    emit Completed();
    SessionState &session = Session();
    session.CurrentRecord = m_record;
    session.Counts = m_counts;
}

void TestRun::StopTest()
{
    EndRun();
    emit Stopped();
}

void TestRun::EndRun()
{
    m_intervals.Stop();
    m_timer3.stop();
    m_intervalNo = 0;
    m_keyCount = 0;
    m_state = State::Idle;
}

void TestRun::ShowRunInSession()
{
    HistoryRecord &shown = Session().CurrentRecord;
    shown.RecName = m_record.RecName;
    shown.RecDate = m_record.RecDate;
    shown.RecTime = m_record.RecTime;
}
