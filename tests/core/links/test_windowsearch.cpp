#include "core/links/linkactivation_p.h"
#include "core/links/windowsearch.h"

#include "stubdesktop.h"
#include "testsupport.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

using namespace zuvexal;
using platform::WindowId;

namespace {

// Waits for a condition the X server or window manager reaches on its own.
bool eventually(const std::function<bool()> &condition)
{
    const QDeadlineTimer deadline(15000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// A program this test started, ended with the object.
class Child
{
public:
    Child(const QString &program, const QStringList &args, const QString &display = {})
    {
        if (!display.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("DISPLAY"), display);
            m_process.setProcessEnvironment(env);
        }
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, args);
        m_process.waitForStarted();
    }
    ~Child()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};

// An Xvfb on a free display; display() is empty when it did not come up.
class XServer
{
public:
    XServer()
        : m_xvfb(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                                          QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                                          QStringLiteral("640x480x24")})
    {
        QProcess &p = m_xvfb.process();
        while (!p.canReadLine() && p.waitForReadyRead(15000)) {}
        const QByteArray number = p.readLine().trimmed();
        if (!number.isEmpty())
            m_display = QLatin1Char(':') + QString::fromLatin1(number);
    }
    QString display() const { return m_display; }

private:
    Child m_xvfb;
    QString m_display;
};

// The test's own client: creates windows and reads root properties with
// xcb directly, as another program on the desktop would.
class Client
{
public:
    explicit Client(const QString &display)
        : m_c(xcb_connect(display.toLatin1().constData(), nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    }
    ~Client() { xcb_disconnect(m_c); }

    bool ok() const { return !xcb_connection_has_error(m_c); }

    WindowId create(WindowId parent, bool mapped = false)
    {
        const xcb_window_t w = xcb_generate_id(m_c);
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, w, parent ? parent : m_root, 0, 0, 100, 50, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (mapped)
            xcb_map_window(m_c, w);
        sync();
        return w;
    }
    // A window titled the old way, WM_NAME as Latin-1 STRING only.
    WindowId create(WindowId parent, const QByteArray &latin1Name, const QByteArray &className)
    {
        const WindowId w = create(parent);
        setText(w, "WM_NAME", "STRING", latin1Name);
        setClass(w, className.toLower(), className);
        return w;
    }
    void setText(WindowId w, const char *property, const char *type, const QByteArray &bytes)
    {
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, w, atom(property), atom(type), 8, uint32_t(bytes.size()),
                            bytes.constData());
        sync();
    }
    void setClass(WindowId w, const QByteArray &instance, const QByteArray &className)
    {
        setText(w, "WM_CLASS", "STRING", instance + '\0' + className + '\0');
    }
    void destroy(WindowId w)
    {
        xcb_destroy_window(m_c, w);
        sync();
    }
    // A WINDOW-typed property of the root, such as the window manager's list.
    std::vector<WindowId> rootWindows(const char *property)
    {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            m_c, xcb_get_property(m_c, 0, m_root, atom(property), XCB_ATOM_WINDOW, 0, 1024), nullptr);
        std::vector<WindowId> ids;
        if (reply) {
            const auto *first = static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
            ids.assign(first, first + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return ids;
    }
    WindowId rootWindow(const char *property)
    {
        const std::vector<WindowId> ids = rootWindows(property);
        return ids.empty() ? 0 : ids.front();
    }

private:
    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *reply =
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return a;
    }
    void sync() { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

    xcb_connection_t *m_c;
    xcb_window_t m_root = 0;
};

// Without a window manager, top-level windows stack in creation order, so
// the topmost-first order below is known.
class WindowSearch : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        server = new XServer;
        if (server->display().isEmpty())
            return;
        client = new Client(server->display());
        Client &x = *client;
        report = x.create(0);
        x.setText(report, "_NET_WM_NAME", "UTF8_STRING", "Report - Z\xc3\xbcrich");
        x.setText(report, "WM_NAME", "STRING", "Old report");
        x.setClass(report, "zureport", "ZuReport");
        gridOne = x.create(report, "Grid 1", "Grid");
        cell = x.create(gridOne, "cell a", "Cell");
        gridTwo = x.create(report, "Grid 2", "Grid");
        menu = x.create(0, "Caf\xe9 menu", "Menu");
        unnamed = x.create(0);
        system = platform::connectToDisplay(server->display()).release();
    }
    static void TearDownTestSuite()
    {
        delete system;
        delete client;
        delete server;
    }
    void SetUp() override
    {
        ASSERT_FALSE(server->display().isEmpty()) << "Xvfb did not start";
        ASSERT_TRUE(client->ok() && system) << "cannot connect to " << server->display().toStdString();
    }

    static inline XServer *server = nullptr;
    static inline Client *client = nullptr;
    static inline platform::WindowSystem *system = nullptr;
    static inline WindowId report = 0, gridOne = 0, cell = 0, gridTwo = 0, menu = 0, unnamed = 0;
};

