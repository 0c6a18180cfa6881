#include "PrivateFolder.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

bool PrivateFolder::Make(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).path();
    if (parent == absolute || !Make(parent))
        return false;
    // mkdir itself gives the mode, so the folder is never open to others,
    // not even for a moment; another process making it meanwhile is as good.
    return ::mkdir(QFile::encodeName(absolute).constData(), Mode) == 0 ||
           QFileInfo(absolute).isDir();
}
