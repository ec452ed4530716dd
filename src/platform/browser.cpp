#include "platform/browser.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace zuvexal::platform {

namespace {

QString schemeOf(const QString &address)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    const QRegularExpressionMatch match = scheme.match(address);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool isWebPageType(const QString &contentType)
{
    return contentType == QLatin1String("text/html") || contentType == QLatin1String("application/xhtml+xml");
}

} // namespace

QString targetUrl(const QString &target)
{
    const QString scheme = schemeOf(target);
    if (!scheme.isEmpty())
        return target;
    const QFileInfo file(target);
    const bool pathLike = target.startsWith(QLatin1Char('/')) || target.startsWith(QLatin1String("./"))
        || target.startsWith(QLatin1String("../")) || target.startsWith(QLatin1Char('-'));
    if (file.exists() || pathLike)
        return QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded);
    return QStringLiteral("http://") + target;
}

QString newWindowOption(const Application &browser)
{
    const QString name = QFileInfo(browser.executable).fileName();
    if (name.startsWith(QLatin1String("chromium")) || name.startsWith(QLatin1String("google-chrome"))
        || name == QLatin1String("chrome"))
        return QStringLiteral("--new-window");
    if (name.startsWith(QLatin1String("firefox")))
        return QStringLiteral("-new-window");
    return {};
}

std::optional<Application> defaultBrowser()
{
    if (auto http = defaultApplication(QStringLiteral("x-scheme-handler/http")))
        return http;
    return defaultApplication(QStringLiteral("text/html"));
}

bool Browser::navigate(const QString &target)
{
    const QString url = targetUrl(target);
    const QString scheme = schemeOf(url);
    std::optional<Application> program;
    bool browser = false;
    if (scheme == QLatin1String("file")) {
        const QString type = contentTypeOfFile(QUrl(url).toLocalFile());
        browser = isWebPageType(type);
        program = browser ? defaultBrowser() : defaultApplication(type);
    } else if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        browser = true;
        program = defaultApplication(QStringLiteral("x-scheme-handler/") + scheme);
        if (!program)
            program = defaultApplication(QStringLiteral("text/html"));
    } else {
        program = defaultApplication(QStringLiteral("x-scheme-handler/") + scheme);
    }
    if (!program)
        return false;
    QStringList options;
    if (browser && m_newWindow) {
        if (const QString option = newWindowOption(*program); !option.isEmpty())
            options << option;
    }
    if (!launch(*program, url, options))
        return false;
    // The object's own window is open now: later addresses reuse it.
    if (browser)
        m_newWindow = false;
    return true;
}

} // namespace zuvexal::platform
