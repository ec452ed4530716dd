#pragma once

#include "platform/windowsystem.h"

#include <QString>

#include <optional>
#include <vector>

namespace zuvexal {

// Slot 0 holds nothing; found windows sit in slots 1..n in the order found.
using WindowList = std::vector<platform::WindowId>;

// Every window of `system` below StartWindow (0: the desktop), at any depth, whose
// caption matches TextPattern and whose class name matches ClassPattern
// (likeMatch patterns), and whose control identifier equals ControlId when
// one is given; X11 windows have none, so a given ControlId matches nothing.
// Depth-first, topmost child first, a window's descendants before the window;
// pending events run before each child is visited. Found is reset to {0} and
// filled; returns the number found. Each call keeps its own state, so a
// search started from an event handler during another one is safe. A
// session that hides some or all of its windows (most Wayland sessions) is
// named once on Qt's log, category "zuvexal.windowsearch".
qint32 FindMatchingWindows(platform::WindowSystem &system, WindowList &Found, platform::WindowId StartWindow, const QString &TextPattern,
                           const QString &ClassPattern, std::optional<qint32> ControlId = std::nullopt);

// Brings a window to the front; false without a display, for a window that
// no longer exists, or where the session does not let one program raise
// another's window (Wayland without a window list).
bool SetForegroundWindow(platform::WindowSystem &system, platform::WindowId window);

} // namespace zuvexal
