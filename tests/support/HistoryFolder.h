#pragma once

#include "HistoryFiles.h"
#include "ScriptedPlatform.h"
#include "platform/ui/CommonDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

// The scratch program folder of the history tests, with the person at the
// dialogs scripted: the default history restest.dat lives here and its
// backups go into "res". A test class derives from it and renews it before
// each test, so no file one test leaves (a link, a table, a backup) is
// there for the next.
class HistoryFolder
{
protected:
    HistoryFolder() { Renew(); }

    // A new folder holding an empty "res" and nothing else, the script and
    // the logs forgotten.
    bool Renew()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform.Clear();
        return m_dir->isValid() && QDir(m_dir->path()).mkdir(QStringLiteral("res"));
    }

    QString Folder() const { return m_dir->path(); }
    QString In(const QString &name) const { return m_dir->filePath(name); }
    QString DefaultHistory() const { return In(QStringLiteral("restest.dat")); }

    // Writes the file, making the folders on its way.
    bool Put(const QString &name, const QByteArray &bytes) const
    {
        return QDir().mkpath(QFileInfo(In(name)).absolutePath()) &&
               HistoryFiles::put(In(name), bytes);
    }
    QByteArray Contents(const QString &name) const { return HistoryFiles::contents(In(name)); }
    // Every file here, hidden ones too, by name: a temporary left behind
    // shows.
    QStringList Files() const
    {
        return QDir(Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    CommonDialog m_dlog;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};
