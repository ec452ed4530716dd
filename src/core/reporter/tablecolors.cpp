#include "core/reporter/tablecolors.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace zuvexal {

QColor legacyColor(QString value)
{
    value = value.trimmed();
    if (value.isEmpty() || value.compare(QLatin1String("transparent"), Qt::CaseInsensitive) == 0)
        return {};
    if (QColor::isValidColorName(value) && !value.startsWith(QLatin1Char('#')))
        return QColor::fromString(value);
    if (value.size() == 4 && value.startsWith(QLatin1Char('#')) && QColor::isValidColorName(value))
        return QColor::fromString(value);
    value = value.left(128);
    if (value.startsWith(QLatin1Char('#')))
        value.remove(0, 1);
    for (QChar &c : value) {
        if (c.unicode() > 0x7F || !std::isxdigit(static_cast<unsigned char>(c.toLatin1())))
            c = QLatin1Char('0');
    }
    while (value.isEmpty() || value.size() % 3 != 0)
        value += QLatin1Char('0');
    qsizetype length = value.size() / 3;
    QStringList parts{value.mid(0, length), value.mid(length, length), value.mid(2 * length, length)};
    if (length > 8) {
        for (QString &part : parts)
            part = part.right(8);
        length = 8;
    }
    while (length > 2 && std::all_of(parts.begin(), parts.end(), [](const QString &p) { return p.front() == u'0'; })) {
        for (QString &part : parts)
            part.remove(0, 1);
        --length;
    }
    return QColor(parts[0].left(2).toInt(nullptr, 16), parts[1].left(2).toInt(nullptr, 16),
                  parts[2].left(2).toInt(nullptr, 16));
}

double relativeLuminance(const QColor &color)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::optional<QColor> tableTextColor(const QColor &background)
{
    if (!background.isValid() || contrastRatio(Qt::black, background) >= ReadableContrast)
        return std::nullopt;
    // The contrasts of black and white on a colour multiply to 21, so
    // where black falls short of 4.5, white reaches more than 4.6.
    return QColor(Qt::white);
}

std::optional<QColor> tableLinkColor(const QColor &background)
{
    static const QColor link(0x00, 0x00, 0xEE);
    static const QColor visited(0x55, 0x1A, 0x8B);
    if (!background.isValid()
        || (contrastRatio(link, background) >= ReadableContrast && contrastRatio(visited, background) >= ReadableContrast))
        return std::nullopt;
    return tableTextColor(background).value_or(QColor(Qt::black));
}

} // namespace zuvexal
