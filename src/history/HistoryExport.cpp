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
#include "session/SessionState.h"

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

void HistoryExport::Export(CommonDialog &dlog, const QString &defaultDataPath)
{
    dlog.SetFilter(Filter());
    dlog.SetDefaultExt(QStringLiteral("TXT"));
    dlog.SetFileName(QStringLiteral("Default.txt"));
    dlog.SetFilterIndex(1);
    dlog.SetFlags(0);
    // A CSV replaces the file, so the dialog asks first; the table is only
    // ever added to what is there.
    dlog.SetEntrySettings(CsvEntry, QStringLiteral("csv"), CommonDialog::OverwritePrompt);
    dlog.SetInitDir(HistoryStore::DataFolder());
    bool saved = false;
    if (dlog.ShowSave()) {
        saved = dlog.ChosenFilterIndex() == CsvEntry
                    ? WriteCsvTo(dlog.FileName(), defaultDataPath)
                    : AppendTableTo(dlog.FileName(), defaultDataPath);
    }
    SessionState &session = Session();
    session.RecNo = 1;
    session.ExportText.clear();
    if (saved)
        Platform::GetDialogs().MsgBox(Dialogs::Notice(SavedMessage()));
}

bool HistoryExport::AppendTableTo(const QString &path, const QString &defaultDataPath)
{
    // Appended to the history, the table would be read back as records:
    // the list would stop at them and later tests would be stored behind
    // them.
    if (namesAHistory(path, {Session().DataPath, defaultDataPath}))
        return false;
    // Unbuffered, so that nothing of a failed write is still waiting to be
    // written when the file is cut back and closed.
    QFile file;
    if (!RegularFile::OpenForAppend(file, path))
        return false;
    const qint64 oldSize = file.size();
    SessionState &session = Session();
    session.ExportText.clear();
    // A file that cannot be read is reported by the listing; the lines read
    // before it are still worth the export.
    HistoryList::ListHistory(HistoryList::Mode::Export);
    // Encoded piece by piece: joining the pieces first would copy the whole
    // table once more.
    QByteArray bytes = CodePage1251::Encode(Header() + LineEnd);
    bytes += CodePage1251::Encode(session.ExportText);
    bytes += CodePage1251::Encode(LineEnd);
    session.ExportText.clear();
    if (file.write(bytes) == bytes.size() && StableStorage::Sync(file))
        return true;
    // Whatever part of the table reached the file goes again.
    file.resize(oldSize);
    file.close();
    return false;
}

bool HistoryExport::WriteCsvTo(const QString &path, const QString &defaultDataPath)
{
    const QString &history = Session().DataPath;
    if (namesAHistory(path, {history, defaultDataPath}))
        return false;
    FileReplacement file(path);
    if (!file.Open())
        return false;
    const HistoryCsv::Table table = HistoryCsv::Build(history);
    if (!table.complete)
        Platform::GetDialogs().MsgBox(Dialogs::Notice(HistoryList::ErrorMessage()));
    file.Write(table.bytes);
    return file.Commit();
}
