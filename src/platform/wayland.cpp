#include "platform/wayland.h"

#include "platform/foreigntoplevel.h"

#include "xdg-activation-v1-client-protocol.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace zuvexal::platform {

namespace {

struct DisplayDisconnect
{
    void operator()(wl_display *display) const { wl_display_disconnect(display); }
};
using OwnDisplay = std::unique_ptr<wl_display, DisplayDisconnect>;

// Requests and events on a display of someone else's (Qt's) go through a
// queue of our own, so that Qt's event thread never runs our listeners.
class PrivateQueue
{
public:
    explicit PrivateQueue(wl_display *display)
        : m_display(display), m_queue(wl_display_create_queue(display)),
          m_wrapper(static_cast<wl_display *>(wl_proxy_create_wrapper(display)))
    {
        wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(m_wrapper), m_queue);
    }
    ~PrivateQueue()
    {
        wl_proxy_wrapper_destroy(m_wrapper);
        wl_event_queue_destroy(m_queue);
    }
    PrivateQueue(const PrivateQueue &) = delete;
    PrivateQueue &operator=(const PrivateQueue &) = delete;

    wl_display *display() const { return m_wrapper; }
    bool roundtrip() const { return wl_display_roundtrip_queue(m_display, m_queue) >= 0; }

private:
    wl_display *m_display;
    wl_event_queue *m_queue;
    wl_display *m_wrapper;
};

// The globals a compositor announces: interface name to (name, version).
struct Globals
{
    std::map<std::string, std::pair<uint32_t, uint32_t>> announced;

    static void global(void *data, wl_registry *, uint32_t name, const char *interface, uint32_t version)
    {
        static_cast<Globals *>(data)->announced[interface] = {name, version};
    }
    static void globalRemove(void *, wl_registry *, uint32_t) {}

    template<typename Proxy>
    Proxy *bind(wl_registry *registry, const wl_interface &interface, uint32_t newest) const
    {
        const auto found = announced.find(interface.name);
        if (found == announced.end())
            return nullptr;
        const uint32_t version = std::min(found->second.second, newest);
        return static_cast<Proxy *>(wl_registry_bind(registry, found->second.first, &interface, version));
    }
};

const wl_registry_listener GlobalsListener = {&Globals::global, &Globals::globalRemove};

QPlatformNativeInterface *qtWayland()
{
    if (!hostOnWayland())
        return nullptr;
    return QGuiApplication::platformNativeInterface();
}

// The window the user acted in last: the focused one, else any shown one.
QWindow *userWindow()
{
    if (QWindow *focused = QGuiApplication::focusWindow())
        return focused;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && window->handle())
            return window;
    }
    return nullptr;
}

struct TokenRequest
{
    std::optional<QByteArray> token;

    static void done(void *data, xdg_activation_token_v1 *, const char *token)
    {
        static_cast<TokenRequest *>(data)->token = QByteArray(token);
    }
};

const xdg_activation_token_v1_listener TokenListener = {&TokenRequest::done};

} // namespace

bool inWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool hostOnWayland()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

