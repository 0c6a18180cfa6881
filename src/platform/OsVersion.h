#pragma once

// Which family of operating system the program runs on, by the platform
// identifier Windows reports: 1 for the Windows 95/98/Me family, 2 for the
// NT family. The systems the program is built for here all count as the NT
// family; a port that must tell the two apart does it here.
class OsVersion
{
public:
    static int PlatformId();
};
