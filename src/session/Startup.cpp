#include "Startup.h"

#include "SessionState.h"
#include "platform/OsVersion.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>

std::int16_t Startup::TickIntervalFor(int platformId)
{
    switch (platformId) {
    case 1:
        return 18;
    case 2:
        return 60;
    default:
        return 0;
    }
}

QString Startup::DataPathIn(const QString &directory)
{
    return QDir::toNativeSeparators(directory) + QDir::separator() + QStringLiteral("restest.dat");
}

QString Startup::DefaultDataPath()
{
    return DataPathIn(QCoreApplication::applicationDirPath());
}

void Startup::Main(const std::function<void()> &showTestWindow)
{
    // Without them the first message would end the program in the middle
    // of a test; it is better to know at once.
    Platform::RequireServices();
    SessionState &session = Session();
    session.TickInterval = TickIntervalFor(OsVersion::PlatformId());
    session.DataPath = DefaultDataPath();
    session.TestFormActive = false;
    session.DataFormActive = false;
    showTestWindow();
}
