#pragma once

#include "recordset.h"

#include <QVariant>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zuvexal {

// A growable array of plain values. It grows with realloc, which moves large
// blocks by remapping pages rather than copying them, so a column loaded row
// by row never holds two copies of itself and unused capacity stays unmapped.
template <typename T>
class PodBuffer
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PodBuffer() = default;
    PodBuffer(const PodBuffer &) = delete;
    PodBuffer &operator=(const PodBuffer &) = delete;
    PodBuffer(PodBuffer &&other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)),
          m_size(std::exchange(other.m_size, 0)),
          m_capacity(std::exchange(other.m_capacity, 0))
    {
    }
    PodBuffer &operator=(PodBuffer &&other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        return *this;
    }
    ~PodBuffer() { std::free(m_data); }

    qint64 size() const { return m_size; }
    T *data() { return m_data; }
    const T *data() const { return m_data; }
    T &operator[](qint64 i) { return m_data[i]; }
    const T &operator[](qint64 i) const { return m_data[i]; }

    void append(T value)
    {
        if (m_size == m_capacity)
            reserve(grown(m_size + 1));
        m_data[m_size++] = value;
    }
    void append(const T *values, qint64 count)
    {
        if (count <= 0)
            return;
        if (m_size + count > m_capacity)
            reserve(grown(m_size + count));
        std::memcpy(m_data + m_size, values, size_t(count) * sizeof(T));
        m_size += count;
    }
    void reserve(qint64 capacity)
    {
        if (capacity <= m_capacity)
            return;
        void *p = std::realloc(m_data, size_t(capacity) * sizeof(T));
        if (!p)
            throw std::bad_alloc();
        m_data = static_cast<T *>(p);
        m_capacity = capacity;
    }
    void truncate(qint64 size) { m_size = std::min(m_size, size); }
    void clear()
    {
        std::free(m_data);
        m_data = nullptr;
        m_size = m_capacity = 0;
    }

private:
    qint64 grown(qint64 needed) const
    {
        return std::max({needed, m_capacity + m_capacity / 2, qint64(16)});
    }

    T *m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_capacity = 0;
};

// Integers kept in 32 bits while every one fits, and in 64 from the first
// that does not: keys, counts and Julian days never need the upper half.
class IntBuffer
{
public:
    qint64 size() const { return m_wide ? m_wideValues.size() : m_narrow.size(); }
    qint64 operator[](qint64 i) const { return m_wide ? m_wideValues[i] : qint64(m_narrow[i]); }

    void append(qint64 n)
    {
        if (!m_wide && !fitsNarrow(n))
            widen();
        if (m_wide)
            m_wideValues.append(n);
        else
            m_narrow.append(qint32(n));
    }
    void set(qint64 i, qint64 n)
    {
        if (!m_wide && !fitsNarrow(n))
            widen();
        if (m_wide)
            m_wideValues[i] = n;
        else
            m_narrow[i] = qint32(n);
    }
    // Appends count values of other from first on.
    void append(const IntBuffer &other, qint64 first, qint64 count)
    {
        if (other.m_wide && !m_wide)
            widen();
        if (!m_wide) {
            m_narrow.append(other.m_narrow.data() + first, count);
        } else if (other.m_wide) {
            m_wideValues.append(other.m_wideValues.data() + first, count);
        } else {
            for (qint64 i = first; i < first + count; ++i)
                m_wideValues.append(other[i]);
        }
    }
    void clear()
    {
        m_narrow.clear();
        m_wideValues.clear();
        m_wide = false;
    }

private:
    static bool fitsNarrow(qint64 n)
    {
        return n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max();
    }
    void widen()
    {
        m_wideValues.reserve(m_narrow.size() + 16);
        for (qint64 i = 0; i < m_narrow.size(); ++i)
            m_wideValues.append(m_narrow[i]);
        m_narrow.clear();
        m_wide = true;
    }

    PodBuffer<qint32> m_narrow;
    PodBuffer<qint64> m_wideValues;
    bool m_wide = false;
};

// The values of one field. Values are kept typed by the field type (64-bit
// integers, doubles, UTF-8 or bytes in one arena) with a NULL bitmap; a column
// switches to QVariant storage only when it meets a value its type cannot hold
// without loss, and keeps that value as it came.
class ColumnStore
{
public:
    explicit ColumnStore(int fieldType);
    ColumnStore(ColumnStore &&) noexcept = default;
    ColumnStore &operator=(ColumnStore &&) noexcept = default;

    int fieldType() const { return m_type; }
    bool setFieldType(int type); // only while every value is NULL
    qint64 size() const { return m_size; }
    bool isNull(qint64 row) const { return (m_nulls[row >> 6] >> (row & 63)) & 1; }
    bool allNull() const;
    bool isHeterogeneous() const { return m_heterogeneous; }

    QVariant value(qint64 row) const;
    StoredValue storedValue(qint64 row) const;

    void appendNull();
    void appendInt(qint64 value);
    void appendReal(double value);
    void appendText(const char *utf8, qsizetype size);
    void appendBytes(const char *data, qsizetype size);
    // As append(QVariant(text)), without the QVariant.
    void appendString(const QString &text);
    // Dates as Julian days, times as msecs since midnight, time stamps as
    // msecs since the start of Julian day 0, on the wall clock: no time
    // zone is looked at.
    void appendDate(qint64 julianDay);
    void appendTime(qint64 msecs);
    void appendDateTime(qint64 msecs);
    void append(const QVariant &value);
    void set(qint64 row, const QVariant &value);

    std::shared_ptr<ColumnStore> copyRange(qint64 first, qint64 count) const;

    // The value a field of this type reports for v: converted where nothing
    // is lost, otherwise v itself.
    static QVariant normalized(int fieldType, const QVariant &v);

private:
    enum class Kind : quint8 { Int32, Int64, Bool, Real, Text, Bytes, Date, Time, DateTime, Variant };
    static Kind storageOf(int fieldType);

    bool storesIntegers() const;
    std::optional<qint64> encodeInteger(const QVariant &v) const;
    QVariant decodeInteger(qint64 n) const;
    QVariant normalizedValue(const QVariant &v) const;
    std::optional<qint64> parseTemporal(const char *text, qsizetype size) const;

    void pushNullBit(bool isNull);
    void setNullBit(qint64 row, bool isNull);
    void pushInt(qint64 n);
    void pushReal(double d);
    bool pushBytes(const char *data, qsizetype size);
    QByteArrayView bytesAt(qint64 row) const;
    void setBytes(qint64 row, const QByteArray &bytes);
    void compactBytes();
    bool writeTyped(qint64 row, const QVariant &v);
    void becomeHeterogeneous();

    int m_type;
    Kind m_kind;
    bool m_heterogeneous = false;
    qint64 m_min = 0;
    qint64 m_max = 0;
    qint64 m_size = 0;
    PodBuffer<quint64> m_nulls; // bit set: NULL
    IntBuffer m_ints;           // integers, booleans, Julian days, msecs
    PodBuffer<double> m_reals;
    // UTF-8 text or bytes: a row's bytes end at m_ends[row] and start where
    // the row before it ends, unless the row was set after it was appended;
    // then they are in m_replaced until the arena is next rebuilt.
    PodBuffer<char> m_arena;
    PodBuffer<quint64> m_ends;
    std::unordered_map<qint64, std::string> m_replaced;
    std::vector<QVariant> m_variants;
};

} // namespace zuvexal
