#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// The program's entry routine and the facts it settles for the process:
// the drift timer's tick for this kind of system and the path of the
// default history file, beside the program in a portable install and in
// the user's data folder otherwise.
class Startup
{
public:
    // Makes sure the program can ask and answer (its dialogs and help are
    // there), then brings up the test window through the given opener (the
    // frame, which hosts it).
    static void Main(const std::function<void()> &showTestWindow);

    // The drift timer's tick on this system, in milliseconds.
    static std::int16_t TickInterval();
    static std::int16_t TickIntervalFor(int platformId);
    // The history folder's path, a separator and "restest.dat"; the
    // history folder and its "res" are made, for the owner alone, when they
    // are the user's.
    static QString DefaultHistoryPath();
    static QString HistoryPathIn(const QString &directory);
    // The folder of the default history: the program's own folder where it
    // is a portable install (it holds a "res" folder or a "restest.dat" and
    // can be written), as every install was before, else "velmora" in the
    // user's data folder, $XDG_DATA_HOME or ~/.local/share.
    static QString HistoryFolderFor(const QString &programFolder, const QString &dataFolder);
    static QString HistoryFolderFor(const QString &programFolder);
};
