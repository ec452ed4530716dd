#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include <ZuVexal/zuvexalcore_export.h>

#include "core/links/windowsearch.h"
#include "platform/browser.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace zuvexal {

// Captions of open browser windows whose browser can take another address.
const QStringList &browserCaptionPatterns();

// What link activation keeps between calls, for the whole process (the
// control's context owns it).
struct LinkState
{
    std::unique_ptr<platform::Browser> BrowserApp;  // the browser object of the last creation
    QString BrowserPath;                            // program found by the fallback
    std::optional<platform::Application> fallbackBrowser;
    bool BrowserKnown = false;                      // the fallback started BrowserPath
    WindowList LinkWindows{0};
    // Where browser windows are looked for (not owned): the session's
    // unless a test gives another.
    platform::WindowSystem *windowSystem = nullptr;

    platform::WindowSystem &windows() const { return windowSystem ? *windowSystem : platform::windowSystem(); }
};

// Opens a web address or file (LinkKind 0) or an e-mail address (LinkKind
// 1, "mailto:" added unless present) with the desktop's programs, reusing
// an open browser window unless NewWindow asks for a new one. Two browser
// objects are tried, then the program registered for HTML files is
// started with the target. True when a program was started.
ZUVEXAL_CORE_EXPORT bool ActivateLink(LinkState &state, qint16 LinkKind, QString Target, bool NewWindow);

} // namespace zuvexal
