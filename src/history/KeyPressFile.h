#pragma once

#include "record/HistoryRecord.h"
#include "record/KeyPress.h"

#include <QByteArray>
#include <QString>

// The companion file of a history: the key presses of each of its tests,
// one CSV row a press, beside the history and never inside it, so the
// 80-byte records stay as other tools know them. Each row names its record
// by number, date and time, so a reader can drop rows that no longer match
// when the two files were edited apart. Nothing here ever touches the
// history itself, and a companion that cannot be written never stops what
// is done to the history.
class KeyPressFile
{
public:
    // The companion's path: the history's path with a final ".dat" (any
    // case) replaced by, or else followed by, ".presses.csv".
    static QString PathFor(const QString &historyPath);

    // Appends the rows of one stored test (record recNo of the history at
    // historyPath) in one write, with the header first when the companion is
    // new or empty, under a lock on the companion of the kind the history's
    // append takes, so two programs' rows never mix. On any failure the
    // companion is left as it was and false returned.
    static bool Append(const QString &historyPath, qint64 recNo, const HistoryRecord &record,
                       const KeyPresses &presses);

    // Moves the companion of a history just moved from oldHistoryPath to
    // newHistoryPath along with it, never over a file already there; true
    // when it was moved or there was none.
    static bool MoveAlong(const QString &oldHistoryPath, const QString &newHistoryPath);
    // Copies the companion of sourceHistoryPath beside a copy of that
    // history at copyHistoryPath, replacing one there only when whole; true
    // when it was copied or there was none. A companion already beside the
    // copy stays where the source has none: its rows name tests the copy
    // does not hold, and readers pass them over.
    static bool CopyAlong(const QString &sourceHistoryPath, const QString &copyHistoryPath);

    // The first line of every companion file.
    static QByteArray Header()
    {
        return QByteArrayLiteral("record,date,time,interval,press,ms,key\r\n");
    }
    // The rows of one test, as Append writes them.
    static QByteArray Rows(qint64 recNo, const HistoryRecord &record, const KeyPresses &presses);
};
