#include "platform/windowsystem.h"

#include "platform/compoundtext.h"
#include "platform/wayland.h"

#include <QByteArrayView>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace zuvexal::platform {

namespace {

constexpr qsizetype MaxTextLength = 255;

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using XcbPtr = std::unique_ptr<T, FreeDeleter>;

// Callers get at most 255 characters of a title or class name, the most
// their fixed buffers ever held; the cut never leaves half a surrogate pair.
QString limited(QString text)
{
    if (text.size() > MaxTextLength)
        text.truncate(text.at(MaxTextLength - 1).isHighSurrogate() ? MaxTextLength - 1 : MaxTextLength);
    return text;
}

// Properties may carry several NUL-separated texts; a title is the first.
QByteArrayView firstText(const char *data, qsizetype length)
{
    const void *nul = std::memchr(data, 0, size_t(length));
    return QByteArrayView(data, nul ? static_cast<const char *>(nul) - data : length);
}

// Sends every request before reading a reply: one round trip for all.
void internAtoms(xcb_connection_t *c, std::initializer_list<std::pair<const char *, xcb_atom_t *>> atoms)
{
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const auto &[name, atom] : atoms)
        cookies.push_back(xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name));
    auto cookie = cookies.begin();
    for (const auto &[name, atom] : atoms) {
        const XcbPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, *cookie++, nullptr));
        *atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
}

} // namespace

struct X11WindowSystem::Connection
{
    xcb_connection_t *c = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t compoundText = XCB_ATOM_NONE;
    xcb_atom_t netActiveWindow = XCB_ATOM_NONE;

    ~Connection() { xcb_disconnect(c); }

    // A server that went away leaves the connection in an error state; from
    // then on every window is treated as gone.
    bool alive() const { return !xcb_connection_has_error(c); }

    // Waits for a reply; an X error (typically a window that vanished) gives
    // no reply.
    template<typename Reply, typename Cookie>
    XcbPtr<Reply> reply(Reply *(*wait)(xcb_connection_t *, Cookie, xcb_generic_error_t **), Cookie cookie) const
    {
        xcb_generic_error_t *error = nullptr;
        XcbPtr<Reply> result(wait(c, cookie, &error));
        std::free(error);
        return result;
    }

    bool succeeded(xcb_void_cookie_t cookie) const
    {
        xcb_generic_error_t *error = xcb_request_check(c, cookie);
        const bool ok = !error;
        std::free(error);
        return ok;
    }
};

X11WindowSystem::X11WindowSystem(const QString &displayName, WindowReach reach) : m_reach(reach)
{
    const QByteArray name = displayName.toLocal8Bit();
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    auto x = std::make_unique<Connection>();
    x->c = c;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem <= 0)
        return;
    x->root = screens.data->root;
    internAtoms(c, {{"_NET_WM_NAME", &x->netWmName},
                    {"UTF8_STRING", &x->utf8String},
                    {"COMPOUND_TEXT", &x->compoundText},
                    {"_NET_ACTIVE_WINDOW", &x->netActiveWindow}});
    m_x = std::move(x);
}

X11WindowSystem::~X11WindowSystem() = default;

bool X11WindowSystem::isConnected() const
{
    return m_x && m_x->alive();
}

QString X11WindowSystem::limitation() const
{
    if (m_reach == WindowReach::XWaylandOnly)
        return QStringLiteral("the window search sees only XWayland windows in this Wayland session");
    return {};
}

WindowId X11WindowSystem::rootWindow() const
{
    return isConnected() ? m_x->root : 0;
}

std::vector<WindowId> X11WindowSystem::children(WindowId parent) const
{
    if (!isConnected() || parent == 0)
        return {};
    const auto tree = m_x->reply(xcb_query_tree_reply, xcb_query_tree(m_x->c, parent));
    if (!tree)
        return {};
    const xcb_window_t *first = xcb_query_tree_children(tree.get());
    // The server lists children bottom to top.
    return std::vector<WindowId>(std::make_reverse_iterator(first + xcb_query_tree_children_length(tree.get())),
                                 std::make_reverse_iterator(first));
}

