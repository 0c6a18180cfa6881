#pragma once

#include <QtCore/qnamespace.h>

#include <cstdint>

class QKeyEvent;

// The program acts on only a few keys, by the numbers that Windows gives
// them (Enter 13, Esc 27, the arrows 37 to 40); every other key still needs
// a code that is stable from release to release, so it is counted and
// remembered like any other. Where Windows has a virtual-key number for a
// key, that number is used; any other key gets one from 0x1000 up.
class KeyCodes
{
public:
    static constexpr std::int16_t Enter = 13;
    static constexpr std::int16_t Escape = 27;
    static constexpr std::int16_t Left = 37;
    static constexpr std::int16_t Up = 38;
    static constexpr std::int16_t Right = 39;
    static constexpr std::int16_t Down = 40;

    static std::int16_t FromQtKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static std::int16_t FromEvent(const QKeyEvent &event);
    static bool IsArrow(std::int16_t code) { return code >= Left && code <= Down; }
};
