#include "postgresreader.h"

#include "recordsetbuilder.h"

#include <QSqlField>

#include <libpq-fe.h>

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
    return driverHandle<PGconn>(db, SqlDriverKind::Postgres, "pg_conn*");
}

PostgresReader::PostgresReader(PGconn *connection)
    : NativeReader("QPSQL"),
      m_connection(connection)
{
}

PostgresReader::~PostgresReader()
{
    PQclear(m_result);
    // What a stopped read leaves (the rest of its rows, further statements'
    // results) goes.
    dropPendingResults(m_connection);
}

QString PostgresReader::messages() const
{
    QString message = QString::fromUtf8(PQerrorMessage(m_connection));
    if (const char *state = m_result ? PQresultErrorField(m_result, PG_DIAG_SQLSTATE) : nullptr)
        message += QStringLiteral("(%1)").arg(QLatin1String(state));
    return message;
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
        fail(QStringLiteral("COPY to or from the client gives no rows to read"), "Unable to create query");
        return false;
    default:
        fail("Unable to create query");
        return false;
    }
    std::vector<TextCell> cells;
    for (int i = 0; i < PQnfields(m_result); ++i) {
        const Oid type = PQftype(m_result, i);
        cells.push_back(type == timestampTzOid ? TextCell::TimestampTz : textCellFor(metaTypeOf(type)));
    }
    m_cells = TextCells(std::move(cells));
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

std::optional<NativeReader::Fetched> PostgresReader::fetch()
{
    if (m_resultRead) {
        PQclear(m_result);
        m_result = PQgetResult(m_connection);
    }
    m_resultRead = true;
    // No result at all (PGRES_FATAL_ERROR) is a failure too: the rows end
    // with TUPLES_OK.
    switch (PQresultStatus(m_result)) {
    case PGRES_SINGLE_TUPLE:
        return Fetched{1, true};
    case PGRES_TUPLES_OK:
        // The end of the rows, or all of them where libpq could not stream.
        return Fetched{PQntuples(m_result), false};
    case PGRES_COMMAND_OK:
        return Fetched{0, false};
    default:
        fail("Unable to get result");
        return std::nullopt;
    }
}

bool PostgresReader::appendRow(RecordSetBuilder &builder, qsizetype row)
{
    for (int i = 0; i < m_cells.count(); ++i) {
        const char *text = PQgetvalue(m_result, int(row), i);
        const int size = PQgetlength(m_result, int(row), i);
        if (PQgetisnull(m_result, int(row), i))
            builder.appendNull(i);
        else if (m_cells.at(i) == TextCell::Bytes)
            appendBytea(builder, i, text, size);
        else
            m_cells.append(builder, i, text, size);
    }
    return true;
}

void PostgresReader::appendBytea(RecordSetBuilder &builder, int column, const char *text, int size)
{
    if (decodeBytea(text, size, m_bytes)) {
        builder.appendBytes(column, m_bytes.data(), qsizetype(m_bytes.size()));
        return;
    }
    size_t length = 0;
    unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &length);
    builder.appendBytes(column, reinterpret_cast<const char *>(bytes), qsizetype(length));
    PQfreemem(bytes);
}

} // namespace zuvexal
