#pragma once

// wlroots' zwlr_foreign_toplevel_management_v1 (version 3) described to
// libwayland: no Debian package ships the protocol's XML, so its two
// interfaces are written out here from the protocol's documentation, with
// the requests and events this project uses. The manager announces one
// handle per toplevel window; a handle tells its title, app id and state,
// each batch closed by "done", and can be asked to activate its window.

#include <wayland-client.h>

#include <cstdint>

struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;

namespace zuvexal::platform {

extern const wl_interface zwlr_foreign_toplevel_manager_v1_interface;
extern const wl_interface zwlr_foreign_toplevel_handle_v1_interface;

// Values of the handle's "state" array.
enum : uint32_t {
    ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MAXIMIZED = 0,
    ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED = 1,
    ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED = 2,
    ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN = 3,
};

// Events in the order the protocol defines them.
struct zwlr_foreign_toplevel_manager_v1_listener
{
    void (*toplevel)(void *data, zwlr_foreign_toplevel_manager_v1 *manager, zwlr_foreign_toplevel_handle_v1 *handle);
    void (*finished)(void *data, zwlr_foreign_toplevel_manager_v1 *manager);
};

struct zwlr_foreign_toplevel_handle_v1_listener
{
    void (*title)(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title);
    void (*app_id)(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *app_id);
    void (*output_enter)(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_output *output);
    void (*output_leave)(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_output *output);
    void (*state)(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *state);
    void (*done)(void *data, zwlr_foreign_toplevel_handle_v1 *handle);
    void (*closed)(void *data, zwlr_foreign_toplevel_handle_v1 *handle);
    void (*parent)(void *data, zwlr_foreign_toplevel_handle_v1 *handle, zwlr_foreign_toplevel_handle_v1 *parent);
};

// Listeners are tables of function pointers in the events' order, as
// libwayland reads them.
template<typename Proxy, typename Listener>
int addListener(Proxy *proxy, const Listener *listener, void *data)
{
    return wl_proxy_add_listener(reinterpret_cast<wl_proxy *>(proxy),
                                 reinterpret_cast<void (**)(void)>(const_cast<Listener *>(listener)), data);
}

// Asks for no more handles; the compositor answers with "finished".
inline void zwlr_foreign_toplevel_manager_v1_stop(zwlr_foreign_toplevel_manager_v1 *manager)
{
    auto *proxy = reinterpret_cast<wl_proxy *>(manager);
    wl_proxy_marshal_flags(proxy, 0, nullptr, wl_proxy_get_version(proxy), 0);
}

// Forgets the manager: after "finished", or when the list goes.
inline void zwlr_foreign_toplevel_manager_v1_destroy(zwlr_foreign_toplevel_manager_v1 *manager)
{
    wl_proxy_destroy(reinterpret_cast<wl_proxy *>(manager));
}

inline void zwlr_foreign_toplevel_handle_v1_activate(zwlr_foreign_toplevel_handle_v1 *handle, wl_seat *seat)
{
    auto *proxy = reinterpret_cast<wl_proxy *>(handle);
    wl_proxy_marshal_flags(proxy, 4, nullptr, wl_proxy_get_version(proxy), 0, seat);
}

inline void zwlr_foreign_toplevel_handle_v1_destroy(zwlr_foreign_toplevel_handle_v1 *handle)
{
    auto *proxy = reinterpret_cast<wl_proxy *>(handle);
    wl_proxy_marshal_flags(proxy, 7, nullptr, wl_proxy_get_version(proxy), WL_MARSHAL_FLAG_DESTROY);
}

} // namespace zuvexal::platform
