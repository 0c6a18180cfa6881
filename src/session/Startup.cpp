#include "Startup.h"

#include "platform/OsVersion.h"
#include "platform/Platform.h"
#include "platform/files/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

QString Startup::HistoryFolderFor(const QString &programFolder, const QString &dataFolder)
{
    // A program installed under /usr, or one in a build tree, has no
    // folder of its own to keep people's results in; a folder someone made
    // "res" in, or left a history in, is one.
    const QDir program(programFolder);
    const bool portable = (QFileInfo(program.filePath(QStringLiteral("res"))).isDir() ||
                           QFileInfo::exists(program.filePath(QStringLiteral("restest.dat")))) &&
                          QFileInfo(programFolder).isWritable();
    return portable ? programFolder : QDir(dataFolder).filePath(QStringLiteral("velmora"));
}

QString Startup::HistoryFolderFor(const QString &programFolder)
{
    return HistoryFolderFor(programFolder,
                            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString Startup::DefaultHistoryPath()
{
    const QString program = QCoreApplication::applicationDirPath();
    const QString folder = HistoryFolderFor(program);
    // Clearing moves the history into "res" and never makes that folder,
    // so the user's history folder gets one from the start. Where they
    // cannot be made, the first test says it was not stored.
    if (folder != program && PrivateFolder::Make(folder))
        PrivateFolder::Make(QDir(folder).filePath(QStringLiteral("res")));
    return HistoryPathIn(folder);
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
