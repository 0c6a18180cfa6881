#pragma once

#include "Dialogs.h"

#include <QList>
#include <QString>

class QPrinter;

// The main frame's file and printer chooser. Callers set it up the way the
// history commands always have (a filter of "description|pattern" pairs, a
// default extension, an initial file name, the folder to start in) and then
// show it; the settings stay until they are set again, and a cancelled
// dialog is reported as a failure with the settings left as they were.
class CommonDialog
{
public:
    struct FilterEntry
    {
        QString description;
        QString pattern;
        friend bool operator==(const FilterEntry &, const FilterEntry &) = default;
    };

    // A new filter drops the settings of the old one's entries.
    void SetFilter(const QString &filter)
    {
        m_filter = filter;
        m_entrySettings.clear();
    }
    void SetDefaultExt(const QString &extension) { m_defaultExt = extension; }
    // The initial name before the dialog is shown, the chosen one after.
    const QString &FileName() const { return m_fileName; }
    void SetFileName(const QString &name) { m_fileName = name; }
    void SetFilterIndex(int index) { m_filterIndex = index; }
    void SetFlags(int flags) { m_flags = flags; }
    // The folder a file dialog starts in (the initial name is taken there);
    // empty leaves it to the dialog.
    const QString &InitDir() const { return m_initDir; }
    void SetInitDir(const QString &folder) { m_initDir = folder; }
    // A default extension and flags of their own for one entry of the
    // filter (from 1), which hold while that entry is the one chosen.
    void SetEntrySettings(int filterIndex, const QString &defaultExt, int flags);
    // The filter entry the last file dialog chose (see ChosenEntry); the
    // FilterIndex the next one starts with stays as it was set.
    int ChosenFilterIndex() const { return m_chosenFilterIndex; }

    // False when cancelled; otherwise FileName() is the chosen file.
    bool ShowOpen();
    bool ShowSave();
    // False when cancelled; otherwise the printer is set up as chosen.
    bool ShowPrinter(QPrinter &printer);

    // The entries of a filter: descriptions as written, patterns without
    // the blanks around them; a description without a pattern is dropped.
    static QList<FilterEntry> FilterEntries(const QString &filter);
    // The name with "." and the extension added when its last part has no
    // extension of its own.
    static QString WithDefaultExt(const QString &name, const QString &extension);

    // The entry a file name chooses in a dialog left on entry selected: an
    // entry with settings of its own whose pattern the name matches (so
    // typing a name is as good as choosing its entry), else the selected.
    static int ChosenEntry(const Dialogs::FileRequest &request, int selected, const QString &name);
    // The default extension and the flags that hold while entry is chosen.
    static QString DefaultExtOf(const Dialogs::FileRequest &request, int entry);
    static int FlagsOf(const Dialogs::FileRequest &request, int entry);

    // Ask before a chosen file that already exists is replaced.
    static constexpr int OverwritePrompt = 0x2;

private:
    bool Show(Dialogs::FileRequest::Kind kind);

    QString m_filter;
    QString m_defaultExt;
    QString m_fileName;
    int m_filterIndex = 0;
    int m_flags = 0;
    QString m_initDir;
    int m_chosenFilterIndex = 0;
    QList<Dialogs::FileRequest::EntrySettings> m_entrySettings;
};
