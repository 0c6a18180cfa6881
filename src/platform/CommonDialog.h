#pragma once

#include "Dialogs.h"

#include <QList>
#include <QString>

class QPrinter;

// The main frame's file and printer chooser. Callers set it up the way the
// history commands always have (a filter of "description|pattern" pairs, a
// default extension, an initial file name) and then show it; the settings
// stay until they are set again, and a cancelled dialog is reported as a
// failure with the settings left as they were.
class CommonDialog
{
public:
    struct FilterEntry
    {
        QString description;
        QString pattern;
        friend bool operator==(const FilterEntry &, const FilterEntry &) = default;
    };

    void SetFilter(const QString &filter) { m_filter = filter; }
    void SetDefaultExt(const QString &extension) { m_defaultExt = extension; }
    // The initial name before the dialog is shown, the chosen one after.
    const QString &FileName() const { return m_fileName; }
    void SetFileName(const QString &name) { m_fileName = name; }
    void SetFilterIndex(int index) { m_filterIndex = index; }
    void SetFlags(int flags) { m_flags = flags; }

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

    // Ask before a chosen file that already exists is replaced.
    static constexpr int OverwritePrompt = 0x2;

private:
    bool Show(Dialogs::FileRequest::Kind kind);

    QString m_filter;
    QString m_defaultExt;
    QString m_fileName;
    int m_filterIndex = 0;
    int m_flags = 0;
};
