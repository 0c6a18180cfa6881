#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Files that nothing written to a name of the person's choosing (a printed
// PDF, an exported table) may take the place of or be added to: the
// histories, which would lose their tests, and the backups of a cleared
// history. A name is compared by what it reaches (FileIdentity), so no
// symbolic link, hard link or second mount disguises one of them, and a
// history that a clear has just moved away keeps its name.
class KeptFiles
{
public:
    // The file at path, also while it is not there.
    void Add(const QString &path);
    // Every file in folder whose name starts with prefix (capitals aside),
    // reached by any name.
    void AddEvery(const QString &folder, const QString &prefix);

    // Whether path reaches one of the kept files.
    bool Holds(const QString &path) const;

private:
    struct Group
    {
        QString folder;
        QString prefix;
    };

    QStringList m_files;
    QList<Group> m_groups;
};
