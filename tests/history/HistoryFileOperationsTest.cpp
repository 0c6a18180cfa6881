// Open old data, save as and clear, on real files in a scratch program
// folder, with the user's answers scripted.
#include "history/HistoryFileOperations.h"
#include "FreshSession.h"
#include "HistoryFiles.h"
#include "ScriptedPlatform.h"
#include "platform/Platform.h"
#include "platform/ui/CommonDialog.h"
#include "session/SessionState.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace HistoryFiles;

namespace {

const QByteArray Default(80, 'D');
const QByteArray Old = bytesOf({record("Old one", Dec7, 0.5, 12, {40, 38, 36, 35}),
                                record("Old two", Dec7, 0.6, 12, {40, 38, 36, 35})});
// Two records' worth of bytes whose first date cannot be shown.
const QByteArray Unlistable(160, 'O');

ino_t inodeOf(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(qPrintable(path), &info) == 0 ? info.st_ino : 0;
}

QStringList said(const QString &message)
{
    return message.isEmpty() ? QStringList() : QStringList{message};
}

} // namespace

class HistoryFileOperationsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void clear_data();
    void clear();
    void fileCommands_data();
    void fileCommands();
    void saveAsNeverOverTheDefault_data();
    void saveAsNeverOverTheDefault();

private:
    QString In(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPlatform m_platform;
    ScriptedDialogs &m_dialogs = m_platform.dialogs;
    CommonDialog m_dlog;
};

void HistoryFileOperationsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ResetSession();
    Session().DataPath = In("restest.dat");
    m_dialogs.Clear();
    QVERIFY(put(In("restest.dat"), Default) && put(In("old.dat"), Old) &&
            put(In("empty.dat"), {}) && put(In("bad.dat"), Unlistable));
    QVERIFY(QDir(m_dir->path()).mkdir("res"));
}

void HistoryFileOperationsTest::clear_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("message");
    const QString failed = "Error! No data or bakup file already exists.";
    QTest::newRow("yes") << QString() << true << "Default file data clear!";
    QTest::newRow("no changes nothing") << QString() << false << QString();
    QTest::newRow("no default file") << "no default" << true << failed;
    QTest::newRow("no res folder") << "no res" << true << failed;
    QTest::newRow("every backup name taken") << "all taken" << true << failed;
}

void HistoryFileOperationsTest::clear()
{
    QFETCH(QString, setup);
    QFETCH(bool, yes);
    QFETCH(QString, message);
    if (setup == "no default")
        QVERIFY(QFile::remove(In("restest.dat")));
    if (setup == "no res")
        QVERIFY(QDir(In("res")).removeRecursively());
    for (int n = 1; setup == "all taken" && n <= 999; ++n)
        QVERIFY(put(In("res/restest. %1").arg(n), "taken"));
    // An old history being viewed is never what a clear acts on.
    Session().DataPath = In("old.dat");
    Session().DataFormActive = true;
    m_dialogs.QueueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    int displayCleared = 0;

    HistoryFileOperations::ClearDefaultHistory(In("restest.dat"), [&] { ++displayCleared; });

    const Dialogs::Message question{"Do you really want to delete the history?", "Data delete",
                                    Dialogs::Buttons::YesNo, "Velm.hlp", 103};
    QCOMPARE(std::get<Dialogs::Message>(m_dialogs.Log().value(0)), question);
    QCOMPARE(m_dialogs.MessageTexts().mid(1), said(message));
    QCOMPARE(displayCleared, yes ? 1 : 0);
    QCOMPARE(contents(In("old.dat")), Old);
    // A backup is never overwritten.
    const QStringList backups = QDir(In("res")).entryList(QDir::Files);
    for (const QString &backup : backups)
        QVERIFY(contents(In("res/" + backup)) == (setup == "all taken" ? "taken" : Default));
    if (message != "Default file data clear!") {
        QCOMPARE(contents(In("restest.dat")), setup == "no default" ? "<missing>" : Default);
        return;
    }
    QVERIFY(!QFile::exists(In("restest.dat")));
    QCOMPARE(backups.size(), 1);
    QVERIFY2(QRegularExpression("^restest\\. [1-9][0-9]{0,2}$").match(backups.first()).hasMatch(),
             qPrintable(backups.first()));
}

void HistoryFileOperationsTest::fileCommands_data()
{
    QTest::addColumn<bool>("open"); // Open old data, else Save data as
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("dataFormActive");
    QTest::addColumn<int>("refreshes");
    QTest::addColumn<QString>("message");
    // The file written with the history's bytes; every other stays as it was.
    QTest::addColumn<QString>("made");
    const QString none, opened = "History open!", saved = "Data saved!";
    QTest::newRow("open, cancelled") << true << none << true << 0 << none << none;
    QTest::newRow("open, window elsewhere") << true << "old.dat" << false << 0 << opened << none;
    QTest::newRow("open, window active") << true << "old.dat" << true << 1 << opened << none;
    QTest::newRow("open empty, active") << true << "empty.dat" << true << 1 << none << none;
    QTest::newRow("open empty, elsewhere") << true << "empty.dat" << false << 0 << opened << none;
    // Its first line cannot be shown, so there is nothing to select.
    QTest::newRow("open unlistable, active") << true << "bad.dat" << true << 1 << none << none;
    QTest::newRow("save over a file") << false << "old.dat" << true << 0 << saved << "old.dat";
    QTest::newRow("save, gets DAT") << false << "copy" << true << 0 << saved << "copy.DAT";
    QTest::newRow("save onto itself")
        << false << "restest.dat" << true << 0 << saved << "restest.dat";
    QTest::newRow("save, no such folder")
        << false << "none/copy.dat" << true << 0 << "Permission denied. Data not saved!" << none;
    QTest::newRow("save, cancelled") << false << none << true << 0 << none << none;
}

