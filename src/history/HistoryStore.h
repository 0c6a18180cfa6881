#pragma once

#include "record/HistoryRecord.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <optional>

// The operations on a whole history file: the append of a finished run and
// the walk over all its records that the list, the export and the printed
// table share. Each takes the file it works on; none keeps anything between
// calls, and each record read is a value of its caller's.
class HistoryStore
{
    Q_DECLARE_TR_FUNCTIONS(HistoryStore)

public:
    // Completes a finished run's record from its counts (the name "No
    // name" for a blank one, today's date, the time, the CMF and the counts)
    // and appends it to the history at path. Every failure leaves the file
    // as it was and tells the user "Error. No data!". The record number the
    // test is stored as; nothing when it is not on disk. The record is
    // completed as far as it can be either way.
    static std::optional<qint64> Append(const QString &path, HistoryRecord &record,
                                        const IntervalCounts &counts);
    // The name, date, time, CMF and counts of a finished run, as they are
    // stored; false when no CMF can be worked out (no press in the first
    // evaluated interval).
    static bool Complete(HistoryRecord &record, const IntervalCounts &counts);

    // Called with each record in turn; returning false ends the walk as a
    // failure.
    using RecordRead = std::function<bool(const HistoryRecord &record)>;

    // Calls use once for each whole record of the history at path, in file
    // order; a ragged tail shorter than a record is not a record. Fails when
    // the file cannot be opened or read (an I/O error, a pipe), when use
    // fails, or past record 32767.
    static bool ReadRecords(const QString &path, const RecordRead &use);

    // The folder of a history, where its copies and backups are at hand:
    // where the file dialogs of the history commands start.
    static QString FolderOf(const QString &path);

    static constexpr qint64 MaxRecords = 32767;
    static QString NoDataMessage() { return tr("Error. No data!"); }

private:
    static std::optional<qint64> Write(const QString &path, HistoryRecord &record,
                                       const IntervalCounts &counts);
};
