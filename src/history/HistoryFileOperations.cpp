#include "HistoryFileOperations.h"

#include "HistoryList.h"
#include "HistoryStore.h"
#include "KeyPressFile.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/files/FileIdentity.h"
#include "platform/files/FileMove.h"
#include "platform/files/FileReplacement.h"
#include "platform/files/RegularFile.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Dialogs.h"

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

std::optional<QString> HistoryFileOperations::ChooseOldData(CommonDialog &dlog,
                                                            const QString &historyInUse)
{
    dlog.SetFilter(tr("(Old History Files *.dat") + QStringLiteral("|*.dat|") +
                   tr("Batch Files Restest.*") + QStringLiteral("|Restest.*"));
    dlog.SetDefaultExt(QString());
    dlog.SetFileName(QString());
    // Beside the history in use, the backups in "res" are one step away.
    dlog.SetInitDir(HistoryStore::FolderOf(historyInUse));
    if (!dlog.ShowOpen())
        return std::nullopt;
    return dlog.FileName();
}

void HistoryFileOperations::TellOpened(const QString &path, bool listed)
{
    if (listed && !HistoryList::FirstLine(path))
        return;
    tell(OpenedMessage());
}

void HistoryFileOperations::SaveDataAs(CommonDialog &dlog, const QString &source,
                                       const QString &defaultHistoryPath)
{
    dlog.SetFilter(QStringLiteral("*.dat | *.dat"));
    dlog.SetDefaultExt(QStringLiteral("DAT"));
    dlog.SetFileName(QStringLiteral("Default.dat"));
    dlog.SetFilterIndex(1);
    dlog.SetFlags(0);
    dlog.SetInitDir(HistoryStore::FolderOf(source));
    if (!dlog.ShowSave())
        return;
    const QString target = dlog.FileName();
    // The default history is only ever replaced by Clear: a copy of an old
    // history over it would take every test stored there.
    const bool ontoDefault =
        FileIdentity::Same(target, defaultHistoryPath) && !FileIdentity::Same(target, source);
    const bool saved = !ontoDefault && CopyReplacing(source, target);
    // The presses go with the copy where they can; a copy without them is
    // still the whole history.
    if (saved && !FileIdentity::Same(source, target))
        KeyPressFile::CopyAlong(source, target);
    tell(saved ? SavedMessage() : NotSavedMessage());
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

bool HistoryFileOperations::ClearDefaultHistory(const QString &defaultHistoryPath)
{
    const int number = DrawBackupNumber();
    Dialogs::Message question;
    question.text = ClearQuestion();
    question.title = ClearTitle();
    question.buttons = Dialogs::Buttons::YesNo;
    question.helpFile = HelpFile();
    question.helpTopic = ClearHelpTopic;
    if (Platform::GetDialogs().MsgBox(question) != Dialogs::Answer::Yes)
        return false;
    const QString backup =
        BackupDirectory(defaultHistoryPath) + QDir::separator() + BackupName(number);
    const bool moved = FileMove::WithoutReplacing(defaultHistoryPath, backup);
    // The presses of the tests cleared go with them; a new history starts
    // without any.
    if (moved)
        KeyPressFile::MoveAlong(defaultHistoryPath, backup);
    tell(moved ? ClearedMessage() : NotClearedMessage());
    return moved;
}

QString HistoryFileOperations::BackupDirectory(const QString &defaultHistoryPath)
{
    return QDir::toNativeSeparators(QFileInfo(defaultHistoryPath).absolutePath()) +
           QDir::separator() + QStringLiteral("res");
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
