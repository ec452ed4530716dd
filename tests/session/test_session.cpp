// The hyperlinker and the window search in a real desktop session, as a
// user's host meets them: run by run-session.sh once under X11 (Xvfb and
// openbox), once under sway and once under weston, each with Xwayland. The
// test program is the host: a widget application on the session's own
// platform (Wayland where there is a compositor), with a window shown.
#include "core/control/zuvexal.h"
#include "core/links/windowsearch.h"
#include "platform/windowsystem.h"
#include "ui/control/zuvexalwidget.h"

#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

using namespace zuvexal;

namespace {

QString session()
{
    return qEnvironmentVariable("ZUVEXAL_TEST_SESSION");
}

bool isSway()
{
    return session() == QLatin1String("sway");
}

bool isWeston()
{
    return session() == QLatin1String("weston");
}

// Keeps trying for up to five seconds, letting the host's events run.
bool eventually(const std::function<bool()> &condition)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        if (condition())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(50);
    }
    return condition();
}

// How a fake program was started: its arguments and the environment the
// launcher handed it.
struct Start
{
    QStringList args;
    QMap<QString, QString> environment;
};

// The fake browser registered the freedesktop way in private folders: the
// default for web pages, and for plain text a terminal program whose
// terminal has no display, so it fails at once.
class FakeDesktop
{
public:
    FakeDesktop()
    {
        const QString apps = m_root.file(QStringLiteral("data/applications/"));
        QDir().mkpath(apps);
        QDir().mkpath(m_root.file(QStringLiteral("config")));
        test::writeAll(apps + QStringLiteral("zvfake-browser.desktop"),
                       "[Desktop Entry]\nType=Application\nName=Fake browser\nExec=" QT_STRINGIFY(ZUVEXAL_FAKEAPP)
                       " %u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n");
        test::writeAll(apps + QStringLiteral("zvfake-text.desktop"),
                       "[Desktop Entry]\nType=Application\nName=Failing viewer\nExec=sh -c 'exit 3' %f\n"
                       "MimeType=text/plain;\n");
        test::writeAll(m_root.file(QStringLiteral("config/mimeapps.list")),
                       "[Default Applications]\ntext/html=zvfake-browser.desktop\n"
                       "x-scheme-handler/http=zvfake-browser.desktop\nx-scheme-handler/https=zvfake-browser.desktop\n"
                       "text/plain=zvfake-text.desktop\n");
        qputenv("XDG_DATA_HOME", m_root.file(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_root.file(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_DIRS", "/usr/share");
        qputenv("ZV_FAKE_RECORD", record().toUtf8());
        qputenv("ZV_FAKE_SECONDS", "6");
    }

    QString record() const { return m_root.file(QStringLiteral("starts.txt")); }
    QString file(const QString &name) const { return m_root.file(name); }

    // The starts recorded so far, waiting (bounded) for `count` of them.
    std::vector<Start> starts(int count) const
    {
        std::vector<Start> result;
        eventually([&] {
            result.clear();
            Start current;
            for (const QString &line : QString::fromUtf8(test::readAll(record())).split(QLatin1Char('\n'))) {
                if (line == QLatin1String("end")) {
                    result.push_back(current);
                    current = {};
                } else if (line.startsWith(QLatin1String("arg="))) {
                    current.args << line.mid(4);
                } else if (line.contains(QLatin1Char('='))) {
                    current.environment.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
                }
            }
            return int(result.size()) >= count;
        });
        return result;
    }

private:
    test::TempFolder m_root;
};

// sway's own view of its windows: whether the one with this title has the
// focus; nothing when it has no such window.
std::optional<bool> swayFocused(const QString &title)
{
    QProcess swaymsg;
    swaymsg.start(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree")});
    swaymsg.waitForFinished(10000);
    std::function<std::optional<bool>(const QJsonObject &)> find = [&](const QJsonObject &node) -> std::optional<bool> {
        if (node.value(QStringLiteral("name")).toString() == title)
            return node.value(QStringLiteral("focused")).toBool();
        for (const char *key : {"nodes", "floating_nodes"}) {
            for (const QJsonValue child : node.value(QLatin1String(key)).toArray()) {
                if (auto found = find(child.toObject()))
                    return found;
            }
        }
        return std::nullopt;
    };
    return find(QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object());
}

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(QT_STRINGIFY(ZUVEXAL_CLI)), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// A fake program with a window of its own, started directly (not by the
// hyperlinker); it goes with the object.
class FakeWindow
{
public:
    FakeWindow(const QString &name, bool x11)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZV_FAKE_WINDOW"), QStringLiteral("1"));
        environment.insert(QStringLiteral("ZV_FAKE_SECONDS"), QStringLiteral("30"));
        if (x11)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(QT_STRINGIFY(ZUVEXAL_FAKEAPP)), {name});
    }
    ~FakeWindow()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
};

class Session : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        desktop = new FakeDesktop;
        // The host's own window: the user's window, and under sway the one
        // that keeps the focus until a token moves it.
        host = new QWidget;
        host->setWindowTitle(QStringLiteral("ZuVexal host"));
        host->resize(300, 200);
        host->show();
        eventually([] { return host->isVisible() && QApplication::focusWindow() != nullptr; });
    }
    static void TearDownTestSuite()
    {
        delete host;
        delete desktop;
    }
    void SetUp() override { QFile::remove(desktop->record()); }

