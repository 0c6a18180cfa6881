#pragma once

#include <QString>

class QFile;

// A finished test must survive a crash or a power cut the moment after it
// was stored, so writes are pushed through the operating system's caches
// to the disk before the program reports them done.
class StableStorage
{
public:
    static bool Sync(QFile &file);
    // Makes a newly created file's directory entry durable too.
    static bool SyncDirectory(const QString &directory);
};