TEST_F(WindowSearch, CaptionsAndClassesDecodeEveryTitleProperty)
{
    const QByteArray longText(300, 'L');
    struct Property { const char *name; const char *type; QByteArray bytes; };
    struct Case { const char *why; std::vector<Property> set; QString caption; QString className; };
    const Case cases[] = {
        {"_NET_WM_NAME wins over WM_NAME",
         {{"_NET_WM_NAME", "UTF8_STRING", "Z\xc3\xbcrich"}, {"WM_NAME", "STRING", "Zurich"}}, "Zürich", {}},
        {"an empty _NET_WM_NAME falls back to WM_NAME",
         {{"_NET_WM_NAME", "UTF8_STRING", ""}, {"WM_NAME", "STRING", "Fallback"}}, "Fallback", {}},
        {"WM_NAME as STRING is Latin-1", {{"WM_NAME", "STRING", "Caf\xe9"}}, "Café", {}},
        {"WM_NAME as UTF8_STRING", {{"WM_NAME", "UTF8_STRING", "Caf\xc3\xa9"}}, "Café", {}},
        {"COMPOUND_TEXT: Latin-1 right half, then Greek, a UTF-8 segment and JIS X 0208",
         {{"WM_NAME", "COMPOUND_TEXT", "a\xb1 \x1b-F\xe1\x1b%G\xe2\x82\xac\x1b%@\x1b$)B\xc6\xfc\xcb\xdc"}},
         "a± α€日本", {}},
        {"long captions and class names are cut to 255 characters",
         {{"_NET_WM_NAME", "UTF8_STRING", longText}, {"WM_CLASS", "STRING", QByteArray("long\0", 5) + longText}},
         longText.left(255), longText.left(255)},
        {"the cut never leaves half a surrogate pair",
         {{"_NET_WM_NAME", "UTF8_STRING", QByteArray(254, 'x') + "\xf0\x9f\x98\x80"}}, QString(254, u'x'), {}},
        {"the class is the second part of WM_CLASS", {{"WM_CLASS", "STRING", QByteArray("instance\0Class\0", 15)}},
         {}, "Class"},
        {"a WM_CLASS without its closing NUL keeps its last letter",
         {{"WM_CLASS", "STRING", QByteArray("zu\0ZuApp", 8)}}, {}, "ZuApp"},
        {"a WM_CLASS with only an instance part has no class", {{"WM_CLASS", "STRING", "zu"}}, {}, {}},
        {"a window without properties has neither", {}, {}, {}},
    };
    for (const Case &c : cases) {
        const WindowId w = client->create(0);
        for (const Property &p : c.set)
            client->setText(w, p.name, p.type, p.bytes);
        EXPECT_EQ(system->caption(w), c.caption) << c.why;
        EXPECT_EQ(system->className(w), c.className) << c.why;
        client->destroy(w);
        // A window that is gone has nothing left, and asking is no error.
        EXPECT_EQ(system->caption(w), QString()) << c.why;
        EXPECT_EQ(system->className(w), QString()) << c.why;
        EXPECT_TRUE(system->children(w).empty()) << c.why;
    }
}

