#include "FileLock.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <sys/file.h>
#endif

namespace {

#ifdef Q_OS_WIN
HANDLE handleOf(QFile &file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}
#endif

} // namespace

FileLock::FileLock(QFile &file) : m_file(file)
{
    if (!file.isOpen())
        return;
#ifdef Q_OS_WIN
    OVERLAPPED whole{};
    m_locked = LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
#else
    // flock locks the open file itself, so a second open of the same file
    // in this process is held off too, unlike a record lock of fcntl.
    int result = 0;
    do {
        result = ::flock(file.handle(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    m_locked = result == 0;
#endif
}

FileLock::~FileLock()
{
    if (!m_locked || !m_file.isOpen())
        return;
#ifdef Q_OS_WIN
    OVERLAPPED whole{};
    UnlockFileEx(handleOf(m_file), 0, MAXDWORD, MAXDWORD, &whole);
#else
    ::flock(m_file.handle(), LOCK_UN);
#endif
}
