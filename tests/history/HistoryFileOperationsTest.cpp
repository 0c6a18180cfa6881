// Open old data, save as and clear, on real files in a scratch program
// folder, with the user's answers scripted.
#include "history/HistoryFileOperations.h"
#include "FakeClock.h"
#include "history/HistoryStore.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "session/SessionState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QByteArray Default(80, 'D');
const QByteArray Old(160, 'O');

} // namespace

class HistoryFileOperationsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clear_data();
    void clear();
    void openOld_data();
    void openOld();
    void saveAs_data();
    void saveAs();

private:
    QString In(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    FakeClock m_clock;
    CommonDialog m_dlog;
};

void HistoryFileOperationsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    ResetSession();
    m_dialogs.Clear();
    Platform::SetDialogs(&m_dialogs);
    Platform::SetClock(&m_clock);
    put(In("restest.dat"), Default);
    put(In("old.dat"), Old);
    QVERIFY(QDir(m_dir->path()).mkdir("res"));
}

void HistoryFileOperationsTest::cleanup()
{
    Platform::SetDialogs(nullptr);
    Platform::SetClock(nullptr);
}

void HistoryFileOperationsTest::clear_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("dataFormActive");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    const QString cleared = "Default file data clear!";
    const QString failed = "Error! No data or bakup file already exists.";
    QTest::newRow("yes, data window active") << true << true << "" << cleared;
    QTest::newRow("yes, data window elsewhere") << true << false << "" << cleared;
    QTest::newRow("no changes nothing") << false << true << ""
                                        << "";
    QTest::newRow("no default file") << true << true << "no default" << failed;
    QTest::newRow("no res folder") << true << true << "no res" << failed;
    QTest::newRow("every backup name taken") << true << true << "all taken" << failed;
}

void HistoryFileOperationsTest::clear()
{
    QFETCH(bool, yes);
    QFETCH(bool, dataFormActive);
    QFETCH(QString, setup);
    QFETCH(QString, message);
    if (setup == "no default")
        QVERIFY(QFile::remove(In("restest.dat")));
    if (setup == "no res")
        QVERIFY(QDir(In("res")).removeRecursively());
    if (setup == "all taken") {
        for (int n = 1; n <= 999; ++n)
            put(In("res/restest. %1").arg(n), QByteArray::number(n));
    }
    // An old history being viewed is never what a clear acts on.
    Session().DataPath = In("old.dat");
    Session().DataFormActive = dataFormActive;
    m_dialogs.QueueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    int displayCleared = 0;

    HistoryFileOperations::ClearDefaultHistory(In("restest.dat"), [&] { ++displayCleared; });

    Dialogs::Message question{"Do you really want to delete the history?", "Data delete",
                              Dialogs::Buttons::YesNo, "Velm.hlp", 103};
    QCOMPARE(std::get<Dialogs::Message>(m_dialogs.Log().value(0)), question);
    QCOMPARE(m_dialogs.MessageTexts().mid(1),
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(displayCleared, yes && dataFormActive ? 1 : 0);
    QCOMPARE(contents(In("old.dat")), Old);
    const QStringList backups = QDir(In("res")).entryList(QDir::Files, QDir::Name);
    if (setup == "all taken") {
        QCOMPARE(backups.size(), 999);
        for (int n = 1; n <= 999; ++n)
            QCOMPARE(contents(In("res/restest. %1").arg(n)), QByteArray::number(n));
    }
    if (message != "Default file data clear!") {
        QCOMPARE(contents(In("restest.dat")), setup == "no default" ? "<missing>" : Default);
        return;
    }
    QVERIFY(!QFile::exists(In("restest.dat")));
    QCOMPARE(backups.size(), 1);
    const auto match = QRegularExpression("^restest\\. ([1-9][0-9]{0,2})$").match(backups.first());
    QVERIFY2(match.hasMatch(), qPrintable(backups.first()));
    QCOMPARE(contents(In("res/" + backups.first())), Default);
}

void HistoryFileOperationsTest::openOld_data()
{
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<bool>("dataFormActive");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("refreshes");
    QTest::addColumn<QStringList>("messages");
    const QStringList opened{"History open!"};
    QTest::newRow("cancelled") << false << true << "old.dat" << 0 << QStringList();
    QTest::newRow("data window elsewhere") << true << false << "old.dat" << 0 << opened;
    QTest::newRow("data window active") << true << true << "old.dat" << 1 << opened;
    QTest::newRow("empty file, data window active")
        << true << true << "empty.dat" << 1 << QStringList();
    QTest::newRow("empty file, data window elsewhere")
        << true << false << "empty.dat" << 0 << opened;
}

void HistoryFileOperationsTest::openOld()
{
    QFETCH(bool, chosen);
    QFETCH(bool, dataFormActive);
    QFETCH(QString, file);
    put(In("empty.dat"), {});
    Session().DataPath = In("restest.dat");
    Session().DataFormActive = dataFormActive;
    m_dlog.SetDefaultExt("TXT");
    m_dialogs.QueueFile(chosen ? std::optional<QString>(In(file)) : std::nullopt);
    int refreshes = 0;
    QString pathWhenRefreshed;

    HistoryFileOperations::OpenOldData(m_dlog, [&] {
        ++refreshes;
        pathWhenRefreshed = Session().DataPath;
    });

    Dialogs::FileRequest request;
    request.filter = "(Old History Files *.dat|*.dat|Batch Files Restest.*|Restest.*";
    QCOMPARE(std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0)), request);
    QCOMPARE(Session().DataPath, chosen ? In(file) : In("restest.dat"));
    QTEST(refreshes, "refreshes");
    if (refreshes > 0)
        QCOMPARE(pathWhenRefreshed, In(file));
    QTEST(m_dialogs.MessageTexts(), "messages");

    // The next finished test goes to the history now current.
    Session().Counts = {5, 40, 38, 36, 35};
    HistoryStore::AppendCurrentRecord();
    QCOMPARE(QFileInfo(In("restest.dat")).size(), chosen ? 80 : 160);
    if (chosen)
        QCOMPARE(QFileInfo(In(file)).size(), file == "old.dat" ? 240 : 80);
}

