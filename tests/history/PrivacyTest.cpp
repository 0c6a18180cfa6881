// Who may read the files the program makes, on real files under a real
// umask: a new file is for its owner and group only, whatever the command
// that makes it; a file already there keeps its mode (and group) through
// every command that writes it, replaces it or moves it.
#include "HistoryFolder.h"
#include "history/HistoryExport.h"
#include "history/HistoryFileOperations.h"
#include "history/HistoryList.h"
#include "history/HistoryStore.h"

#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace HistoryFiles;

namespace {

enum class Command { Append, List, SaveAs, Export, ExportCsv, Clear };

struct stat statOf(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(qPrintable(path), &info) != 0)
        info.st_mode = 0;
    return info;
}

QString octal(mode_t mode)
{
    return QString::number(mode & 07777, 8);
}

} // namespace

class PrivacyTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newFiles_data();
    void newFiles();
    void existingFilesKeepTheirMode_data();
    void existingFilesKeepTheirMode();

private:
    // Runs the command with the dialog answered by target; the file it
    // made or wrote.
    QString Run(Command command, const QString &target);

    mode_t m_umask = 0;
};

void PrivacyTest::init()
{
    m_umask = ::umask(022);
    QVERIFY(Renew());
}

void PrivacyTest::cleanup()
{
    ::umask(m_umask);
}

QString PrivacyTest::Run(Command command, const QString &target)
{
    m_dialogs.QueueFile(In(target), command == Command::ExportCsv ? HistoryExport::CsvEntry : 0);
    m_dialogs.QueueAnswer(Dialogs::Answer::Yes);
    switch (command) {
    case Command::Append: {
        HistoryRecord record;
        HistoryStore::Append(DefaultHistory(), record, {5, 40, 38, 36, 35});
        return DefaultHistory();
    }
    case Command::List:
        HistoryList::ListHistory(DefaultHistory(), [](const QString &) {});
        return DefaultHistory();
    case Command::SaveAs:
        HistoryFileOperations::SaveDataAs(m_dlog, DefaultHistory(), DefaultHistory());
        break;
    case Command::Export:
    case Command::ExportCsv:
        HistoryExport::Export(m_dlog, DefaultHistory(), DefaultHistory());
        break;
    case Command::Clear: {
        m_dialogs.Clear();
        m_dialogs.QueueAnswer(Dialogs::Answer::Yes);
        HistoryFileOperations::ClearDefaultHistory(DefaultHistory());
        const QStringList backups = QDir(In("res")).entryList(QDir::Files);
        return backups.size() == 1 ? In("res/" + backups.first()) : QString();
    }
    }
    return In(target);
}

void PrivacyTest::newFiles_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");
    QTest::newRow("the first test makes the history") << Command::Append << "" << 022 << 0640;
    QTest::newRow("the first test, umask 002") << Command::Append << "" << 002 << 0660;
    QTest::newRow("the first test, umask 077") << Command::Append << "" << 077 << 0600;
    QTest::newRow("the list makes a missing history") << Command::List << "" << 022 << 0640;
    QTest::newRow("save as") << Command::SaveAs << "copy.dat" << 022 << 0640;
    QTest::newRow("save as, umask 002") << Command::SaveAs << "copy.dat" << 002 << 0660;
    QTest::newRow("text export") << Command::Export << "table.txt" << 022 << 0640;
    QTest::newRow("CSV export") << Command::ExportCsv << "table.csv" << 022 << 0640;
    QTest::newRow("CSV export, umask 007") << Command::ExportCsv << "table.csv" << 007 << 0660;
}

void PrivacyTest::newFiles()
{
    QFETCH(Command, command);
    QFETCH(QString, target);
    QFETCH(int, mask);
    if (command == Command::SaveAs || command == Command::Export || command == Command::ExportCsv)
        QVERIFY(Put("restest.dat", bytesOf({record("Ann", Dec7, 0.5, 12, {40, 38, 36, 35})})));
    ::umask(mode_t(mask));
    const QString made = Run(command, target);
    QTEST(int(statOf(made).st_mode & 07777), "mode");
}

void PrivacyTest::existingFilesKeepTheirMode_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("target"); // made with mode beforehand
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("otherGroup"); // the target belongs to another group
    QTest::newRow("append to a shared history")
        << Command::Append << "restest.dat" << 0664 << false;
    QTest::newRow("save as over a shared copy") << Command::SaveAs << "copy.dat" << 0664 << false;
    QTest::newRow("save as onto the history itself")
        << Command::SaveAs << "restest.dat" << 0664 << false;
    QTest::newRow("save as over a private copy") << Command::SaveAs << "copy.dat" << 0600 << false;
    QTest::newRow("text export onto a shared table")
        << Command::Export << "table.txt" << 0664 << false;
    QTest::newRow("CSV over a shared one") << Command::ExportCsv << "table.csv" << 0664 << false;
    QTest::newRow("CSV over a private one") << Command::ExportCsv << "table.csv" << 0600 << false;
    QTest::newRow("clear: the backup keeps the mode")
        << Command::Clear << "restest.dat" << 0664 << false;
    QTest::newRow("save as over a copy of another group")
        << Command::SaveAs << "copy.dat" << 0660 << true;
    QTest::newRow("CSV over one of another group")
        << Command::ExportCsv << "table.csv" << 0660 << true;
}

void PrivacyTest::existingFilesKeepTheirMode()
{
    QFETCH(Command, command);
    QFETCH(QString, target);
    QFETCH(int, mode);
    QFETCH(bool, otherGroup);
    // A group the file may be given to by this user: any, for root.
    const gid_t group = ::geteuid() == 0 ? 100 : ::getgid();
    if (otherGroup && group == ::getgid())
        QSKIP("needs root to give a file to another group");
    QVERIFY(Put("restest.dat", bytesOf({record("Ann", Dec7, 0.5, 12, {40, 38, 36, 35})})));
    if (target != "restest.dat")
        QVERIFY(Put(target, "older content"));
    QCOMPARE(::chmod(qPrintable(In(target)), mode_t(mode)), 0);
    if (otherGroup)
        QCOMPARE(::chown(qPrintable(In(target)), uid_t(-1), group), 0);
    const struct stat before = statOf(In(target));

    const QString written = Run(command, target);

    const struct stat after = statOf(written);
    QCOMPARE(octal(after.st_mode), octal(mode_t(mode)));
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_uid, before.st_uid);
    // A replaced file is a new one, not the old one written over.
    if (command == Command::SaveAs && target != "restest.dat")
        QVERIFY(after.st_ino != before.st_ino);
    QCOMPARE(m_dialogs.MessageTexts().filter("Permission denied"), QStringList());
}

QTEST_GUILESS_MAIN(PrivacyTest)
#include "PrivacyTest.moc"
