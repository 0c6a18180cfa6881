#pragma once

#include "platform/HelpTopic.h"
#include "platform/ui/HelpViewer.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

class CommonDialog;

// The File menu's commands on whole history files: choose another history
// for viewing (the frame then keeps it as the history in use for the rest
// of the session), copy the one in use under a new name, and clear the
// default one by moving it into the backup folder beside the program. None
// of them knows the windows: the frame shows their outcome in its views.
class HistoryFileOperations
{
    Q_DECLARE_TR_FUNCTIONS(HistoryFileOperations)

public:
    // Lets the user choose a history file to view, starting beside the
    // history in use; nothing when the dialog is cancelled.
    static std::optional<QString> ChooseOldData(CommonDialog &dlog, const QString &historyInUse);
    // Says that the chosen history is open, unless a list shows it and has
    // no first line to show (no record, or one that cannot be shown): the
    // empty list, and the listing's own message if any, say it all then.
    static void TellOpened(const QString &path, bool listed);
    // Copies the history file at source to a file the user chooses; never
    // over the default history, unless that is the one being copied.
    static void SaveDataAs(CommonDialog &dlog, const QString &source,
                           const QString &defaultHistoryPath);
    // After a Yes, moves the default history file to a backup of a random
    // name in "res" beside it and says how it went; true when it was moved.
    static bool ClearDefaultHistory(const QString &defaultHistoryPath);

    // The backup folder and a backup name for a default history file.
    static QString BackupDirectory(const QString &defaultHistoryPath);
    static QString BackupName(int number);
    // The number in 1..999 that a clear draws at the clock's present time.
    static int DrawBackupNumber();

    // Copies the file over target in one step: a copy that fails part-way
    // leaves target as it was. Copying a file onto itself, by any name,
    // keeps it. Only regular files are read or replaced.
    static bool CopyReplacing(const QString &source, const QString &target);

    static QString OpenedMessage() { return tr("History open!"); }
    static QString SavedMessage() { return tr("Data saved!"); }
    static QString NotSavedMessage() { return tr("Permission denied. Data not saved!"); }
    static QString ClearQuestion() { return tr("Do you really want to delete the history?"); }
    static QString ClearTitle() { return tr("Data delete"); }
    static QString ClearedMessage() { return tr("Default file data clear!"); }
    static QString NotClearedMessage()
    {
        return tr("Error! No data or bakup file already exists.");
    }
    static QString HelpFile() { return HelpViewer::OldStyleFile(); }
    static constexpr int ClearHelpTopic = HelpTopic::Test;
};
