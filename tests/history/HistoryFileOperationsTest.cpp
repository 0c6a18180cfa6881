// Open old data, save as and clear, on real files in a scratch program
// folder, with the user's answers scripted.
#include "history/HistoryFileOperations.h"
#include "HistoryFolder.h"
#include "history/KeyPressFile.h"

#include <QRegularExpression>
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
// The companion of the default history: its key presses.
const QByteArray Presses = "record,date,time,interval,press,ms,key\r\n";

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

class HistoryFileOperationsTest : public QObject, HistoryFolder
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
};

void HistoryFileOperationsTest::init()
{
    QVERIFY(Renew());
    QVERIFY(Put("restest.dat", Default) && Put("old.dat", Old) && Put("empty.dat", {}) &&
            Put("bad.dat", Unlistable) && Put("restest.presses.csv", Presses));
}

void HistoryFileOperationsTest::clear_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("message");
    const QString failed = "Error! No data or bakup file already exists.";
    QTest::newRow("yes") << QString() << true << "Default file data clear!";
    QTest::newRow("yes, no presses kept") << "no presses" << true << "Default file data clear!";
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
    if (setup == "no presses")
        QVERIFY(QFile::remove(In("restest.presses.csv")));
    if (setup == "no res")
        QVERIFY(QDir(In("res")).removeRecursively());
    for (int n = 1; setup == "all taken" && n <= 999; ++n)
        QVERIFY(Put(QString("res/restest. %1").arg(n), "taken"));
    m_dialogs.QueueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);

    const bool moved = HistoryFileOperations::ClearDefaultHistory(In("restest.dat"));

    const Dialogs::Message question{"Do you really want to delete the history?", "Data delete",
                                    Dialogs::Buttons::YesNo, "Velm.hlp", 103};
    QCOMPARE(std::get<Dialogs::Message>(m_dialogs.Log().value(0)), question);
    QCOMPARE(m_dialogs.MessageTexts().mid(1), said(message));
    QCOMPARE(moved, message == "Default file data clear!");
    QCOMPARE(Contents("old.dat"), Old);
    // A backup is never overwritten.
    QStringList backups = QDir(In("res")).entryList(QDir::Files);
    // The presses go with their history, under its backup's name.
    const QStringList companions = backups.filter(".presses.csv");
    for (const QString &companion : companions) {
        backups.removeOne(companion);
        QCOMPARE(Contents("res/" + companion), Presses);
    }
    const bool presses = setup != "no presses";
    QCOMPARE(Contents("restest.presses.csv"), moved || !presses ? "<missing>" : Presses);
    QCOMPARE(companions,
             moved && presses ? QStringList{backups.value(0) + ".presses.csv"} : QStringList());
    for (const QString &backup : backups)
        QVERIFY(Contents("res/" + backup) == (setup == "all taken" ? "taken" : Default));
    if (!moved) {
        QCOMPARE(Contents("restest.dat"), setup == "no default" ? "<missing>" : Default);
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
    QTest::addColumn<bool>("listed"); // the data window lists the history opened
    QTest::addColumn<QString>("message");
    // The file written with the history's bytes; every other stays as it was.
    QTest::addColumn<QString>("made");
    const QString none, opened = "History open!", saved = "Data saved!";
    QTest::newRow("open, cancelled") << true << none << true << none << none;
    QTest::newRow("open, not listed") << true << "old.dat" << false << opened << none;
    QTest::newRow("open, listed") << true << "old.dat" << true << opened << none;
    QTest::newRow("open empty, listed") << true << "empty.dat" << true << none << none;
    QTest::newRow("open empty, not listed") << true << "empty.dat" << false << opened << none;
    // Its first line cannot be shown, so there is nothing to select.
    QTest::newRow("open unlistable, listed") << true << "bad.dat" << true << none << none;
    QTest::newRow("save over a file") << false << "old.dat" << true << saved << "old.dat";
    QTest::newRow("save, gets DAT") << false << "copy" << true << saved << "copy.DAT";
    QTest::newRow("save onto itself") << false << "restest.dat" << true << saved << "restest.dat";
    QTest::newRow("save, no such folder")
        << false << "none/copy.dat" << true << "Permission denied. Data not saved!" << none;
    QTest::newRow("save, cancelled") << false << none << true << none << none;
}

void HistoryFileOperationsTest::fileCommands()
{
    QFETCH(bool, open);
    QFETCH(QString, answer);
    QFETCH(bool, listed);
    QFETCH(QString, message);
    QFETCH(QString, made);
    // Left over from an export: must not reach the open dialog.
    m_dlog.SetDefaultExt("TXT");
    m_dialogs.QueueFile(answer.isEmpty() ? std::nullopt : std::optional<QString>(In(answer)));

    if (open) {
        const auto chosen = HistoryFileOperations::ChooseOldData(m_dlog, In("restest.dat"));
        QCOMPARE(chosen, answer.isEmpty() ? std::nullopt : std::optional<QString>(In(answer)));
        if (chosen)
            HistoryFileOperations::TellOpened(*chosen, listed);
    } else {
        HistoryFileOperations::SaveDataAs(m_dlog, In("restest.dat"), In("restest.dat"));
    }

    Dialogs::FileRequest request;
    request.filter = "(Old History Files *.dat|*.dat|Batch Files Restest.*|Restest.*";
    // Both dialogs start beside the history, its backups one step away.
    request.initDir = Folder();
    const auto asked = std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0));
    QVERIFY(open ? asked == request : asked.kind == Dialogs::FileRequest::Kind::Save);
    QCOMPARE(asked.initDir, Folder());
    QCOMPARE(m_dialogs.MessageTexts(), said(message));
    // The copy and nothing else beside it (no temporary left behind).
    QStringList expected{"bad.dat", "empty.dat", "old.dat", "restest.dat", "restest.presses.csv"};
    // A copy has the presses beside it.
    const QString madePresses = QFileInfo(KeyPressFile::PathFor(In(made))).fileName();
    for (const QString &name : {made, madePresses})
        if (!made.isEmpty() && !expected.contains(name))
            expected << name;
    expected.sort();
    QCOMPARE(Files(), expected);
    QCOMPARE(Contents("restest.dat"), Default);
    QCOMPARE(Contents("old.dat"), made == "old.dat" ? Default : Old);
    QCOMPARE(Contents("restest.presses.csv"), Presses);
    if (!made.isEmpty())
        QCOMPARE(Contents(made) + Contents(madePresses), Default + Presses);
}

void HistoryFileOperationsTest::saveAsNeverOverTheDefault_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("viewed"); // the history copied; the default is restest.dat
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
    QVERIFY(QFile::link(Folder(), In("linked")));
    if (cleared)
        QVERIFY(QFile::remove(In("hard.dat")) && QFile::remove(In("restest.dat")));
    m_dialogs.QueueFile(In(typed));

    HistoryFileOperations::SaveDataAs(m_dlog, In(viewed), In("restest.dat"));

    QCOMPARE(m_dialogs.MessageTexts(), QStringList{message});
    QCOMPARE(Contents("restest.dat"), cleared ? "<missing>" : Default);
    QCOMPARE(Contents("old.dat"), Old);
    if (!cleared) // the hard link is still the history, not a copy of it
        QCOMPARE(inodeOf(In("hard.dat")), inodeOf(In("restest.dat")));
    if (typed == "copy.dat")
        QCOMPARE(Contents("copy.dat"), Old);
}

QTEST_GUILESS_MAIN(HistoryFileOperationsTest)
#include "HistoryFileOperationsTest.moc"
