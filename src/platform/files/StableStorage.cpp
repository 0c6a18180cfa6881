#include "StableStorage.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

bool StableStorage::Sync(QFile &file)
{
    return file.flush() && ::fdatasync(file.handle()) == 0;
}

bool StableStorage::SyncDirectory(const QString &directory)
{
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
