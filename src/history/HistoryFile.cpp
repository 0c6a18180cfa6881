#include "HistoryFile.h"

#include "platform/files/FileMode.h"
#include "platform/files/StableStorage.h"

#include <QFileInfo>

HistoryFile::HistoryFile(const QString &path) : m_file(path) {}

bool HistoryFile::Open()
{
    const bool existed = m_file.exists();
    return m_file.open(QIODevice::ReadWrite, FileMode::CreatedPermissions()) ||
           (existed && m_file.open(QIODevice::ReadOnly));
}

bool HistoryFile::Lock()
{
    m_lock.emplace(m_file);
    return m_lock->Locked();
}

bool HistoryFile::OpenForAppend()
{
    const bool existed = m_file.exists();
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered, FileMode::CreatedPermissions()))
        return false;
    if (!existed)
        StableStorage::SyncDirectory(QFileInfo(m_file).absolutePath());
    return true;
}

std::optional<HistoryRecord> HistoryFile::Read(qint64 recNo)
{
    if (recNo < 1 || m_file.isSequential() || !m_file.seek(OffsetOf(recNo)))
        return std::nullopt;
    const QByteArray bytes = m_file.read(HistoryRecord::RecordLength);
    return HistoryRecord::Decode(bytes.constData(), bytes.size());
}

std::optional<QByteArray> HistoryFile::ReadBlock(qint64 recNo, qint64 maxRecords)
{
    // A pipe or a terminal has no records to seek to; it is no history file
    // rather than an empty one.
    if (recNo < 1 || maxRecords < 1 || m_file.isSequential() || !m_file.seek(OffsetOf(recNo)))
        return std::nullopt;
    QByteArray bytes(maxRecords * HistoryRecord::RecordLength, Qt::Uninitialized);
    qint64 got = 0;
    while (got < bytes.size()) {
        const qint64 read = m_file.read(bytes.data() + got, bytes.size() - got);
        if (read < 0)
            return std::nullopt;
        if (read == 0)
            break;
        got += read;
    }
    bytes.truncate(got - got % HistoryRecord::RecordLength);
    return bytes;
}

bool HistoryFile::WriteDurably(qint64 recNo, const HistoryRecord &record)
{
    const qint64 oldSize = m_file.size();
    const qint64 offset = OffsetOf(recNo);
    // A file whose length is not a multiple of 80 may have its ragged end
    // overwritten; keep those bytes so a failed write can give them back.
    QByteArray saved;
    if (offset < oldSize) {
        if (!m_file.seek(offset))
            return false;
        saved = m_file.read(oldSize - offset);
        if (saved.size() != oldSize - offset)
            return false;
    }
    const QByteArray bytes = record.Encode();
    const bool written =
        m_file.seek(offset) && m_file.write(bytes) == bytes.size() && StableStorage::Sync(m_file);
    if (written)
        return true;
    Restore(offset, saved, oldSize);
    return false;
}

bool HistoryFile::Restore(qint64 offset, const QByteArray &saved, qint64 oldSize)
{
    bool restored = true;
    if (!saved.isEmpty())
        restored = m_file.seek(offset) && m_file.write(saved) == saved.size();
    restored = m_file.resize(oldSize) && restored;
    return StableStorage::Sync(m_file) && restored;
}
