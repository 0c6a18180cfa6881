#include "HistoryFileOperations.h"

#include "HistoryList.h"
#include "platform/Clock.h"
#include "platform/CommonDialog.h"
#include "platform/Dialogs.h"
#include "platform/FileIdentity.h"
#include "platform/FileMove.h"
#include "platform/Platform.h"
#include "platform/RegularFile.h"
#include "session/SessionState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <random>
#include <unistd.h>

namespace {

void tell(const QString &text)
{
    Platform::GetDialogs().MsgBox(Dialogs::Notice(text));
}

// A target that has to be written in place, because its folder takes no
// new file beside it, is kept in memory first: a copy that fails part-way
// then puts the old bytes back rather than leave half of each.
std::optional<QByteArray> keepWhenWrittenInPlace(const QString &target)
{
    constexpr qint64 MostKept = qint64(64) << 20;
    const QFileInfo existing(target);
    if (!existing.exists() ||
        ::access(QFile::encodeName(existing.canonicalPath()).constData(), W_OK) == 0 ||
        existing.size() > MostKept)
        return std::nullopt;
    QFile old;
    if (!RegularFile::OpenForReading(old, target))
        return std::nullopt;
    QByteArray bytes = old.readAll();
    if (old.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

void putBack(const QString &target, const QByteArray &bytes)
{
    QFile file(target);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        file.write(bytes);
}

} // namespace

void HistoryFileOperations::OpenOldData(CommonDialog &dlog,
                                        const std::function<void()> &refreshList)
{
    dlog.SetFilter(
        QStringLiteral("(Old History Files *.dat|*.dat|Batch Files Restest.*|Restest.*"));
    dlog.SetDefaultExt(QString());
    dlog.SetFileName(QString());
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
    if (!RegularFile::IsRegularOrNew(target))
        return false;
    QFile in;
    if (!RegularFile::OpenForReading(in, source))
        return false;
    const std::optional<QByteArray> old = keepWhenWrittenInPlace(target);
    // The copy is written beside the target and put in its place only when
    // complete, so the old target survives any failure on the way. Where
    // the folder takes no new file but the target may be written, it is
    // written in place, its old bytes kept to put back.
    // Unbuffered, so a disk that fills up fails the write that meets it: a
    // buffered write only fails at the final flush, which the commit does
    // not notice, and a cut-off copy would replace the target.
    QSaveFile out(target);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    constexpr qint64 Chunk = 1 << 16;
    bool copied = true;
    while (copied && !in.atEnd()) {
        const QByteArray bytes = in.read(Chunk);
        copied = !bytes.isEmpty() && out.write(bytes) == bytes.size();
    }
    copied = copied && in.error() == QFileDevice::NoError;
    if (!copied)
        out.cancelWriting();
    // Written in place, the file is only closed by the commit, which then
    // reports no failure of its own: the copy's own record decides.
    if (out.commit() && copied)
        return true;
    if (old)
        putBack(target, *old);
    return false;
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
