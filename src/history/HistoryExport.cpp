#include "HistoryExport.h"

#include "HistoryCsv.h"
#include "HistoryList.h"
#include "HistoryStore.h"
#include "platform/Platform.h"
#include "platform/files/FileIdentity.h"
#include "platform/files/FileReplacement.h"
#include "platform/files/RegularFile.h"
#include "platform/files/StableStorage.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Dialogs.h"
#include "record/CodePage1251.h"

#include <QFile>

namespace {

const QString LineEnd = QStringLiteral("\r\n");

// One of the history files, by any name or link that reaches it, also
// one that is not there at the moment and would be made by the export.
bool namesAHistory(const QString &path, const QStringList &histories)
{
    for (const QString &history : histories) {
        if (FileIdentity::Same(path, history))
            return true;
    }
    return false;
}

} // namespace

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
    const bool saved = dlog.ChosenFilterIndex() == CsvEntry
                           ? WriteCsvTo(dlog.FileName(), historyPath, defaultHistoryPath)
                           : AppendTableTo(dlog.FileName(), historyPath, defaultHistoryPath);
    if (saved)
        Platform::GetDialogs().MsgBox(Dialogs::Notice(SavedMessage()));
}

bool HistoryExport::AppendTableTo(const QString &path, const QString &historyPath,
                                  const QString &defaultHistoryPath)
{
    // Appended to the history, the table would be read back as records:
    // the list would stop at them and later tests would be stored behind
    // them.
    if (namesAHistory(path, {historyPath, defaultHistoryPath}))
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
    HistoryList::ListHistory(historyPath, [&lines](const QString &line) {
        lines += line;
        lines += LineEnd;
    });
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

bool HistoryExport::WriteCsvTo(const QString &path, const QString &historyPath,
                               const QString &defaultHistoryPath)
{
    if (namesAHistory(path, {historyPath, defaultHistoryPath}))
        return false;
    FileReplacement file(path);
    if (!file.Open())
        return false;
    const HistoryCsv::Table table = HistoryCsv::Build(historyPath);
    if (!table.complete)
        Platform::GetDialogs().MsgBox(Dialogs::Notice(HistoryList::ErrorMessage()));
    file.Write(table.bytes);
    return file.Commit();
}
