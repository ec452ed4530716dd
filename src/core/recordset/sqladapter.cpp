#include "sqladapter.h"

#include "recordsetbuilder.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <memory>

namespace zuvexal {

using namespace Ado;

namespace {

constexpr qint32 unsizedText = 536870910;
constexpr qint32 unsizedBinary = 2147483647;

qint32 fixedSize(int type)
{
    switch (type) {
    case adTinyInt:
    case adUnsignedTinyInt:
        return 1;
    case adSmallInt:
    case adUnsignedSmallInt:
    case adBoolean:
        return 2;
    case adInteger:
    case adUnsignedInt:
    case adSingle:
        return 4;
    case adDBDate:
    case adDBTime:
        return 6;
    case adDBTimeStamp:
    case adGUID:
    case adVariant:
        return 16;
    case adDecimal:
    case adNumeric:
        return 19;
    default:
        return 8;
    }
}

// declared: the size in a type like VARCHAR(20), 0 if none.
qint32 definedSizeFor(int type, qint32 declared)
{
    switch (type) {
    case adVarWChar:
    case adVarChar:
    case adWChar:
    case adChar:
        return declared > 0 ? declared : unsizedText;
    case adLongVarWChar:
    case adLongVarChar:
        return unsizedText;
    case adVarBinary:
    case adBinary:
        return declared > 0 ? declared : unsizedBinary;
    case adLongVarBinary:
        return unsizedBinary;
    default:
        return fixedSize(type);
    }
}

bool isNumberType(int type)
{
    switch (type) {
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
    case adBoolean:
        return false;
    default:
        return isFixedLengthType(type);
    }
}

int attributesFor(int type, bool tableColumn, bool nullable)
{
    int attributes = adFldMayDefer | (tableColumn ? adFldUpdatable : adFldUnknownUpdatable);
    if (nullable)
        attributes |= adFldMayBeNull;
    // A computed number may be NULL without being declared nullable, as ADO
    // providers report it; FieldKind's attribute values 90, 106, 122 and 234
    // are those of computed columns.
    if (nullable && (tableColumn || !isNumberType(type)))
        attributes |= adFldIsNullable;
    if (isFixedLengthType(type))
        attributes |= adFldFixed;
    if (isLongType(type))
        attributes |= adFldLong;
    return attributes;
}

QString oneLine(const QString &text)
{
    return text.simplified();
}

LoadResult failure(const QString &error)
{
    return {std::nullopt, oneLine(error)};
}

LoadResult sqlFailure(const QString &message, const QString &sql)
{
    return failure(QStringLiteral("%1 in \"%2\"").arg(message, sql));
}

std::optional<LoadResult> checkConnection(const QSqlDatabase &db)
{
    if (!db.isValid())
        return failure(QStringLiteral("no database connection \"%1\"").arg(db.connectionName()));
    if (!db.isOpen())
        return failure(QStringLiteral("database connection \"%1\" is not open").arg(db.connectionName()));
    return std::nullopt;
}

// The field type a declared SQLite column type maps to: a few names exactly,
// every other one by SQLite's affinity rules.
std::pair<int, qint32> sqliteDeclaredType(const char *declared)
{
    const QByteArray decl = QByteArray(declared).trimmed().toUpper();
    const qsizetype paren = decl.indexOf('(');
    const QByteArray base = (paren < 0 ? decl : decl.left(paren)).trimmed();
    qint32 size = 0;
    if (paren >= 0) {
        QByteArray digits = decl.mid(paren + 1);
        digits.truncate(digits.indexOf(',') >= 0 ? digits.indexOf(',') : digits.indexOf(')'));
        bool ok = false;
        const int n = digits.trimmed().toInt(&ok);
        if (ok && n > 0)
            size = n;
    }
    static const struct
    {
        const char *name;
        int type;
    } exact[] = {
        {"INTEGER", adBigInt},    {"INT", adBigInt},         {"REAL", adDouble},
        {"FLOAT", adDouble},      {"DOUBLE", adDouble},      {"NUMERIC", adNumeric},
        {"DECIMAL", adNumeric},   {"TEXT", adVarWChar},      {"CHAR", adVarWChar},
        {"VARCHAR", adVarWChar},  {"CLOB", adVarWChar},      {"", adVarWChar},
        {"HYPERLINK", adLongVarWChar}, {"BLOB", adLongVarBinary}, {"DATE", adDBDate},
        {"TIME", adDBTime},       {"DATETIME", adDBTimeStamp}, {"TIMESTAMP", adDBTimeStamp},
        {"BOOLEAN", adBoolean},   {"BOOL", adBoolean},
    };
    for (const auto &e : exact) {
        if (base == e.name)
            return {e.type, size};
    }
    if (decl.contains("INT"))
        return {adBigInt, size};
    if (decl.contains("CHAR") || decl.contains("CLOB") || decl.contains("TEXT"))
        return {adVarWChar, size};
    if (decl.contains("BLOB"))
        return {adLongVarBinary, size};
    if (decl.contains("REAL") || decl.contains("FLOA") || decl.contains("DOUB"))
        return {adDouble, size};
    return {adNumeric, size};
}

int storageClassType(int storageClass)
{
    switch (storageClass) {
    case SQLITE_INTEGER:
        return adBigInt;
    case SQLITE_FLOAT:
        return adDouble;
    case SQLITE_BLOB:
        return adLongVarBinary;
    default:
        return adVarWChar;
    }
}

Field expressionField(const QString &name, int type)
{
    return {name, type, definedSizeFor(type, 0), attributesFor(type, false, true)};
}

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    if (db.driverName() != QLatin1String("QSQLITE") || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// The fields of a statement's columns: declared columns from their table's
// metadata; expressions (marked in typeFromValues) take their type later
// from their first non-NULL value.
std::vector<Field> sqliteFields(sqlite3 *handle, sqlite3_stmt *stmt, std::vector<char> &typeFromValues)
{
    const int columns = sqlite3_column_count(stmt);
    std::vector<Field> fields;
    typeFromValues.assign(size_t(columns), 0);
    for (int i = 0; i < columns; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char *table = sqlite3_column_table_name(stmt, i);
        const char *origin = sqlite3_column_origin_name(stmt, i);
        if (!table || !origin) {
            typeFromValues[size_t(i)] = 1;
            fields.push_back(expressionField(name, adVarWChar));
            continue;
        }
        const char *declared = nullptr;
        int notNull = 0;
        sqlite3_table_column_metadata(handle, sqlite3_column_database_name(stmt, i), table, origin, &declared,
                                      nullptr, &notNull, nullptr, nullptr);
        const auto [type, size] = sqliteDeclaredType(declared ? declared : "");
        fields.push_back({name, type, definedSizeFor(type, size), attributesFor(type, true, !notNull)});
    }
    return fields;
}

inline void appendSqliteValue(RecordSetBuilder &builder, sqlite3_stmt *stmt, int i, int storageClass)
{
    switch (storageClass) {
    case SQLITE_INTEGER:
        builder.appendInt(i, sqlite3_column_int64(stmt, i));
        break;
    case SQLITE_FLOAT:
        builder.appendReal(i, sqlite3_column_double(stmt, i));
        break;
    case SQLITE_TEXT:
        builder.appendText(i, reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                           sqlite3_column_bytes(stmt, i));
        break;
    case SQLITE_BLOB:
        builder.appendBytes(i, static_cast<const char *>(sqlite3_column_blob(stmt, i)), sqlite3_column_bytes(stmt, i));
        break;
    default:
        builder.appendNull(i);
        break;
    }
}

LoadResult loadSqlite(sqlite3 *handle, const QSqlDatabase &db, const QString &sql, CursorType cursor)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const int prepared = sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> stmt(raw, sqlite3_finalize);
    if (prepared != SQLITE_OK)
        return sqlFailure(QString::fromUtf8(sqlite3_errmsg(handle)), sql);
    const int columns = stmt ? sqlite3_column_count(stmt.get()) : 0;
    if (columns == 0)
        return sqlFailure(QStringLiteral("no rows returned"), sql);

    std::vector<char> typeFromValues;
    RecordSetBuilder builder(sqliteFields(handle, stmt.get(), typeFromValues));
    int step;
    while ((step = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            const int storageClass = sqlite3_column_type(stmt.get(), i);
            if (typeFromValues[size_t(i)] && storageClass != SQLITE_NULL) {
                typeFromValues[size_t(i)] = 0;
                builder.setField(i, expressionField(builder.field(i).name, storageClassType(storageClass)));
            }
            appendSqliteValue(builder, stmt.get(), i, storageClass);
        }
    }
    if (step != SQLITE_DONE)
        return sqlFailure(QString::fromUtf8(sqlite3_errmsg(handle)), sql);
    builder.setSource(db.connectionName(), sql);
    return {builder.finish(cursor), QString()};
}

int qtFieldType(const QSqlField &f)
{
    switch (f.metaType().id()) {
    case QMetaType::Bool:
        return adBoolean;
    case QMetaType::Char:
    case QMetaType::SChar:
        return adTinyInt;
    case QMetaType::UChar:
        return adUnsignedTinyInt;
    case QMetaType::Short:
        return adSmallInt;
    case QMetaType::UShort:
        return adUnsignedSmallInt;
    case QMetaType::Int:
        return adInteger;
    case QMetaType::UInt:
        return adUnsignedInt;
    case QMetaType::Long:
    case QMetaType::LongLong:
        return adBigInt;
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return adUnsignedBigInt;
    case QMetaType::Float:
        return adSingle;
    case QMetaType::Double:
        // Drivers give a scale only for exact numeric columns.
        return f.precision() > 0 ? adNumeric : adDouble;
    case QMetaType::QString:
        return adVarWChar;
    case QMetaType::QByteArray:
        return f.length() > 0 ? adVarBinary : adLongVarBinary;
    case QMetaType::QDate:
        return adDBDate;
    case QMetaType::QTime:
        return adDBTime;
    case QMetaType::QDateTime:
        return adDBTimeStamp;
    case QMetaType::QUuid:
        return adGUID;
    default:
        return adVariant;
    }
}

} // namespace

LoadResult loadQueryThroughQtSql(const QSqlDatabase &db, const QString &sql, CursorType cursor)
{
    if (auto bad = checkConnection(db))
        return std::move(*bad);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        return sqlFailure(query.lastError().text(), sql);
    if (!query.isSelect())
        return sqlFailure(QStringLiteral("no rows returned"), sql);

    const QSqlRecord record = query.record();
    QHash<QString, QSqlRecord> tables;
    std::vector<Field> fields;
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        const bool tableColumn = !f.tableName().isEmpty();
        QSqlField::RequiredStatus required = f.requiredStatus();
        // Query records often leave NOT NULL unknown; the table's record knows.
        if (tableColumn && required == QSqlField::Unknown) {
            auto it = tables.find(f.tableName());
            if (it == tables.end())
                it = tables.insert(f.tableName(), db.record(f.tableName()));
            if (const int j = it->indexOf(f.name()); j >= 0)
                required = it->field(j).requiredStatus();
        }
        const int type = qtFieldType(f);
        const qint32 length = qint32(qBound(qsizetype(0), f.length(), qsizetype(unsizedBinary)));
        fields.push_back({f.name(), type, definedSizeFor(type, length),
                          attributesFor(type, tableColumn, required != QSqlField::Required)});
    }

