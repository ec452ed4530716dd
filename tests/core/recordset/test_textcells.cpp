#include "core/recordset/recordsetbuilder.h"
#include "core/recordset/textcells.h"

#include <QDateTime>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

// The column type the loaders give a column of this cell.
int columnType(TextCell cell)
{
    switch (cell) {
    case TextCell::Boolean:
        return Ado::adBoolean;
    case TextCell::Int32:
        return Ado::adInteger;
    case TextCell::Integer:
        return Ado::adBigInt;
    case TextCell::Real:
        return Ado::adDouble;
    case TextCell::Text:
        return Ado::adVarWChar;
    case TextCell::Bytes:
        return Ado::adLongVarBinary;
    case TextCell::Date:
        return Ado::adDBDate;
    case TextCell::Time:
        return Ado::adDBTime;
    case TextCell::Timestamp:
    case TextCell::TimestampTz:
        return Ado::adDBTimeStamp;
    }
    return Ado::adVariant;
}

QVariant cellOf(TextCell cell, const QByteArray &text)
{
    RecordSetBuilder builder({Field{QStringLiteral("v"), columnType(cell)}});
    TextCells({cell}).append(builder, 0, text.constData(), text.size());
    return builder.finish().value(0).value_or(QVariant());
}

} // namespace

// PostgreSQL's and MariaDB's text results share the converter: each text
// must come out as the value QPSQL or QMYSQL makes of it.
TEST(TextCells, TextsBecomeTheValuesTheQtSqlDriversMake)
{
    const QDateTime utc(QDate(2024, 7, 2), QTime(1, 4, 5), Qt::UTC);
    struct Case
    {
        TextCell cell;
        QByteArray text;
        QVariant expected;
        const char *why;
    };
    const Case cases[] = {
        {TextCell::Boolean, "t", true, "PostgreSQL writes true as t"},
        {TextCell::Boolean, "f", false, "and false as f"},
        {TextCell::Int32, "4294967295", -1, "QPSQL reads an xid with atoi: past 2^31 it wraps"},
        {TextCell::Int32, "now", 0, "and a regproc's name is 0"},
        {TextCell::Integer, "-9223372036854775808", std::numeric_limits<qint64>::min(), "the least BIGINT"},
        {TextCell::Integer, "18446744073709551615", std::numeric_limits<quint64>::max(),
         "an unsigned BIGINT past 63 bits keeps its value, as QMYSQL reads it"},
        {TextCell::Real, "0.1", 0.1, "a double, read exactly as Qt reads it"},
        {TextCell::Real, "-Infinity", -std::numeric_limits<double>::infinity(), "PostgreSQL's infinities"},
        {TextCell::Real, "1e400", QVariant(), "text that is no double is NULL"},
        {TextCell::Text, "Ünïcode ✓", QStringLiteral("Ünïcode ✓"), "UTF-8 text"},
        {TextCell::Bytes, QByteArray("\0\xff", 2), QByteArray("\0\xff", 2), "bytes as they came, NUL included"},
        {TextCell::Date, "2024-02-29", QDate(2024, 2, 29), "a leap day"},
        {TextCell::Date, "0000-00-00", QDate(), "MariaDB's zero date is no date, as QMYSQL reads it"},
        {TextCell::Time, "03:04:05.6785", QTime(3, 4, 5, 679), "fractions rounded half up to the millisecond"},
        {TextCell::Timestamp, "2024-01-02 03:04:05.678901", QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 679)),
         "a time stamp on the local clock, microseconds rounded"},
        {TextCell::Timestamp, "2024-12-31 23:59:59.9996", QDateTime(QDate(2025, 1, 1), QTime(0, 0)),
         "rounding carries into the next year, as Qt carries it"},
        {TextCell::TimestampTz, "2024-07-02 03:04:05+02", utc.toLocalTime(), "an offset turned to the local clock"},
        {TextCell::TimestampTz, "2024-07-01 21:34:05-03:30", utc.toLocalTime(), "a negative offset in minutes"},
        {TextCell::TimestampTz, "10000-07-02 03:04:05+02",
         QDateTime::fromString(QStringLiteral("10000-07-02 03:04:05+02"), Qt::ISODate).toLocalTime(),
         "a year past 9999 as Qt reads it"},
    };
    for (const Case &c : cases) {
        const QVariant value = cellOf(c.cell, c.text);
        if (c.expected.isValid())
            EXPECT_EQ(value, c.expected) << c.why << ": " << value.toString().toStdString();
        else
            EXPECT_TRUE(value.isNull()) << c.why << ": " << value.toString().toStdString();
    }
}
