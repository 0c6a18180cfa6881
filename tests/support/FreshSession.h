#pragma once

#include "session/SessionState.h"

// Puts the session back as it is when the process starts, so that each
// test begins from nothing.
inline void ResetSession()
{
    Session() = SessionState{};
}
