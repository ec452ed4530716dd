#pragma once

#include "platform/desktop.h"

#include <QString>

namespace zuvexal::platform {

// The desktop's web browser and mail program seen as one browser object:
// navigating opens the address with the program the desktop registered for
// it (mailto: addresses go to the mail program, other files to the program
// of their type). An object created for a new window asks a browser it
// knows for one on its first page; otherwise, and for its later pages, the
// running browser reuses its window.
class Browser
{
public:
    explicit Browser(bool newWindow) : m_newWindow(newWindow) {}

    void setVisible(bool visible) { m_visible = visible; }
    bool isVisible() const { return m_visible; }
    // False when nothing handles the address or the program did not start.
    bool navigate(const QString &target);
    // Nothing the user sees is closed: the programs belong to the user.
    void quit() {}

private:
    bool m_newWindow;
    bool m_visible = false;
};

// The address a target is opened as: URLs as they are, an existing or
// path-like local file as a file: URL of its absolute path (so a name
// starting with '-' is never read as an option), anything else as a web
// address.
QString targetUrl(const QString &target);

// The option that opens a new window in a browser we know ("--new-window"
// for Chromium and Chrome, "-new-window" for Firefox), else empty.
QString newWindowOption(const Application &browser);

// The program that opens web pages: the handler of http, else of HTML files.
std::optional<Application> defaultBrowser();

} // namespace zuvexal::platform
