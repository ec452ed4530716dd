#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Default applications of the desktop (freedesktop mimeapps and .desktop
// files, through GIO).
namespace zuvexal::platform {

// A program registered with the desktop.
struct Application
{
    QString id;          // desktop file id, e.g. "firefox-esr.desktop"
    QString executable;  // the program it runs
};

// The default application for a content type ("text/html") or a URI
// scheme ("x-scheme-handler/mailto").
std::optional<Application> defaultApplication(const QString &contentType);

// The content type of a file, from its content when it exists, else from
// its name.
QString contentTypeOfFile(const QString &path);

// Starts the application with one URI as its one target argument (GIO
// substitutes it for the program's %u/%f; no shell is involved), preceded
// by `options`. True when GIO reports the program started.
bool launch(const Application &application, const QString &uri, const QStringList &options = {});

} // namespace zuvexal::platform