std::optional<QByteArray> requestActivationToken(const QString &appId)
{
    if (!inWaylandSession())
        return std::nullopt;
    OwnDisplay own;
    wl_display *display = nullptr;
    QPlatformNativeInterface *qt = qtWayland();
    wl_surface *surface = nullptr;
    if (qt) {
        display = static_cast<wl_display *>(qt->nativeResourceForIntegration("wl_display"));
        if (QWindow *window = userWindow())
            surface = static_cast<wl_surface *>(qt->nativeResourceForWindow("surface", window));
    } else {
        own.reset(wl_display_connect(nullptr));
        display = own.get();
    }
    if (!display)
        return std::nullopt;

    PrivateQueue queue(display);
    Globals globals;
    wl_registry *registry = wl_display_get_registry(queue.display());
    wl_registry_add_listener(registry, &GlobalsListener, &globals);
    queue.roundtrip();
    auto *activation = globals.bind<xdg_activation_v1>(registry, xdg_activation_v1_interface, 1);
    // Qt's last input serial; asked only where a seat exists, since Qt 6.4
    // dereferences its input device without looking.
    auto *seat = qt ? globals.bind<wl_seat>(registry, wl_seat_interface, 1) : nullptr;
    const uint32_t serial = seat ? uint32_t(reinterpret_cast<quintptr>(qt->nativeResourceForIntegration("serial"))) : 0;
    TokenRequest request;
    if (activation) {
        xdg_activation_token_v1 *token = xdg_activation_v1_get_activation_token(activation);
        xdg_activation_token_v1_add_listener(token, &TokenListener, &request);
        // A compositor may refuse a token without the user's last input; one
        // without a serial is still worth asking for (the CLI has no input).
        if (seat && serial)
            xdg_activation_token_v1_set_serial(token, serial, seat);
        if (surface)
            xdg_activation_token_v1_set_surface(token, surface);
        if (!appId.isEmpty())
            xdg_activation_token_v1_set_app_id(token, appId.toUtf8().constData());
        xdg_activation_token_v1_commit(token);
        for (int round = 0; round < 3 && !request.token && queue.roundtrip(); ++round) {
        }
        xdg_activation_token_v1_destroy(token);
        xdg_activation_v1_destroy(activation);
    }
    if (seat)
        wl_seat_destroy(seat);
    wl_registry_destroy(registry);
    // The compositor must have seen our requests before the proxies go.
    wl_display_flush(display);
    return request.token;
}

namespace {

// One window of the list: what the compositor said of it, applied at each
// "done" as the protocol asks.
struct Toplevel
{
    WindowId id = 0;
    zwlr_foreign_toplevel_handle_v1 *handle = nullptr;
    QString title, appId, pendingTitle, pendingAppId;
    bool activated = false, pendingActivated = false;
    bool closed = false;
};

class ToplevelList final : public WindowSystem
{
public:
    ToplevelList(OwnDisplay display) : m_display(std::move(display))
    {
        m_registry = wl_display_get_registry(m_display.get());
        wl_registry_add_listener(m_registry, &GlobalsListener, &m_globals);
        wl_display_roundtrip(m_display.get());
        m_seat = m_globals.bind<wl_seat>(m_registry, wl_seat_interface, 1);
        m_manager = m_globals.bind<zwlr_foreign_toplevel_manager_v1>(m_registry,
                                                                      zwlr_foreign_toplevel_manager_v1_interface, 3);
        if (m_manager) {
            addListener(m_manager, &managerListener, this);
            // The first round brings the handles, the second their titles.
            wl_display_roundtrip(m_display.get());
            wl_display_roundtrip(m_display.get());
        }
    }
    ~ToplevelList() override
    {
        for (Toplevel &t : m_toplevels) {
            if (t.handle)
                zwlr_foreign_toplevel_handle_v1_destroy(t.handle);
        }
        // The compositor's "finished" would come to an object that is gone;
        // libwayland drops events for such objects.
        if (m_manager) {
            zwlr_foreign_toplevel_manager_v1_stop(m_manager);
            zwlr_foreign_toplevel_manager_v1_destroy(m_manager);
        }
        if (m_seat)
            wl_seat_destroy(m_seat);
        wl_registry_destroy(m_registry);
        wl_display_flush(m_display.get());
    }
    ToplevelList(const ToplevelList &) = delete;
    ToplevelList &operator=(const ToplevelList &) = delete;

    bool offersList() const { return m_manager != nullptr; }

    WindowId rootWindow() const override { return RootId; }

    std::vector<WindowId> children(WindowId parent) const override
    {
        if (parent != RootId)
            return {};
        refresh();
        std::vector<WindowId> ids;
        // Newest first: the compositor says nothing of stacking, and a window
        // opened last is the likeliest to be on top.
        for (auto it = m_toplevels.rbegin(); it != m_toplevels.rend(); ++it) {
            if (!it->closed)
                ids.push_back(it->id);
        }
        return ids;
    }

