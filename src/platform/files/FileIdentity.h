#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

// What a path reaches, so that two names can be told to be one file. A file
// is known by its device and inode, which no hard link, symbolic link or
// bind mount disguises. A file that is not there yet is known by the folder
// it would be made in (again by device and inode) and its name there, so a
// name still matches a history file that has just been cleared away.
class FileIdentity
{
public:
    // Nothing when neither the file nor the folder it would go into exists.
    static std::optional<FileIdentity> Of(const QString &path);
    // Whether both names reach the same file, existing or to be made.
    static bool Same(const QString &a, const QString &b);

    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;

private:
    dev_t m_device = 0;
    ino_t m_inode = 0;
    // Empty for an existing file; the name in the folder for a new one.
    QByteArray m_name;
};