TEST_F(WindowSearch, FindsMatchesDepthFirstTopmostFirst)
{
    struct Case { const char *why; WindowId start; const char *text; const char *className;
                  std::optional<qint32> controlId; WindowList expected; };
    const Case cases[] = {
        {"everything matches '*': descendants before parents, topmost sibling first", 0, "*", "*", {},
         {0, unnamed, menu, gridTwo, cell, gridOne, report}},
        {"'#' is one digit", 0, "Grid #", "*", {}, {0, gridTwo, gridOne}},
        {"'?' is one character, and the class must match too", 0, "Grid ?", "Grid", {}, {0, gridTwo, gridOne}},
        {"'[!1]' excludes Grid 1", 0, "Grid [!1]", "*", {}, {0, gridTwo}},
        {"'[a-c]' is case-sensitive: only 'cell a' starts with a small letter", 0, "[a-c]*", "*", {}, {0, cell}},
        {"matching is case-sensitive", 0, "grid #", "*", {}, {0}},
        {"_NET_WM_NAME is UTF-8 and preferred over WM_NAME", 0, "Report - Z?rich", "*", {}, {0, report}},
        {"the WM_NAME behind a _NET_WM_NAME is not the caption", 0, "Old report", "*", {}, {0}},
        {"WM_NAME as STRING is Latin-1", 0, "Caf\xc3\xa9 menu", "*", {}, {0, menu}},
        {"the class pattern selects on the class part of WM_CLASS", 0, "*", "Zu*", {}, {0, report}},
        {"the instance part of WM_CLASS is not the class", 0, "*", "zureport", {}, {0}},
        {"a window without WM_CLASS has an empty class", 0, "*", "", {}, {0, unnamed}},
        {"both patterns must match", 0, "Grid*", "Cell", {}, {0}},
        {"the start window itself is not a candidate", report, "*", "*", {}, {0, gridTwo, cell, gridOne}},
        {"a start window deeper down", gridOne, "*", "*", {}, {0, cell}},
        {"a window without children gives nothing", cell, "*", "*", {}, {0}},
        {"X11 windows have no control identifier", 0, "*", "*", 1, {0}},
    };
    for (const Case &c : cases) {
        WindowList found{42, 43};
        const qint32 n = FindMatchingWindows(*system, found, c.start, QString::fromUtf8(c.text),
                                             QString::fromUtf8(c.className), c.controlId);
        EXPECT_EQ(found, c.expected) << c.why;
        EXPECT_EQ(n, qint32(c.expected.size() - 1)) << c.why;
    }
}

// Forwards to the real system and runs a hook once, right after the trigger
// window's children have been listed to the search.
class HookedWindowSystem final : public platform::WindowSystem
{
public:
    HookedWindowSystem(platform::WindowSystem &real, WindowId trigger, std::function<void()> hook)
        : m_real(real), m_trigger(trigger), m_hook(std::move(hook))
    {}
    WindowId rootWindow() const override { return m_real.rootWindow(); }
    std::vector<WindowId> children(WindowId parent) const override
    {
        std::vector<WindowId> list = m_real.children(parent);
        if (parent == m_trigger && m_hook)
            std::exchange(m_hook, nullptr)();
        return list;
    }
    QString caption(WindowId w) const override { return m_real.caption(w); }
    QString className(WindowId w) const override { return m_real.className(w); }
    bool activate(WindowId w) override { return m_real.activate(w); }

private:
    platform::WindowSystem &m_real;
    WindowId m_trigger;
    mutable std::function<void()> m_hook;
};

