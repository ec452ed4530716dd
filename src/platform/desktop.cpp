#include "platform/desktop.h"

#include <QFile>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <memory>

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

bool launch(const Application &application, const QString &uri, const QStringList &options)
{
    GObjectPtr<GAppInfo> info;
    if (options.isEmpty()) {
        info.reset(G_APP_INFO(g_desktop_app_info_new(application.id.toUtf8().constData())));
    } else {
        // The registered command with options added: GLib splits this line
        // into arguments itself and puts the URI in place of %u.
        QByteArray commandLine;
        for (const QString &part : QStringList{application.executable} + options) {
            GCharPtr quoted(g_shell_quote(part.toUtf8().constData()));
            commandLine += quoted.get();
            commandLine += ' ';
        }
        commandLine += "%u";
        info.reset(g_app_info_create_from_commandline(commandLine.constData(), nullptr,
                                                      G_APP_INFO_CREATE_SUPPORTS_URIS, nullptr));
    }
    if (!info)
        return false;
    const QByteArray target = uri.toUtf8();
    GList uris{const_cast<char *>(target.constData()), nullptr, nullptr};
    GError *error = nullptr;
    const gboolean started = g_app_info_launch_uris(info.get(), &uris, nullptr, &error);
    if (error)
        g_error_free(error);
    return started;
}

} // namespace zuvexal::platform