void HistoryFileOperationsTest::saveAs_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("message");
    QTest::newRow("new file") << "copy.dat"
                              << "copy.dat"
                              << "Data saved!";
    QTest::newRow("existing file replaced without a question") << "old.dat"
                                                               << "old.dat"
                                                               << "Data saved!";
    QTest::newRow("no extension gets DAT") << "copy"
                                           << "copy.DAT"
                                           << "Data saved!";
    QTest::newRow("onto the history itself keeps it") << "restest.dat"
                                                      << "restest.dat"
                                                      << "Data saved!";
    QTest::newRow("folder that does not exist") << "none/copy.dat"
                                                << ""
                                                << "Permission denied. Data not saved!";
    QTest::newRow("read-only file stays") << "locked.dat"
                                          << ""
                                          << "Permission denied. Data not saved!";
    QTest::newRow("cancelled") << ""
                               << ""
                               << "";
}

void HistoryFileOperationsTest::saveAs()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(QString, message);
    if (typed == "locked.dat") {
        if (::geteuid() == 0)
            QSKIP("permissions do not bind root");
        put(In("locked.dat"), "keep");
        QFile::setPermissions(In("locked.dat"), QFileDevice::ReadOwner);
    }
    Session().DataPath = In("restest.dat");
    m_dialogs.QueueFile(typed.isEmpty() ? std::nullopt : std::optional<QString>(In(typed)));

    HistoryFileOperations::SaveDataAs(m_dlog);

    Dialogs::FileRequest request{
        Dialogs::FileRequest::Kind::Save, "*.dat | *.dat", "DAT", "Default.dat", 1, 0};
    QCOMPARE(std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0)), request);
    QCOMPARE(m_dialogs.MessageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(Session().DataPath, In("restest.dat"));
    QCOMPARE(contents(In("restest.dat")), Default);
    if (!saved.isEmpty())
        QCOMPARE(contents(In(saved)), Default);
    if (typed == "locked.dat")
        QCOMPARE(contents(In("locked.dat")), QByteArray("keep"));
    // Nothing is left behind beside the target.
    QStringList expected{"old.dat", "restest.dat", saved, typed == "locked.dat" ? typed : ""};
    expected.removeAll("");
    expected.removeDuplicates();
    expected.sort();
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files, QDir::Name), expected);
}

QTEST_GUILESS_MAIN(HistoryFileOperationsTest)
#include "HistoryFileOperationsTest.moc"
