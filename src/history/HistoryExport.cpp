#include "HistoryExport.h"

#include "HistoryCsv.h"
#include "HistoryFileOperations.h"
#include "HistoryList.h"
#include "HistoryStore.h"
#include "KeyPressFile.h"
#include "platform/Platform.h"
#include "platform/files/FileReplacement.h"
#include "platform/files/RegularFile.h"
#include "platform/files/StableStorage.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Dialogs.h"
#include "record/CodePage1251.h"

#include <QFile>

namespace {

const QString LineEnd = QStringLiteral("\r\n");

void tell(const QString &text)
{
    Platform::GetDialogs().MsgBox(Dialogs::Notice(text));
}

} // namespace

KeptFiles HistoryExport::Kept(const QString &historyPath, const QString &defaultHistoryPath)
{
    KeptFiles kept;
    kept.Add(historyPath);
    kept.Add(defaultHistoryPath);
    // Their key presses, which no export could give back.
    kept.Add(KeyPressFile::PathFor(historyPath));
    kept.Add(KeyPressFile::PathFor(defaultHistoryPath));
    // The backups are the "restest. N" that a clear moves the default to.
    kept.AddEvery(HistoryFileOperations::BackupDirectory(defaultHistoryPath),
                  QStringLiteral("restest."));
    return kept;
}

void HistoryExport::Export(CommonDialog &dlog, const QString &historyPath,
                           const QString &defaultHistoryPath)
{
    dlog.SetFilter(Filter());
    dlog.SetDefaultExt(QStringLiteral("TXT"));
    dlog.SetFileName(QStringLiteral("Default.txt"));
    dlog.SetFilterIndex(1);
    dlog.SetFlags(0);
    // A CSV replaces the file, so the dialog asks first; the table is only
    // ever added to what is there.
    dlog.SetEntrySettings(CsvEntry, QStringLiteral("csv"), CommonDialog::OverwritePrompt);
    dlog.SetInitDir(HistoryStore::FolderOf(historyPath));
    if (!dlog.ShowSave())
        return;
    if (dlog.ChosenFilterIndex() == CsvEntry) {
        // The CSV is ours, so it says why it was not written; the table
        // keeps its old silence.
        const SaveOutcome outcome = WriteCsvTo(dlog.FileName(), historyPath, defaultHistoryPath);
        tell(outcome == SaveOutcome::Done ? SavedMessage() : outcome.Message());
    } else if (AppendTableTo(dlog.FileName(), historyPath, defaultHistoryPath)) {
        tell(SavedMessage());
    }
}

bool HistoryExport::AppendTableTo(const QString &path, const QString &historyPath,
                                  const QString &defaultHistoryPath)
{
    // Appended to the history, the table would be read back as records:
    // the list would stop at them and later tests would be stored behind
    // them.
    if (Kept(historyPath, defaultHistoryPath).Holds(path))
        return false;
    // Unbuffered, so that nothing of a failed write is still waiting to be
    // written when the file is cut back and closed.
    QFile file;
    if (!RegularFile::OpenForAppend(file, path))
        return false;
    const qint64 oldSize = file.size();
    // A file that cannot be read is reported by the listing; the lines read
    // before it are still worth the export.
    QString lines;
    HistoryList::ListHistory(
        historyPath,
        [&lines](const QString &line) {
            lines += line;
            lines += LineEnd;
        },
        Evaluation::Display::ExportedLine);
    // Encoded piece by piece: joining the pieces first would copy the whole
    // table once more.
    QByteArray bytes = CodePage1251::Encode(Header() + LineEnd);
    bytes += CodePage1251::Encode(lines);
    bytes += CodePage1251::Encode(LineEnd);
    if (file.write(bytes) == bytes.size() && StableStorage::Sync(file))
        return true;
    // Whatever part of the table reached the file goes again.
    file.resize(oldSize);
    file.close();
    return false;
}

SaveOutcome HistoryExport::WriteCsvTo(const QString &path, const QString &historyPath,
                                      const QString &defaultHistoryPath)
{
    if (Kept(historyPath, defaultHistoryPath).Holds(path))
        return SaveOutcome::Refused;
    FileReplacement file(path);
    if (!file.Open())
        return SaveOutcome::NotOpened;
    const HistoryCsv::Table table = HistoryCsv::Build(historyPath);
    if (!table.complete)
        tell(HistoryList::ErrorMessage());
    file.Write(table.bytes);
    return file.Commit() ? SaveOutcome::Done : SaveOutcome::NotWritten;
}
