#pragma once

#include <QFileDevice>
#include <QString>

#include <sys/types.h>

// Who may read the files the program makes. They hold people's names and
// test results, so a new file is for its owner and the owner's group only
// (0660, less whatever the user's umask takes away), never for every
// account on the machine; a team shares its files through a group. A file
// that is already there keeps the mode and group it has: the program never
// widens or narrows them, and a file it replaces as a whole gets them too.
class FileMode
{
public:
    // The mode every new file is asked for; the umask applies on top.
    static constexpr mode_t Created = 0660;

    // Created as Qt writes it, for QFile::open(mode, permissions).
    static QFileDevice::Permissions CreatedPermissions();
    // The mode a file made now ends up with: Created less the umask.
    static mode_t ForNewFile();
    // The process's umask, read without changing it.
    static mode_t Umask();

    // The open file fd is about to take target's place (written beside it
    // and renamed over it): it gets target's mode, and its group as far as
    // the user may give it, or the mode of a new file when there is no
    // target. Nothing happens when fd is target itself. False when the
    // mode could not be set, so a copy readable by others is not kept.
    static bool TakeOver(int fd, const QString &target);

    // Makes an empty file at path with the mode of a new file, for writers
    // that create their file themselves with a wider mode (a printer's PDF).
    // False, changing nothing, when anything is at path already or it
    // cannot be made.
    static bool MakeEmpty(const QString &path);
};
