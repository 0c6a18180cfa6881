#include "KeptFiles.h"

#include "FileIdentity.h"

#include <QDir>

#include <algorithm>

void KeptFiles::Add(const QString &path)
{
    m_files.append(path);
}

void KeptFiles::AddEvery(const QString &folder, const QString &prefix)
{
    m_groups.append({folder, prefix});
}

bool KeptFiles::Holds(const QString &path) const
{
    const auto same = [&path](const QString &kept) {
        return FileIdentity::Same(path, kept);
    };
    if (std::any_of(m_files.cbegin(), m_files.cend(), same))
        return true;
    // Read at the moment of asking: a clear may have added a backup since.
    for (const Group &group : m_groups) {
        const QDir folder(group.folder);
        const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : names) {
            if (name.startsWith(group.prefix, Qt::CaseInsensitive) && same(folder.filePath(name)))
                return true;
        }
    }
    return false;
}
