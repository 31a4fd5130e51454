#include "desktop/compositorprobe.h"

#include <QDeadlineTimer>
#include <QtGlobal>

#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <sys/select.h>

namespace {

// libwayland-client's stable C interface, as much of it as the probe uses.
// The library is taken at run time, so that the program does not link it:
// Qt's Wayland plugin loads the same one, and an X11 session never needs it.
struct RegistryListener {
    void (*global)(void *data, void *registry, uint32_t name, const char *interface,
                   uint32_t version);
    void (*globalRemove)(void *data, void *registry, uint32_t name);
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
        , registryInterface(dlsym(library, "wl_registry_interface"))
        , callbackInterface(dlsym(library, "wl_callback_interface"))
    {
    }

    bool complete() const
    {
        return connect && disconnect && fd && flush && prepareRead && readEvents && cancelRead &&
               dispatchPending && marshalConstructor && addListener && destroy &&
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
        // select(), not poll(): nothing in the program is built fortified,
        // and an unfortified poll() is what Debian's checks flag.
        const int fd = wl.fd(display);
        const qint64 remaining = deadline.remainingTime();
        fd_set readable;
        FD_ZERO(&readable);
        if (fd < FD_SETSIZE)
            FD_SET(fd, &readable);
        timeval wait = {time_t(remaining / 1000), suseconds_t(remaining % 1000 * 1000)};
        if (fd >= FD_SETSIZE || remaining <= 0 ||
            select(fd + 1, &readable, nullptr, nullptr, &wait) <= 0) {
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

    static const RegistryListener registryListener = {
        [](void *data, void *, uint32_t, const char *interface, uint32_t) {
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                static_cast<Answer *>(data)->decorations = true;
        },
        [](void *, void *, uint32_t) {}};
    // wl_callback.done: every global has been announced by then.
    static const void *const callbackListener[] = {reinterpret_cast<const void *>(
        +[](void *data, void *, uint32_t) { static_cast<Answer *>(data)->done = true; })};

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
    return answer.done && answer.decorations;
}
