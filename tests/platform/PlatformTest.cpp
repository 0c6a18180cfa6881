// The program has no silent stand-in for its dialogs or its help: asked for
// before they are installed, they end the process with a message saying
// what is missing (an assertion in a debug build). Each case runs in a
// child process, this program started again with the case to try.
#include "platform/Platform.h"
#include "ScriptedPlatform.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

namespace {

const char *const CaseVariable = "VELMORA_PLATFORM_CASE";

// What the child does; it returns 0 only when nothing ended it before.
int runCase(const QByteArray &name)
{
    if (name == "installed") {
        ScriptedPlatform platform;
        Platform::RequireServices();
        Platform::GetDialogs();
        Platform::GetHelp();
        return 0;
    }
    if (name == "dialogs") {
        HelpRequests help;
        Platform::SetHelp(&help);
        Platform::GetDialogs();
    } else if (name == "help") {
        ScriptedDialogs dialogs;
        Platform::SetDialogs(&dialogs);
        Platform::GetHelp();
    } else if (name == "start") {
        Platform::RequireServices();
    }
    return 0;
}

} // namespace

class PlatformTest : public QObject
{
    Q_OBJECT

private slots:
    void missingServicesEndTheProgram_data();
    void missingServicesEndTheProgram();
};

void PlatformTest::missingServicesEndTheProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("said"); // empty: the child must end normally
    QTest::newRow("both installed") << "installed"
                                    << "";
    QTest::newRow("no dialogs")
        << "dialogs"
        << "no dialogs installed: the program's messages could not be shown";
    QTest::newRow("no help") << "help"
                             << "no help viewer installed: help could not be shown";
    QTest::newRow("checked at start")
        << "start"
        << "no dialogs installed: the program's messages could not be shown";
}

void PlatformTest::missingServicesEndTheProgram()
{
    QFETCH(QString, name);
    QFETCH(QString, said);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(CaseVariable), name);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(30000));
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    if (said.isEmpty()) {
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        return;
    }
    // Release builds exit with a failure; debug builds stop at the assertion.
    QVERIFY2(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0,
             qPrintable(errors));
    QVERIFY2(errors.contains(said), qPrintable(errors));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const QByteArray name = qgetenv(CaseVariable); !name.isEmpty())
        return runCase(name);
    PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PlatformTest.moc"
