#pragma once

#include <ZuVexal/zuvexalcore_export.h>

#include <QSqlDatabase>
#include <QString>

#include <optional>

/// \file connectioninfo.h
/// Database connections as a user writes them. Included by
/// `<ZuVexal/RecordSet>`.

namespace zuvexal {

/// Where rows come from, as a user writes it: a SQLite file or a database
/// server.
///
/// parseConnection() reads
///
///     PATH, sqlite:PATH                              a SQLite file
///     postgresql://[USER@][HOST][:PORT][/DATABASE]   also postgres://
///     mysql://[USER@][HOST][:PORT][/DATABASE]        also mariadb://
///     odbc:DSN, odbc:DRIVER=...;KEY=VALUE;...        an ODBC data source
///
/// User, host and database are percent-decoded. A host that is a path
/// (?host=/path, or %2F-encoded in place of the host) is the server's local
/// socket: PostgreSQL's socket folder, MySQL's socket file. A missing part is
/// the driver's default (PGHOST, PGUSER, ...). Passwords never appear here:
/// a URL or ODBC string holding one is refused. The value types of this
/// header change only with the SONAME (see "Value types and the ABI" in the
/// README).
/// \headerfile connectioninfo.h <ZuVexal/RecordSet>
struct ZUVEXAL_CORE_EXPORT ConnectionInfo
{
    QString driver;         ///< QtSql driver name, such as QSQLITE or QPSQL.
    QString databaseName;   ///< File, database, or ODBC data source.
    QString host;           ///< Server host, or its local socket's path; empty for the driver's default.
    int port = -1;          ///< Server port; -1: the driver's default.
    QString user;           ///< User name; empty for the driver's default.
    QString connectOptions; ///< As QSqlDatabase::setConnectOptions takes them.

    /// True for a SQLite file.
    bool isSqlite() const;
    /// How messages name the connection: the file, or a URL without password.
    QString displayName() const;
};

/// What parseConnection() gives: the connection, or the error.
/// \headerfile connectioninfo.h <ZuVexal/RecordSet>
struct ParsedConnection
{
    std::optional<ConnectionInfo> info; ///< The connection; nothing on failure.
    QString error; ///< One line; never repeats a password. Empty on success.
};

/// Reads a connection as a user writes it (see ConnectionInfo).
/// \param text a path or URL.
/// \param driver when given, the driver of a text that is no URL (a
///        database name for a server driver); it must agree with a URL's.
/// \return the connection, or an error for a text that cannot be read,
///         holds a password, or names another driver than \a driver.
ZUVEXAL_CORE_EXPORT ParsedConnection parseConnection(const QString &text, const QString &driver = {});

/// What openConnection() gives: the open connection, or the error.
/// \headerfile connectioninfo.h <ZuVexal/RecordSet>
struct OpenedDatabase
{
    QSqlDatabase db; ///< Open, or invalid on failure.
    QString error;   ///< One line naming the connection and the driver's reason; empty on success.
};

/// Opens a connection, replacing a connection of the same name. A SQLite
/// file must exist and is opened read-only.
/// \param info the connection.
/// \param connectionName the QSqlDatabase connection name.
/// \param password a non-empty password goes to the driver, else the
///        driver's own sources (PGPASSWORD, ~/.pgpass, MYSQL_PWD, the DSN)
///        apply; it never appears in the error.
/// \return the open connection; on failure (a driver that is not installed,
///         with the Debian package that brings it, a missing SQLite file, the
///         server's refusal) an invalid one and the error.
ZUVEXAL_CORE_EXPORT OpenedDatabase openConnection(const ConnectionInfo &info, const QString &connectionName,
                              const QString &password = {});

} // namespace zuvexal
