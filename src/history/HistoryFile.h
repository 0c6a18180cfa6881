#pragma once

#include "platform/files/FileLock.h"
#include "record/HistoryRecord.h"

#include <QFile>

#include <optional>

// One history file opened for access by record number (1-based, 80 bytes a
// record). It is held only for the length of one operation and closed when
// it goes out of scope, so no file stays open between user actions.
class HistoryFile
{
public:
    explicit HistoryFile(const QString &path);

    // Opens for reading and writing, creating a missing file empty. A file
    // that exists but cannot be written is still opened, read-only, so old
    // histories on read-only media can be viewed.
    bool Open();
    // Opens for writing records; fails where the file cannot be written.
    bool OpenForAppend();
    // Holds every other copy of the program off this file until it is
    // closed; waits for one that holds it now.
    bool Lock();

    qint64 Size() const { return m_file.size(); }

    // Record recNo, or nothing when it lies (partly) beyond the end or
    // cannot be read.
    std::optional<HistoryRecord> Read(qint64 recNo);
    // Whole records from recNo on, at most maxRecords of them, in one read;
    // empty at the end of the file. Nothing when the seek or a read fails,
    // so a failing device never passes for a shorter history.
    std::optional<QByteArray> ReadBlock(qint64 recNo, qint64 maxRecords);

    // Writes the record as number recNo and makes it durable. When any of
    // that fails the file is put back byte for byte as it was before.
    bool WriteDurably(qint64 recNo, const HistoryRecord &record);

    static qint64 OffsetOf(qint64 recNo) { return (recNo - 1) * HistoryRecord::RecordLength; }

private:
    bool Restore(qint64 offset, const QByteArray &saved, qint64 oldSize);

    QFile m_file;
    std::optional<FileLock> m_lock;
};
