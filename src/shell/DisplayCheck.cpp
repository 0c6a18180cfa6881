#include "DisplayCheck.h"

#ifdef VELMORA_HAVE_XCB
#include <xcb/xcb.h>
#endif

std::optional<QString> DisplayCheck::Problem()
{
#if defined(Q_OS_LINUX)
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith(QLatin1String("xcb")))
        return std::nullopt; // offscreen, wayland, ...: Qt's business
    if (platform.isEmpty() && qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return std::nullopt;
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        return QStringLiteral("no display found (DISPLAY is not set)");
#ifdef VELMORA_HAVE_XCB
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed)
        return QStringLiteral("cannot open the display %1").arg(qEnvironmentVariable("DISPLAY"));
#endif
#endif
    return std::nullopt;
}
