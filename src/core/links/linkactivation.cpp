#include "core/links/linkactivation_p.h"

namespace zuvexal {

namespace {

constexpr qint16 EmailLink = 1;

// Every open browser window, over all caption patterns, in slots 1..n.
qint32 findBrowserWindows(platform::WindowSystem &system, WindowList &found)
{
    found = WindowList{0};
    for (const QString &pattern : browserCaptionPatterns()) {
        WindowList matches;
        FindMatchingWindows(system, matches, 0, pattern, QStringLiteral("*"));
        found.insert(found.end(), matches.begin() + 1, matches.end());
    }
    return qint32(found.size() - 1);
}

bool navigate(platform::Browser *browser, qint16 linkKind, const QString &target, bool quitAfter)
{
    if (!browser)
        return false;
    if (linkKind != EmailLink) {
        browser->setVisible(true);
        return browser->navigate(target);
    }
    const bool navigated = browser->navigate(target);
    if (navigated && quitAfter)
        browser->quit();
    return navigated;
}

} // namespace

const QStringList &browserCaptionPatterns()
{
    static const QStringList patterns = {
        QStringLiteral("* - Mozilla Firefox"),
        QStringLiteral("* \u2014 Mozilla Firefox"),
        QStringLiteral("* - Chromium"),
        QStringLiteral("* - Google Chrome"),
    };
    return patterns;
}

bool ActivateLink(LinkState &state, qint16 LinkKind, QString Target, bool NewWindow)
{
    if (LinkKind == EmailLink && !Target.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        Target.prepend(QLatin1String("mailto:"));

    bool quitAfter = false;
    qint32 found = 0;
    bool reuse = false;
    if (!(LinkKind == 0 && NewWindow)) {
        found = findBrowserWindows(state.windows(), state.LinkWindows);
        if (found > 0) {
            SetForegroundWindow(state.windows(), state.LinkWindows[1]);
            reuse = true;
        }
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!reuse) {
            state.BrowserApp = std::make_unique<platform::Browser>(NewWindow && LinkKind != EmailLink);
            quitAfter = LinkKind == EmailLink && found > 1;
        }
        reuse = false;
        if (navigate(state.BrowserApp.get(), LinkKind, Target, quitAfter))
            return true;
    }

    // Both browser objects failed: start the program registered for HTML
    // files with the target, looked up once per process.
    if (!state.BrowserKnown) {
        state.fallbackBrowser = platform::defaultApplication(QStringLiteral("text/html"));
        if (!state.fallbackBrowser)
            return false;
        state.BrowserPath = state.fallbackBrowser->executable;
    }
    state.BrowserKnown = platform::launch(*state.fallbackBrowser, platform::targetUrl(Target));
    return state.BrowserKnown;
}

} // namespace zuvexal
