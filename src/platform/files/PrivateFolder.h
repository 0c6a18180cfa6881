#pragma once

#include <QString>

// Makes the folders the program keeps its history in when that is the
// user's data folder rather than the program's own. They hold people's
// names and results, so each one made is for its owner alone (0700), as the
// XDG base directory rules ask of a data folder made on the user's behalf;
// one that is already there keeps its mode, so a folder a team shares
// through a group stays shared.
class PrivateFolder
{
public:
    // The mode every folder made here gets (the umask can only narrow it).
    static constexpr unsigned Mode = 0700;

    // Makes path and any missing folder above it. True when path is a
    // folder afterwards, made now or there before.
    static bool Make(const QString &path);
};
