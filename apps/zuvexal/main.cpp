#include "cli.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>


namespace {

const char *const Usage =
    "Usage: zuvexal COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  fields     list the fields of a table or query with their types and kinds\n"
    "  log        append a message to the HTML message log\n"
    "  open       open a web address, file or e-mail address\n"
    "  print      print a report page\n"
    "  report     write an HTML report of a table or query\n"
    "  settings   show or change the stored advanced report settings\n"
    "  wait       wait a number of seconds\n"
    "  windows    list the desktop's windows whose caption and class match patterns\n"
    "\n"
    "Run 'zuvexal COMMAND --help' for the options of a command.\n";

// Printing, opening links and listing windows go through the GUI platform;
// every other command runs without it, which spares the fonts and the
// platform plugin (a third of a report's baseline memory). An option's value
// that reads "--print" only costs that memory back.
bool needsGui(int argc, char **argv)
{
    if (argc < 2)
        return false;
    const std::string_view command = argv[1];
    if (command == "print" || command == "open" || command == "windows")
        return true;
    if (command != "report")
        return false;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--print" || arg == "--show")
            return true;
    }
    return false;
}

// The arguments with the offscreen platform chosen after the program's name.
// An argument, unlike QT_QPA_PLATFORM in the environment, overrides a
// platform the caller exported (one without a compositor aborts Qt) and
// never reaches the programs the tool starts: a browser or viewer started
// for a link must get the caller's environment as it is.
std::vector<char *> withOffscreenPlatform(int argc, char **argv)
{
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    std::vector<char *> arguments(argv, argv + argc);
    arguments.insert(arguments.begin() + 1, {platformOption, offscreen});
    arguments.push_back(nullptr);
    return arguments;
}

// While the GUI application starts, a private runtime folder where the
// caller has none: Qt looks one up then, and would warn. The caller's
// environment is back as it was once Qt has started, so the programs the
// tool starts inherit it unchanged.
class RuntimeFolderWhileStarting
{
public:
    RuntimeFolderWhileStarting()
    {
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            return;
        const QByteArray folder = QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(getuid());
        if (mkdir(folder.constData(), 0700) == 0 || errno == EEXIST) {
            m_hadValue = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
            qputenv("XDG_RUNTIME_DIR", folder);
            m_set = true;
        }
    }
    ~RuntimeFolderWhileStarting()
    {
        if (!m_set)
            return;
        if (m_hadValue)
            qputenv("XDG_RUNTIME_DIR", QByteArray());
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    RuntimeFolderWhileStarting(const RuntimeFolderWhileStarting &) = delete;
    RuntimeFolderWhileStarting &operator=(const RuntimeFolderWhileStarting &) = delete;

private:
    bool m_set = false;
    bool m_hadValue = false;
};

} // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QCoreApplication> app;
    std::vector<char *> guiArguments;
    int guiArgc = 0;
    if (needsGui(argc, argv)) {
        // Fonts and page layout need a GUI application; a command-line tool
        // never needs a window, so it never depends on a display.
        guiArguments = withOffscreenPlatform(argc, argv);
        guiArgc = int(guiArguments.size()) - 1;
        const RuntimeFolderWhileStarting runtimeFolder;
        app = std::make_unique<QGuiApplication>(guiArgc, guiArguments.data());
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("zuvexal"));
    // The commands say themselves, in their one line, what a search could
    // not see.
    QLoggingCategory::setFilterRules(QStringLiteral("zuvexal.windowsearch.warning=false"));

    const std::map<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("fields"), zuvexal::cli::runFields},
        {QStringLiteral("log"), zuvexal::cli::runLog},
        {QStringLiteral("open"), zuvexal::cli::runOpen},
        {QStringLiteral("print"), zuvexal::cli::runPrint},
        {QStringLiteral("report"), zuvexal::cli::runReport},
        {QStringLiteral("settings"), zuvexal::cli::runSettings},
        {QStringLiteral("wait"), zuvexal::cli::runWait},
        {QStringLiteral("windows"), zuvexal::cli::runWindows},
    };

    const QStringList args = app->arguments().mid(1);
    const QString command = args.value(0);
    if (command.isEmpty() || command == QLatin1String("--help") || command == QLatin1String("-h")) {
        (command.isEmpty() ? QTextStream(stderr) : QTextStream(stdout)) << Usage;
        return command.isEmpty() ? zuvexal::cli::ExitBadInput : zuvexal::cli::ExitOk;
    }
    const auto found = commands.find(command);
    if (found == commands.end())
        return zuvexal::cli::fail(QStringLiteral("unknown command: %1 (see zuvexal --help)").arg(command));
    return found->second(args);
}
