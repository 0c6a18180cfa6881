#pragma once

#include "Evaluation.h"
#include "HistoryRecord.h"

#include <QString>

#include <cstdint>

// One test's result as every view shows it: the tested person's name, the
// date and time, the four evaluated counts, the CMF value as the history
// list shows it (-1 for any rise, at most 100) and both verdicts, worked out
// once by the evaluation rules; and where the test is stored, so the views
// of a history can find its line. It is a value: whoever holds one holds
// the whole result, and nothing another window reads, runs or clears
// changes it.
struct TestResult
{
    // The record with its CMF corrected; RecCounts hold c1..c4.
    HistoryRecord record;
    Evaluation::Results results = Evaluation::Results::Normal;
    Evaluation::Reliability reliability = Evaluation::Reliability::Unreliable;
    // The history file the test is stored in and its record number there;
    // empty and 0 for a result stored nowhere.
    QString historyPath;
    qint64 recNo = 0;

    // The result of a record as stored or as a run completed it.
    static TestResult Of(const HistoryRecord &record, const QString &historyPath = QString(),
                         qint64 recNo = 0);

    std::int16_t c1() const { return record.RecCounts[0]; }
    std::int16_t c4() const { return record.RecCounts[3]; }
    std::int16_t Cmf() const { return record.RecCMF; }
    // Without a key press in the first evaluated interval there is nothing
    // to show: no CMF can be worked out from it.
    bool HasData() const { return c1() != 0; }
    // Whether this is the test stored as record recNo of the history at path.
    bool IsStoredAs(const QString &path, qint64 number) const
    {
        return recNo > 0 && recNo == number && historyPath == path;
    }

    friend bool operator==(const TestResult &, const TestResult &) = default;
};
