#include "postgresreader.h"

#include "isotext.h"
#include "recordsetbuilder.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlField>

#include <libpq-fe.h>

#include <charconv>
#include <ctime>
#include <optional>

namespace zuvexal {

namespace {

// pg_type OIDs that QPSQL reads as other than text.
enum : Oid {
    boolOid = 16,
    byteaOid = 17,
    int8Oid = 20,
    int2Oid = 21,
    int4Oid = 23,
    regprocOid = 24,
    xidOid = 28,
    cidOid = 29,
    float4Oid = 700,
    float8Oid = 701,
    abstimeOid = 702,
    reltimeOid = 703,
    dateOid = 1082,
    timeOid = 1083,
    timestampOid = 1114,
    timestampTzOid = 1184,
    timeTzOid = 1266,
    bitOid = 1560,
    varbitOid = 1562,
    numericOid = 1700,
};

constexpr int VarHeaderSize = 4;

// The value type QPSQL (Qt 6.4) gives a column of this type.
QMetaType metaTypeOf(Oid type)
{
    switch (type) {
    case boolOid:
        return QMetaType(QMetaType::Bool);
    case int8Oid:
        return QMetaType(QMetaType::LongLong);
    case int2Oid:
    case int4Oid:
    case regprocOid:
    case xidOid:
    case cidOid:
        return QMetaType(QMetaType::Int);
    case numericOid:
    case float4Oid:
    case float8Oid:
        return QMetaType(QMetaType::Double);
    case abstimeOid:
    case reltimeOid:
    case dateOid:
        return QMetaType(QMetaType::QDate);
    case timeOid:
    case timeTzOid:
        return QMetaType(QMetaType::QTime);
    case timestampOid:
    case timestampTzOid:
        return QMetaType(QMetaType::QDateTime);
    case byteaOid:
        return QMetaType(QMetaType::QByteArray);
    default:
        return QMetaType(QMetaType::QString);
    }
}

// +HH, +HH:MM or +HH:MM:SS (or -) to seconds east of UTC.
std::optional<int> parseOffset(const char *p, qsizetype size)
{
    if ((size != 3 && size != 6 && size != 9) || (p[0] != '+' && p[0] != '-'))
        return std::nullopt;
    int seconds = 0;
    for (qsizetype at = 1; at < size; at += 3) {
        if (at > 1 && p[at - 1] != ':')
            return std::nullopt;
        const int part = parseDigits(p + at, 2);
        if (part < 0)
            return std::nullopt;
        seconds = seconds * 60 + part;
    }
    for (qsizetype at = size; at < 9; at += 3)
        seconds *= 60;
    return p[0] == '-' ? -seconds : seconds;
}

// A time stamp with its UTC offset, as PostgreSQL writes timestamptz, to
// msecs since the Julian day 0 on the local clock. localtime_r does not look
// at the zone file again (tzset, which mktime calls, does): the load calls
// tzset once.
std::optional<qint64> parseTimestampTz(const char *p, qsizetype size)
{
    qsizetype sign = 19;
    while (sign < size && p[sign] != '+' && p[sign] != '-')
        ++sign;
    const auto wall = parseTimestamp(p, sign);
    const auto offset = parseOffset(p + sign, size - sign);
    if (!wall || !offset)
        return std::nullopt;
    constexpr qint64 unixEpochDay = 2440588;
    const qint64 utc = *wall - unixEpochDay * MsecsPerDay - qint64(*offset) * 1000;
    const time_t seconds = time_t(floorDiv(utc, 1000));
    tm local{};
    if (!localtime_r(&seconds, &local))
        return std::nullopt;
    return utc + qint64(local.tm_gmtoff) * 1000 + unixEpochDay * MsecsPerDay;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// bytea's text forms: hex (\x00ff) or escape (a backslash and three octal
// digits for a byte that needs it, two backslashes for one).
bool decodeBytea(const char *p, qsizetype size, std::string &out)
{
    out.clear();
    if (size >= 2 && p[0] == '\\' && p[1] == 'x') {
        if (size % 2 != 0)
            return false;
        for (qsizetype i = 2; i < size; i += 2) {
            const int high = hexDigit(p[i]);
            const int low = hexDigit(p[i + 1]);
            if (high < 0 || low < 0)
                return false;
            out.push_back(char(high << 4 | low));
        }
        return true;
    }
    for (qsizetype i = 0; i < size; ++i) {
        if (p[i] != '\\') {
            out.push_back(p[i]);
        } else if (i + 1 < size && p[i + 1] == '\\') {
            out.push_back('\\');
            ++i;
        } else if (i + 3 < size) {
            int byte = 0;
            for (int k = 1; k <= 3; ++k) {
                const char c = p[i + k];
                if (c < '0' || c > '7')
                    return false;
                byte = byte * 8 + (c - '0');
            }
            out.push_back(char(byte));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

// Leaves the connection idle for QPSQL: what its statements still have to
// say is dropped. libpq hands a COPY's result back on every call until the
// COPY ends, so a COPY to the client is read to its end and one from it
// refused.
void dropPendingResults(PGconn *connection)
{
    while (PGresult *rest = PQgetResult(connection)) {
        const ExecStatusType status = PQresultStatus(rest);
        PQclear(rest);
        if (status != PGRES_COPY_OUT && status != PGRES_COPY_IN && status != PGRES_COPY_BOTH)
            continue;
        if (status != PGRES_COPY_OUT && PQputCopyEnd(connection, "the client reads rows only") < 0)
            return;
        if (status != PGRES_COPY_IN) {
            char *data = nullptr;
            while (PQgetCopyData(connection, &data, 0) > 0)
                PQfreemem(data);
        }
        if (PQstatus(connection) == CONNECTION_BAD)
            return;
    }
}

} // namespace

PGconn *PostgresReader::handleOf(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver() || !db.driverName().startsWith(QLatin1String("QPSQL")))
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

PostgresReader::PostgresReader(PGconn *connection)
    : m_connection(connection)
{
}

PostgresReader::~PostgresReader()
{
    PQclear(m_result);
    // What a stopped read leaves (the rest of its rows, further statements'
    // results) goes.
    dropPendingResults(m_connection);
}

void PostgresReader::fail(const char *step)
{
    QString message = QString::fromUtf8(PQerrorMessage(m_connection));
    if (const char *state = m_result ? PQresultErrorField(m_result, PG_DIAG_SQLSTATE) : nullptr)
        message += QStringLiteral("(%1)").arg(QLatin1String(state));
    m_error = message + QStringLiteral(" QPSQL: ") + QLatin1String(step);
}

bool PostgresReader::start(const QString &sql)
{
    // As QPSQL does before a statement: results nobody read are dropped.
    dropPendingResults(m_connection);
    if (!PQsendQuery(m_connection, sql.toUtf8().constData())) {
        fail("Unable to send query");
        return false;
    }
    // One row at a time: on 200,000 x 8 rows libpq takes 125 ms in 12 MiB
    // so, 130 ms with COPY (which also needs a second description of the
    // columns), and 240-350 ms in 53 MiB for the whole result at once.
    PQsetSingleRowMode(m_connection);
    m_result = PQgetResult(m_connection);
    switch (PQresultStatus(m_result)) {
    case PGRES_SINGLE_TUPLE:
    case PGRES_TUPLES_OK:
    case PGRES_COMMAND_OK:
        break;
    case PGRES_COPY_OUT:
    case PGRES_COPY_IN:
    case PGRES_COPY_BOTH:
        // The server says nothing is wrong; the rows of a COPY come as
        // lines of text, not as a result.
        m_error = QStringLiteral("COPY to or from the client gives no rows to read QPSQL: Unable to create query");
        return false;
    default:
        fail("Unable to create query");
        return false;
    }
    const int columns = PQnfields(m_result);
    for (int i = 0; i < columns; ++i) {
        const Oid type = PQftype(m_result, i);
        switch (metaTypeOf(type).id()) {
        case QMetaType::Bool:
            m_conversions.push_back(Conversion::Boolean);
            break;
        case QMetaType::Int:
            m_conversions.push_back(Conversion::Int32);
            break;
        case QMetaType::LongLong:
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
        case QMetaType::QTime:
            m_conversions.push_back(Conversion::Time);
            break;
        case QMetaType::QDateTime:
            m_conversions.push_back(type == timestampTzOid ? Conversion::TimestampTz : Conversion::Timestamp);
            break;
        default:
            m_conversions.push_back(Conversion::Text);
            break;
        }
    }
    return true;
}

bool PostgresReader::returnsRows() const
{
    const ExecStatusType status = PQresultStatus(m_result);
    return status == PGRES_SINGLE_TUPLE || status == PGRES_TUPLES_OK;
}

bool PostgresReader::connectionLost() const
{
    return PQstatus(m_connection) == CONNECTION_BAD;
}

QSqlRecord PostgresReader::record() const
{
    QSqlRecord record;
    for (int i = 0; i < PQnfields(m_result); ++i) {
        const Oid type = PQftype(m_result, i);
        QSqlField field(QString::fromUtf8(PQfname(m_result, i)), metaTypeOf(type));
        int length = PQfsize(m_result, i);
        int precision = PQfmod(m_result, i);
        switch (type) {
        case timestampOid:
        case timestampTzOid:
            precision = 3;
            break;
        case numericOid:
            if (precision != -1) {
                length = precision >> 16;
                precision = (precision - VarHeaderSize) & 0xffff;
            }
            break;
        case bitOid:
        case varbitOid:
            length = precision;
            precision = -1;
            break;
        default:
            if (length == -1 && precision >= VarHeaderSize) {
                length = precision - VarHeaderSize;
                precision = -1;
            }
        }
        field.setLength(length);
        field.setPrecision(precision);
        field.setSqlType(int(type));
        record.append(field);
    }
    return record;
}

bool PostgresReader::read(RecordSetBuilder &builder)
{
    tzset();
    while (m_result) {
        switch (PQresultStatus(m_result)) {
        case PGRES_SINGLE_TUPLE:
            appendRow(builder, 0);
            break;
        case PGRES_TUPLES_OK:
            // The end of the rows, or all of them where libpq could not stream.
            for (int row = 0; row < PQntuples(m_result); ++row)
                appendRow(builder, row);
            return true;
        case PGRES_COMMAND_OK:
            return true;
        default:
            fail("Unable to get result");
            return false;
        }
        PQclear(m_result);
        m_result = PQgetResult(m_connection);
    }
    fail("Unable to get result");
    return false;
}

void PostgresReader::appendRow(RecordSetBuilder &builder, int row)
{
    for (int i = 0; i < int(m_conversions.size()); ++i) {
        if (PQgetisnull(m_result, row, i))
            builder.appendNull(i);
        else
            appendValue(builder, i, PQgetvalue(m_result, row, i), PQgetlength(m_result, row, i));
    }
}

// The common forms straight into the column; the rest (infinity, years
// before 1 or after 9999, times with a zone) as QPSQL reads them.
void PostgresReader::appendValue(RecordSetBuilder &builder, int column, const char *text, int size)
{
    switch (m_conversions[size_t(column)]) {
    case Conversion::Boolean:
        builder.appendInt(column, text[0] == 't');
        return;
    case Conversion::Int32:
    case Conversion::Integer: {
        qint64 n = 0;
        std::from_chars(text, text + size, n);
        // QPSQL reads an int column with atoi: an xid beyond 2^31 wraps, a
        // regproc's name is 0.
        builder.appendInt(column, m_conversions[size_t(column)] == Conversion::Int32 ? qint32(n) : n);
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
        if (decodeBytea(text, size, m_bytes)) {
            builder.appendBytes(column, m_bytes.data(), qsizetype(m_bytes.size()));
        } else {
            size_t length = 0;
            unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &length);
            builder.appendBytes(column, reinterpret_cast<const char *>(bytes), qsizetype(length));
            PQfreemem(bytes);
        }
        return;
    case Conversion::Date:
        if (const auto day = parseIsoDate(text, size))
            builder.appendDate(column, *day);
        else
            builder.appendValue(column, QDate::fromString(QString::fromLatin1(text, size), Qt::ISODate));
        return;
    case Conversion::Time:
        if (const auto msecs = parseTime(text, size))
            builder.appendTime(column, *msecs);
        else
            builder.appendValue(column, QTime::fromString(QString::fromLatin1(text, size), Qt::ISODate));
        return;
    case Conversion::Timestamp:
        if (const auto msecs = parseTimestamp(text, size))
            builder.appendDateTime(column, *msecs);
        else
            builder.appendValue(column, QDateTime::fromString(QString::fromLatin1(text, size), Qt::ISODate));
        return;
    case Conversion::TimestampTz:
        if (const auto msecs = parseTimestampTz(text, size)) {
            builder.appendDateTime(column, *msecs);
        } else {
            builder.appendValue(column,
                                QDateTime::fromString(QString::fromLatin1(text, size), Qt::ISODate).toLocalTime());
        }
        return;
    }
}

} // namespace zuvexal