TEST_F(WindowSearch, NestedSearchLeavesTheOuterOneIntact)
{
    enum class Trigger { Timer, TimerIntoSameList, FromInsideTheWalk };
    struct Case { const char *why; Trigger trigger; };
    const Case cases[] = {
        {"a timer handler searching while the outer search yields", Trigger::Timer},
        {"the nested search even fills the outer caller's list", Trigger::TimerIntoSameList},
        {"a search started two levels deep in the outer walk", Trigger::FromInsideTheWalk},
    };
    const WindowList all{0, unnamed, menu, gridTwo, cell, gridOne, report};
    const WindowList grids{0, gridTwo, gridOne};
    for (const Case &c : cases) {
        WindowList outer, ownInner;
        WindowList &inner = c.trigger == Trigger::TimerIntoSameList ? outer : ownInner;
        qint32 innerCount = -1;
        WindowList innerSeen;
        const auto nested = [&] {
            innerCount = FindMatchingWindows(*system, inner, 0, QStringLiteral("Grid *"), QStringLiteral("*"));
            innerSeen = inner;
        };
        HookedWindowSystem nesting(*system, gridOne, nested);
        platform::WindowSystem &windows = c.trigger == Trigger::FromInsideTheWalk ? nesting : *system;
        QObject context;
        if (c.trigger != Trigger::FromInsideTheWalk)
            QTimer::singleShot(0, &context, nested);

        const qint32 outerCount = FindMatchingWindows(windows, outer, 0, QStringLiteral("*"), QStringLiteral("*"));

        EXPECT_EQ(innerCount, 2) << c.why;
        EXPECT_EQ(innerSeen, grids) << c.why;
        EXPECT_EQ(outerCount, qint32(all.size() - 1)) << c.why;
        EXPECT_EQ(outer, all) << c.why;
    }
}

TEST_F(WindowSearch, WindowVanishingMidSearchIsSkipped)
{
    const WindowId doomed = client->create(0, "Doomed", "Doomed");
    client->create(doomed, "Doomed child", "Doomed");
    // The root's children are listed first; the window goes before its turn.
    HookedWindowSystem destroyer(*system, system->rootWindow(), [&] { client->destroy(doomed); });
    WindowList found;
    EXPECT_EQ(FindMatchingWindows(destroyer, found, 0, QStringLiteral("Doomed*"), QStringLiteral("*")), 0);
    EXPECT_EQ(found, WindowList{0});
}

TEST(WindowSearchWithoutDisplay, UnreachableDisplayHasNoWindows)
{
    EXPECT_EQ(platform::connectToDisplay(QStringLiteral(":987654")), nullptr);
    platform::X11WindowSystem unreachable(QStringLiteral(":987654"));
    EXPECT_FALSE(unreachable.isConnected());
    EXPECT_EQ(unreachable.rootWindow(), 0u);
    EXPECT_TRUE(unreachable.children(1).empty());
    EXPECT_EQ(unreachable.caption(1), QString());
    EXPECT_EQ(unreachable.className(1), QString());

    struct Case { const char *why; WindowId start; };
    const Case cases[] = {{"from the desktop", 0}, {"from a given window", 0x400001}};
    for (const Case &c : cases) {
        WindowList found{7, 8, 9};
        EXPECT_EQ(FindMatchingWindows(unreachable, found, c.start, QStringLiteral("*"), QStringLiteral("*")), 0) << c.why;
        EXPECT_EQ(found, WindowList{0}) << c.why;
    }
    EXPECT_FALSE(SetForegroundWindow(unreachable, 0x400001));
}

