#pragma once

#include <ZuVexal/recordset.h>
#include <ZuVexal/zuvexalcore_export.h>

#include <QString>

#include <optional>

class QSqlDatabase;

/// \file sqladapter.h
/// Record sets loaded from a QtSql connection. Included by
/// `<ZuVexal/RecordSet>`.

namespace zuvexal {

/// What loadQuery() and loadTable() give: the records, or the error.
///
/// A plain value type (see "Value types and the ABI" in the README): its
/// members change only with the SONAME.
/// \headerfile sqladapter.h <ZuVexal/RecordSet>
struct LoadResult
{
    std::optional<RecordSet> records; ///< The open record set; nothing on failure.
    QString error; ///< One line naming the bad input; empty on success.
};

/// Runs \a sql on \a db and keeps every row. The set remembers the
/// connection name and the SQL so RecordSet::requery() can run it again.
/// SQLite is read through its own C API, PostgreSQL and MariaDB/MySQL
/// through their client libraries on the connection QPSQL or QMYSQL opened,
/// every other driver through QSqlQuery. The type mapping is described in
/// src/core/recordset/README.md of the sources.
/// \param db an open connection.
/// \param sql the query.
/// \param cursor the cursor type of the set.
/// \return the set, or an error when the connection is not open or the
///         query fails.
ZUVEXAL_CORE_EXPORT LoadResult loadQuery(const QSqlDatabase &db, const QString &sql,
                     Ado::CursorType cursor = Ado::adOpenStatic);

/// All rows of a table or view; an unknown name is an error.
/// \param db an open connection.
/// \param table the table's name; an exact match first, else one that
///        differs in case only.
/// \param cursor the cursor type of the set.
ZUVEXAL_CORE_EXPORT LoadResult loadTable(const QSqlDatabase &db, const QString &table,
                     Ado::CursorType cursor = Ado::adOpenStatic);

/// As loadQuery(), always through QSqlQuery, mapping QSqlField metadata:
/// the driver-independent path.
/// \param db an open connection.
/// \param sql the query.
/// \param cursor the cursor type of the set.
ZUVEXAL_CORE_EXPORT LoadResult loadQueryThroughQtSql(const QSqlDatabase &db, const QString &sql,
                                 Ado::CursorType cursor = Ado::adOpenStatic);

/// A record set a host hands to the control, in one call (openQuery(),
/// openTable()). A plain value type: its members change only with the SONAME.
/// \headerfile sqladapter.h <ZuVexal/RecordSet>
struct LoadedRecordSet
{
    RecordSetPtr records; ///< The open record set; null on failure.
    QString error;        ///< One line naming the bad input; empty on success.
};

/// As loadQuery(), shared, for ZuVexal::ShowZuReporter() and
/// ZuVexal::AutoZuReporter().
/// \param db an open connection.
/// \param sql the query.
/// \param cursor the cursor type of the set.
ZUVEXAL_CORE_EXPORT LoadedRecordSet openQuery(const QSqlDatabase &db, const QString &sql,
                          Ado::CursorType cursor = Ado::adOpenStatic);
/// As loadTable(), shared.
/// \param db an open connection.
/// \param table the table's or view's name.
/// \param cursor the cursor type of the set.
ZUVEXAL_CORE_EXPORT LoadedRecordSet openTable(const QSqlDatabase &db, const QString &table,
                          Ado::CursorType cursor = Ado::adOpenStatic);

} // namespace zuvexal
