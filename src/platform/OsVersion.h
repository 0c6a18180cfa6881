#pragma once

// Which family of operating system the program runs on, by the platform
// identifier Windows reports: 1 for the Windows 95/98/Me family, 2 for the
// NT family. Every other system counts as the NT family.
class OsVersion
{
public:
    static int PlatformId();
};
