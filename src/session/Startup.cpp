#include "Startup.h"

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

QString Startup::HistoryPathIn(const QString &directory)
{
    return QDir::toNativeSeparators(directory) + QDir::separator() + QStringLiteral("restest.dat");
}

QString Startup::DefaultHistoryPath()
{
    return HistoryPathIn(QCoreApplication::applicationDirPath());
}

std::int16_t Startup::TickInterval()
{
    return TickIntervalFor(OsVersion::PlatformId());
}

void Startup::Main(const std::function<void()> &showTestWindow)
{
    // Without them the first message would end the program in the middle
    // of a test; it is better to know at once.
    Platform::RequireServices();
    showTestWindow();
}
