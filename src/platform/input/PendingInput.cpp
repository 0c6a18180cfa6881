#include "PendingInput.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <QWindow>

#if defined(VELMORA_HAVE_XCB) && QT_CONFIG(xcb)
#define VELMORA_XCB 1
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

#ifdef VELMORA_HAVE_WAYLAND
#include <QtGui/qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include <cstdint>
#endif

namespace {

constexpr int LimitMs = 500;
// Without a marker: passes that find nothing in a row before the queues
// count as empty, and the pause between them that lets the platform's
// reader hand on what it has read meanwhile.
constexpr int EmptyPasses = 3;
constexpr unsigned long PauseUs = 1000;

bool g_takingIn = false;

void HandleQueuedEvents()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == nullptr)
        return;
    QElapsedTimer waited;
    waited.start();
    for (int empty = 0; empty < EmptyPasses && waited.elapsed() < LimitMs;) {
        if (dispatcher->processEvents(QEventLoop::AllEvents)) {
            empty = 0;
            continue;
        }
        ++empty;
        QThread::usleep(PauseUs);
    }
}

#ifdef VELMORA_XCB

// Recognises the program's own marker among the X events and keeps it from
// going further.
class MarkerFilter : public QAbstractNativeEventFilter
{
public:
    xcb_atom_t atom = XCB_ATOM_NONE;
    quint32 awaited = 0;
    bool back = false;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (atom == XCB_ATOM_NONE || eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto *client = static_cast<const xcb_client_message_event_t *>(message);
        if (client->type != atom)
            return false;
        if (client->data.data32[0] == awaited)
            back = true;
        return true;
    }
};

xcb_window_t ownWindow()
{
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->handle() != nullptr)
            return static_cast<xcb_window_t>(window->winId());
    }
    return XCB_WINDOW_NONE;
}

// False when there is no X connection or window to send the marker with.
bool TakeInThroughServer()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 != nullptr ? x11->connection() : nullptr;
    const xcb_window_t window = ownWindow();
    if (connection == nullptr || window == XCB_WINDOW_NONE)
        return false;

    static MarkerFilter filter;
    if (filter.atom == XCB_ATOM_NONE) {
        static const char name[] = "_VELMORA_INPUT_MARK";
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
        if (reply == nullptr)
            return false;
        filter.atom = reply->atom;
        std::free(reply);
        QCoreApplication::instance()->installNativeEventFilter(&filter);
    }
    ++filter.awaited;
    filter.back = false;
    // Sent to the window with no event mask, the message goes to the client
    // that made the window: this program, behind everything sent before.
    xcb_client_message_event_t marker{};
    marker.response_type = XCB_CLIENT_MESSAGE;
    marker.format = 32;
    marker.window = window;
    marker.type = filter.atom;
    marker.data.data32[0] = filter.awaited;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&marker));
    xcb_flush(connection);

    // The wake-ups bound the wait should the marker never come back.
    QTimer wakeUp;
    wakeUp.start(10);
    QElapsedTimer waited;
    waited.start();
    while (!filter.back && waited.elapsed() < LimitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return filter.back;
}

#else

bool TakeInThroughServer()
{
    return false;
}

#endif

#ifdef VELMORA_HAVE_WAYLAND

// The answer awaited; an answer that comes after its wait gave up finds
// another number here and is only let go.
quint32 g_syncAwaited = 0;
bool g_syncBack = false;

void SyncDone(void *data, wl_callback *callback, uint32_t)
{
    if (static_cast<quint32>(reinterpret_cast<std::uintptr_t>(data)) == g_syncAwaited)
        g_syncBack = true;
    wl_callback_destroy(callback);
}

const wl_callback_listener SyncListener = {&SyncDone};

// False when there is no Wayland connection to ask through. The compositor
// answers a sync after everything it sent the program before it, key events
// included, and Qt hands both on in the order they came.
bool TakeInThroughCompositor()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return false;
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    auto *display =
        native != nullptr
            ? static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display"))
            : nullptr;
    if (display == nullptr)
        return false;

    ++g_syncAwaited;
    g_syncBack = false;
    wl_callback *callback = wl_display_sync(display);
    if (callback == nullptr)
        return false;
    wl_callback_add_listener(callback, &SyncListener,
                             reinterpret_cast<void *>(static_cast<std::uintptr_t>(g_syncAwaited)));
    wl_display_flush(display);

    QTimer wakeUp;
    wakeUp.start(10);
    QElapsedTimer waited;
    waited.start();
    while (!g_syncBack && waited.elapsed() < LimitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return g_syncBack;
}

#else

bool TakeInThroughCompositor()
{
    return false;
}

#endif

} // namespace

void PendingInput::TakeIn()
{
    if (g_takingIn)
        return;
    g_takingIn = true;
    if (!TakeInThroughServer())
        TakeInThroughCompositor();
    // What came with the marker may still sit in Qt's own queue of window
    // system events; without a marker this is all there is to do.
    HandleQueuedEvents();
    g_takingIn = false;
}
