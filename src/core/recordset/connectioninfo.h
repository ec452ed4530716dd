#pragma once

#include <ZuVexal/zuvexalcore_export.h>

#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace zuvexal {

// Where rows come from, as a user writes it: a SQLite file or a database
// server. parseConnection() reads
//
//   PATH, sqlite:PATH                              a SQLite file
//   postgresql://[USER@][HOST][:PORT][/DATABASE]   also postgres://
//   mysql://[USER@][HOST][:PORT][/DATABASE]        also mariadb://
//   odbc:DSN, odbc:DRIVER=...;KEY=VALUE;...        an ODBC data source
//
// User, host and database are percent-decoded. A host that is a path
// (?host=/path, or %2F-encoded in place of the host) is the server's local
// socket: PostgreSQL's socket folder, MySQL's socket file. A missing part is
// the driver's default (PGHOST, PGUSER, ...). Passwords never appear here:
// a URL or ODBC string holding one is refused. The value types of this
// header change only with the SONAME (see "Value types and the ABI" in the
// README).
struct ZUVEXAL_CORE_EXPORT ConnectionInfo
{
    QString driver;         // QtSql driver name
    QString databaseName;   // file, database, or ODBC data source
    QString host;
    int port = -1;          // -1: the driver's default
    QString user;
    QString connectOptions; // as QSqlDatabase::setConnectOptions takes them

    bool isSqlite() const;
    // How messages name the connection: the file, or a URL without password.
    QString displayName() const;
};

struct ParsedConnection
{
    std::optional<ConnectionInfo> info;
    QString error; // one line; never repeats a password
};

// driver, when given, is the driver of a text that is no URL (a database
// name for a server driver) and must agree with a URL's.
ZUVEXAL_CORE_EXPORT ParsedConnection parseConnection(const QString &text, const QString &driver = {});

struct OpenedDatabase
{
    QSqlDatabase db; // open, or invalid on failure
    QString error;   // one line naming the connection and the driver's reason
};

// Opens info as connectionName, replacing a connection of that name. A SQLite
// file must exist and is opened read-only. A non-empty password goes to the
// driver, else the driver's own sources (PGPASSWORD, ~/.pgpass, MYSQL_PWD,
// the DSN) apply; it never appears in the error.
ZUVEXAL_CORE_EXPORT OpenedDatabase openConnection(const ConnectionInfo &info, const QString &connectionName,
                              const QString &password = {});

} // namespace zuvexal
