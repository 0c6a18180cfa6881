#include "FileIdentity.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A symbolic link whose target is missing leads to where the file would be
// made when the link is opened for writing.
QByteArray followDanglingLinks(QByteArray path)
{
    constexpr int MaxLinks = 40; // as the kernel allows
    for (int hop = 0; hop < MaxLinks; ++hop) {
        struct stat link
        {
        };
        if (::lstat(path.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
            break;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (length <= 0)
            break;
        target.truncate(length);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = target;
    }
    return path;
}

} // namespace

std::optional<FileIdentity> FileIdentity::Of(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    FileIdentity identity;
    if (::stat(name.constData(), &info) == 0) {
        identity.m_device = info.st_dev;
        identity.m_inode = info.st_ino;
        return identity;
    }
    if (errno != ENOENT)
        return std::nullopt;
    const QByteArray resolved = followDanglingLinks(name);
    const qsizetype slash = resolved.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : resolved.left(slash));
    identity.m_name = resolved.mid(slash + 1);
    if (identity.m_name.isEmpty() || ::stat(folder.constData(), &info) != 0 ||
        !S_ISDIR(info.st_mode))
        return std::nullopt;
    identity.m_device = info.st_dev;
    identity.m_inode = info.st_ino;
    return identity;
}

bool FileIdentity::Same(const QString &a, const QString &b)
{
    const auto first = Of(a);
    return first && first == Of(b);
}
