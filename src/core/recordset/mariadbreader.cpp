#include "mariadbreader.h"

#include "columntypes.h"
#include "isotext.h"
#include "recordsetbuilder.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlField>

#include <errmsg.h>
#include <mysql.h>

#include <charconv>

namespace zuvexal {

namespace {

// The value type QMYSQL (Qt 6.4) gives a column of this type.
QMetaType metaTypeOf(const MYSQL_FIELD &field)
{
    const bool isUnsigned = field.flags & UNSIGNED_FLAG;
    switch (field.type) {
    case MYSQL_TYPE_TINY:
        return QMetaType(isUnsigned ? QMetaType::UChar : QMetaType::Char);
    case MYSQL_TYPE_SHORT:
        return QMetaType(isUnsigned ? QMetaType::UShort : QMetaType::Short);
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
        return QMetaType(isUnsigned ? QMetaType::UInt : QMetaType::Int);
    case MYSQL_TYPE_YEAR:
        return QMetaType(QMetaType::Int);
    case MYSQL_TYPE_LONGLONG:
        return QMetaType(isUnsigned ? QMetaType::ULongLong : QMetaType::LongLong);
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return QMetaType(QMetaType::Double);
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return QMetaType(QMetaType::QDate);
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return QMetaType(QMetaType::QDateTime);
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_BLOB:
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_GEOMETRY:
        return QMetaType(field.flags & BINARY_FLAG ? QMetaType::QByteArray : QMetaType::QString);
    default:
        // TIME too: it spans -838:59:59 to 838:59:59, more than a QTime.
        return QMetaType(QMetaType::QString);
    }
}

} // namespace

MYSQL *MariaDbReader::handleOf(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver() || sqlDriverKind(db.driverName()) != SqlDriverKind::MySql)
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "st_mysql*") != 0)
        return nullptr;
    return *static_cast<MYSQL *const *>(handle.constData());
}

MariaDbReader::MariaDbReader(MYSQL *connection)
    : m_connection(connection)
{
}

MariaDbReader::~MariaDbReader()
{
    // The connection goes back to QMYSQL idle: the rest of a stopped read
    // and further statements' results are dropped.
    if (m_result)
        mysql_free_result(m_result);
    while (mysql_more_results(m_connection) && mysql_next_result(m_connection) == 0) {
        if (MYSQL_RES *rest = mysql_use_result(m_connection))
            mysql_free_result(rest);
    }
}

void MariaDbReader::fail(const char *step)
{
    m_error = QString::fromUtf8(mysql_error(m_connection)) + QStringLiteral(" QMYSQL: ") + QLatin1String(step);
}

bool MariaDbReader::connectionLost() const
{
    const unsigned error = mysql_errno(m_connection);
    return error == CR_SERVER_GONE_ERROR || error == CR_SERVER_LOST || error == CR_CONNECTION_ERROR
        || error == CR_CONN_HOST_ERROR;
}

bool MariaDbReader::start(const QString &sql)
{
    const QByteArray utf8 = sql.toUtf8();
    if (mysql_real_query(m_connection, utf8.constData(), utf8.size()) != 0) {
        fail("Unable to execute query");
        return false;
    }
    m_result = mysql_use_result(m_connection);
    // A connection cut between the query and its first row leaves neither a
    // result nor a column count: that is the cut, not a statement without rows.
    if (!m_result && (mysql_field_count(m_connection) != 0 || mysql_errno(m_connection) != 0)) {
        fail("Unable to store result");
        return false;
    }
    if (!m_result)
        return true;
    const unsigned columns = mysql_num_fields(m_result);
    const MYSQL_FIELD *fields = mysql_fetch_fields(m_result);
    for (unsigned i = 0; i < columns; ++i) {
        switch (metaTypeOf(fields[i]).id()) {
        case QMetaType::Char:
        case QMetaType::UChar:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            m_conversions.push_back(Conversion::Integer);
            break;
        case QMetaType::Double:
            m_conversions.push_back(Conversion::Real);
            break;
        case QMetaType::QByteArray:
            m_conversions.push_back(Conversion::Bytes);
            break;
        case QMetaType::QDate:
            m_conversions.push_back(Conversion::Date);
            break;
        case QMetaType::QDateTime:
            m_conversions.push_back(Conversion::DateTime);
            break;
        default:
            m_conversions.push_back(Conversion::Text);
            break;
        }
    }
    return true;
}

QSqlRecord MariaDbReader::record() const
{
    QSqlRecord record;
    const MYSQL_FIELD *fields = mysql_fetch_fields(m_result);
    for (unsigned i = 0; i < mysql_num_fields(m_result); ++i) {
        const MYSQL_FIELD &f = fields[i];
        QSqlField field(QString::fromUtf8(f.name), metaTypeOf(f), QString::fromUtf8(f.table));
        field.setRequired(f.flags & NOT_NULL_FLAG);
        field.setLength(qsizetype(f.length));
        field.setPrecision(qsizetype(f.decimals));
        field.setSqlType(int(f.type));
        record.append(field);
    }
    return record;
}

bool MariaDbReader::read(RecordSetBuilder &builder)
{
    const int columns = int(m_conversions.size());
    while (MYSQL_ROW row = mysql_fetch_row(m_result)) {
        const unsigned long *lengths = mysql_fetch_lengths(m_result);
        for (int i = 0; i < columns; ++i) {
            if (row[i])
                appendValue(builder, i, row[i], qsizetype(lengths[i]));
            else
                builder.appendNull(i);
        }
    }
    if (mysql_errno(m_connection) != 0) {
        fail("Unable to fetch data");
        return false;
    }
    return true;
}

// The common forms straight into the column; the rest (zero dates, years
// past 9999) as QMYSQL reads them.
void MariaDbReader::appendValue(RecordSetBuilder &builder, int column, const char *text, qsizetype size)
{
    switch (m_conversions[size_t(column)]) {
    case Conversion::Integer: {
        qint64 n = 0;
        if (std::from_chars(text, text + size, n).ec == std::errc())
            builder.appendInt(column, n);
        else
            builder.appendValue(column, QString::fromLatin1(text, size).toULongLong());
        return;
    }
    case Conversion::Real: {
        double d = 0;
        const auto [end, error] = std::from_chars(text, text + size, d);
        if (error != std::errc() || end != text + size)
            builder.appendNull(column);
        else
            builder.appendReal(column, d);
        return;
    }
    case Conversion::Text:
        builder.appendText(column, text, size);
        return;
    case Conversion::Bytes:
        builder.appendBytes(column, text, size);
        return;
    case Conversion::Date:
        if (const auto day = parseIsoDate(text, size))
            builder.appendDate(column, *day);
        else
            builder.appendValue(column, QDate::fromString(QString::fromLatin1(text, size), Qt::ISODate));
        return;
    case Conversion::DateTime:
        if (const auto msecs = parseTimestamp(text, size)) {
            builder.appendDateTime(column, *msecs);
        } else {
            builder.appendValue(column, QDateTime::fromString(QString::fromLatin1(text, size), Qt::ISODate));
        }
        return;
    }
}

} // namespace zuvexal
