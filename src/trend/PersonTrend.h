#pragma once

#include "record/Evaluation.h"
#include "record/HistoryRecord.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

// Every stored test of one person, read straight from a history file for
// the trend window. Names are the same person when they agree with their
// blanks trimmed and without regard to case, so a name typed once in
// capitals or with a stray blank still joins the others. The file is read
// as the data window lists it: in file order, each record checked as its
// list line is, and the reading ends at the first record the list could
// not show, keeping what came before. Nothing of the session is touched,
// since a test may be running and the other windows show its result.
class PersonTrend
{
public:
    // One test of the person, with its CMF corrected as the data window's
    // list shows it (below 0 is -1, above 100 is 100).
    struct Test
    {
        // Its record number in the file, the data window's line.
        qint64 recNo = 0;
        HistoryRecord record;
        // The date and the time as the data window writes them.
        QString date;
        QString time;

        std::int16_t c1() const { return record.RecCounts[0]; }
        std::int16_t c4() const { return record.RecCounts[3]; }
        Evaluation::Results Results() const;
        Evaluation::Reliability Reliability() const;
        // The date with the time of day, in local time.
        QDateTime When() const;
    };

    struct Reading
    {
        QList<Test> tests;
        // False when the reading ended at a record it could not read; the
        // tests before it are kept.
        bool complete = true;
    };

    // The tests of the person called name in the history file at path.
    static Reading Read(const QString &path, const QString &name,
                        const QLocale &locale = QLocale());
    // The name stored in record recNo, or nothing when there is no such
    // whole record.
    static std::optional<QString> NameAt(const QString &path, qint64 recNo);

    static bool SamePerson(QStringView stored, QStringView wanted);
};
