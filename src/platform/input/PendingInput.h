#pragma once

// The input a person has already made that the program has not handled yet:
// key events the window system has sent that still wait in the connection
// or in Qt's queues, because the program was held up (a busy machine, a
// stopped process). Taking them in before a test interval closes keeps a
// release made just before the end in its own interval.
//
// On X11 the program sends itself a message through the X server; the
// server puts it behind every event it had sent the program until then, so
// once the message is back every earlier event has been handled. On Wayland
// the compositor's answer to a sync request is the marker the same way.
// Where neither is to hand, the events queued are handled until a few
// passes find none left.
class PendingInput
{
public:
    // Handles the pending events, every kind of them, in order; returns when
    // they have been handled, or after half a second at most.
    static void TakeIn();
};
