#include "KeyCodes.h"

#include <QKeyEvent>

std::int16_t KeyCodes::FromQtKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9)
        return std::int16_t(0x60 + (key - Qt::Key_0)); // the numeric keypad's own digits
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return std::int16_t(key); // Qt and Windows agree on letters and digits
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return std::int16_t(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Enter;
    case Qt::Key_Escape:
        return Escape;
    case Qt::Key_Left:
        return Left;
    case Qt::Key_Up:
        return Up;
    case Qt::Key_Right:
        return Right;
    case Qt::Key_Down:
        return Down;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return 91;
    case Qt::Key_Super_R:
        return 92;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_Asterisk:
        return keypad ? 106 : 0x1000 + Qt::Key_Asterisk;
    case Qt::Key_Plus:
        return keypad ? 107 : 187;
    case Qt::Key_Minus:
        return keypad ? 109 : 189;
    case Qt::Key_Period:
        return keypad ? 110 : 190;
    case Qt::Key_Slash:
        return keypad ? 111 : 191;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    case Qt::Key_Semicolon:
        return 186;
    case Qt::Key_Comma:
        return 188;
    case Qt::Key_QuoteLeft:
        return 192;
    case Qt::Key_BracketLeft:
        return 219;
    case Qt::Key_Backslash:
        return 220;
    case Qt::Key_BracketRight:
        return 221;
    case Qt::Key_Apostrophe:
        return 222;
    default:
        break;
    }
    // Printable characters keep their Latin-1 or Unicode value, folded into
    // the range above the Windows numbers; special keys their Qt number.
    if (key < 0x01000000)
        return std::int16_t(0x1000 + (key & 0x3FFF));
    return std::int16_t(0x5000 + (key & 0x0FFF));
}

std::int16_t KeyCodes::FromEvent(const QKeyEvent &event)
{
    return FromQtKey(event.key(), event.modifiers());
}
