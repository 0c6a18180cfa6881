#pragma once

#include <QString>

// Moving a file to a new name that must not already be taken. A plain
// rename on POSIX systems silently replaces the file it lands on, and a
// check before the rename leaves a window in which another file can
// appear, so the test and the move are one step of the operating system.
class FileMove
{
public:
    // Moves the file; fails, changing nothing, when the source is missing,
    // the target's directory is missing or the target already exists.
    static bool WithoutReplacing(const QString &from, const QString &to);
};
