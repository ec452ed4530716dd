#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace zuvexal::platform {

using WindowId = quint32; // an X11 window id; 0 is none

// The desktop's windows as the window search sees them. A window that does
// not exist (or vanished since it was listed) has no caption, class or
// children.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // The desktop window; 0 without a display.
    virtual WindowId rootWindow() const = 0;
    // The direct children of a window, topmost first.
    virtual std::vector<WindowId> children(WindowId parent) const = 0;
    // The window's title, at most 255 characters.
    virtual QString caption(WindowId window) const = 0;
    // The window's class name, at most 255 characters.
    virtual QString className(WindowId window) const = 0;
    // Asks for the window to be brought to the front; true when the request
    // was sent for an existing window.
    virtual bool activate(WindowId window) = 0;
};

// An X11 display through xcb. Titles come from _NET_WM_NAME, else WM_NAME;
// class names from WM_CLASS; activation goes through _NET_ACTIVE_WINDOW (a
// window manager must honour it) plus a raise.
class X11WindowSystem final : public WindowSystem
{
public:
    // Connects to the display ("" for $DISPLAY). Without a reachable display
    // the object stays usable and shows no windows.
    explicit X11WindowSystem(const QString &displayName = {});
    ~X11WindowSystem() override;
    X11WindowSystem(const X11WindowSystem &) = delete;
    X11WindowSystem &operator=(const X11WindowSystem &) = delete;

    bool isConnected() const;

    WindowId rootWindow() const override;
    std::vector<WindowId> children(WindowId parent) const override;
    QString caption(WindowId window) const override;
    QString className(WindowId window) const override;
    bool activate(WindowId window) override;

private:
    struct Connection;
    std::unique_ptr<Connection> m_x;
};

// A window system for an explicit display ("" for $DISPLAY); nullptr when it
// cannot be reached.
std::unique_ptr<WindowSystem> connectToDisplay(const QString &displayName);

// The desktop of $DISPLAY, connected on first use and kept; without a
// reachable display a system with no windows.
WindowSystem &windowSystem();
// Replaces the window system (not owned); nullptr restores the desktop's.
void setWindowSystem(WindowSystem *system);

} // namespace zuvexal::platform