void HistoryFileOperationsTest::fileCommands()
{
    QFETCH(bool, open);
    QFETCH(QString, answer);
    QFETCH(bool, dataFormActive);
    QFETCH(QString, message);
    QFETCH(QString, made);
    Session().DataFormActive = dataFormActive;
    // Left over from an export: must not reach the open dialog.
    m_dlog.SetDefaultExt("TXT");
    m_dialogs.QueueFile(answer.isEmpty() ? std::nullopt : std::optional<QString>(In(answer)));
    int refreshes = 0;

    if (open) {
        HistoryFileOperations::OpenOldData(m_dlog, [&] {
            ++refreshes;
            QCOMPARE(Session().DataPath, In(answer));
        });
    } else {
        HistoryFileOperations::SaveDataAs(m_dlog);
    }

    Dialogs::FileRequest request;
    request.filter = "(Old History Files *.dat|*.dat|Batch Files Restest.*|Restest.*";
    // Both dialogs start beside the history, its backups one step away.
    request.initDir = m_dir->path();
    const auto asked = std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0));
    QVERIFY(open ? asked == request : asked.kind == Dialogs::FileRequest::Kind::Save);
    QCOMPARE(asked.initDir, m_dir->path());
    QTEST(refreshes, "refreshes");
    QCOMPARE(m_dialogs.MessageTexts(), said(message));
    QCOMPARE(Session().DataPath, In(open && !answer.isEmpty() ? answer : "restest.dat"));
    // The copy and nothing else beside it (no temporary left behind).
    QStringList expected{"bad.dat", "empty.dat", "old.dat", "restest.dat"};
    if (!made.isEmpty() && !expected.contains(made))
        expected << made;
    expected.sort();
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files, QDir::Name), expected);
    QCOMPARE(contents(In("restest.dat")), Default);
    QCOMPARE(contents(In("old.dat")), made == "old.dat" ? Default : Old);
    if (!made.isEmpty())
        QCOMPARE(contents(In(made)), Default);
}

void HistoryFileOperationsTest::saveAsNeverOverTheDefault_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("viewed"); // DataPath; the default is restest.dat
    QTest::addColumn<bool>("cleared");   // no default history on disk
    QTest::addColumn<QString>("message");
    const QString saved = "Data saved!", refused = "Permission denied. Data not saved!";
    QTest::newRow("the default while an old one is viewed") << "restest.dat"
                                                            << "old.dat" << false << refused;
    QTest::newRow("a hard link of the default while an old one is viewed")
        << "hard.dat"
        << "old.dat" << false << refused;
    QTest::newRow("a link of the default while an old one is viewed")
        << "link.dat"
        << "old.dat" << false << refused;
    QTest::newRow("the default after a clear, while an old one is viewed")
        << "restest.dat"
        << "old.dat" << true << refused;
    QTest::newRow("the default after a clear, through a linked folder")
        << "linked/restest.dat"
        << "old.dat" << true << refused;
    QTest::newRow("a hard link of the history itself") << "hard.dat"
                                                       << "restest.dat" << false << saved;
    QTest::newRow("an old one to a new name") << "copy.dat"
                                              << "old.dat" << false << saved;
}

// The default history is replaced by nothing but Clear: a Save as of an
// old history over it, by whatever name reaches it, is refused.
void HistoryFileOperationsTest::saveAsNeverOverTheDefault()
{
    QFETCH(QString, typed);
    QFETCH(QString, viewed);
    QFETCH(bool, cleared);
    QFETCH(QString, message);
    QCOMPARE(::link(qPrintable(In("restest.dat")), qPrintable(In("hard.dat"))), 0);
    QVERIFY(QFile::link(In("restest.dat"), In("link.dat")));
    QVERIFY(QFile::link(m_dir->path(), In("linked")));
    if (cleared)
        QVERIFY(QFile::remove(In("hard.dat")) && QFile::remove(In("restest.dat")));
    Session().DataPath = In(viewed);
    m_dialogs.QueueFile(In(typed));

    HistoryFileOperations::SaveDataAs(m_dlog, In("restest.dat"));

    QCOMPARE(m_dialogs.MessageTexts(), QStringList{message});
    QCOMPARE(contents(In("restest.dat")), cleared ? "<missing>" : Default);
    QCOMPARE(contents(In("old.dat")), Old);
    if (!cleared) // the hard link is still the history, not a copy of it
        QCOMPARE(inodeOf(In("hard.dat")), inodeOf(In("restest.dat")));
    if (typed == "copy.dat")
        QCOMPARE(contents(In("copy.dat")), Old);
}

QTEST_GUILESS_MAIN(HistoryFileOperationsTest)
#include "HistoryFileOperationsTest.moc"
