#include "odbcreader.h"

#include "recordsetbuilder.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace zuvexal {

namespace {

// One block's buffers stay near this size, whatever the row's width.
constexpr qsizetype BlockBytes = 4 << 20;
constexpr qsizetype MaxBlockRows = 1024;
// A text or byte column's buffer per row; longer values are read again whole.
constexpr qsizetype MaxBoundBytes = 16384;
constexpr SQLLEN WholeChunk = 65536;

// The connection's or the statement's handle QODBC hands out.
SQLHANDLE odbcHandle(const QVariant &handle)
{
    return handleIn<void>(handle, QMetaType::fromType<SQLHANDLE>().name());
}

// A text or byte column's buffer: its declared size in the most units a
// character may take, and the terminator; or QODBC's first read when the
// size is unknown. A column declared longer than MaxBoundBytes is not bound
// (0) but read value by value: some drivers fail the whole block when a
// bound buffer cuts a character in two, and MariaDB's cuts a character
// beyond 16 bits that does not fit without a word.
SQLLEN boundWidth(qsizetype length, qsizetype unitsPerChar, qsizetype unit)
{
    if (length <= 0)
        return SQLLEN(256 * unit);
    if ((length + 1) * unit > MaxBoundBytes)
        return SQLLEN(0);
    return SQLLEN((length * unitsPerChar + 1) * unit);
}

// What the driver must allow for a long value in a block to be read whole:
// positioning in the block, then SQLGetData on any column, bound or not.
bool readsWholeValuesInBlocks(SQLHDBC connection)
{
    constexpr SQLUINTEGER needed = SQL_GD_BLOCK | SQL_GD_BOUND | SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER;
    SQLUINTEGER extensions = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection, SQL_GETDATA_EXTENSIONS, &extensions, sizeof extensions, nullptr)))
        return false;
    if ((extensions & needed) != needed)
        return false;
    SQLUSMALLINT setPos = SQL_FALSE;
    return SQL_SUCCEEDED(SQLGetFunctions(connection, SQL_API_SQLSETPOS, &setPos)) && setPos == SQL_TRUE;
}

// Whether the driver hands text over as UTF-16, which the reader binds it
// as. QODBC asks the same and reads a driver's text in 8 bits without it.
bool convertsTextToWide(SQLHDBC connection)
{
    const std::pair<SQLUSMALLINT, SQLUINTEGER> conversions[] = {
        {SQL_CONVERT_CHAR, SQL_CVT_WCHAR},
        {SQL_CONVERT_VARCHAR, SQL_CVT_WVARCHAR},
        {SQL_CONVERT_LONGVARCHAR, SQL_CVT_WLONGVARCHAR},
    };
    return std::any_of(std::begin(conversions), std::end(conversions), [connection](const auto &conversion) {
        SQLUINTEGER to = 0;
        return SQL_SUCCEEDED(SQLGetInfo(connection, conversion.first, &to, sizeof to, nullptr))
            && (to & conversion.second) != 0;
    });
}

// The driver's messages on the statement, as QODBC joins them.
QString diagnostics(SQLHSTMT statement)
{
    QStringList messages;
    SQLWCHAR state[SQL_SQLSTATE_SIZE + 1];
    SQLWCHAR text[SQL_MAX_MESSAGE_LENGTH + 1];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1;; ++i) {
        const SQLRETURN r = SQLGetDiagRecW(SQL_HANDLE_STMT, statement, i, state, &native, text,
                                           SQL_MAX_MESSAGE_LENGTH + 1, &length);
        if (!SQL_SUCCEEDED(r))
            break;
        length = std::min<SQLSMALLINT>(length, SQL_MAX_MESSAGE_LENGTH);
        messages << QString::fromUtf16(reinterpret_cast<const char16_t *>(text), length);
    }
    return messages.join(QLatin1Char(' '));
}

// The C type QODBC reads a column of the record's value type as.
enum class Conversion { Int, UInt, BigInt, UBigInt, Real, Date, Timestamp, Wide, Narrow, Bytes };

