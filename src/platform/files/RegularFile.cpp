#include "RegularFile.h"

#include "FileMode.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opened without waiting, then kept only when it turned out to be a regular
// file; from then on it behaves as an ordinary blocking file.
bool openRegular(QFile &file, const QString &path, int flags, QIODevice::OpenMode mode)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, FileMode::Created);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
        !file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace

bool RegularFile::IsRegularOrNew(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return S_ISREG(info.st_mode);
    return errno == ENOENT;
}

bool RegularFile::OpenForAppend(QFile &file, const QString &path)
{
    return openRegular(file, path, O_WRONLY | O_APPEND | O_CREAT,
                       QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

bool RegularFile::OpenForUpdate(QFile &file, const QString &path)
{
    return openRegular(file, path, O_RDWR | O_CREAT | O_NOFOLLOW,
                       QIODevice::ReadWrite | QIODevice::Unbuffered);
}

bool RegularFile::OpenForReading(QFile &file, const QString &path)
{
    return openRegular(file, path, O_RDONLY, QIODevice::ReadOnly);
}
