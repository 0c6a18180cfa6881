#include "HistoryFileOperations.h"

#include "HistoryList.h"
#include "HistoryStore.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/files/FileIdentity.h"
#include "platform/files/FileMove.h"
#include "platform/files/FileReplacement.h"
#include "platform/files/RegularFile.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Dialogs.h"
#include "session/SessionState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <random>

namespace {

void tell(const QString &text)
{
    Platform::GetDialogs().MsgBox(Dialogs::Notice(text));
}

} // namespace

void HistoryFileOperations::OpenOldData(CommonDialog &dlog,
                                        const std::function<void()> &refreshList)
{
    dlog.SetFilter(
        QStringLiteral("(Old History Files *.dat|*.dat|Batch Files Restest.*|Restest.*"));
    dlog.SetDefaultExt(QString());
    dlog.SetFileName(QString());
    // Beside the history in use, the backups in "res" are one step away.
    dlog.SetInitDir(HistoryStore::DataFolder());
    if (!dlog.ShowOpen())
        return;
    SessionState &session = Session();
    session.DataPath = dlog.FileName();
    if (session.DataFormActive) {
        session.RecNo = 1;
        if (refreshList)
            refreshList();
        // Nothing to select in the list (no record, or the first one cannot
        // be shown): the empty list, and the listing's own message if
        // any, say it all.
        if (!HistoryList::FirstLine())
            return;
    }
    tell(OpenedMessage());
}

void HistoryFileOperations::SaveDataAs(CommonDialog &dlog, const QString &defaultDataPath)
{
    dlog.SetFilter(QStringLiteral("*.dat | *.dat"));
    dlog.SetDefaultExt(QStringLiteral("DAT"));
    dlog.SetFileName(QStringLiteral("Default.dat"));
    dlog.SetFilterIndex(1);
    dlog.SetFlags(0);
    dlog.SetInitDir(HistoryStore::DataFolder());
    if (!dlog.ShowSave())
        return;
    const QString &source = Session().DataPath;
    const QString target = dlog.FileName();
    // The default history is only ever replaced by Clear: a copy of an old
    // history over it would take every test stored there.
    const bool ontoDefault =
        FileIdentity::Same(target, defaultDataPath) && !FileIdentity::Same(target, source);
    tell(!ontoDefault && CopyReplacing(source, target) ? SavedMessage() : NotSavedMessage());
}

bool HistoryFileOperations::CopyReplacing(const QString &source, const QString &target)
{
    // By any name or link, a file copied onto itself is already its copy.
    if (FileIdentity::Same(source, target))
        return QFileInfo::exists(source);
    QFile in;
    if (!RegularFile::OpenForReading(in, source))
        return false;
    FileReplacement out(target);
    if (!out.Open())
        return false;
    constexpr qint64 Chunk = 1 << 16;
    bool copied = true;
    while (copied && !in.atEnd()) {
        const QByteArray bytes = in.read(Chunk);
        copied = !bytes.isEmpty() && out.Write(bytes);
    }
    if (!copied || in.error() != QFileDevice::NoError)
        out.Cancel();
    return out.Commit();
}

void HistoryFileOperations::ClearDefaultHistory(const QString &defaultDataPath,
                                                const std::function<void()> &clearDisplay)
{
    const int number = DrawBackupNumber();
    Dialogs::Message question;
    question.text = ClearQuestion();
    question.title = ClearTitle();
    question.buttons = Dialogs::Buttons::YesNo;
    question.helpFile = HelpFile();
    question.helpTopic = ClearHelpTopic;
    if (Platform::GetDialogs().MsgBox(question) != Dialogs::Answer::Yes)
        return;
    if (Session().DataFormActive && clearDisplay)
        clearDisplay();
    const QString backup =
        BackupDirectory(defaultDataPath) + QDir::separator() + BackupName(number);
    tell(FileMove::WithoutReplacing(defaultDataPath, backup) ? ClearedMessage()
                                                             : NotClearedMessage());
}

QString HistoryFileOperations::BackupDirectory(const QString &defaultDataPath)
{
    return QDir::toNativeSeparators(QFileInfo(defaultDataPath).absolutePath()) + QDir::separator() +
           QStringLiteral("res");
}

QString HistoryFileOperations::BackupName(int number)
{
    // The blank stands where a sign would: the number's text form.
    return QStringLiteral("restest. ") + QString::number(number);
}

int HistoryFileOperations::DrawBackupNumber()
{
    const Clock &clock = Platform::GetClock();
    std::mt19937 generator(static_cast<std::uint32_t>(clock.Today().toJulianDay() * 86400000LL +
                                                      clock.TimeOfDay().msecsSinceStartOfDay()));
    // A single-precision fraction in [0, 1), widened before the scaling so
    // that the largest fraction cannot round up to 1000.
    const float fraction = static_cast<float>(generator() >> 8) / 16777216.0F;
    return static_cast<int>(static_cast<double>(fraction) * 999.0 + 1.0);
}
