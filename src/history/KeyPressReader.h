#pragma once

#include "record/HistoryRecord.h"
#include "record/KeyPress.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QTime>

#include <functional>

// Reads back the companion file of a history (KeyPressFile): the key
// presses of each test, grouped by record number. A row counts only when
// the caller accepts its record number, date and time as those of the
// history's record, so presses are never given to another test after the
// two files were edited apart. The first row that is not as the program
// writes it ends the reading: the rows before it count, nothing after it
// is guessed at.
class KeyPressReader
{
public:
    enum class Found {
        // No companion beside the history.
        Nothing,
        // There is one, but it cannot be opened or read (or is no regular
        // file: a FIFO is never waited on).
        Unreadable,
        // Read up to a row that is damaged; the rows before it are kept.
        Damaged,
        Whole,
    };

    struct Contents
    {
        Found found = Found::Nothing;
        // The presses of each record, in the order written.
        QMap<qint64, KeyPresses> presses;
    };

    using Belongs = std::function<bool(qint64 recNo, const QDate &date, const QTime &time)>;

    // The companion of the history at historyPath, with the rows belongs
    // accepts.
    static Contents Read(const QString &historyPath, const Belongs &belongs);
    // The presses kept for one test, record recNo of the history at
    // historyPath; none where nothing is kept for it.
    static KeyPresses Of(const QString &historyPath, qint64 recNo, const HistoryRecord &record);
    // Whether a row names the record stored as record: its date and time
    // as the companion writes them.
    static bool SameTest(const HistoryRecord &record, const QDate &date, const QTime &time);
};
