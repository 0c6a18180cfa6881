#pragma once

#include "record/HistoryRecord.h"
#include "session/SessionState.h"

#include <QString>

#include <functional>

// The session-level operations on the history file named by DataPath: the
// append of a finished run and the walk over all records that the list, the
// export and the printed table share. The walk reads each record into the
// session's CurrentRecord; the append writes the record it is given.
class HistoryStore
{
public:
    // Completes a finished run's record from its counts (date, time, CMF
    // and counts) and appends it. Every failure leaves the file as it was
    // and tells the user "Error. No data!". True when the record is on disk.
    static bool AppendCurrentRecord(HistoryRecord &record, const IntervalCounts &counts);

    // Called with CurrentRecord holding record RecNo; returning false ends
    // the walk as a failure.
    using RecordUse = std::function<bool(HistoryRecord &record)>;

    // Calls use once for each whole record, in file order; a ragged tail
    // shorter than a record is not a record. Fails when the file cannot be
    // opened or read (an I/O error, a pipe), when use fails, or past record
    // 32767. RecNo is 1 afterwards.
    static bool EnumerateRecords(const RecordUse &use);

    // The same walk over the history file at path, by the same rules, with
    // each record in a buffer of its own: the session, whose record a test
    // run or the results window may be using, is not touched.
    using RecordRead = std::function<bool(const HistoryRecord &record)>;
    static bool ReadRecords(const QString &path, const RecordRead &use);

    // The folder of the history in use, where its copies and backups are
    // at hand: where the file dialogs of the history commands start.
    static QString DataFolder();

    static constexpr qint64 MaxRecords = 32767;
    static QString NoDataMessage() { return QStringLiteral("Error. No data!"); }

private:
    static bool Append(HistoryRecord &record, const IntervalCounts &counts);
};
