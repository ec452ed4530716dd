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

} // namespace zuvexal
