#include "cli.h"

#include "core/filedialog/paths.h"

#include <QCoreApplication>
#include <QTextStream>

#include <functional>
#include <map>

namespace {

const char *const Usage =
    "Usage: zuvexal COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  fields     list the fields of a table or query with their types and kinds\n"
    "  settings   show or change the stored advanced report settings\n"
    "\n"
    "Run 'zuvexal COMMAND --help' for the options of a command.\n";

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zuvexal"));
    zuvexal::SetAppFolder();

    const std::map<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("fields"), zuvexal::cli::runFields},
        {QStringLiteral("settings"), zuvexal::cli::runSettings},
    };

    const QStringList args = app.arguments().mid(1);
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