    static inline FakeDesktop *desktop = nullptr;
    static inline QWidget *host = nullptr;
};

} // namespace

TEST_F(Session, ProgramsStartedForALinkGetTheCallersEnvironmentAndATokenWhereTheSessionGivesOne)
{
    // The CLI runs offscreen itself; what it starts must not.
    const CliRun open = runCli({QStringLiteral("open"), QStringLiteral("https://example.org/cli")});
    ASSERT_EQ(open.exitCode, 0) << open.err.toStdString();
    desktop->starts(1);
    // A report shown in the browser: its first page.
    const CliRun report = runCli({QStringLiteral("report"), QStringLiteral("--db"), QStringLiteral(QT_STRINGIFY(ZUVEXAL_SAMPLE)),
                                  QStringLiteral("--table"), QStringLiteral("orders"), QStringLiteral("--show"),
                                  QStringLiteral("--file"), QStringLiteral("orders.htm"), QStringLiteral("--quiet"),
                                  QStringLiteral("--app-folder"), desktop->file(QString())});
    ASSERT_EQ(report.exitCode, 0) << report.err.toStdString();
    desktop->starts(2);
    ZuVexal control;
    EXPECT_TRUE(control.OpenHyperlink(QStringLiteral("https://example.org/host")));

    const std::vector<Start> starts = desktop->starts(3);
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_TRUE(starts[1].args.value(0).endsWith(QLatin1String("/Reports/orders1.htm")))
        << qPrintable(starts[1].args.join(u' '));
    for (const Start &start : starts) {
        const QString what = start.args.join(u' ');
        EXPECT_EQ(start.environment.value(QStringLiteral("QT_QPA_PLATFORM")), QStringLiteral("<unset>")) << qPrintable(what);
        const QString token = start.environment.value(QStringLiteral("XDG_ACTIVATION_TOKEN"));
        const QString startupId = start.environment.value(QStringLiteral("DESKTOP_STARTUP_ID"));
        if (isSway()) {
            // sway offers xdg_activation_v1; XWayland programs read the same
            // token as their startup id.
            EXPECT_NE(token, QStringLiteral("<unset>")) << qPrintable(what);
            EXPECT_EQ(startupId, token) << qPrintable(what);
        } else if (isWeston()) {
            // weston 10 has no activation protocol: nothing to hand over.
            EXPECT_EQ(token, QStringLiteral("<unset>")) << qPrintable(what);
            EXPECT_EQ(startupId, QStringLiteral("<unset>")) << qPrintable(what);
        } else {
            EXPECT_EQ(token, QStringLiteral("<unset>")) << qPrintable(what);
            EXPECT_TRUE(startupId.startsWith(QLatin1String("zuvexal-"))) << qPrintable(startupId);
        }
    }
}

TEST_F(Session, ABrowserStartedFromTheHostComesForwardWithItsToken)
{
    if (!isSway())
        GTEST_SKIP() << "only sway both gives tokens and shows its windows' focus here";
    qputenv("ZV_FAKE_WINDOW", "1");
    ZuVexal control;
    const bool opened = control.OpenHyperlink(QStringLiteral("https://example.org/forward"));
    qunsetenv("ZV_FAKE_WINDOW");
    ASSERT_TRUE(opened);
    // New windows of the fake never take the focus on their own under this
    // session's rules: a focused one was focused by its token.
    const QString title = QStringLiteral("Fake browser https://example.org/forward");
    EXPECT_TRUE(eventually([&] { return swayFocused(title) == std::optional<bool>(true); }))
        << "sway's tree does not show the browser focused";
    const std::vector<Start> starts = desktop->starts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].environment.value(QStringLiteral("platform")), QStringLiteral("wayland"));
}