// A number, date or time stamp as QODBC makes a value of it.
void appendFixed(RecordSetBuilder &builder, int index, Conversion conversion, const char *value)
{
    switch (conversion) {
    case Conversion::Int:
        builder.appendValue(index, QVariant(int(*reinterpret_cast<const SQLINTEGER *>(value))));
        return;
    case Conversion::UInt:
        builder.appendValue(index, QVariant(uint(*reinterpret_cast<const SQLBIGINT *>(value))));
        return;
    case Conversion::BigInt:
        builder.appendInt(index, *reinterpret_cast<const SQLBIGINT *>(value));
        return;
    case Conversion::UBigInt:
        builder.appendValue(index, QVariant(quint64(*reinterpret_cast<const SQLUBIGINT *>(value))));
        return;
    case Conversion::Real:
        builder.appendReal(index, *reinterpret_cast<const SQLDOUBLE *>(value));
        return;
    case Conversion::Date: {
        const auto &d = *reinterpret_cast<const DATE_STRUCT *>(value);
        const QDate date(d.year, d.month, d.day);
        if (date.isValid())
            builder.appendDate(index, date.toJulianDay());
        else
            builder.appendValue(index, QVariant(date));
        return;
    }
    default: {
        const auto &s = *reinterpret_cast<const TIMESTAMP_STRUCT *>(value);
        const QDate date(s.year, s.month, s.day);
        const QTime time(s.hour, s.minute, s.second, int(s.fraction / 1000000));
        // The wall clock as stored; QODBC's QDateTime would first look the
        // time up in the local zone.
        if (date.isValid() && time.isValid())
            builder.appendDateTime(index, date.toJulianDay() * 86400000 + time.msecsSinceStartOfDay());
        else
            builder.appendValue(index, QVariant(QDateTime(date, time)));
        return;
    }
    }
}

} // namespace

struct OdbcReader::Column
{
    Conversion conversion;
    SQLSMALLINT cType;
    SQLLEN width; // bytes of one row's buffer; 0 when the column is not bound
    // The bytes a whole value leaves free at its buffer's end.
    SQLLEN terminator = 0;
    bool fromText = false;
    std::vector<char> data;
    std::vector<SQLLEN> lengths;

    const char *at(qsizetype row) const { return data.data() + row * width; }
    bool isLong() const
    {
        return conversion == Conversion::Wide || conversion == Conversion::Narrow || conversion == Conversion::Bytes;
    }
};

struct OdbcReader::Block
{
    std::vector<SQLUSMALLINT> status;
    SQLULEN fetched = 0;
};

std::unique_ptr<OdbcReader> OdbcReader::open(const QSqlQuery &query)
{
    if (!query.isActive() || !query.isSelect() || !query.isForwardOnly() || !query.driver()
        || query.numericalPrecisionPolicy() != QSql::LowPrecisionDouble)
        return nullptr;
    const auto connection = static_cast<SQLHDBC>(odbcHandle(query.driver()->handle()));
    const auto statement = static_cast<SQLHSTMT>(odbcHandle(query.result()->handle()));
    if (!connection || !statement || !readsWholeValuesInBlocks(connection) || !convertsTextToWide(connection))
        return nullptr;
    std::unique_ptr<OdbcReader> reader(new OdbcReader(statement, query.record()));
    if (!reader->bind())
        return nullptr;
    return reader;
}

OdbcReader::OdbcReader(void *statement, const QSqlRecord &record)
    : NativeReader("QODBC"),
      m_statement(statement),
      m_record(record)
{
}

OdbcReader::~OdbcReader()
{
    unbind();
}

// Back to QODBC's one row at a time with nothing bound, which is how its
// own fetches read the statement.
void OdbcReader::unbind()
{
    SQLFreeStmt(m_statement, SQL_UNBIND);
    SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
    SQLSetStmtAttr(m_statement, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
    SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(1)), 0);
}

