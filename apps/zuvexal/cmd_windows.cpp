#include "cli.h"

#include "core/links/windowsearch.h"

#include <QTextStream>

namespace zuvexal::cli {

int runWindows(const QStringList &args)
{
    QCommandLineParser parser;
    // Short names keep the help's argument column from wrapping; the usage
    // line shows the long ones.
    parser.addPositionalArgument(QStringLiteral("text"),
                                 QStringLiteral("Caption pattern: * ? # [list] [!list], case-sensitive."),
                                 QStringLiteral("TEXT_PATTERN"));
    parser.addPositionalArgument(QStringLiteral("class"), QStringLiteral("Class name pattern (default *)."),
                                 QStringLiteral("[CLASS_PATTERN]"));
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Lists the desktop's windows whose caption and class match, "
                                                "one a line as id, caption and class separated by tabs. "
                                                "Exits with 6 where the session hides windows: most "
                                                "Wayland sessions (wlroots compositors show them).")))
        return *exit;

    const QStringList patterns = parser.positionalArguments();
    if (patterns.isEmpty())
        return fail(QStringLiteral("windows needs a TEXT_PATTERN (see zuvexal windows --help)"));
    if (patterns.size() > 2)
        return fail(QStringLiteral("windows takes at most TEXT_PATTERN and CLASS_PATTERN"));

    platform::WindowSystem &system = platform::windowSystem();
    if (system.reach() == platform::WindowReach::None) {
        fail(system.limitation());
        return ExitWindowsHidden;
    }
    WindowList found;
    FindMatchingWindows(system, found, 0, patterns[0], patterns.value(1, QStringLiteral("*")));
    QTextStream out(stdout);
    for (auto it = found.begin() + 1; it != found.end(); ++it)
        out << "0x" << QString::number(*it, 16) << '\t' << system.caption(*it) << '\t' << system.className(*it)
            << '\n';
    out.flush();
    if (system.reach() == platform::WindowReach::All)
        return ExitOk;
    // The list is not the session's: a script must not take it for one.
    fail(system.limitation());
    return ExitWindowsHidden;
}

} // namespace zuvexal::cli
