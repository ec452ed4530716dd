#pragma once

#include "recordset.h"

#include <QString>

class QSqlField;

namespace zuvexal {

// A column's type in ADO's terms, as its declaration or its driver describes
// it. README.md beside this file has the tables.
struct ColumnType
{
    int type = Ado::adVariant;
    qint32 declaredSize = 0; // n of VARCHAR(n); 0 when none
    int precision = 0;       // p and s of an exact NUMERIC(p,s)
    int scale = 0;
};

// From a declared SQLite column type: a few names exactly, every other one by
// SQLite's affinity rules.
ColumnType sqliteColumnType(const QByteArray &declared);

// Whose codes QSqlField::typeID() holds.
enum class SqlDriverKind { Postgres, MySql, Odbc, Other };
SqlDriverKind sqlDriverKind(const QString &driverName);

// From a field of a query record. MySQL counts text lengths in bytes of the
// result character set: bytesPerChar turns them into characters.
ColumnType serverColumnType(SqlDriverKind driver, const QSqlField &field, int bytesPerChar = 1);

// Whether a driver may hand this type's values over as text: QODBC does so
// for REAL, psqlodbc for booleans.
bool mayArriveAsText(int type);
// Such a value as the type's own; text that is no such value stays text.
QVariant valueFromText(int type, const QString &text);

} // namespace zuvexal
