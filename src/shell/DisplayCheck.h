#pragma once

#include <QString>

#include <optional>

// Whether the program can reach a display before Qt tries to: Qt's own
// failure is a multi-line abort, where a person needs one line saying what
// is wrong and how to run the program anyway.
class DisplayCheck
{
public:
    // Nothing when a display can be reached, otherwise why not.
    static std::optional<QString> Problem();
};
