#include "platform/foreigntoplevel.h"

// The wire description of the two interfaces. Each message lists its
// argument signature and, for object arguments, the interface expected,
// read from one shared table at the message's offset.
namespace zuvexal::platform {

namespace {

// Not const: wl_message points at it through a pointer to non-const.
const wl_interface *types[] = {
    nullptr,                                    // 0: arguments without an interface
    &zwlr_foreign_toplevel_handle_v1_interface, // 1: manager.toplevel (new_id)
    &wl_seat_interface,                         // 2: handle.activate
    &wl_surface_interface,                      // 3: handle.set_rectangle (surface, x, y, width, height)
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    &wl_output_interface,                       // 8: handle.set_fullscreen, output_enter, output_leave
    &zwlr_foreign_toplevel_handle_v1_interface, // 9: handle.parent
};

const wl_message managerRequests[] = {
    {"stop", "", types + 0},
};

const wl_message managerEvents[] = {
    {"toplevel", "n", types + 1},
    {"finished", "", types + 0},
};

const wl_message handleRequests[] = {
    {"set_maximized", "", types + 0},
    {"unset_maximized", "", types + 0},
    {"set_minimized", "", types + 0},
    {"unset_minimized", "", types + 0},
    {"activate", "o", types + 2},
    {"close", "", types + 0},
    {"set_rectangle", "oiiii", types + 3},
    {"destroy", "", types + 0},
    {"set_fullscreen", "2?o", types + 8},
    {"unset_fullscreen", "2", types + 0},
};

const wl_message handleEvents[] = {
    {"title", "s", types + 0},
    {"app_id", "s", types + 0},
    {"output_enter", "o", types + 8},
    {"output_leave", "o", types + 8},
    {"state", "a", types + 0},
    {"done", "", types + 0},
    {"closed", "", types + 0},
    {"parent", "3?o", types + 9},
};

} // namespace

const wl_interface zwlr_foreign_toplevel_manager_v1_interface = {
    "zwlr_foreign_toplevel_manager_v1", 3, 1, managerRequests, 2, managerEvents,
};

const wl_interface zwlr_foreign_toplevel_handle_v1_interface = {
    "zwlr_foreign_toplevel_handle_v1", 3, 10, handleRequests, 8, handleEvents,
};

} // namespace zuvexal::platform
