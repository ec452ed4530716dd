#include "cli.h"

#include "core/recordset/sqladapter.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QTextStream>

#include <cstdio>

namespace zuvexal::cli {

int fail(const QString &message)
{
    QTextStream(stderr) << "zuvexal: " << message << '\n';
    return ExitBadInput;
}

std::optional<int> parseCommand(QCommandLineParser &parser, const QStringList &args,
                                const QString &description, const QString &positional,
                                const QString &positionalHelp)
{
    parser.setApplicationDescription(description);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    if (!positional.isEmpty())
        parser.addPositionalArgument(positional, positionalHelp);
    QStringList withProgram = args;
    withProgram[0] = QStringLiteral("zuvexal ") + args[0];
    if (!parser.parse(withProgram))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the command, not the program's path.
        QString text = parser.helpText();
        const qsizetype programEnd = text.indexOf(QLatin1String(" [options]"));
        if (text.startsWith(QLatin1String("Usage: ")) && programEnd > 0)
            text.replace(7, programEnd - 7, withProgram[0]);
        QTextStream(stdout) << text;
        return ExitOk;
    }
    return std::nullopt;
}

void DatabaseOptions::addTo(QCommandLineParser &parser) const
{
    parser.addOption(db);
    parser.addOption(driver);
    parser.addOption(table);
    parser.addOption(query);
}

std::optional<QString> applicationFolder(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const QString folder = QDir(parser.value(option)).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        fail(QStringLiteral("application folder not found: %1").arg(folder));
        return std::nullopt;
    }
    return folder + QLatin1Char('/');
}

LoadedRecords loadRecords(const QCommandLineParser &parser, const DatabaseOptions &options)
{
    LoadedRecords result;
    const QString path = parser.value(options.db);
    const QString driver = parser.value(options.driver);
    if (path.isEmpty()) {
        result.failure = fail(QStringLiteral("--db is required"));
        return result;
    }
    if (parser.isSet(options.table) == parser.isSet(options.query)) {
        result.failure = fail(QStringLiteral("give exactly one of --table and --query"));
        return result;
    }
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        result.failure = fail(QStringLiteral("unknown database driver: %1").arg(driver));
        return result;
    }
    const bool sqlite = driver == QLatin1String("QSQLITE");
    // SQLite would create a missing file; a typo must not become an empty
    // database.
    if (sqlite && !QFileInfo(path).isFile()) {
        result.failure = fail(QStringLiteral("database file not found: %1").arg(path));
        return result;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, QStringLiteral("zuvexal-cli"));
    db.setDatabaseName(path);
    if (sqlite)
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        result.failure = fail(QStringLiteral("cannot open database %1: %2").arg(path, db.lastError().text()));
        return result;
    }
    LoadResult loaded = parser.isSet(options.table) ? loadTable(db, parser.value(options.table))
                                                    : loadQuery(db, parser.value(options.query));
    if (!loaded.records)
        result.failure = fail(loaded.error);
    result.records = std::move(loaded.records);
    return result;
}

} // namespace zuvexal::cli
