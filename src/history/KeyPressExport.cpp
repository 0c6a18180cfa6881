#include "KeyPressExport.h"

#include "HistoryCsv.h"
#include "HistoryExport.h"
#include "HistoryList.h"
#include "HistoryStore.h"
#include "KeyPressFile.h"
#include "KeyPressReader.h"
#include "platform/DateText.h"
#include "platform/Platform.h"
#include "platform/files/FileReplacement.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/Dialogs.h"
#include "record/OleDate.h"

#include <QFileInfo>

namespace {

const QLatin1StringView LineEnd("\r\n");

void tell(const QString &text)
{
    Platform::GetDialogs().MsgBox(Dialogs::Notice(text));
}

// What each row of one test starts with: its name, date and time.
struct Test
{
    qint64 recNo = 0;
    HistoryRecord record;
    QString leading;
};

} // namespace

void KeyPressExport::Export(CommonDialog &dlog, const QString &historyPath,
                            const QString &defaultHistoryPath)
{
    // Nothing to choose a file for.
    if (!QFileInfo::exists(KeyPressFile::PathFor(historyPath))) {
        tell(NoneKeptMessage());
        return;
    }
    dlog.SetFilter(Filter());
    dlog.SetDefaultExt(QStringLiteral("csv"));
    dlog.SetFileName(QStringLiteral("presses.csv"));
    dlog.SetFilterIndex(1);
    dlog.SetFlags(CommonDialog::OverwritePrompt);
    dlog.SetInitDir(HistoryStore::FolderOf(historyPath));
    if (!dlog.ShowSave())
        return;
    const Written written = WriteTo(dlog.FileName(), historyPath, defaultHistoryPath);
    for (const QString &notice : written.notices)
        tell(notice);
    if (written.outcome == SaveOutcome::Done)
        tell(HistoryExport::SavedMessage());
    else if (const QString why = written.outcome.Message(); !why.isEmpty())
        tell(why);
}

KeyPressExport::Written KeyPressExport::WriteTo(const QString &path, const QString &historyPath,
                                                const QString &defaultHistoryPath)
{
    Written written;
    if (HistoryExport::Kept(historyPath, defaultHistoryPath).Holds(path)) {
        written.outcome = SaveOutcome::Refused;
        return written;
    }
    // The tests as far as the data window lists them, so no press is
    // exported for a test its history cannot show.
    QList<Test> tests;
    DateText::Writer dates;
    const bool historyWhole =
        HistoryStore::ReadRecords(historyPath, [&](const HistoryRecord &record) {
            const auto date = OleDate::ToDate(record.RecDate);
            const auto time = OleDate::ToTime(record.RecTime);
            if (!HistoryList::Readable(record, dates) || !date || !time)
                return false;
            const qint64 recNo = tests.size() + 1;
            const QChar comma(QLatin1Char(','));
            tests.append({recNo, record,
                          HistoryCsv::NameField(record.RecName) + comma +
                              date->toString(QStringLiteral("yyyy-MM-dd")) + comma +
                              time->toString(QStringLiteral("HH:mm:ss")) + comma});
            return true;
        });
    const KeyPressReader::Contents kept =
        KeyPressReader::Read(historyPath, [&](qint64 recNo, const QDate &date, const QTime &time) {
            return recNo <= tests.size() &&
                   KeyPressReader::SameTest(tests.at(recNo - 1).record, date, time);
        });
    using Found = KeyPressReader::Found;
    if (kept.found == Found::Nothing || kept.found == Found::Unreadable) {
        written.notices << (kept.found == Found::Nothing ? NoneKeptMessage() : UnreadableMessage());
        return written;
    }
    if (kept.found == Found::Damaged)
        written.notices << DamagedMessage();
    if (!historyWhole)
        written.notices << HistoryList::ErrorMessage();

    FileReplacement file(path);
    if (!file.Open()) {
        written.outcome = SaveOutcome::NotOpened;
        return written;
    }
    file.Write(QByteArray("\xEF\xBB\xBF") + (Header() + LineEnd).toUtf8());
    // Written a test at a time: a history full of tests holds far more
    // presses than it is worth holding as one text.
    for (const Test &test : tests) {
        const auto presses = kept.presses.constFind(test.recNo);
        if (presses == kept.presses.cend())
            continue;
        const QByteArray leading = test.leading.toUtf8();
        QByteArray rows;
        for (const KeyPress &press : *presses) {
            rows += leading;
            rows += QByteArray::number(press.interval) + ',' + QByteArray::number(press.number) +
                    ',' + QByteArray::number(press.ms) + ',' + QByteArray::number(press.key) +
                    "\r\n";
        }
        file.Write(rows);
    }
    written.outcome = file.Commit() ? SaveOutcome::Done : SaveOutcome::NotWritten;
    return written;
}