    RecordSetBuilder builder(std::move(fields));
    const int columns = record.count();
    while (query.next()) {
        for (int i = 0; i < columns; ++i)
            builder.appendValue(i, query.value(i));
    }
    if (query.lastError().isValid())
        return sqlFailure(query.lastError().text(), sql);
    builder.setSource(db.connectionName(), sql);
    return {builder.finish(cursor), QString()};
}

LoadResult loadQuery(const QSqlDatabase &db, const QString &sql, CursorType cursor)
{
    if (auto bad = checkConnection(db))
        return std::move(*bad);
    if (sqlite3 *handle = sqliteHandle(db))
        return loadSqlite(handle, db, sql, cursor);
    return loadQueryThroughQtSql(db, sql, cursor);
}

LoadResult loadTable(const QSqlDatabase &db, const QString &table, CursorType cursor)
{
    if (auto bad = checkConnection(db))
        return std::move(*bad);
    const QStringList names = db.tables(QSql::AllTables);
    QString found;
    for (const QString &name : names) {
        if (name == table)
            found = name;
        else if (found.isEmpty() && name.compare(table, Qt::CaseInsensitive) == 0)
            found = name;
    }
    if (found.isEmpty())
        return failure(QStringLiteral("unknown table \"%1\"").arg(table));
    const QString sql =
        QStringLiteral("SELECT * FROM ") + db.driver()->escapeIdentifier(found, QSqlDriver::TableName);
    return loadQuery(db, sql, cursor);
}

} // namespace zuvexal
