#include "KeyPressFile.h"

#include "HistoryFileOperations.h"
#include "platform/files/FileLock.h"
#include "platform/files/FileMove.h"
#include "platform/files/RegularFile.h"
#include "platform/files/StableStorage.h"
#include "record/OleDate.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

constexpr qint64 TailChunk = 4096;

// Whether path itself (not what a link there points to) is a regular file.
bool isRegularFile(const QString &path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool exists(const QString &path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// Where the file's last whole line ends: a write cut off (by a crash or a
// power cut) leaves a line without its end, which the next rows would run
// into and spoil; they go in its place instead. Nothing when the file
// cannot be read.
std::optional<qint64> endOfLastLine(QFile &file)
{
    qint64 end = file.size();
    while (end > 0) {
        const qint64 from = qMax<qint64>(0, end - TailChunk);
        if (!file.seek(from))
            return std::nullopt;
        const QByteArray chunk = file.read(end - from);
        if (chunk.size() != end - from)
            return std::nullopt;
        const qsizetype newline = chunk.lastIndexOf('\n');
        if (newline >= 0)
            return from + newline + 1;
        end = from;
    }
    return 0;
}

// Gives the file back the bytes from offset on and its old length.
void restore(QFile &file, qint64 offset, const QByteArray &saved, qint64 oldSize)
{
    if (!saved.isEmpty() && file.seek(offset))
        file.write(saved);
    file.resize(oldSize);
    StableStorage::Sync(file);
}

} // namespace

QString KeyPressFile::PathFor(const QString &historyPath)
{
    static const QString Dat = QStringLiteral(".dat");
    QString base = historyPath;
    if (base.endsWith(Dat, Qt::CaseInsensitive))
        base.chop(Dat.size());
    return base + QStringLiteral(".presses.csv");
}

QByteArray KeyPressFile::Rows(qint64 recNo, const HistoryRecord &record, const KeyPresses &presses)
{
    const std::optional<QDate> date = OleDate::ToDate(record.RecDate);
    const std::optional<QTime> time = OleDate::ToTime(record.RecTime);
    if (!date || !time)
        return {};
    // What every row of the test starts with: the record it belongs to.
    const QByteArray test = QByteArray::number(recNo) + ',' +
                            date->toString(QStringLiteral("yyyy-MM-dd")).toLatin1() + ',' +
                            time->toString(QStringLiteral("HH:mm:ss")).toLatin1() + ',';
    QByteArray rows;
    rows.reserve(presses.size() * (test.size() + 24));
    for (const KeyPress &press : presses) {
        rows += test;
        rows += QByteArray::number(press.interval) + ',' + QByteArray::number(press.number) + ',' +
                QByteArray::number(press.ms) + ',' + QByteArray::number(press.key) + "\r\n";
    }
    return rows;
}

bool KeyPressFile::Append(const QString &historyPath, qint64 recNo, const HistoryRecord &record,
                          const KeyPresses &presses)
{
    if (presses.isEmpty())
        return true;
    const QByteArray rows = Rows(recNo, record, presses);
    if (rows.isEmpty())
        return false;
    const QString path = PathFor(historyPath);
    const bool existed = exists(path);
    QFile file;
    if (!RegularFile::OpenForUpdate(file, path))
        return false;
    if (!existed)
        StableStorage::SyncDirectory(QFileInfo(path).absolutePath());
    // Two copies of the program storing tests at once write their rows one
    // after the other, never into each other.
    FileLock lock(file);
    if (!lock.Locked())
        return false;
    const qint64 oldSize = file.size();
    const std::optional<qint64> offset = endOfLastLine(file);
    if (!offset)
        return false;
    QByteArray saved;
    if (*offset < oldSize) {
        if (!file.seek(*offset))
            return false;
        saved = file.read(oldSize - *offset);
        if (saved.size() != oldSize - *offset)
            return false;
    }
    const QByteArray bytes = (*offset == 0 ? Header() : QByteArray()) + rows;
    const bool written = file.seek(*offset) && file.write(bytes) == bytes.size() &&
                         file.resize(*offset + bytes.size()) && StableStorage::Sync(file);
    if (!written)
        restore(file, *offset, saved, oldSize);
    return written;
}

bool KeyPressFile::MoveAlong(const QString &oldHistoryPath, const QString &newHistoryPath)
{
    const QString from = PathFor(oldHistoryPath);
    if (!isRegularFile(from))
        return true;
    return FileMove::WithoutReplacing(from, PathFor(newHistoryPath));
}

bool KeyPressFile::CopyAlong(const QString &sourceHistoryPath, const QString &copyHistoryPath)
{
    const QString from = PathFor(sourceHistoryPath);
    if (!isRegularFile(from))
        return true;
    return HistoryFileOperations::CopyReplacing(from, PathFor(copyHistoryPath));
}
