#pragma once

#include "core/recordset/recordset.h"

#include <QCommandLineParser>
#include <QSqlDatabase>
#include <QStringList>

#include <optional>

namespace zuvexal::cli {

enum ExitCode { ExitOk = 0, ExitBadInput = 1, ExitNotPrinted = 5, ExitWindowsHidden = 6 };

// Prints "zuvexal: message" on stderr and gives ExitBadInput.
int fail(const QString &message);

// Parses a command's arguments (args[0] is the command name). Handles
// --help itself; on a parse error prints one line. Returns the exit code to
// end with, or nothing when the command should run.
std::optional<int> parseCommand(QCommandLineParser &parser, const QStringList &args,
                                const QString &description, const QString &positional = {},
                                const QString &positionalHelp = {});

// The database connection options shared by the commands that read one.
struct DatabaseOptions
{
    QCommandLineOption db{QStringLiteral("db"),
                          QStringLiteral("SQLite file, or a server: postgresql://USER@HOST:PORT/DB, "
                                         "mysql://USER@HOST:PORT/DB, odbc:DSN, odbc:DRIVER=...;... "
                                         "(a socket as ?host=/path)."),
                          QStringLiteral("PATH|URL")};
    QCommandLineOption driver{QStringLiteral("driver"),
                              QStringLiteral("QtSql driver of a --db that is no URL (default QSQLITE); "
                                             "--db is then its database name."),
                              QStringLiteral("NAME"), QStringLiteral("QSQLITE")};
    QCommandLineOption passwordFile{QStringLiteral("password-file"),
                                    QStringLiteral("Server password: the first line of FILE (else the driver's "
                                                   "PGPASSWORD, ~/.pgpass, MYSQL_PWD or DSN)."),
                                    QStringLiteral("FILE")};
    QCommandLineOption table{QStringLiteral("table"), QStringLiteral("Read every row of this table."),
                             QStringLiteral("NAME")};
    QCommandLineOption query{QStringLiteral("query"), QStringLiteral("Read the rows of this SQL query."),
                             QStringLiteral("SQL")};
    void addTo(QCommandLineParser &parser) const;
};

// The --app-folder value as an absolute folder ending in '/' (default: the
// working folder); nothing, after one line on stderr, when it is no folder.
std::optional<QString> applicationFolder(const QCommandLineParser &parser, const QCommandLineOption &option);

// The rows of the table or query the options name; on failure prints why
// and gives the exit code.
struct LoadedRecords
{
    std::optional<RecordSet> records;
    std::optional<int> failure;
};
LoadedRecords loadRecords(const QCommandLineParser &parser, const DatabaseOptions &options);

int runFields(const QStringList &args);
int runLog(const QStringList &args);
int runOpen(const QStringList &args);
int runPrint(const QStringList &args);
int runReport(const QStringList &args);
int runSettings(const QStringList &args);
int runWait(const QStringList &args);
int runWindows(const QStringList &args);

} // namespace zuvexal::cli
