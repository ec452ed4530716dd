#pragma once

#include <QDate>

#include <optional>

namespace zuvexal {

// The number that count decimal digits spell, or -1 if one is no digit.
template <typename Ch>
int parseDigits(const Ch *p, int count)
{
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (p[i] < Ch('0') || p[i] > Ch('9'))
            return -1;
        n = n * 10 + int(p[i] - Ch('0'));
    }
    return n;
}

// yyyy-MM-dd to a Julian day.
template <typename Ch>
std::optional<qint64> parseIsoDate(const Ch *p, qsizetype size)
{
    if (size != 10 || p[4] != Ch('-') || p[7] != Ch('-'))
        return std::nullopt;
    const int y = parseDigits(p, 4);
    const int m = parseDigits(p + 5, 2);
    const int d = parseDigits(p + 8, 2);
    if (y < 0 || m < 0 || d < 0 || !QDate::isValid(y, m, d))
        return std::nullopt;
    return QDate(y, m, d).toJulianDay();
}

constexpr qint64 MsecsPerDay = 86400000;

inline qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// HH:MM:SS with up to six fraction digits to msecs, rounded half up as Qt
// rounds; nullopt where the rounding reaches the next second (Qt carries
// it into the date) or anything else follows.
inline std::optional<qint64> parseTime(const char *p, qsizetype size)
{
    if (size < 8 || p[2] != ':' || p[5] != ':')
        return std::nullopt;
    const int h = parseDigits(p, 2);
    const int m = parseDigits(p + 3, 2);
    const int s = parseDigits(p + 6, 2);
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return std::nullopt;
    int msecs = 0;
    if (size > 8) {
        const int digits = int(size - 9);
        if (p[8] != '.' || digits < 1 || digits > 6)
            return std::nullopt;
        int micros = parseDigits(p + 9, digits);
        if (micros < 0)
            return std::nullopt;
        for (int i = digits; i < 6; ++i)
            micros *= 10;
        msecs = (micros + 500) / 1000;
        if (msecs == 1000)
            return std::nullopt;
    }
    return ((qint64(h) * 60 + m) * 60 + s) * 1000 + msecs;
}

// yyyy-MM-dd HH:MM:SS[.f] to msecs since the Julian day 0, on the same clock.
inline std::optional<qint64> parseTimestamp(const char *p, qsizetype size)
{
    if (size < 19 || p[10] != ' ')
        return std::nullopt;
    const auto day = parseIsoDate(p, 10);
    const auto time = parseTime(p + 11, size - 11);
    if (!day || !time)
        return std::nullopt;
    return *day * MsecsPerDay + *time;
}

} // namespace zuvexal
