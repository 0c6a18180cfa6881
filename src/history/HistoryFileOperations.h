#pragma once

#include "session/Startup.h"

#include <QString>

#include <functional>

class CommonDialog;

// The File menu's commands on whole history files: open another history
// for viewing (it stays the current one for the rest of the session),
// copy the current one under a new name, and clear the default one by
// moving it into the backup folder beside the program. The data window is
// reached only through the callbacks its host hands in.
class HistoryFileOperations
{
public:
    // Lets the user choose a history file and makes it the current one;
    // refreshList runs when the data window is the active window, and the
    // file is then said to be open only when its first line can be shown.
    static void OpenOldData(CommonDialog &dlog, const std::function<void()> &refreshList);
    // Copies the current history file to a file the user chooses; never
    // over the default history, unless that is the one being copied.
    static void SaveDataAs(CommonDialog &dlog,
                           const QString &defaultDataPath = Startup::DefaultDataPath());
    // After a Yes, moves the default history file to a backup of a random
    // name in "res" beside it; clearDisplay runs when the data window is
    // the active window.
    static void ClearDefaultHistory(const QString &defaultDataPath,
                                    const std::function<void()> &clearDisplay);

    // The backup folder and a backup name for a default history file.
    static QString BackupDirectory(const QString &defaultDataPath);
    static QString BackupName(int number);
    // The number in 1..999 that a clear draws at the clock's present time.
    static int DrawBackupNumber();

    // Copies the file over target in one step: a copy that fails part-way
    // leaves target as it was. Copying a file onto itself, by any name,
    // keeps it. Only regular files are read or replaced.
    static bool CopyReplacing(const QString &source, const QString &target);

    static QString OpenedMessage() { return QStringLiteral("History open!"); }
    static QString SavedMessage() { return QStringLiteral("Data saved!"); }
    static QString NotSavedMessage()
    {
        return QStringLiteral("Permission denied. Data not saved!");
    }
    static QString ClearQuestion()
    {
        return QStringLiteral("Do you really want to delete the history?");
    }
    static QString ClearTitle() { return QStringLiteral("Data delete"); }
    static QString ClearedMessage() { return QStringLiteral("Default file data clear!"); }
    static QString NotClearedMessage()
    {
        return QStringLiteral("Error! No data or bakup file already exists.");
    }
    static QString HelpFile() { return QStringLiteral("Velm.hlp"); }
    static constexpr int ClearHelpTopic = 103;
};