    QString caption(WindowId window) const override
    {
        const Toplevel *t = find(window);
        return t ? t->title.left(255) : QString();
    }

    QString className(WindowId window) const override
    {
        const Toplevel *t = find(window);
        return t ? t->appId.left(255) : QString();
    }

    bool activate(WindowId window) override
    {
        refresh();
        Toplevel *t = find(window);
        if (!t || !m_seat)
            return false;
        zwlr_foreign_toplevel_handle_v1_activate(t->handle, m_seat);
        refresh();
        // True only when the compositor did what was asked.
        return !t->closed && t->activated;
    }

private:
    static constexpr WindowId RootId = 1;

    void refresh() const { wl_display_roundtrip(m_display.get()); }

    Toplevel *find(WindowId window) const
    {
        for (Toplevel &t : m_toplevels) {
            if (t.id == window && !t.closed)
                return &t;
        }
        return nullptr;
    }

    static void toplevel(void *data, zwlr_foreign_toplevel_manager_v1 *, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        auto *self = static_cast<ToplevelList *>(data);
        Toplevel &t = self->m_toplevels.emplace_back();
        t.id = ++self->m_lastId;
        t.handle = handle;
        addListener(handle, &handleListener, self);
    }
    static void finished(void *data, zwlr_foreign_toplevel_manager_v1 *manager)
    {
        static_cast<ToplevelList *>(data)->m_manager = nullptr;
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
    }

    Toplevel *byHandle(zwlr_foreign_toplevel_handle_v1 *handle)
    {
        for (Toplevel &t : m_toplevels) {
            if (t.handle == handle)
                return &t;
        }
        return nullptr;
    }
    static void title(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *text)
    {
        if (Toplevel *t = static_cast<ToplevelList *>(data)->byHandle(handle))
            t->pendingTitle = QString::fromUtf8(text);
    }
    static void appId(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *text)
    {
        if (Toplevel *t = static_cast<ToplevelList *>(data)->byHandle(handle))
            t->pendingAppId = QString::fromUtf8(text);
    }
    static void output(void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {}
    static void state(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states)
    {
        Toplevel *t = static_cast<ToplevelList *>(data)->byHandle(handle);
        if (!t)
            return;
        t->pendingActivated = false;
        const auto *values = static_cast<const uint32_t *>(states->data);
        for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i)
            t->pendingActivated |= values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    }
    static void done(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        if (Toplevel *t = static_cast<ToplevelList *>(data)->byHandle(handle)) {
            t->title = t->pendingTitle;
            t->appId = t->pendingAppId;
            t->activated = t->pendingActivated;
        }
    }
    static void closed(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        if (Toplevel *t = static_cast<ToplevelList *>(data)->byHandle(handle)) {
            t->closed = true;
            t->handle = nullptr;
        }
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    }
    static void parent(void *, zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *) {}

    static constexpr zwlr_foreign_toplevel_manager_v1_listener managerListener = {&toplevel, &finished};
    static constexpr zwlr_foreign_toplevel_handle_v1_listener handleListener = {
        &title, &appId, &output, &output, &state, &done, &closed, &parent};

    OwnDisplay m_display;
    wl_registry *m_registry = nullptr;
    Globals m_globals;
    wl_seat *m_seat = nullptr;
    zwlr_foreign_toplevel_manager_v1 *m_manager = nullptr;
    // Filled by the listeners while a const query waits for the compositor;
    // a deque keeps each entry in place as new windows arrive.
    mutable std::deque<Toplevel> m_toplevels;
    WindowId m_lastId = RootId;
};

} // namespace

std::unique_ptr<WindowSystem> connectToplevelList()
{
    if (!inWaylandSession())
        return nullptr;
    OwnDisplay display(wl_display_connect(nullptr));
    if (!display)
        return nullptr;
    auto list = std::make_unique<ToplevelList>(std::move(display));
    if (!list->offersList())
        return nullptr;
    return list;
}

} // namespace zuvexal::platform
