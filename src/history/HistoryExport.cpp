#include "HistoryExport.h"

#include "HistoryList.h"
#include "platform/CodePage1251.h"
#include "platform/CommonDialog.h"
#include "platform/Dialogs.h"
#include "platform/FileIdentity.h"
#include "platform/Platform.h"
#include "platform/RegularFile.h"
#include "platform/StableStorage.h"
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
    dlog.SetFilter(QStringLiteral("*.txt | *.txt"));
    dlog.SetDefaultExt(QStringLiteral("TXT"));
    dlog.SetFileName(QStringLiteral("Default.txt"));
    dlog.SetFilterIndex(1);
    dlog.SetFlags(0);
    const bool saved = dlog.ShowSave() && AppendTableTo(dlog.FileName(), defaultDataPath);
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
