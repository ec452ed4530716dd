#include "core/links/windowsearch.h"

#include "core/base/like.h"

#include <QCoreApplication>
#include <QLoggingCategory>

namespace zuvexal {

Q_LOGGING_CATEGORY(lcWindowSearch, "zuvexal.windowsearch")

namespace {

class Search
{
public:
    Search(platform::WindowSystem &system, const QString &text, const QString &className,
           std::optional<qint32> controlId)
        : m_system(system), m_text(text), m_className(className), m_controlId(controlId)
    {}

    void below(platform::WindowId parent, WindowList &found)
    {
        for (platform::WindowId child : m_system.children(parent)) {
            // Keeps the host responsive on a large desktop; handlers may run
            // here, even another search.
            QCoreApplication::processEvents();
            below(child, found);
            if (matches(child))
                found.push_back(child);
        }
    }

private:
    bool matches(platform::WindowId window) const
    {
        if (m_controlId)
            return false;
        return likeMatch(m_system.caption(window), m_text) && likeMatch(m_system.className(window), m_className);
    }

    platform::WindowSystem &m_system;
    const QString m_text;
    const QString m_className;
    const std::optional<qint32> m_controlId;
};

// A session that hides windows is said once a process, not at each search.
void noteLimitOnce(const platform::WindowSystem &system)
{
    static bool said = false;
    if (said || system.reach() == platform::WindowReach::All)
        return;
    said = true;
    qCWarning(lcWindowSearch).noquote() << "ZuVexal:" << system.limitation();
}

} // namespace

qint32 FindMatchingWindows(platform::WindowSystem &system, WindowList &Found, platform::WindowId StartWindow,
                           const QString &TextPattern, const QString &ClassPattern, std::optional<qint32> ControlId)
{
    Found.assign(1, 0);
    noteLimitOnce(system);
    const platform::WindowId start = StartWindow ? StartWindow : system.rootWindow();
    if (start == 0)
        return 0;
    // Filled apart from Found: a nested search may be handed the same list.
    WindowList found{0};
    Search(system, TextPattern, ClassPattern, ControlId).below(start, found);
    Found = std::move(found);
    return qint32(Found.size() - 1);
}

bool SetForegroundWindow(platform::WindowSystem &system, platform::WindowId window)
{
    noteLimitOnce(system);
    return system.activate(window);
}

} // namespace zuvexal