QString X11WindowSystem::caption(WindowId window) const
{
    if (!isConnected() || window == 0)
        return {};
    xcb_connection_t *c = m_x->c;
    // Both requests go out together so a title costs one round trip.
    const xcb_get_property_cookie_t netCookie =
        xcb_get_property(c, 0, window, m_x->netWmName, m_x->utf8String, 0, UINT32_MAX);
    const xcb_get_property_cookie_t icccmCookie = xcb_icccm_get_wm_name(c, window);

    const auto net = m_x->reply(xcb_get_property_reply, netCookie);
    if (net && net->type == m_x->utf8String && net->format == 8) {
        const QByteArrayView utf8 = firstText(static_cast<const char *>(xcb_get_property_value(net.get())),
                                              xcb_get_property_value_length(net.get()));
        if (!utf8.isEmpty()) {
            xcb_discard_reply(c, icccmCookie.sequence);
            return limited(QString::fromUtf8(utf8));
        }
    }

    xcb_icccm_get_text_property_reply_t name;
    xcb_generic_error_t *error = nullptr;
    if (!xcb_icccm_get_wm_name_reply(c, icccmCookie, &name, &error)) {
        std::free(error);
        return {};
    }
    QString text;
    if (name.format == 8) {
        const QByteArrayView bytes = firstText(name.name, name.name_len);
        if (name.encoding == m_x->utf8String)
            text = QString::fromUtf8(bytes);
        else if (name.encoding == m_x->compoundText)
            text = decodeCompoundText(bytes);
        else
            text = QString::fromLatin1(bytes); // STRING, and the best guess for anything else
    }
    xcb_icccm_get_text_property_reply_wipe(&name);
    return limited(text);
}

QString X11WindowSystem::className(WindowId window) const
{
    if (!isConnected() || window == 0)
        return {};
    // Read directly: the ICCCM helper cuts the last letter of a WM_CLASS
    // that lacks its closing NUL, which some clients omit.
    const auto wmClass = m_x->reply(xcb_get_property_reply,
                                    xcb_get_property(m_x->c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 1024));
    if (!wmClass || wmClass->format != 8)
        return {};
    const char *value = static_cast<const char *>(xcb_get_property_value(wmClass.get()));
    const qsizetype length = xcb_get_property_value_length(wmClass.get());
    const qsizetype instanceLength = firstText(value, length).size();
    if (instanceLength >= length)
        return {};
    // "instance\0Class\0": the class is the second text.
    return limited(QString::fromLatin1(firstText(value + instanceLength + 1, length - instanceLength - 1)));
}

bool X11WindowSystem::activate(WindowId window)
{
    if (!isConnected() || window == 0)
        return false;
    xcb_connection_t *c = m_x->c;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = m_x->netActiveWindow;
    message.data.data32[0] = 2; // source: a pager, which window managers obey without focus-stealing checks
    message.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t sent = xcb_send_event_checked(
        c, 0, m_x->root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
        reinterpret_cast<const char *>(&message));
    // Without a window manager nothing answers the message; the raise still
    // brings the window up, and its error tells a vanished window apart.
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    const xcb_void_cookie_t raised = xcb_configure_window_checked(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    const bool messageSent = m_x->succeeded(sent);
    const bool windowExists = m_x->succeeded(raised);
    return messageSent && windowExists;
}

std::unique_ptr<WindowSystem> connectToDisplay(const QString &displayName)
{
    auto system = std::make_unique<X11WindowSystem>(displayName);
    if (!system->isConnected())
        return nullptr;
    return system;
}

namespace {

bool hostOnX11()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::platformName() == QLatin1String("xcb");
}

std::unique_ptr<WindowSystem> sessionWindowSystem()
{
    if (inWaylandSession()) {
        if (auto list = connectToplevelList())
            return list;
        // Only a host that is itself an X11 client sees XWayland's windows:
        // anyone else connecting could start a lazily launched Xwayland.
        if (hostOnX11()) {
            auto x = std::make_unique<X11WindowSystem>(QString(), WindowReach::XWaylandOnly);
            if (x->isConnected())
                return x;
        }
        return std::make_unique<UnavailableWindowSystem>(
            QStringLiteral("window search is not available in this Wayland session"));
    }
    if (auto x = connectToDisplay({}))
        return x;
    return std::make_unique<UnavailableWindowSystem>(
        QStringLiteral("window search needs a display: no X11 display or Wayland compositor was found"));
}

} // namespace

WindowSystem &windowSystem()
{
    static const std::unique_ptr<WindowSystem> desktop = sessionWindowSystem();
    return *desktop;
}

} // namespace zuvexal::platform
