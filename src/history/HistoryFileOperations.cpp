#include "HistoryFileOperations.h"

#include "platform/Clock.h"
#include "platform/CommonDialog.h"
#include "platform/Dialogs.h"
#include "platform/FileMove.h"
#include "platform/Platform.h"
#include "session/SessionState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <random>

namespace {

void tell(const QString &text)
{
    Platform::GetDialogs().MsgBox(Dialogs::Notice(text));
}

bool holdsRecords(const QString &path)
{
    return QFileInfo(path).size() >= HistoryRecord::RecordLength;
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
        // A history without a record leaves nothing to select in the list,
        // and the list showing empty says it all.
        if (!holdsRecords(session.DataPath))
            return;
    }
    tell(OpenedMessage());
}

void HistoryFileOperations::SaveDataAs(CommonDialog &dlog)
{
    dlog.SetFilter(QStringLiteral("*.dat | *.dat"));
    dlog.SetDefaultExt(QStringLiteral("DAT"));
    dlog.SetFileName(QStringLiteral("Default.dat"));
    dlog.SetFilterIndex(1);
    dlog.SetFlags(0);
    if (!dlog.ShowSave())
        return;
    tell(CopyReplacing(Session().DataPath, dlog.FileName()) ? SavedMessage() : NotSavedMessage());
}

bool HistoryFileOperations::CopyReplacing(const QString &source, const QString &target)
{
    const QFileInfo sourceInfo(source);
    if (sourceInfo.exists() && sourceInfo == QFileInfo(target))
        return true;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // The copy is written beside the target and put in its place only when
    // complete, so the old target survives any failure on the way.
    // Unbuffered, so a disk that fills up fails the write that meets it: a
    // buffered write only fails at the final flush, which the commit does
    // not notice, and a cut-off copy would replace the target.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    constexpr qint64 Chunk = 1 << 16;
    while (!in.atEnd()) {
        const QByteArray bytes = in.read(Chunk);
        if (bytes.isEmpty() || out.write(bytes) != bytes.size()) {
            out.cancelWriting();
            break;
        }
    }
    return in.error() == QFileDevice::NoError && out.commit();
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
