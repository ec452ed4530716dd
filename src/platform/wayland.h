#pragma once

#include "platform/windowsystem.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// What a Wayland session lets a program do for another one: hand it an
// activation token so that its window may come forward, and, on wlroots
// compositors, list and activate the session's windows.
namespace zuvexal::platform {

// True when $WAYLAND_DISPLAY names a compositor for this process's session.
bool inWaylandSession();

// True when this process's own windows are Wayland windows (Qt's wayland
// platform), so its surfaces and its user's input serials can be named.
bool hostOnWayland();

// An xdg_activation_v1 token for a program about to start. A host on Wayland
// asks with its focused window's surface and the serial of the user's last
// input; any other process asks on a connection of its own. Nothing without
// a compositor or without the protocol.
std::optional<QByteArray> requestActivationToken(const QString &appId = {});

// The toplevel windows of the session through wlroots'
// zwlr_foreign_toplevel_management_v1 (sway, Hyprland, labwc): titles as
// captions, app ids as class names, all of them children of one root.
// nullptr when the compositor cannot be reached or does not offer it.
std::unique_ptr<WindowSystem> connectToplevelList();

} // namespace zuvexal::platform
