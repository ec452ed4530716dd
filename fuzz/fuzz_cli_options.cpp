// The CLI's option parsing: parseCommand with the options each command of
// apps/zuvexal declares. The input is the argument list one a line, the
// first being the command's name, which picks the options (an unknown name
// gets those of report, the command with the most).
#include "fuzzsupport.h"

#include "cli.h"

#include <QCommandLineOption>

#include <memory>

using namespace zuvexal;
using namespace zuvexal::cli;

namespace {

QCommandLineOption valued(const char *name, const char *defaultValue = nullptr)
{
    QCommandLineOption option(QString::fromLatin1(name), QStringLiteral("Option."), QStringLiteral("VALUE"));
    if (defaultValue)
        option.setDefaultValue(QString::fromLatin1(defaultValue));
    return option;
}

QCommandLineOption flag(const char *name)
{
    return QCommandLineOption(QString::fromLatin1(name), QStringLiteral("Flag."));
}

// A command's parser set up as its run function does before parseCommand.
struct Command
{
    QList<QCommandLineOption> options;
    QString positional;
    bool database = false;
    bool applicationFolder = false;
};

Command commandNamed(const QString &name)
{
    if (name == QLatin1String("fields"))
        return {{}, {}, true};
    if (name == QLatin1String("log"))
        return {{valued("app-folder")}, QStringLiteral("message"), false, true};
    if (name == QLatin1String("open"))
        return {{flag("new-window")}, QStringLiteral("destination")};
    if (name == QLatin1String("print"))
        return {{flag("in-browser")}, QStringLiteral("page-file")};
    if (name == QLatin1String("settings"))
        return {{valued("registry")}, QStringLiteral("action")};
    if (name == QLatin1String("wait"))
        return {{}, QStringLiteral("N")};
    if (name == QLatin1String("windows"))
        return {{}, QStringLiteral("text")};
    return {{valued("app-folder"), valued("file"), valued("title"), valued("per-page", "10"), valued("pictures"),
             valued("picture-folders"), flag("show"), flag("print"), valued("color", "WHITE"), flag("no-date"),
             valued("date"), valued("locale"), flag("delete-on-cancel"), valued("registry"), flag("quiet")},
            {},
            true,
            true};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication(fuzz::Application::Core);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Every command line has the command's name first: main() dispatches on it.
    const QStringList args = fuzz::textOf(QByteArrayView(data, qsizetype(size))).split(u'\n');
    const Command command = commandNamed(args[0]);

    QCommandLineParser parser;
    const DatabaseOptions database;
    if (command.database)
        database.addTo(parser);
    for (const QCommandLineOption &option : command.options)
        parser.addOption(option);
    const std::optional<int> exit = parseCommand(parser, args, QStringLiteral("Fuzzed command."), command.positional,
                                                 QStringLiteral("Argument."));
    fuzz::require(!exit || *exit == ExitOk || *exit == ExitBadInput, "parseCommand gives a known exit code");
    if (exit)
        return 0;
    fuzz::require(!parser.isSet(QStringLiteral("help")), "a command runs only without --help", args.join(u' '));

    // What the commands read once parsing let them run.
    for (const QCommandLineOption &option : command.options) {
        const QString value = parser.value(option);
        if (!parser.isSet(option))
            fuzz::require(value == option.defaultValues().value(0), "an unset option has its default", value);
    }
    parser.positionalArguments();
    if (command.applicationFolder) {
        const std::optional<QString> folder = applicationFolder(parser, command.options[0]);
        fuzz::require(!folder || folder->endsWith(u'/'), "the application folder ends in '/'", *folder);
    }
    return 0;
}
