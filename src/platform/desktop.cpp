#include "platform/desktop.h"

#include "platform/wayland.h"

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QThread>
#include <qpa/qplatformnativeinterface.h>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace zuvexal::platform {

namespace {

struct GObjectDeleter
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectDeleter>;

struct GFreeDeleter
{
    void operator()(gpointer memory) const { g_free(memory); }
};
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;

QString fromUtf8(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

std::optional<Application> defaultApplication(const QString &contentType)
{
    GObjectPtr<GAppInfo> info(g_app_info_get_default_for_type(contentType.toUtf8().constData(), FALSE));
    if (!info)
        return std::nullopt;
    return Application{fromUtf8(g_app_info_get_id(info.get())), fromUtf8(g_app_info_get_executable(info.get()))};
}

QString contentTypeOfFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    GObjectPtr<GFile> file(g_file_new_for_path(name.constData()));
    GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (info)
        return fromUtf8(g_file_info_get_content_type(info.get()));
    GCharPtr guessed(g_content_type_guess(name.constData(), nullptr, 0, nullptr));
    return fromUtf8(guessed.get());
}

namespace {

// The entry's own command line with options added before its first field
// code (%u and the like), so the entry's flags, a wrapper such as
// "flatpak run ..." and its program's name all stay; field codes GLib does
// not expand for a command line of its own are dropped.
GObjectPtr<GAppInfo> withOptions(GAppInfo *entry, const QStringList &options)
{
    const char *line = g_app_info_get_commandline(entry);
    gchar **argv = nullptr;
    if (!line || !g_shell_parse_argv(line, nullptr, &argv, nullptr))
        return GObjectPtr<GAppInfo>(nullptr);
    QStringList words;
    for (gchar **word = argv; *word; ++word)
        words << fromUtf8(*word);
    g_strfreev(argv);
    words.removeIf([](const QString &w) { return w == QLatin1String("%i") || w == QLatin1String("%c") || w == QLatin1String("%k"); });
    if (words.isEmpty())
        return GObjectPtr<GAppInfo>(nullptr);
    // Before the first word that carries a field code (also "--url=%u") or
    // starts a forwarding block ("@@u %u @@", flatpak's).
    static const QRegularExpression fieldCode(QStringLiteral("%[uUfF]"));
    qsizetype at = 1;
    while (at < words.size() && !words[at].contains(fieldCode) && !words[at].startsWith(QLatin1String("@@")))
        ++at;
    if (at == words.size())
        words << QStringLiteral("%u");
    for (qsizetype i = 0; i < options.size(); ++i)
        words.insert(at + i, options[i]);
    QByteArray commandLine;
    for (const QString &word : std::as_const(words)) {
        // Words with field codes stay unquoted, so GLib expands them.
        const bool expanded = word.contains(fieldCode) || word.startsWith(QLatin1String("@@"));
        GCharPtr quoted(expanded ? g_strdup(word.toUtf8().constData()) : g_shell_quote(word.toUtf8().constData()));
        commandLine += quoted.get();
        commandLine += ' ';
    }
    return GObjectPtr<GAppInfo>(g_app_info_create_from_commandline(commandLine.constData(), nullptr,
                                                                   G_APP_INFO_CREATE_SUPPORTS_URIS, nullptr));
}

} // namespace

namespace {

// A startup-notification id for an X11 session: unique, and ending in the
// time of the user's last input where the host is an X11 client, which
// window managers weigh against focus stealing.
QByteArray startupNotificationId()
{
    static std::atomic<int> launches = 0;
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    QByteArray id = "zuvexal-" + QByteArray::number(getpid()) + '-' + QByteArray(host) + '-'
        + QByteArray::number(++launches);
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::platformName() == QLatin1String("xcb")) {
        const auto time = reinterpret_cast<quintptr>(
            QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("appusertime"));
        if (time)
            id += "_TIME" + QByteArray::number(quint64(time));
    }
    return id;
}

// The started program may bring its window forward: on Wayland with an
// activation token (also as its startup id, which XWayland programs read),
// on X11 with a startup-notification id. Nothing else of the caller's
// environment changes.
GObjectPtr<GAppLaunchContext> launchContext(const QString &applicationId)
{
    GObjectPtr<GAppLaunchContext> context(g_app_launch_context_new());
    QByteArray startupId;
    if (inWaylandSession()) {
        QString appId = applicationId;
        appId.remove(QRegularExpression(QStringLiteral("\\.desktop$")));
        if (const std::optional<QByteArray> token = requestActivationToken(appId)) {
            g_app_launch_context_setenv(context.get(), "XDG_ACTIVATION_TOKEN", token->constData());
            startupId = *token;
        }
    } else if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        startupId = startupNotificationId();
    }
    if (!startupId.isEmpty())
        g_app_launch_context_setenv(context.get(), "DESKTOP_STARTUP_ID", startupId.constData());
    return context;
}

// A program that ends in failure this soon did not open anything: a
// terminal program whose terminal has no display, a viewer refusing the
// file. One still running, or done with success (a browser handing the
// address to its open window), counts as started.
constexpr auto FailureWindow = std::chrono::milliseconds(300);

void collectChild(GDesktopAppInfo *, GPid pid, gpointer data)
{
    *static_cast<GPid *>(data) = pid;
}

bool startedWell(GPid pid)
{
    const auto deadline = std::chrono::steady_clock::now() + FailureWindow;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0)
            return true;
        QThread::msleep(10);
    }
    // Still running: it is reaped when it ends, not left as a zombie.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return true;
}

} // namespace

bool launch(const Application &application, const QString &uri, const QStringList &options)
{
    GObjectPtr<GAppInfo> info(G_APP_INFO(g_desktop_app_info_new(application.id.toUtf8().constData())));
    if (info && !options.isEmpty())
        info = withOptions(info.get(), options);
    if (!info || !G_IS_DESKTOP_APP_INFO(info.get()))
        return false;
    const QByteArray target = uri.toUtf8();
    GList uris{const_cast<char *>(target.constData()), nullptr, nullptr};
    const GObjectPtr<GAppLaunchContext> context = launchContext(application.id);
    GPid pid = 0;
    GError *error = nullptr;
    // False when the program could not be started (a missing binary, say).
    // The child is ours to reap, so a quick failure is seen; a program that
    // D-Bus starts has no child here and counts as started.
    const gboolean started = g_desktop_app_info_launch_uris_as_manager(
        G_DESKTOP_APP_INFO(info.get()), &uris, context.get(),
        GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr, collectChild, &pid, &error);
    if (error)
        g_error_free(error);
    if (!started)
        return false;
    return pid <= 0 || startedWell(pid);
}

} // namespace zuvexal::platform
