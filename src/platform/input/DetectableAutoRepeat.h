#pragma once

#include <QtGlobal>

#include <optional>

// How the program tells a key held down from keys pressed again and again.
// Every key release counts in a test, so a keyboard repeat must never pass
// for one. An X server by default repeats a held key as a release and a
// press with the same time stamp; Qt tells those apart by looking for the
// press in the events it has already read, and a busy program has often not
// read it yet, so repeats were counted as releases. With the server's
// detectable auto-repeat switched on for the program's own connection the
// server sends repeated presses only, and the single release comes when the
// key is let go. Windows and macOS report a held key that way themselves,
// as repeated key-downs and one key-up, and on Wayland the repeats are made
// by Qt itself and flagged as such, so none of them needs either this or
// the fallback of the picture box.
class DetectableAutoRepeat
{
public:
    // Asks the X server for detectable auto-repeat on the program's
    // connection, once, after the application object exists. True when the
    // server has switched it on; false on any other platform and on an X
    // server that cannot.
    static bool Enable();
    // A key release that Qt has not flagged as a repeat may still be one:
    // on X11 without detectable auto-repeat.
    static bool ReleasesMayRepeat();
    // Whether the X server holds the key with this native scan code down at
    // this moment; nothing where that cannot be asked.
    static std::optional<bool> IsKeyDown(quint32 nativeScanCode);
};
