#include "FileLock.h"

#include <QFile>

#include <cerrno>
#include <sys/file.h>

FileLock::FileLock(QFile &file) : m_file(file)
{
    if (!file.isOpen())
        return;
    // flock locks the open file itself, so a second open of the same file
    // in this process is held off too, unlike a record lock of fcntl.
    int result = 0;
    do {
        result = ::flock(file.handle(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    m_locked = result == 0;
}

FileLock::~FileLock()
{
    if (m_locked && m_file.isOpen())
        ::flock(m_file.handle(), LOCK_UN);
}
