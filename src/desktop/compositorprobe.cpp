#include "desktop/compositorprobe.h"

#include <QDeadlineTimer>
#include <QtGlobal>

#include <cstring>
#include <dlfcn.h>
#include <poll.h>
#include <wayland-client-protocol.h>

namespace {

// libwayland-client, as its header declares it, taken at run time: the
// program does not link it, so that an X11 session never loads it. Qt's
// Wayland plugin loads the same library. Only the library's own functions
// are called: the header's inline request wrappers would link it.
template <typename Function> Function *symbol(void *library, const char *name)
{
    return reinterpret_cast<Function *>(dlsym(library, name));
}

#define CORVANE_WL(name) decltype(::name) *name = symbol<decltype(::name)>(library, #name)

struct Wayland {
    explicit Wayland(void *library) : library(library) {}

    bool complete() const
    {
        return wl_display_connect && wl_display_disconnect && wl_display_get_fd &&
               wl_display_flush && wl_display_prepare_read && wl_display_read_events &&
               wl_display_cancel_read && wl_display_dispatch_pending &&
               wl_proxy_marshal_constructor && wl_proxy_add_listener && wl_proxy_destroy &&
               registryInterface && callbackInterface;
    }

    void *library;
    CORVANE_WL(wl_display_connect);
    CORVANE_WL(wl_display_disconnect);
    CORVANE_WL(wl_display_get_fd);
    CORVANE_WL(wl_display_flush);
    CORVANE_WL(wl_display_prepare_read);
    CORVANE_WL(wl_display_read_events);
    CORVANE_WL(wl_display_cancel_read);
    CORVANE_WL(wl_display_dispatch_pending);
    CORVANE_WL(wl_proxy_marshal_constructor);
    CORVANE_WL(wl_proxy_add_listener);
    CORVANE_WL(wl_proxy_destroy);
    const wl_interface *registryInterface =
        symbol<const wl_interface>(library, "wl_registry_interface");
    const wl_interface *callbackInterface =
        symbol<const wl_interface>(library, "wl_callback_interface");
};

#undef CORVANE_WL

struct Answer {
    bool decorations = false;
    bool done = false;
};

// Reads and dispatches events until the compositor has answered or the
// deadline has passed: wl_display_roundtrip() would wait for ever.
void waitForAnswer(const Wayland &wl, wl_display *display, const Answer &answer, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!answer.done && wl.wl_display_flush(display) >= 0) {
        if (wl.wl_display_prepare_read(display) != 0) {
            wl.wl_display_dispatch_pending(display);
            continue;
        }
        pollfd readable = {wl.wl_display_get_fd(display), POLLIN, 0};
        const qint64 remaining = deadline.remainingTime();
        if (remaining <= 0 || poll(&readable, 1, int(remaining)) <= 0) {
            wl.wl_display_cancel_read(display);
            return;
        }
        if (wl.wl_display_read_events(display) < 0 || wl.wl_display_dispatch_pending(display) < 0)
            return;
    }
}

} // namespace

bool compositorDrawsFrames(int timeoutMs)
{
    // Without a runtime folder libwayland finds no socket by a relative name,
    // and says so on standard error: the probe is silent, and Qt reports it
    // when it connects.
    if (!qgetenv("WAYLAND_DISPLAY").startsWith('/') && !qgetenv("XDG_RUNTIME_DIR").startsWith('/'))
        return false;
    void *library = dlopen("libwayland-client.so.0", RTLD_LAZY);
    if (!library)
        return false;
    // Not unloaded: Qt's Wayland plugin takes the same library.
    const Wayland wl(library);
    if (!wl.complete())
        return false;

    static wl_registry_listener registryListener = {
        [](void *data, wl_registry *, uint32_t, const char *interface, uint32_t) {
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                static_cast<Answer *>(data)->decorations = true;
        },
        [](void *, wl_registry *, uint32_t) {}};
    // wl_callback.done: every global has been announced by then.
    static wl_callback_listener callbackListener = {
        [](void *data, wl_callback *, uint32_t) { static_cast<Answer *>(data)->done = true; }};

    Answer answer;
    if (wl_display *display = wl.wl_display_connect(nullptr)) {
        auto *displayProxy = reinterpret_cast<wl_proxy *>(display);
        wl_proxy *registry = wl.wl_proxy_marshal_constructor(displayProxy, WL_DISPLAY_GET_REGISTRY,
                                                             wl.registryInterface, nullptr);
        wl_proxy *callback = wl.wl_proxy_marshal_constructor(displayProxy, WL_DISPLAY_SYNC,
                                                             wl.callbackInterface, nullptr);
        if (registry && callback) {
            // As the header's inline wl_registry_add_listener() passes it.
            wl.wl_proxy_add_listener(registry, reinterpret_cast<void (**)(void)>(&registryListener),
                                     &answer);
            wl.wl_proxy_add_listener(callback, reinterpret_cast<void (**)(void)>(&callbackListener),
                                     &answer);
            waitForAnswer(wl, display, answer, timeoutMs);
        }
        if (callback)
            wl.wl_proxy_destroy(callback);
        if (registry)
            wl.wl_proxy_destroy(registry);
        wl.wl_display_disconnect(display);
    }
    return answer.done && answer.decorations;
}
