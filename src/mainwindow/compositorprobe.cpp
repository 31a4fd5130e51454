#include "compositorprobe.h"

#include <QDeadlineTimer>
#include <QtGlobal>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <poll.h>

namespace {

// libwayland-client's stable C interface, as much of it as the probe uses.
// The library is taken at run time, so that the program does not link it:
// Qt's Wayland plugin loads the same one, and an X11 session never needs it.
using LogHandler = void (*)(const char *format, va_list arguments);
struct Listener {
    void (*event)(void *data, void *proxy, uint32_t, const char *, uint32_t);
    void (*second)(void *data, void *proxy, uint32_t);
};

template <typename Function> Function symbol(void *library, const char *name)
{
    return reinterpret_cast<Function>(dlsym(library, name));
}

struct Wayland {
    explicit Wayland(void *library)
        : connect(symbol<void *(*)(const char *)>(library, "wl_display_connect"))
        , disconnect(symbol<void (*)(void *)>(library, "wl_display_disconnect"))
        , fd(symbol<int (*)(void *)>(library, "wl_display_get_fd"))
        , flush(symbol<int (*)(void *)>(library, "wl_display_flush"))
        , prepareRead(symbol<int (*)(void *)>(library, "wl_display_prepare_read"))
        , readEvents(symbol<int (*)(void *)>(library, "wl_display_read_events"))
        , cancelRead(symbol<void (*)(void *)>(library, "wl_display_cancel_read"))
        , dispatchPending(symbol<int (*)(void *)>(library, "wl_display_dispatch_pending"))
        , marshalConstructor(symbol<void *(*)(void *, uint32_t, const void *, ...)>(
              library, "wl_proxy_marshal_constructor"))
        , addListener(
              symbol<int (*)(void *, const void *, void *)>(library, "wl_proxy_add_listener"))
        , destroy(symbol<void (*)(void *)>(library, "wl_proxy_destroy"))
        , setLogHandler(symbol<void (*)(LogHandler)>(library, "wl_log_set_handler_client"))
        , registryInterface(dlsym(library, "wl_registry_interface"))
        , callbackInterface(dlsym(library, "wl_callback_interface"))
    {
    }

    bool complete() const
    {
        return connect && disconnect && fd && flush && prepareRead && readEvents && cancelRead &&
               dispatchPending && marshalConstructor && addListener && destroy && setLogHandler &&
               registryInterface && callbackInterface;
    }

    void *(*connect)(const char *);
    void (*disconnect)(void *);
    int (*fd)(void *);
    int (*flush)(void *);
    int (*prepareRead)(void *);
    int (*readEvents)(void *);
    void (*cancelRead)(void *);
    int (*dispatchPending)(void *);
    void *(*marshalConstructor)(void *, uint32_t, const void *, ...);
    int (*addListener)(void *, const void *, void *);
    void (*destroy)(void *);
    void (*setLogHandler)(LogHandler);
    const void *registryInterface;
    const void *callbackInterface;
};

struct Answer {
    bool decorations = false;
    bool done = false;
};

// Reads and dispatches events until the compositor has answered or the
// deadline has passed: wl_display_roundtrip() would wait for ever.
void waitForAnswer(const Wayland &wl, void *display, const Answer &answer, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!answer.done && wl.flush(display) >= 0) {
        if (wl.prepareRead(display) != 0) {
            wl.dispatchPending(display);
            continue;
        }
        pollfd fd = {wl.fd(display), POLLIN, 0};
        const int remaining = int(deadline.remainingTime());
        if (remaining <= 0 || poll(&fd, 1, remaining) <= 0) {
            wl.cancelRead(display);
            return;
        }
        if (wl.readEvents(display) < 0 || wl.dispatchPending(display) < 0)
            return;
    }
}

} // namespace

bool compositorDrawsFrames(int timeoutMs)
{
    void *library = dlopen("libwayland-client.so.0", RTLD_LAZY);
    if (!library)
        return false;
    // Not unloaded: Qt's Wayland plugin takes the same library.
    const Wayland wl(library);
    if (!wl.complete())
        return false;

    static const Listener registryListener = {
        [](void *data, void *, uint32_t, const char *interface, uint32_t) {
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                static_cast<Answer *>(data)->decorations = true;
        },
        [](void *, void *, uint32_t) {}};
    // wl_callback.done: every global has been announced by then.
    static const void *const callbackListener[] = {reinterpret_cast<const void *>(
        +[](void *data, void *, uint32_t) { static_cast<Answer *>(data)->done = true; })};

    // libwayland reports a failed connection on standard error (a missing
    // XDG_RUNTIME_DIR, say); the probe is silent, and Qt reports it again
    // when it connects. Afterwards messages go to standard error as before.
    wl.setLogHandler([](const char *, va_list) {});
    Answer answer;
    if (void *display = wl.connect(nullptr)) {
        // wl_display.get_registry (request 1), then wl_display.sync (request 0).
        void *registry = wl.marshalConstructor(display, 1, wl.registryInterface, nullptr);
        void *callback = wl.marshalConstructor(display, 0, wl.callbackInterface, nullptr);
        if (registry && callback) {
            wl.addListener(registry, &registryListener, &answer);
            wl.addListener(callback, callbackListener, &answer);
            waitForAnswer(wl, display, answer, timeoutMs);
        }
        if (callback)
            wl.destroy(callback);
        if (registry)
            wl.destroy(registry);
        wl.disconnect(display);
    }
    wl.setLogHandler(
        [](const char *format, va_list arguments) { std::vfprintf(stderr, format, arguments); });
    return answer.done && answer.decorations;
}