TEST_F(Session, WindowSearchSeesWhatTheSessionShowsAndSaysWhenItCannot)
{
    const FakeWindow native(QStringLiteral("native"), false);
    const FakeWindow x11(QStringLiteral("xwayland"), true);
    const QString nativeTitle = QStringLiteral("Fake browser native");
    const QString x11Title = QStringLiteral("Fake browser xwayland");

    if (isWeston()) {
        // No window list for anyone: one line, its own exit code, no list.
        QThread::msleep(1000);
        const CliRun windows = runCli({QStringLiteral("windows"), QStringLiteral("*")});
        EXPECT_EQ(windows.exitCode, 6);
        EXPECT_EQ(windows.out, QString());
        EXPECT_EQ(windows.err, QStringLiteral("zuvexal: window search is not available in this Wayland session\n"));
        WindowList found;
        EXPECT_EQ(FindMatchingWindows(platform::windowSystem(), found, 0, QStringLiteral("*"), QStringLiteral("*")), 0);
        EXPECT_FALSE(SetForegroundWindow(platform::windowSystem(), 1));
        return;
    }

    // Both windows by title: under sway a native Wayland one and an
    // XWayland one, under X11 two X11 windows.
    CliRun windows;
    EXPECT_TRUE(eventually([&] {
        windows = runCli({QStringLiteral("windows"), QStringLiteral("Fake browser *")});
        return windows.out.contains(nativeTitle) && windows.out.contains(x11Title);
    })) << windows.out.toStdString() << windows.err.toStdString();
    EXPECT_EQ(windows.exitCode, 0) << windows.err.toStdString();
    EXPECT_EQ(windows.err, QString());

    // In the host: found by title and brought forward.
    WindowList found;
    ASSERT_TRUE(eventually([&] {
        return FindMatchingWindows(platform::windowSystem(), found, 0, nativeTitle, QStringLiteral("*")) == 1;
    }));
    host->activateWindow();
    EXPECT_TRUE(SetForegroundWindow(platform::windowSystem(), found[1]));
    if (isSway()) {
        EXPECT_TRUE(eventually([&] { return swayFocused(nativeTitle) == std::optional<bool>(true); }));
    }
}

TEST_F(Session, AnX11HostInAWaylandSessionWithoutAListSeesXWaylandWindowsAsAPartialList)
{
    if (!isWeston())
        GTEST_SKIP() << "weston has no window list; sway lists XWayland windows itself";
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        // The same test again in a host that is an X11 client.
        QProcess host;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        host.setProcessEnvironment(environment);
        host.setProcessChannelMode(QProcess::MergedChannels);
        host.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=Session.AnX11HostInAWaylandSession*")});
        ASSERT_TRUE(host.waitForFinished(60000));
        EXPECT_EQ(host.exitCode(), 0) << host.readAll().toStdString();
        return;
    }
    const FakeWindow x11(QStringLiteral("xwayland"), true);
    WindowList found;
    EXPECT_TRUE(eventually([&] {
        return FindMatchingWindows(platform::windowSystem(), found, 0, QStringLiteral("Fake browser xwayland"),
                                   QStringLiteral("*"))
            == 1;
    }));
    EXPECT_EQ(platform::windowSystem().reach(), platform::WindowReach::XWaylandOnly);
}

TEST_F(Session, AViewerThatFailsAtOnceIsNoSuccessAndTheBrowserTakesTheFile)
{
    // The viewer registered for plain text exits with an error at once (as a
    // terminal program does whose terminal has no display): the hyperlinker
    // must see the failure, try again, and then hand the file to the
    // program for web pages, which opens it.
    const QString notes = desktop->file(QStringLiteral("notes.txt"));
    test::writeAll(notes, "plain words\n");
    ZuVexal control;
    EXPECT_TRUE(control.OpenHyperlink(notes));
    const std::vector<Start> starts = desktop->starts(1);
    ASSERT_EQ(starts.size(), 1u);
    // GIO hands a file: address to %u as a plain path.
    EXPECT_EQ(starts[0].args, QStringList{notes});
}

TEST_F(Session, TheControlsWindowHandleIsZeroOnWaylandAndTheX11IdOnX11)
{
    ui::ZuVexalWidget control(host);
    control.show();
    if (session() == QLatin1String("x11"))
        EXPECT_EQ(control.hWnd(), quintptr(control.winId()));
    else
        EXPECT_EQ(control.hWnd(), 0u);
}

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (session().isEmpty()) {
        std::fputs("test_session runs inside tests/session/run-session.sh\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