std::optional<OdbcReader::Column> OdbcReader::columnFor(const QSqlField &field)
{
    const auto as = [](Conversion conversion, SQLSMALLINT cType, qsizetype width, qsizetype terminator = 0) {
        Column c{};
        c.conversion = conversion;
        c.cType = cType;
        c.width = SQLLEN(width);
        c.terminator = SQLLEN(terminator);
        return c;
    };
    switch (field.metaType().id()) {
    case QMetaType::LongLong:
        return as(Conversion::BigInt, SQL_C_SBIGINT, sizeof(SQLBIGINT));
    case QMetaType::ULongLong:
        return as(Conversion::UBigInt, SQL_C_UBIGINT, sizeof(SQLUBIGINT));
    case QMetaType::Int:
    case QMetaType::Short:
        return as(Conversion::Int, SQL_C_SLONG, sizeof(SQLINTEGER));
    case QMetaType::UInt:
    case QMetaType::UShort:
        // QODBC types MariaDB's signed TINYINT so too. Bound unsigned, one
        // negative value fails the driver's block; read signed, it is
        // wrapped as QODBC's unsigned read wraps it.
        return as(Conversion::UInt, SQL_C_SBIGINT, sizeof(SQLBIGINT));
    case QMetaType::Double:
        return as(Conversion::Real, SQL_C_DOUBLE, sizeof(SQLDOUBLE));
    case QMetaType::QDate:
        return as(Conversion::Date, SQL_C_DATE, sizeof(DATE_STRUCT));
    case QMetaType::QTime:
        // A time of day the C structure cannot hold (MariaDB's TIME
        // reaches 838 hours) fails the whole block in the driver, where
        // QODBC, reading value by value, gets a NULL for that value.
        return std::nullopt;
    case QMetaType::QDateTime:
        return as(Conversion::Timestamp, SQL_C_TIMESTAMP, sizeof(TIMESTAMP_STRUCT));
    case QMetaType::QByteArray:
        return as(Conversion::Bytes, SQL_C_BINARY, boundWidth(field.length(), 1, 1));
    case QMetaType::QString:
        return as(Conversion::Wide, SQL_C_WCHAR, boundWidth(field.length(), 2, sizeof(SQLWCHAR)),
                  sizeof(SQLWCHAR));
    default:
        // REAL and types QODBC does not know: their text.
        return as(Conversion::Narrow, SQL_C_CHAR, boundWidth(field.length(), 4, 1), 1);
    }
}

bool OdbcReader::bind()
{
    qsizetype rowBytes = 0;
    for (int i = 0; i < m_record.count(); ++i) {
        std::optional<Column> column = columnFor(m_record.field(i));
        if (!column)
            return false;
        rowBytes += column->width + qsizetype(sizeof(SQLLEN));
        m_columns.push_back(std::move(*column));
    }
    // A column read value by value makes blocks of one row: drivers read
    // unbound columns of a row positioned in a larger block unreliably
    // (MariaDB's gives empty values).
    const bool unbound = std::any_of(m_columns.begin(), m_columns.end(), [](const Column &c) { return c.width == 0; });
    const qsizetype rows =
        unbound ? 1 : std::clamp(BlockBytes / std::max<qsizetype>(rowBytes, 1), qsizetype(1), MaxBlockRows);
    if (bindBlock(rows))
        return true;
    unbind();
    return false;
}

// Every bound column to an array of rows, the status of each row beside.
bool OdbcReader::bindBlock(qsizetype rows)
{
    m_block = std::make_unique<Block>();
    m_block->status.resize(size_t(rows));
    bool ok = SQL_SUCCEEDED(SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_BIND_TYPE,
                                           reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_BIND_BY_COLUMN)), 0))
        && SQL_SUCCEEDED(SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_ARRAY_SIZE,
                                        reinterpret_cast<SQLPOINTER>(SQLULEN(rows)), 0))
        && SQL_SUCCEEDED(SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_STATUS_PTR, m_block->status.data(), 0))
        && SQL_SUCCEEDED(SQLSetStmtAttr(m_statement, SQL_ATTR_ROWS_FETCHED_PTR, &m_block->fetched, 0));
    for (size_t i = 0; ok && i < m_columns.size(); ++i) {
        Column &c = m_columns[i];
        if (c.width == 0)
            continue;
        c.data.resize(size_t(rows * c.width));
        c.lengths.resize(size_t(rows));
        ok = SQL_SUCCEEDED(SQLBindCol(m_statement, SQLUSMALLINT(i + 1), c.cType, c.data.data(), c.width,
                                      c.lengths.data()));
    }
    return ok;
}

void OdbcReader::begin(const RecordSetBuilder &builder)
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        m_columns[i].fromText = mayArriveAsText(builder.field(int(i)).type);
}

std::optional<NativeReader::Fetched> OdbcReader::fetch()
{
    const SQLRETURN r = SQLFetchScroll(m_statement, SQL_FETCH_NEXT, 0);
    if (r == SQL_NO_DATA)
        return Fetched{0, false};
    if (!SQL_SUCCEEDED(r)) {
        fail("Unable to fetch next");
        return std::nullopt;
    }
    return Fetched{qsizetype(m_block->fetched), true};
}

