#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace zuvexal::platform {

using WindowId = quint32; // an X11 window id, or a number the list gives; 0 is none

// How much of the session's windows a window system sees.
enum class WindowReach {
    All,
    XWaylandOnly, // a Wayland session's X11 windows; its native ones are hidden
    None,         // no window list: a Wayland session without one, or no display
};

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

    virtual WindowReach reach() const { return WindowReach::All; }
    // Why the list is partial or missing, in one line; empty when it is whole.
    virtual QString limitation() const { return {}; }
};

// An X11 display through xcb. Titles come from _NET_WM_NAME, else WM_NAME;
// class names from WM_CLASS; activation goes through _NET_ACTIVE_WINDOW (a
// window manager must honour it) plus a raise.
class X11WindowSystem final : public WindowSystem
{
public:
    // Connects to the display ("" for $DISPLAY). Without a reachable display
    // the object stays usable and shows no windows. In a Wayland session the
    // display is XWayland's, and the list holds only its windows.
    explicit X11WindowSystem(const QString &displayName = {}, WindowReach reach = WindowReach::All);
    ~X11WindowSystem() override;
    X11WindowSystem(const X11WindowSystem &) = delete;
    X11WindowSystem &operator=(const X11WindowSystem &) = delete;

    bool isConnected() const;

    WindowId rootWindow() const override;
    std::vector<WindowId> children(WindowId parent) const override;
    QString caption(WindowId window) const override;
    QString className(WindowId window) const override;
    bool activate(WindowId window) override;
    WindowReach reach() const override { return m_reach; }
    QString limitation() const override;

private:
    struct Connection;
    std::unique_ptr<Connection> m_x;
    WindowReach m_reach;
};

// A session whose windows cannot be seen: no window, and the reason.
class UnavailableWindowSystem final : public WindowSystem
{
public:
    explicit UnavailableWindowSystem(QString reason) : m_reason(std::move(reason)) {}

    WindowId rootWindow() const override { return 0; }
    std::vector<WindowId> children(WindowId) const override { return {}; }
    QString caption(WindowId) const override { return {}; }
    QString className(WindowId) const override { return {}; }
    bool activate(WindowId) override { return false; }
    WindowReach reach() const override { return WindowReach::None; }
    QString limitation() const override { return m_reason; }

private:
    QString m_reason;
};

// A window system for an explicit display ("" for $DISPLAY); nullptr when it
// cannot be reached.
std::unique_ptr<WindowSystem> connectToDisplay(const QString &displayName);

// The session's windows, connected on first use and kept: in a Wayland
// session the compositor's list where it offers one, else XWayland's windows
// for a host that is an X11 client already (anyone else could start a
// lazily launched Xwayland by looking), else none; outside Wayland the X11
// display of $DISPLAY; without either, none.
WindowSystem &windowSystem();

} // namespace zuvexal::platform
