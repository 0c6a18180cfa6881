// Open old data, save as and clear, on real files in a scratch program
// folder, with the user's answers scripted.
#include "history/HistoryFileOperations.h"
#include "FakeClock.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "session/SessionState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
    void cleanup() { Platform::SetDialogs(nullptr); }
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
    CommonDialog m_dlog;
};

void HistoryFileOperationsTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ResetSession();
    m_dialogs.Clear();
    Platform::SetDialogs(&m_dialogs);
    put(In("restest.dat"), Default);
    put(In("old.dat"), Old);
    put(In("empty.dat"), {});
    QVERIFY(QDir(m_dir->path()).mkdir("res"));
}

void HistoryFileOperationsTest::clear_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    const QString failed = "Error! No data or bakup file already exists.";
    QTest::newRow("yes") << true << ""
                         << "Default file data clear!";
    QTest::newRow("no changes nothing") << false << ""
                                        << "";
    QTest::newRow("no default file") << true << "no default" << failed;
    QTest::newRow("no res folder") << true << "no res" << failed;
    QTest::newRow("every backup name taken") << true << "all taken" << failed;
}

void HistoryFileOperationsTest::clear()
{
    QFETCH(bool, yes);
    QFETCH(QString, setup);
    QFETCH(QString, message);
    if (setup == "no default")
        QVERIFY(QFile::remove(In("restest.dat")));
    if (setup == "no res")
        QVERIFY(QDir(In("res")).removeRecursively());
    for (int n = 1; setup == "all taken" && n <= 999; ++n)
        put(In("res/restest. %1").arg(n), "taken");
    // An old history being viewed is never what a clear acts on.
    Session().DataPath = In("old.dat");
    Session().DataFormActive = true;
    m_dialogs.QueueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    int displayCleared = 0;

    HistoryFileOperations::ClearDefaultHistory(In("restest.dat"), [&] { ++displayCleared; });

    const Dialogs::Message question{"Do you really want to delete the history?", "Data delete",
                                    Dialogs::Buttons::YesNo, "Velm.hlp", 103};
    QCOMPARE(std::get<Dialogs::Message>(m_dialogs.Log().value(0)), question);
    QCOMPARE(m_dialogs.MessageTexts().mid(1),
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(displayCleared, yes ? 1 : 0);
    QCOMPARE(contents(In("old.dat")), Old);
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

void HistoryFileOperationsTest::openOld_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("dataFormActive");
    QTest::addColumn<int>("refreshes");
    QTest::addColumn<QStringList>("messages");
    const QStringList opened{"History open!"};
    QTest::newRow("cancelled") << "" << true << 0 << QStringList();
    QTest::newRow("data window elsewhere") << "old.dat" << false << 0 << opened;
    QTest::newRow("data window active") << "old.dat" << true << 1 << opened;
    QTest::newRow("empty, data window active") << "empty.dat" << true << 1 << QStringList();
    QTest::newRow("empty, data window elsewhere") << "empty.dat" << false << 0 << opened;
}

void HistoryFileOperationsTest::openOld()
{
    QFETCH(QString, file);
    QFETCH(bool, dataFormActive);
    Session().DataPath = In("restest.dat");
    Session().DataFormActive = dataFormActive;
    m_dlog.SetDefaultExt("TXT");
    m_dialogs.QueueFile(file.isEmpty() ? std::nullopt : std::optional<QString>(In(file)));
    int refreshes = 0;

    HistoryFileOperations::OpenOldData(m_dlog, [&] {
        ++refreshes;
        QCOMPARE(Session().DataPath, In(file));
    });

    Dialogs::FileRequest request;
    request.filter = "(Old History Files *.dat|*.dat|Batch Files Restest.*|Restest.*";
    QCOMPARE(std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0)), request);
    QTEST(refreshes, "refreshes");
    QTEST(m_dialogs.MessageTexts(), "messages");
    QCOMPARE(Session().DataPath, In(file.isEmpty() ? "restest.dat" : file));
}

void HistoryFileOperationsTest::saveAs_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("message");
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
    QTest::newRow("cancelled") << ""
                               << ""
                               << "";
}

void HistoryFileOperationsTest::saveAs()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(QString, message);
    Session().DataPath = In("restest.dat");
    m_dialogs.QueueFile(typed.isEmpty() ? std::nullopt : std::optional<QString>(In(typed)));

    HistoryFileOperations::SaveDataAs(m_dlog);

    const Dialogs::FileRequest request{
        Dialogs::FileRequest::Kind::Save, "*.dat | *.dat", "DAT", "Default.dat", 1, 0};
    QCOMPARE(std::get<Dialogs::FileRequest>(m_dialogs.Log().value(0)), request);
    QCOMPARE(m_dialogs.MessageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(Session().DataPath, In("restest.dat"));
    QCOMPARE(contents(In("restest.dat")), Default);
    // The copy and nothing else beside it (no temporary left behind).
    QStringList expected{"empty.dat", "old.dat", "restest.dat", saved};
    expected.removeAll("");
    expected.removeDuplicates();
    expected.sort();
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files, QDir::Name), expected);
    if (!saved.isEmpty())
        QCOMPARE(contents(In(saved)), Default);
}

QTEST_GUILESS_MAIN(HistoryFileOperationsTest)
#include "HistoryFileOperationsTest.moc"
