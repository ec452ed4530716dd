#include "sqladapter.h"

#include "columntypes.h"
#include "connectioninfo.h"
#include "nativereader_p.h"
#include "recordsetbuilder.h"
#ifdef ZUVEXAL_READER_MARIADB
#include "mariadbreader.h"
#endif
#ifdef ZUVEXAL_READER_ODBC
#include "odbcreader.h"
#endif
#ifdef ZUVEXAL_READER_POSTGRES
#include "postgresreader.h"
#endif

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

constexpr qint32 UnsizedText = 536870910;
constexpr qint32 UnsizedBinary = 2147483647;

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
        return declared > 0 ? declared : UnsizedText;
    case adLongVarWChar:
    case adLongVarChar:
        return UnsizedText;
    case adVarBinary:
    case adBinary:
        return declared > 0 ? declared : UnsizedBinary;
    case adLongVarBinary:
        return UnsizedBinary;
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

// What one load reads, from where, and the set it makes.
struct Load
{
    const QSqlDatabase &db;
    const QString &sql;
    const QString &table; // when the rows are a whole table's
    CursorType cursor;
};

// The builder's rows as an open set that requery() loads again.
LoadResult finished(RecordSetBuilder &builder, const Load &load)
{
    builder.setSource(load.db.connectionName(), load.sql, load.table);
    return {builder.finish(load.cursor), QString()};
}

Field fieldFor(const QString &name, const ColumnType &column, bool tableColumn, bool nullable)
{
    Field field{name, column.type, definedSizeFor(column.type, column.declaredSize),
                attributesFor(column.type, tableColumn, nullable)};
    if (column.type == adNumeric || column.type == adDecimal) {
        field.precision = column.precision;
        field.numericScale = column.scale;
    }
    return field;
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
    return handleIn<sqlite3>(db.driver()->handle(), "sqlite3*");
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
        fields.push_back(fieldFor(name, sqliteColumnType(declared), true, !notNull));
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

LoadResult loadSqlite(sqlite3 *handle, const Load &load)
{
    const QByteArray utf8 = load.sql.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const int prepared = sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> stmt(raw, sqlite3_finalize);
    if (prepared != SQLITE_OK)
        return sqlFailure(QString::fromUtf8(sqlite3_errmsg(handle)), load.sql);
    const int columns = stmt ? sqlite3_column_count(stmt.get()) : 0;
    if (columns == 0)
        return sqlFailure(QStringLiteral("no rows returned"), load.sql);

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
        return sqlFailure(QString::fromUtf8(sqlite3_errmsg(handle)), load.sql);
    return finished(builder, load);
}

// MySQL gives text lengths in bytes of the character set it sends results
// in; its widest character says how many bytes a character takes.
int mysqlBytesPerChar(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT MAXLEN FROM information_schema.CHARACTER_SETS"
                                  " WHERE CHARACTER_SET_NAME = @@character_set_results"))
        && query.next())
        return qMax(1, query.value(0).toInt());
    return 1;
}

// psqlodbc describes booleans as VARCHAR and hands them over as text unless
// its BoolsAsChar setting is off; PostgreSQL's catalog knows which of a
// table's columns are boolean.
QStringList postgresBooleanColumns(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = to_regclass(quote_ident(?))"
                                 " AND atttypid = 'boolean'::regtype AND attnum > 0 AND NOT attisdropped"));
    query.addBindValue(table);
    QStringList names;
    if (query.exec()) {
        while (query.next())
            names << query.value(0).toString();
    }
    return names;
}

// How messages name the server: its URL without password.
QString serverName(const QSqlDatabase &db)
{
    ConnectionInfo info;
    info.driver = db.driverName();
    info.databaseName = db.databaseName();
    info.host = db.hostName();
    info.port = db.port();
    info.user = db.userName();
    return info.displayName();
}

// A failure of the server rather than the query (it stopped, the
// connection was cut), often while rows arrive: the load fails as a whole,
// naming the server.
LoadResult streamFailure(const QSqlDatabase &db, const QString &message, const QString &sql)
{
    return failure(QStringLiteral("%1: %2 in \"%3\"").arg(serverName(db), message, sql));
}

// What a server's columns need besides the query's record. It is asked
// before the query runs: QPSQL and QMYSQL stream the rows of a forward-only
// query, and another statement would end the stream.
class ServerColumns
{
public:
    // table, when the rows are a whole table's, makes each column a column
    // of that table.
    ServerColumns(const QSqlDatabase &db, const QString &table)
        : m_db(db),
          m_driver(sqlDriverKind(db.driverName())),
          m_table(table),
          m_bytesPerChar(m_driver == SqlDriverKind::MySql ? mysqlBytesPerChar(db) : 1),
          // psqlodbc holds a whole result, so its catalog can be asked meanwhile.
          m_booleansAsText(m_driver == SqlDriverKind::Odbc && db.driver()->dbmsType() == QSqlDriver::PostgreSQL)
    {
        if (!table.isEmpty())
            m_tables.insert(table, db.record(table));
    }

