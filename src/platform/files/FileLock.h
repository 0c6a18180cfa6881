#pragma once

class QFile;

// An exclusive lock on an open file, held for the life of this object. Two
// copies of the program (a double start, or two users of one shared folder)
// append to the same history file; each takes the lock before it reads the
// file's length and keeps it until its record is on disk, so neither can
// write its record where the other's is going. The lock is advisory: it
// binds every copy of this program, which is what shares the file.
class FileLock
{
public:
    // Waits until the lock is had; Locked() says whether it was.
    explicit FileLock(QFile &file);
    ~FileLock();

    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool Locked() const { return m_locked; }

private:
    QFile &m_file;
    bool m_locked = false;
};
