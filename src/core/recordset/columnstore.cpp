#include "columnstore.h"

#include "isotext.h"
#include "recordset.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <limits>

namespace zuvexal {

namespace {

constexpr qint64 MaxExactDouble = qint64(1) << 53;
constexpr quint64 MaxArenaLength = std::numeric_limits<quint32>::max();

// HH:mm, HH:mm:ss or HH:mm:ss.zzz (one to three fraction digits) to msecs;
// more fraction digits would be lost, so such a text is no time.
template <typename Ch>
std::optional<qint64> parseIsoTime(const Ch *p, qsizetype size)
{
    if ((size != 5 && size != 8 && (size < 10 || size > 12)) || p[2] != Ch(':'))
        return std::nullopt;
    const int h = parseDigits(p, 2);
    const int m = parseDigits(p + 3, 2);
    int s = 0;
    int ms = 0;
    if (size >= 8) {
        if (p[5] != Ch(':'))
            return std::nullopt;
        s = parseDigits(p + 6, 2);
    }
    if (size >= 10) {
        if (p[8] != Ch('.'))
            return std::nullopt;
        const int digits = int(size - 9);
        ms = parseDigits(p + 9, digits);
        if (ms >= 0)
            ms *= digits == 1 ? 100 : digits == 2 ? 10 : 1;
    }
    if (h < 0 || m < 0 || s < 0 || ms < 0 || !QTime::isValid(h, m, s, ms))
        return std::nullopt;
    return ((qint64(h) * 60 + m) * 60 + s) * 1000 + ms;
}

// A date, or a date and a time joined by a space or 'T', to Julian day * MsecsPerDay + msecs.
template <typename Ch>
std::optional<qint64> parseIsoDateTime(const Ch *p, qsizetype size)
{
    if (size < 10)
        return std::nullopt;
    const auto day = parseIsoDate(p, 10);
    if (!day)
        return std::nullopt;
    if (size == 10)
        return *day * MsecsPerDay;
    if (p[10] != Ch(' ') && p[10] != Ch('T'))
        return std::nullopt;
    const auto time = parseIsoTime(p + 11, size - 11);
    if (!time)
        return std::nullopt;
    return *day * MsecsPerDay + *time;
}

std::optional<qint64> exactInteger(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return v.toLongLong();
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong u = v.toULongLong();
        if (u > qulonglong(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(u);
    }
    case QMetaType::Float:
    case QMetaType::Double: {
        const double d = v.toDouble();
        // 2^63 itself is out of range, hence the strict bound.
        if (!std::isfinite(d) || std::trunc(d) != d || d < -9223372036854775808.0
            || d >= 9223372036854775808.0)
            return std::nullopt;
        return qint64(d);
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> exactReal(const QVariant &v)
{
    const int id = v.metaType().id();
    if (id == QMetaType::Double || id == QMetaType::Float)
        return v.toDouble();
    if (const auto n = exactInteger(v); n && *n >= -MaxExactDouble && *n <= MaxExactDouble)
        return double(*n);
    return std::nullopt;
}

StoredValue stored(StoredValue::Kind kind, qint64 integer = 0, double real = 0.0, QByteArrayView text = {})
{
    return {kind, integer, real, text};
}

bool isString(const QVariant &v)
{
    return v.metaType().id() == QMetaType::QString;
}

} // namespace

// How the values of a field type other than the integers are stored.
ColumnStore::Kind ColumnStore::storageOf(int fieldType)
{
    using namespace Ado;
    switch (fieldType) {
    case adBoolean:
        return Kind::Bool;
    case adSingle:
    case adDouble:
    case adCurrency:
    case adDecimal:
    case adNumeric:
        return Kind::Real;
    case adBSTR:
    case adChar:
    case adWChar:
    case adVarChar:
    case adLongVarChar:
    case adVarWChar:
    case adLongVarWChar:
        return Kind::Text;
    case adBinary:
    case adVarBinary:
    case adLongVarBinary:
        return Kind::Bytes;
    case adDBDate:
        return Kind::Date;
    case adDBTime:
        return Kind::Time;
    case adDate:
    case adDBTimeStamp:
        return Kind::DateTime;
    default:
        return Kind::Variant;
    }
}

ColumnStore::ColumnStore(int fieldType)
    : m_type(fieldType)
{
    using namespace Ado;
    constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
    struct IntegerType
    {
        int type;
        Kind kind;
        qint64 min;
        qint64 max;
    };
    static constexpr IntegerType integerTypes[] = {
        {adTinyInt, Kind::Int32, -128, 127},
        {adSmallInt, Kind::Int32, -32768, 32767},
        {adInteger, Kind::Int32, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()},
        {adUnsignedTinyInt, Kind::Int64, 0, 255},
        {adUnsignedSmallInt, Kind::Int64, 0, 65535},
        {adUnsignedInt, Kind::Int64, 0, std::numeric_limits<quint32>::max()},
        {adBigInt, Kind::Int64, std::numeric_limits<qint64>::min(), int64Max},
        {adUnsignedBigInt, Kind::Int64, 0, int64Max},
    };
    m_kind = storageOf(fieldType);
    for (const IntegerType &t : integerTypes) {
        if (t.type == fieldType) {
            m_kind = t.kind;
            m_min = t.min;
            m_max = t.max;
        }
    }
    m_heterogeneous = m_kind == Kind::Variant;
}

bool ColumnStore::setFieldType(int type)
{
    if (!allNull())
        return false;
    ColumnStore fresh(type);
    for (qint64 i = 0; i < m_size; ++i)
        fresh.appendNull();
    *this = std::move(fresh);
    return true;
}

bool ColumnStore::allNull() const
{
    const qint64 full = m_size >> 6;
    for (qint64 w = 0; w < full; ++w) {
        if (m_nulls[w] != ~quint64(0))
            return false;
    }
    const int rest = int(m_size & 63);
    return rest == 0 || m_nulls[full] == (quint64(1) << rest) - 1;
}

bool ColumnStore::storesIntegers() const
{
    switch (m_kind) {
    case Kind::Int32:
    case Kind::Int64:
    case Kind::Bool:
    case Kind::Date:
    case Kind::Time:
    case Kind::DateTime:
        return true;
    default:
        return false;
    }
}

std::optional<qint64> ColumnStore::encodeInteger(const QVariant &v) const
{
    switch (m_kind) {
    case Kind::Int32:
    case Kind::Int64:
        if (const auto n = exactInteger(v); n && *n >= m_min && *n <= m_max)
            return n;
        return std::nullopt;
    case Kind::Bool:
        if (v.metaType().id() == QMetaType::Bool)
            return v.toBool() ? 1 : 0;
        // SQLite keeps booleans as 0 and 1.
        if (const auto n = exactInteger(v); n && (*n == 0 || *n == 1))
            return n;
        return std::nullopt;
    case Kind::Date:
        if (v.metaType().id() == QMetaType::QDate && v.toDate().isValid())
            return v.toDate().toJulianDay();
        break;
    case Kind::Time:
        if (v.metaType().id() == QMetaType::QTime && v.toTime().isValid())
            return v.toTime().msecsSinceStartOfDay();
        break;
    case Kind::DateTime:
        if (v.metaType().id() == QMetaType::QDateTime) {
            const QDateTime dt = v.toDateTime();
            // Kept as local wall-clock time; a UTC or offset time would lose its zone.
            if (!dt.isValid() || dt.timeSpec() != Qt::LocalTime)
                return std::nullopt;
            return dt.date().toJulianDay() * MsecsPerDay + dt.time().msecsSinceStartOfDay();
        }
        if (v.metaType().id() == QMetaType::QDate && v.toDate().isValid())
            return v.toDate().toJulianDay() * MsecsPerDay;
        break;
    default:
        return std::nullopt;
    }
    if (!isString(v))
        return std::nullopt;
    const QString text = v.toString();
    const auto *p = reinterpret_cast<const char16_t *>(text.constData());
    switch (m_kind) {
    case Kind::Date:
        return parseIsoDate(p, text.size());
    case Kind::Time:
        return parseIsoTime(p, text.size());
    default:
        return parseIsoDateTime(p, text.size());
    }
}

std::optional<qint64> ColumnStore::parseTemporal(const char *text, qsizetype size) const
{
    switch (m_kind) {
    case Kind::Date:
        return parseIsoDate(text, size);
    case Kind::Time:
        return parseIsoTime(text, size);
    case Kind::DateTime:
        return parseIsoDateTime(text, size);
    default:
        return std::nullopt;
    }
}

QVariant ColumnStore::decodeInteger(qint64 n) const
{
    switch (m_kind) {
    case Kind::Int32:
        return QVariant(int(n));
    case Kind::Bool:
        return QVariant(n != 0);
    case Kind::Date:
        return QVariant(QDate::fromJulianDay(n));
    case Kind::Time:
        return QVariant(QTime::fromMSecsSinceStartOfDay(int(n)));
    case Kind::DateTime: {
        const qint64 day = floorDiv(n, MsecsPerDay);
        return QVariant(QDateTime(QDate::fromJulianDay(day),
                                  QTime::fromMSecsSinceStartOfDay(int(n - day * MsecsPerDay))));
    }
    default:
        return QVariant(qlonglong(n));
    }
}

QVariant ColumnStore::normalizedValue(const QVariant &v) const
{
    if (v.isNull())
        return QVariant();
    if (storesIntegers()) {
        if (const auto n = encodeInteger(v))
            return decodeInteger(*n);
    } else if (m_kind == Kind::Real) {
        if (const auto d = exactReal(v))
            return QVariant(*d);
    }
    return v;
}

QVariant ColumnStore::normalized(int fieldType, const QVariant &v)
{
    return ColumnStore(fieldType).normalizedValue(v);
}

QVariant ColumnStore::value(qint64 row) const
{
    if (isNull(row))
        return QVariant();
    if (m_heterogeneous)
        return m_variants[size_t(row)];
    switch (m_kind) {
    case Kind::Real:
        return QVariant(m_reals[row]);
    case Kind::Text:
        return QVariant(QString::fromUtf8(bytesAt(row)));
    case Kind::Bytes:
        return QVariant(bytesAt(row).toByteArray());
    default:
        return decodeInteger(m_ints[row]);
    }
}

StoredValue ColumnStore::storedValue(qint64 row) const
{
    using K = StoredValue::Kind;
    if (isNull(row))
        return stored(K::Null);
    if (m_heterogeneous)
        return {};
    switch (m_kind) {
    case Kind::Int32:
    case Kind::Int64:
        return stored(K::Integer, m_ints[row]);
    case Kind::Bool:
        return stored(K::Boolean, m_ints[row]);
    case Kind::Date:
        return stored(K::Date, m_ints[row]);
    case Kind::DateTime:
        return stored(K::DateTime, m_ints[row]);
    case Kind::Time:
        return stored(K::Time, m_ints[row]);
    case Kind::Real:
        return stored(K::Real, 0, m_reals[row]);
    case Kind::Text:
        return stored(K::Text, 0, 0.0, bytesAt(row));
    default:
        return {};
    }
}

void ColumnStore::pushNullBit(bool isNull)
{
    if ((m_size & 63) == 0)
        m_nulls.append(0);
    if (isNull)
        m_nulls[m_size >> 6] |= quint64(1) << (m_size & 63);
}

void ColumnStore::setNullBit(qint64 row, bool isNull)
{
    const quint64 bit = quint64(1) << (row & 63);
    if (isNull)
        m_nulls[row >> 6] |= bit;
    else
        m_nulls[row >> 6] &= ~bit;
}

void ColumnStore::pushInt(qint64 n)
{
    pushNullBit(false);
    m_ints.append(n);
    ++m_size;
}

void ColumnStore::pushReal(double d)
{
    pushNullBit(false);
    m_reals.append(d);
    ++m_size;
}

bool ColumnStore::pushBytes(const char *data, qsizetype size)
{
    if (quint64(size) > MaxArenaLength)
        return false;
    pushNullBit(false);
    m_arena.append(data, size);
    m_ends.append(quint64(m_arena.size()));
    ++m_size;
    return true;
}

QByteArrayView ColumnStore::bytesAt(qint64 row) const
{
    if (!m_replaced.empty()) {
        if (const auto it = m_replaced.find(row); it != m_replaced.end())
            return QByteArrayView(it->second.data(), qsizetype(it->second.size()));
    }
    const quint64 begin = row > 0 ? m_ends[row - 1] : 0;
    return QByteArrayView(m_arena.data() + begin, qsizetype(m_ends[row] - begin));
}

void ColumnStore::setBytes(qint64 row, const QByteArray &bytes)
{
    // The last row's bytes end the arena (a row appended as a value goes
    // through here): they are rewritten in place.
    if (row == m_size - 1 && m_ends[row] == quint64(m_arena.size())) {
        m_replaced.erase(row);
        m_arena.truncate(row > 0 ? qint64(m_ends[row - 1]) : 0);
        m_arena.append(bytes.constData(), bytes.size());
        m_ends[row] = quint64(m_arena.size());
        return;
    }
    m_replaced[row] = bytes.toStdString();
    // Rebuilt once a quarter of the rows are held apart, so that setting
    // every row costs a constant per row.
    if (qint64(m_replaced.size()) > std::max<qint64>(1024, m_size / 4))
        compactBytes();
}

void ColumnStore::compactBytes()
{
    PodBuffer<char> arena;
    PodBuffer<quint64> ends;
    ends.reserve(m_size);
    for (qint64 row = 0; row < m_size; ++row) {
        const QByteArrayView bytes = bytesAt(row);
        arena.append(bytes.data(), bytes.size());
        ends.append(quint64(arena.size()));
    }
    m_arena = std::move(arena);
    m_ends = std::move(ends);
    m_replaced.clear();
}

void ColumnStore::appendNull()
{
    pushNullBit(true);
    if (m_heterogeneous) {
        m_variants.emplace_back();
    } else if (m_kind == Kind::Real) {
        m_reals.append(0);
    } else if (m_kind == Kind::Text || m_kind == Kind::Bytes) {
        m_ends.append(quint64(m_arena.size()));
    } else {
        m_ints.append(0);
    }
    ++m_size;
}

void ColumnStore::appendInt(qint64 n)
{
    if (!m_heterogeneous) {
        if ((m_kind == Kind::Int32 || m_kind == Kind::Int64) && n >= m_min && n <= m_max)
            return pushInt(n);
        if (m_kind == Kind::Bool && (n == 0 || n == 1))
            return pushInt(n);
        if (m_kind == Kind::Real && n >= -MaxExactDouble && n <= MaxExactDouble)
            return pushReal(double(n));
    }
    append(QVariant(qlonglong(n)));
}

void ColumnStore::appendReal(double d)
{
    if (!m_heterogeneous && m_kind == Kind::Real)
        return pushReal(d);
    append(QVariant(d));
}

void ColumnStore::appendText(const char *utf8, qsizetype size)
{
    if (!m_heterogeneous) {
        if (m_kind == Kind::Text && pushBytes(utf8, size))
            return;
        if (const auto n = parseTemporal(utf8, size))
            return pushInt(*n);
    }
    append(QVariant(QString::fromUtf8(utf8, size)));
}

void ColumnStore::appendBytes(const char *data, qsizetype size)
{
    if (!m_heterogeneous && m_kind == Kind::Bytes && pushBytes(data, size))
        return;
    append(QVariant(QByteArray(data, size)));
}

void ColumnStore::appendString(const QString &text)
{
    if (!m_heterogeneous && m_kind == Kind::Text) {
        const QByteArray utf8 = text.toUtf8();
        if (pushBytes(utf8.constData(), utf8.size()))
            return;
    }
    append(QVariant(text));
}

void ColumnStore::appendDate(qint64 julianDay)
{
    if (!m_heterogeneous && m_kind == Kind::Date)
        return pushInt(julianDay);
    append(QVariant(QDate::fromJulianDay(julianDay)));
}

void ColumnStore::appendTime(qint64 msecs)
{
    if (!m_heterogeneous && m_kind == Kind::Time)
        return pushInt(msecs);
    append(QVariant(QTime::fromMSecsSinceStartOfDay(int(msecs))));
}

void ColumnStore::appendDateTime(qint64 msecs)
{
    if (!m_heterogeneous && m_kind == Kind::DateTime)
        return pushInt(msecs);
    const qint64 day = floorDiv(msecs, MsecsPerDay);
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(msecs - day * MsecsPerDay));
    append(QVariant(QDateTime(QDate::fromJulianDay(day), time)));
}

void ColumnStore::append(const QVariant &v)
{
    if (v.isNull())
        return appendNull();
    if (m_heterogeneous) {
        pushNullBit(false);
        m_variants.push_back(normalizedValue(v));
        ++m_size;
        return;
    }
    appendNull();
    set(m_size - 1, v);
}

bool ColumnStore::writeTyped(qint64 row, const QVariant &v)
{
    if (storesIntegers()) {
        const auto n = encodeInteger(v);
        if (n)
            m_ints.set(row, *n);
        return n.has_value();
    }
    if (m_kind == Kind::Real) {
        const auto d = exactReal(v);
        if (d)
            m_reals[row] = *d;
        return d.has_value();
    }
    const bool fits = m_kind == Kind::Text ? isString(v) : v.metaType().id() == QMetaType::QByteArray;
    if (!fits)
        return false;
    const QByteArray bytes = m_kind == Kind::Text ? v.toString().toUtf8() : v.toByteArray();
    if (quint64(bytes.size()) > MaxArenaLength)
        return false;
    setBytes(row, bytes);
    return true;
}

void ColumnStore::set(qint64 row, const QVariant &v)
{
    if (v.isNull()) {
        setNullBit(row, true);
        if (m_heterogeneous)
            m_variants[size_t(row)] = QVariant();
        return;
    }
    if (m_heterogeneous) {
        m_variants[size_t(row)] = normalizedValue(v);
    } else if (!writeTyped(row, v)) {
        becomeHeterogeneous();
        m_variants[size_t(row)] = v;
    }
    setNullBit(row, false);
}

void ColumnStore::becomeHeterogeneous()
{
    std::vector<QVariant> values;
    values.reserve(size_t(m_size));
    for (qint64 i = 0; i < m_size; ++i)
        values.push_back(value(i));
    m_ints.clear();
    m_reals.clear();
    m_arena.clear();
    m_ends.clear();
    m_replaced.clear();
    m_variants = std::move(values);
    m_heterogeneous = true;
}

std::shared_ptr<ColumnStore> ColumnStore::copyRange(qint64 first, qint64 count) const
{
    auto copy = std::make_shared<ColumnStore>(m_type);
    copy->m_heterogeneous = m_heterogeneous;
    for (qint64 w = 0; w < (count + 63) / 64; ++w)
        copy->m_nulls.append(0);
    for (qint64 i = 0; i < count; ++i) {
        if (isNull(first + i))
            copy->setNullBit(i, true);
    }
    if (m_heterogeneous) {
        copy->m_variants.assign(m_variants.begin() + first, m_variants.begin() + first + count);
    } else if (m_kind == Kind::Real) {
        copy->m_reals.append(m_reals.data() + first, count);
    } else if (m_kind == Kind::Text || m_kind == Kind::Bytes) {
        copy->m_ends.reserve(count);
        for (qint64 i = first; i < first + count; ++i) {
            const QByteArrayView bytes = bytesAt(i);
            copy->m_arena.append(bytes.data(), bytes.size());
            copy->m_ends.append(quint64(copy->m_arena.size()));
        }
    } else {
        copy->m_ints.append(m_ints, first, count);
    }
    copy->m_size = count;
    return copy;
}

} // namespace zuvexal
