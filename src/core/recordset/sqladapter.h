#pragma once

#include <ZuVexal/recordset.h>
#include <ZuVexal/zuvexalcore_export.h>

#include <QString>

#include <optional>

class QSqlDatabase;

namespace zuvexal {

// A plain value type (see "Value types and the ABI" in the README): its
// members change only with the SONAME.
struct LoadResult
{
    std::optional<RecordSet> records;
    QString error; // one line naming the bad input
};

// Runs sql on db and keeps every row. The set remembers the connection name
// and the SQL so requery() can run it again. SQLite is read through its own C
// API, PostgreSQL and MariaDB/MySQL through their client libraries on the
// connection QPSQL or QMYSQL opened, every other driver through QSqlQuery. The type mapping is described in
// README.md beside this file.
ZUVEXAL_CORE_EXPORT LoadResult loadQuery(const QSqlDatabase &db, const QString &sql,
                     Ado::CursorType cursor = Ado::adOpenStatic);

// All rows of a table or view; an unknown name is an error.
ZUVEXAL_CORE_EXPORT LoadResult loadTable(const QSqlDatabase &db, const QString &table,
                     Ado::CursorType cursor = Ado::adOpenStatic);

// The driver-independent path, mapping QSqlField metadata.
ZUVEXAL_CORE_EXPORT LoadResult loadQueryThroughQtSql(const QSqlDatabase &db, const QString &sql,
                                 Ado::CursorType cursor = Ado::adOpenStatic);

// A record set a host hands to the control, in one call.
struct LoadedRecordSet
{
    RecordSetPtr records; // null on failure
    QString error;        // one line naming the bad input
};

// As loadQuery and loadTable, shared.
ZUVEXAL_CORE_EXPORT LoadedRecordSet openQuery(const QSqlDatabase &db, const QString &sql,
                          Ado::CursorType cursor = Ado::adOpenStatic);
ZUVEXAL_CORE_EXPORT LoadedRecordSet openTable(const QSqlDatabase &db, const QString &table,
                          Ado::CursorType cursor = Ado::adOpenStatic);

} // namespace zuvexal
