#include "FileMove.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#if defined(Q_OS_LINUX) && defined(RENAME_NOREPLACE)
#define VELMORA_HAVE_RENAMEAT2
#endif

bool FileMove::WithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#ifdef VELMORA_HAVE_RENAMEAT2
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    // The file system cannot rename without replacing; a hard link can.
    if (::link(source.constData(), target.constData()) == 0) {
        if (::unlink(source.constData()) == 0)
            return true;
        ::unlink(target.constData());
        return false;
    }
    // Some file systems have no hard links at all; there the target is
    // checked first, which is as close as they allow.
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    if (QFile::exists(to) || !QFile::exists(from))
        return false;
    return std::rename(source.constData(), target.constData()) == 0;
}
