#include "mariadbreader.h"

#include "recordsetbuilder.h"

#include <QSqlField>

#include <errmsg.h>
#include <mysql.h>

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
    return driverHandle<MYSQL>(db, SqlDriverKind::MySql, "st_mysql*");
}

MariaDbReader::MariaDbReader(MYSQL *connection)
    : NativeReader("QMYSQL"),
      m_connection(connection)
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

QString MariaDbReader::messages() const
{
    return QString::fromUtf8(mysql_error(m_connection));
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
    std::vector<TextCell> cells;
    const MYSQL_FIELD *fields = mysql_fetch_fields(m_result);
    for (unsigned i = 0; i < mysql_num_fields(m_result); ++i)
        cells.push_back(textCellFor(metaTypeOf(fields[i])));
    m_cells = TextCells(std::move(cells));
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

std::optional<NativeReader::Fetched> MariaDbReader::fetch()
{
    m_row = mysql_fetch_row(m_result);
    if (m_row) {
        m_lengths = mysql_fetch_lengths(m_result);
        return Fetched{1, true};
    }
    if (mysql_errno(m_connection) != 0) {
        fail("Unable to fetch data");
        return std::nullopt;
    }
    return Fetched{0, false};
}

bool MariaDbReader::appendRow(RecordSetBuilder &builder, qsizetype)
{
    for (int i = 0; i < m_cells.count(); ++i) {
        if (m_row[i])
            m_cells.append(builder, i, m_row[i], qsizetype(m_lengths[i]));
        else
            builder.appendNull(i);
    }
    return true;
}

} // namespace zuvexal
