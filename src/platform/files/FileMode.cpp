#include "FileMode.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QFileDevice::Permissions FileMode::CreatedPermissions()
{
    static_assert(Created == (S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP));
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
           QFileDevice::WriteGroup;
}

mode_t FileMode::Umask()
{
    // Setting the umask to read it would leave every other thread a moment
    // in which it creates files with no mask at all; Linux says it in
    // /proc instead.
    if (std::FILE *status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned int mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status) != nullptr)
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return static_cast<mode_t>(mask);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

mode_t FileMode::ForNewFile()
{
    return Created & ~Umask();
}

bool FileMode::TakeOver(int fd, const QString &target)
{
    struct stat own
    {
    };
    if (::fstat(fd, &own) != 0)
        return false;
    struct stat old
    {
    };
    if (::stat(QFile::encodeName(target).constData(), &old) != 0)
        return errno == ENOENT && ::fchmod(fd, ForNewFile()) == 0;
    if (old.st_dev == own.st_dev && old.st_ino == own.st_ino)
        return true;
    // The owner can only be given away by the superuser; a group the user
    // belongs to is kept even then. Failing that, the file is the user's
    // own, which a shared folder with the setgid bit gives its group.
    if (own.st_uid != old.st_uid || own.st_gid != old.st_gid) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    // After the change of owner, which clears the set-id bits.
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

bool FileMode::MakeEmpty(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, Created);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
