#include "OsVersion.h"

int OsVersion::PlatformId()
{
    return 2;
}
