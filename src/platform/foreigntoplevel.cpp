#include "platform/foreigntoplevel.h"

// The wire description of the two interfaces. Each message lists its
// argument signature and, for object arguments, the interface expected,
// read from one shared table at the message's offset.
namespace zuvexal::platform {

namespace {

// Not const: wl_message points at it through a pointer to non-const.
const wl_interface *ArgumentTypes[] = {
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

const wl_message ManagerRequests[] = {
    {"stop", "", ArgumentTypes + 0},
};

const wl_message ManagerEvents[] = {
    {"toplevel", "n", ArgumentTypes + 1},
    {"finished", "", ArgumentTypes + 0},
};

const wl_message HandleRequests[] = {
    {"set_maximized", "", ArgumentTypes + 0},
    {"unset_maximized", "", ArgumentTypes + 0},
    {"set_minimized", "", ArgumentTypes + 0},
    {"unset_minimized", "", ArgumentTypes + 0},
    {"activate", "o", ArgumentTypes + 2},
    {"close", "", ArgumentTypes + 0},
    {"set_rectangle", "oiiii", ArgumentTypes + 3},
    {"destroy", "", ArgumentTypes + 0},
    {"set_fullscreen", "2?o", ArgumentTypes + 8},
    {"unset_fullscreen", "2", ArgumentTypes + 0},
};

const wl_message HandleEvents[] = {
    {"title", "s", ArgumentTypes + 0},
    {"app_id", "s", ArgumentTypes + 0},
    {"output_enter", "o", ArgumentTypes + 8},
    {"output_leave", "o", ArgumentTypes + 8},
    {"state", "a", ArgumentTypes + 0},
    {"done", "", ArgumentTypes + 0},
    {"closed", "", ArgumentTypes + 0},
    {"parent", "3?o", ArgumentTypes + 9},
};

} // namespace

const wl_interface zwlr_foreign_toplevel_manager_v1_interface = {
    "zwlr_foreign_toplevel_manager_v1", 3, 1, ManagerRequests, 2, ManagerEvents,
};

const wl_interface zwlr_foreign_toplevel_handle_v1_interface = {
    "zwlr_foreign_toplevel_handle_v1", 3, 10, HandleRequests, 8, HandleEvents,
};

} // namespace zuvexal::platform