bool OdbcReader::appendRow(RecordSetBuilder &builder, qsizetype row)
{
    const SQLUSMALLINT status = m_block->status[size_t(row)];
    if (status == SQL_ROW_ERROR) {
        fail("Unable to fetch next");
        return false;
    }
    if (status == SQL_ROW_NOROW)
        return true;
    for (int i = 0; i < int(m_columns.size()); ++i) {
        if (!appendValue(builder, i, row))
            return false;
    }
    return true;
}

QString OdbcReader::messages() const
{
    return diagnostics(m_statement);
}

bool OdbcReader::appendValue(RecordSetBuilder &builder, int index, qsizetype row)
{
    const Column &c = m_columns[size_t(index)];
    if (c.width == 0)
        return appendWhole(builder, index, row);
    const SQLLEN length = c.lengths[size_t(row)];
    if (length == SQL_NULL_DATA) {
        builder.appendNull(index);
        return true;
    }
    if (!c.isLong()) {
        appendFixed(builder, index, c.conversion, c.at(row));
        return true;
    }
    if (length != SQL_NO_TOTAL && length <= c.width - c.terminator) {
        appendLong(builder, index, c.at(row), length);
        return true;
    }
    // Longer than the column's declared size, as psqlodbc's text may be.
    return appendWhole(builder, index, row);
}
bool OdbcReader::appendWhole(RecordSetBuilder &builder, int index, qsizetype row)
{
    switch (readWhole(index, row)) {
    case Whole::Value:
        appendLong(builder, index, m_whole.data(), qsizetype(m_whole.size()));
        return true;
    case Whole::Null:
        builder.appendNull(index);
        return true;
    case Whole::Failed:
        break;
    }
    return false;
}

// Text or bytes, as QODBC makes a QString or QByteArray of them.
void OdbcReader::appendLong(RecordSetBuilder &builder, int index, const char *value, qsizetype size)
{
    const Column &c = m_columns[size_t(index)];
    if (c.conversion == Conversion::Bytes) {
        builder.appendBytes(index, value, size);
        return;
    }
    QString text = c.conversion == Conversion::Wide
        ? QString::fromUtf16(reinterpret_cast<const char16_t *>(value), size / qsizetype(sizeof(SQLWCHAR)))
        : QString::fromUtf8(value, size);
    // Some drivers count a terminator into the length; QODBC drops it.
    if (text.endsWith(QChar(0)))
        text.chop(1);
    if (c.fromText)
        builder.appendValue(index, valueFromText(builder.field(index).type, text));
    else
        builder.appendString(index, text);
}

// A value of the block read whole from the driver, in chunks, into m_whole.
OdbcReader::Whole OdbcReader::readWhole(int index, qsizetype row)
{
    const Column &c = m_columns[size_t(index)];
    if (m_block->status.size() > 1
        && !SQL_SUCCEEDED(SQLSetPos(m_statement, SQLSETPOSIROW(row + 1), SQL_POSITION, SQL_LOCK_NO_CHANGE))) {
        fail("Unable to fetch next");
        return Whole::Failed;
    }
    m_whole.clear();
    for (;;) {
        const size_t at = m_whole.size();
        m_whole.resize(at + size_t(WholeChunk));
        SQLLEN length = 0;
        const SQLRETURN r = SQLGetData(m_statement, SQLUSMALLINT(index + 1), c.cType, m_whole.data() + at,
                                       WholeChunk, &length);
        if (r == SQL_NO_DATA) {
            m_whole.resize(at);
            return Whole::Value;
        }
        if (!SQL_SUCCEEDED(r)) {
            fail("Unable to fetch next");
            return Whole::Failed;
        }
        if (length == SQL_NULL_DATA)
            return Whole::Null;
        const bool more = r == SQL_SUCCESS_WITH_INFO
            && (length == SQL_NO_TOTAL || length > WholeChunk - c.terminator);
        m_whole.resize(at + size_t(more ? WholeChunk - c.terminator : std::max<SQLLEN>(length, 0)));
        if (!more)
            return Whole::Value;
    }
}

} // namespace zuvexal
