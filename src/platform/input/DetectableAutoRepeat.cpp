#include "DetectableAutoRepeat.h"

#include <QGuiApplication>

#include <cstdlib>

#if defined(VELMORA_HAVE_XCB_XKB) && QT_CONFIG(xcb)
#define VELMORA_XKB 1
#include <xcb/xcb.h>
// The XKB header names a field "explicit", a keyword in C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#endif

namespace {

bool g_on = false;

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

bool DetectableAutoRepeat::Enable()
{
    g_on = false;
#ifdef VELMORA_XKB
    if (!onX11())
        return false;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return false;
    // Qt uses the extension on this connection already; saying so again is
    // harmless and makes the request below valid whatever Qt does.
    xcb_xkb_use_extension_reply_t *use = xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
        nullptr);
    const bool supported = use != nullptr && use->supported;
    std::free(use);
    if (!supported)
        return false;
    constexpr uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    xcb_xkb_per_client_flags_reply_t *reply = xcb_xkb_per_client_flags_reply(
        connection,
        xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0),
        nullptr);
    g_on = reply != nullptr && (reply->value & flag) != 0;
    std::free(reply);
#endif
    return g_on;
}

bool DetectableAutoRepeat::ReleasesMayRepeat()
{
    return !g_on && onX11();
}

std::optional<bool> DetectableAutoRepeat::IsKeyDown(quint32 nativeScanCode)
{
#ifdef VELMORA_XKB
    if (!onX11() || nativeScanCode > 255)
        return std::nullopt;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return std::nullopt;
    xcb_query_keymap_reply_t *keymap =
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr);
    if (keymap == nullptr)
        return std::nullopt;
    const bool down = (keymap->keys[nativeScanCode / 8] >> (nativeScanCode % 8)) & 1;
    std::free(keymap);
    return down;
#else
    Q_UNUSED(nativeScanCode);
    return std::nullopt;
#endif
}
