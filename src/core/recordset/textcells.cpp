#include "textcells.h"

#include "isotext.h"
#include "recordsetbuilder.h"

#include <QDateTime>

#include <algorithm>
#include <charconv>
#include <ctime>
#include <optional>

namespace zuvexal {

namespace {

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
// msecs since the Julian day 0 on the local clock.
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

void appendInteger(RecordSetBuilder &builder, int column, TextCell cell, const char *text, qsizetype size)
{
    qint64 n = 0;
    const bool read = std::from_chars(text, text + size, n).ec == std::errc();
    if (cell == TextCell::Int32) {
        // QPSQL reads an int column with atoi: an xid beyond 2^31 wraps, a
        // regproc's name is 0.
        builder.appendInt(column, qint32(n));
    } else if (read) {
        builder.appendInt(column, n);
    } else {
        // Beyond 64 signed bits: an unsigned BIGINT, as QMYSQL reads it.
        builder.appendValue(column, QString::fromLatin1(text, size).toULongLong());
    }
}

void appendReal(RecordSetBuilder &builder, int column, const char *text, qsizetype size)
{
    double d = 0;
    const auto [end, error] = std::from_chars(text, text + size, d);
    if (error != std::errc() || end != text + size)
        builder.appendNull(column);
    else
        builder.appendReal(column, d);
}

// A date's Julian day, a time's msecs, a time stamp's msecs since the Julian
// day 0 on the local clock, from the forms a server writes.
std::optional<qint64> parseClock(TextCell cell, const char *text, qsizetype size)
{
    switch (cell) {
    case TextCell::Date:
        return parseIsoDate(text, size);
    case TextCell::Time:
        return parseTime(text, size);
    case TextCell::Timestamp:
        return parseTimestamp(text, size);
    default:
        return parseTimestampTz(text, size);
    }
}

// Any other form (infinity, zero dates, years past 9999, times with a zone)
// as the QtSql drivers read it.
QVariant qtClock(TextCell cell, const QString &text)
{
    switch (cell) {
    case TextCell::Date:
        return QDate::fromString(text, Qt::ISODate);
    case TextCell::Time:
        return QTime::fromString(text, Qt::ISODate);
    case TextCell::Timestamp:
        return QDateTime::fromString(text, Qt::ISODate);
    default:
        return QDateTime::fromString(text, Qt::ISODate).toLocalTime();
    }
}

void appendClock(RecordSetBuilder &builder, int column, TextCell cell, const char *text, qsizetype size)
{
    const std::optional<qint64> value = parseClock(cell, text, size);
    if (!value)
        builder.appendValue(column, qtClock(cell, QString::fromLatin1(text, size)));
    else if (cell == TextCell::Date)
        builder.appendDate(column, *value);
    else if (cell == TextCell::Time)
        builder.appendTime(column, *value);
    else
        builder.appendDateTime(column, *value);
}

} // namespace

TextCell textCellFor(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Bool:
        return TextCell::Boolean;
    case QMetaType::Int:
        return TextCell::Int32;
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TextCell::Integer;
    case QMetaType::Double:
        return TextCell::Real;
    case QMetaType::QByteArray:
        return TextCell::Bytes;
    case QMetaType::QDate:
        return TextCell::Date;
    case QMetaType::QTime:
        return TextCell::Time;
    case QMetaType::QDateTime:
        return TextCell::Timestamp;
    default:
        return TextCell::Text;
    }
}

TextCells::TextCells(std::vector<TextCell> cells)
    : m_cells(std::move(cells))
{
    // localtime_r does not read the zone file again (tzset, which mktime
    // calls, does): it is read once a load.
    if (std::find(m_cells.begin(), m_cells.end(), TextCell::TimestampTz) != m_cells.end())
        tzset();
}

void TextCells::append(RecordSetBuilder &builder, int column, const char *text, qsizetype size) const
{
    const TextCell cell = at(column);
    switch (cell) {
    case TextCell::Boolean:
        builder.appendInt(column, text[0] == 't');
        return;
    case TextCell::Int32:
    case TextCell::Integer:
        appendInteger(builder, column, cell, text, size);
        return;
    case TextCell::Real:
        appendReal(builder, column, text, size);
        return;
    case TextCell::Text:
        builder.appendText(column, text, size);
        return;
    case TextCell::Bytes:
        builder.appendBytes(column, text, size);
        return;
    case TextCell::Date:
    case TextCell::Time:
    case TextCell::Timestamp:
    case TextCell::TimestampTz:
        appendClock(builder, column, cell, text, size);
        return;
    }
}

} // namespace zuvexal