    std::vector<Field> fields(const QSqlRecord &record)
    {
        std::vector<Field> fields;
        for (int i = 0; i < record.count(); ++i)
            fields.push_back(field(record.field(i)));
        return fields;
    }

private:
    Field field(const QSqlField &f)
    {
        const QString origin = f.tableName().isEmpty() ? m_table : f.tableName();
        ColumnType column = serverColumnType(m_driver, f, m_bytesPerChar);
        if (m_booleansAsText && !origin.isEmpty() && column.type == adVarWChar) {
            auto it = m_booleans.find(origin);
            if (it == m_booleans.end())
                it = m_booleans.insert(origin, postgresBooleanColumns(m_db, origin));
            if (it->contains(f.name()))
                column = {adBoolean};
        }
        bool nullable = true;
        if (!origin.isEmpty()) {
            QSqlField::RequiredStatus required = f.requiredStatus();
            // Query records often leave NOT NULL unknown; the table's record knows.
            if (required == QSqlField::Unknown) {
                auto it = m_tables.find(origin);
                if (it == m_tables.end())
                    it = m_tables.insert(origin, m_db.record(origin));
                if (const int j = it->indexOf(f.name()); j >= 0)
                    required = it->field(j).requiredStatus();
            }
            nullable = required != QSqlField::Required;
        }
        return fieldFor(f.name(), column, !origin.isEmpty(), nullable);
    }

    const QSqlDatabase &m_db;
    SqlDriverKind m_driver;
    QString m_table;
    int m_bytesPerChar;
    bool m_booleansAsText;
    QHash<QString, QSqlRecord> m_tables;
    QHash<QString, QStringList> m_booleans;
};

// How every native reader's rows reach a record set. Its statement has
// run; a failure while the rows arrive is the server's.
LoadResult loadThrough(NativeReader &reader, ServerColumns &columns, const Load &load)
{
    RecordSetBuilder builder(columns.fields(reader.record()));
    if (!reader.read(builder))
        return streamFailure(load.db, reader.error(), load.sql);
    return finished(builder, load);
}

#if defined(ZUVEXAL_READER_POSTGRES) || defined(ZUVEXAL_READER_MARIADB)
// Reader (PostgresReader, MariaDbReader) sends the statement itself.
template <typename Reader>
LoadResult loadClient(Reader &reader, ServerColumns &columns, const Load &load)
{
    if (!reader.start(load.sql)) {
        return reader.connectionLost() ? streamFailure(load.db, reader.error(), load.sql)
                                       : sqlFailure(reader.error(), load.sql);
    }
    if (!reader.returnsRows())
        return sqlFailure(QStringLiteral("no rows returned"), load.sql);
    return loadThrough(reader, columns, load);
}
#endif

// The rows of an executed query as QtSql reads them, one at a time.
LoadResult loadQtSqlRows(QSqlQuery &query, ServerColumns &columns, const Load &load)
{
    const QSqlRecord record = query.record();
    RecordSetBuilder builder(columns.fields(record));
    const int count = record.count();
    std::vector<char> fromText;
    for (int i = 0; i < count; ++i)
        fromText.push_back(mayArriveAsText(builder.field(i).type));
    while (query.next()) {
        for (int i = 0; i < count; ++i) {
            const QVariant value = query.value(i);
            if (fromText[size_t(i)] && value.metaType().id() == QMetaType::QString && !value.isNull())
                builder.appendValue(i, valueFromText(builder.field(i).type, value.toString()));
            else
                builder.appendValue(i, value);
        }
    }
    if (query.lastError().isValid())
        return streamFailure(load.db, query.lastError().text(), load.sql);
    return finished(builder, load);
}

// native: SQLite's, PostgreSQL's and MariaDB's rows through their client
// libraries, QODBC's in blocks where the driver allows; else every row
// through QSqlQuery.
LoadResult load(const Load &load, bool native)
{
    if (auto bad = checkConnection(load.db))
        return std::move(*bad);
    if (sqlite3 *handle = native ? sqliteHandle(load.db) : nullptr)
        return loadSqlite(handle, load);
    // Asked before the statement runs: see ServerColumns.
    ServerColumns columns(load.db, load.table);
#ifdef ZUVEXAL_READER_POSTGRES
    if (PGconn *handle = native ? PostgresReader::handleOf(load.db) : nullptr) {
        PostgresReader reader(handle);
        return loadClient(reader, columns, load);
    }
#endif
#ifdef ZUVEXAL_READER_MARIADB
    if (MYSQL *handle = native ? MariaDbReader::handleOf(load.db) : nullptr) {
        MariaDbReader reader(handle);
        return loadClient(reader, columns, load);
    }
#endif
    QSqlQuery query(load.db);
    query.setForwardOnly(true);
    if (!query.exec(load.sql))
        return sqlFailure(query.lastError().text(), load.sql);
    if (!query.isSelect())
        return sqlFailure(QStringLiteral("no rows returned"), load.sql);
#ifdef ZUVEXAL_READER_ODBC
    const bool odbc = native && sqlDriverKind(load.db.driverName()) == SqlDriverKind::Odbc;
    if (std::unique_ptr<OdbcReader> reader = odbc ? OdbcReader::open(query) : nullptr)
        return loadThrough(*reader, columns, load);
#endif
    return loadQtSqlRows(query, columns, load);
}

LoadedRecordSet shared(LoadResult loaded)
{
    if (!loaded.records)
        return {nullptr, loaded.error};
    return {std::make_shared<RecordSet>(std::move(*loaded.records)), QString()};
}

} // namespace

LoadResult loadQueryThroughQtSql(const QSqlDatabase &db, const QString &sql, CursorType cursor)
{
    return load({db, sql, QString(), cursor}, false);
}

LoadResult loadQuery(const QSqlDatabase &db, const QString &sql, CursorType cursor)
{
    return load({db, sql, QString(), cursor}, true);
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
    return load({db, sql, found, cursor}, true);
}

LoadedRecordSet openQuery(const QSqlDatabase &db, const QString &sql, CursorType cursor)
{
    return shared(loadQuery(db, sql, cursor));
}

LoadedRecordSet openTable(const QSqlDatabase &db, const QString &table, CursorType cursor)
{
    return shared(loadTable(db, table, cursor));
}

} // namespace zuvexal
