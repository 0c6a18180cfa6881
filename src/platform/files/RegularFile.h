#pragma once

#include <QString>

class QFile;

// Files the history commands write to or copy from must be ordinary files.
// Opening a FIFO waits for its other end, for ever if nobody comes, and a
// device or a folder is no place for a table or a copy; so these opens
// never wait and take nothing but a regular file (or make a new one).
class RegularFile
{
public:
    // Whether path, links followed, is a regular file or nothing yet.
    static bool IsRegularOrNew(const QString &path);
    // Opens for appending, unbuffered, creating a missing file.
    static bool OpenForAppend(QFile &file, const QString &path);
    // Opens for reading and writing, unbuffered, creating a missing file; a
    // symbolic link is refused too, so the file written is the one named.
    static bool OpenForUpdate(QFile &file, const QString &path);
    // Opens an existing regular file for reading.
    static bool OpenForReading(QFile &file, const QString &path);
};
