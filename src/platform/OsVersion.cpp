#include "OsVersion.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int OsVersion::PlatformId()
{
#ifdef Q_OS_WIN
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    // The result is not checked: a failed query leaves the identifier 0.
    GetVersionExA(&info);
    return static_cast<int>(info.dwPlatformId);
#else
    return 2;
#endif
}
