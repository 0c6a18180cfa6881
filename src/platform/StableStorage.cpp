#include "StableStorage.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

bool StableStorage::Sync(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fdatasync(file.handle()) == 0;
#endif
}

bool StableStorage::SyncDirectory(const QString &directory)
{
#ifdef Q_OS_WIN
    Q_UNUSED(directory);
    return true; // NTFS journals directory entries with the file
#else
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#endif
}