// Activation needs a window manager to honour _NET_ACTIVE_WINDOW, so it runs
// on a server of its own where openbox reparents the windows.
TEST(WindowSearchWithWindowManager, SetForegroundWindowActivates)
{
    XServer server;
    ASSERT_FALSE(server.display().isEmpty()) << "Xvfb did not start";
    Client x(server.display());
    ASSERT_TRUE(x.ok());
    const auto window = [&](const QByteArray &title) {
        const WindowId w = x.create(0, true);
        x.setText(w, "_NET_WM_NAME", "UTF8_STRING", title);
        x.setClass(w, "editor", "Editor");
        return w;
    };
    // Mapped before openbox starts, so it takes them over at start-up;
    // windows mapped while it is still starting may be missed.
    const WindowId first = window("Editor one");
    const WindowId second = window("Editor two");
    Child openbox(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, server.display());
    ASSERT_TRUE(eventually([&] { return x.rootWindow("_NET_SUPPORTING_WM_CHECK") != 0; }))
        << "openbox did not start";
    ASSERT_TRUE(eventually([&] { return x.rootWindows("_NET_CLIENT_LIST").size() == 2; }));

    const std::unique_ptr<platform::WindowSystem> system = platform::connectToDisplay(server.display());
    ASSERT_TRUE(system);
    // The clients now sit inside openbox's frames; the search still reaches them.
    WindowList found;
    EXPECT_EQ(FindMatchingWindows(*system, found, 0, QStringLiteral("Editor *"), QStringLiteral("Editor")), 2);
    EXPECT_EQ(found, (WindowList{0, second, first}));

    struct Case { const char *why; WindowId target; };
    const Case cases[] = {
        {"a window below the newest one comes to the front", first},
        {"and the other one back again", second},
        {"and back: each request moves the focus", first},
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(SetForegroundWindow(*system, c.target)) << c.why;
        EXPECT_TRUE(eventually([&] { return x.rootWindow("_NET_ACTIVE_WINDOW") == c.target; })) << c.why;
    }

    const WindowId gone = window("Gone");
    x.destroy(gone);
    EXPECT_FALSE(SetForegroundWindow(*system, gone)) << "a window that no longer exists";
}

// A browser window is open (its caption the browser's own): a link asked
// for in a new window gets one, and later links bring that window to the
// front and open in it, without asking for yet another window.
TEST(WindowSearchWithWindowManager, LaterLinksReuseTheOpenBrowserWindow)
{
    const test::StubDesktop desktop;
    XServer server;
    ASSERT_FALSE(server.display().isEmpty()) << "Xvfb did not start";
    Client x(server.display());
    ASSERT_TRUE(x.ok());
    const WindowId other = x.create(0, true);
    x.setText(other, "_NET_WM_NAME", "UTF8_STRING", "Editor");
    const WindowId browser = x.create(0, true);
    x.setText(browser, "_NET_WM_NAME", "UTF8_STRING", "Orders - Chromium");
    Child openbox(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, server.display());
    ASSERT_TRUE(eventually([&] { return x.rootWindows("_NET_CLIENT_LIST").size() == 2; })) << "openbox did not start";
    const std::unique_ptr<platform::WindowSystem> system = platform::connectToDisplay(server.display());
    ASSERT_TRUE(system);
    ASSERT_TRUE(SetForegroundWindow(*system, other));

    LinkState state;
    state.windowSystem = system.get();
    ASSERT_TRUE(ActivateLink(state, 0, QStringLiteral("https://example.org/one"), true));
    ASSERT_TRUE(ActivateLink(state, 0, QStringLiteral("https://example.org/two"), false));
    ASSERT_TRUE(ActivateLink(state, 0, QStringLiteral("https://example.org/three"), false));
    const std::vector<test::StubDesktop::Call> made = desktop.calls(3);
    ASSERT_EQ(made.size(), 3u);
    EXPECT_TRUE(made[0].args.contains(QStringLiteral("--new-window")));
    EXPECT_FALSE(made[1].args.contains(QStringLiteral("--new-window"))) << "the open window is reused";
    EXPECT_FALSE(made[2].args.contains(QStringLiteral("--new-window")));
    EXPECT_EQ(made[2].args.back(), QStringLiteral("https://example.org/three"));
    EXPECT_TRUE(eventually([&] { return x.rootWindow("_NET_ACTIVE_WINDOW") == browser; }))
        << "the browser's window came to the front";
}

} // namespace
