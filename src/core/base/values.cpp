#include "core/base/values_p.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

namespace zuvexal {

namespace {

bool isSkippedBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Most texts are no numbers: isNumeric turns them away by their first
// character before asking the locale, which is costly per value.
bool mayStartNumber(QChar first)
{
    return first.isDigit() || first == u'+' || first == u'-' || first == u'.' || first == u','
        || first.category() == QChar::Symbol_Currency || first.category() == QChar::Punctuation_Dash;
}

} // namespace

double leadingNumber(QStringView text)
{
    std::string number;
    number.reserve(text.size());
    qsizetype i = 0;
    auto next = [&]() -> QChar {
        while (i < text.size() && isSkippedBlank(text[i]))
            ++i;
        return i < text.size() ? text[i] : QChar();
    };
    auto digits = [&]() {
        bool any = false;
        for (QChar c = next(); c.isDigit() && c.unicode() < 128; c = next()) {
            number += char(c.unicode());
            ++i;
            any = true;
        }
        return any;
    };

    if (QChar c = next(); c == u'+' || c == u'-') {
        number += char(c.unicode());
        ++i;
    }
    bool mantissa = digits();
    if (next() == u'.') {
        number += '.';
        ++i;
        mantissa = digits() || mantissa;
    }
    if (!mantissa)
        return 0.0;
    if (QChar c = next(); c == u'e' || c == u'E' || c == u'd' || c == u'D') {
        const std::string beforeExponent = number;
        const qsizetype exponentStart = i;
        number += 'e';
        ++i;
        if (QChar s = next(); s == u'+' || s == u'-') {
            number += char(s.unicode());
            ++i;
        }
        if (!digits()) {
            number = beforeExponent;
            i = exponentStart;
        }
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

bool isNumeric(const QVariant &value, const QLocale &locale)
{
    if (value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return false;
        if (!mayStartNumber(text.front()))
            return false;
        bool ok = false;
        QLocale::c().toDouble(text, &ok);
        if (!ok)
            locale.toDouble(text, &ok);
        return ok;
    }
    default:
        return false;
    }
}

bool surelyNotNumeric(QByteArrayView utf8)
{
    // isNumeric trims the white space of QChar::isSpace; its ASCII part is
    // tab to carriage return and the blank. A longer character is left to
    // isNumeric, as it may be white space, a currency sign or a dash.
    for (char c : utf8) {
        const auto u = uchar(c);
        if (u == ' ' || (u >= '\t' && u <= '\r'))
            continue;
        return u < 0x80 && !mayStartNumber(QLatin1Char(c));
    }
    return true;
}

bool isNumeric(const QVariant &value)
{
    return isNumeric(value, QLocale());
}

QString timeFormatWithoutZone(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

namespace {

// A double's general text: rounded to the significant digits a double
// holds for certain, so sums and averages show no binary noise (32.99, not
// 32.989999999999995), then in Qt's shortest form of the rounded value. A
// value that needs no more digits is written as it is.
QString generalRealText(double value)
{
    char text[32];
    const char *end = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::scientific,
                                    GeneralSignificantDigits - 1).ptr;
    double rounded = value;
    // Near the largest double the rounded value is beyond it.
    if (std::isfinite(value) && std::from_chars(text, end, rounded).ec != std::errc())
        return QString::number(value, 'g', GeneralSignificantDigits);
    return QString::number(rounded, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QString valueText(const QVariant &value)
{
    return valueText(value, QLocale());
}

QString valueText(const QVariant &value, const QLocale &locale)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        QString text = generalRealText(value.toDouble());
        if (const qsizetype point = text.indexOf(QLatin1Char('.')); point >= 0)
            text.replace(point, 1, locale.decimalPoint());
        return text;
    }
    case QMetaType::QDate:
        return locale.toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime:
        return locale.toString(value.toTime(), timeFormatWithoutZone(locale));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        QString text = locale.toString(dt.date(), QLocale::ShortFormat);
        if (dt.time() != QTime(0, 0))
            text += QLatin1Char(' ') + locale.toString(dt.time(), timeFormatWithoutZone(locale));
        return text;
    }
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

namespace {

// The shortest digits that read back as a finite value, without sign, and
// the position of the decimal point after the first of them.
struct ShortestDigits
{
    char digits[24];
    int count = 0;
    int decpt = 0;
    bool negative = false;

    explicit ShortestDigits(double value)
    {
        if (!fromShortDecimal(value))
            fromScientific(value);
    }
    std::string_view text() const { return {digits, size_t(count)}; }

    // Most stored reals are short decimals (prices, amounts). Below 1e9
    // with at most four decimals, m / 10^k == |value| for the fewest
    // decimals k means the decimal m * 10^-k reads back as the value (the
    // division of two exact doubles rounds as reading does), and it is the
    // only one with k decimals that does: the doubles there lie far closer
    // together than 10^-4. So its digits are the shortest.
    bool fromShortDecimal(double value)
    {
        static constexpr double scales[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};
        const double magnitude = std::fabs(value);
        if (!(magnitude >= 1e-4 && magnitude < 1e9))
            return false;
        for (int k = 0; k < int(std::size(scales)); ++k) {
            const double scaled = std::nearbyint(magnitude * scales[k]);
            if (scaled / scales[k] != magnitude)
                continue;
            char whole[24];
            const char *end = std::to_chars(std::begin(whole), std::end(whole), quint64(scaled)).ptr;
            const int length = int(end - whole);
            count = length;
            while (count > 1 && whole[count - 1] == '0')
                --count;
            std::copy(whole, whole + count, digits);
            decpt = length - k;
            negative = value < 0;
            return true;
        }
        return false;
    }

    // The value rounded to the general digits, without the zeros that end them.
    void fromScientific(double value)
    {
        char scientific[32];
        const char *end = std::to_chars(std::begin(scientific), std::end(scientific), value,
                                        std::chars_format::scientific, GeneralSignificantDigits - 1).ptr;
        // Below the normal range a double holds fewer digits: those of the
        // rounded value that read back as it.
        if (std::fpclassify(value) == FP_SUBNORMAL) {
            double rounded = value;
            std::from_chars(scientific, end, rounded);
            end = std::to_chars(std::begin(scientific), std::end(scientific), rounded,
                                std::chars_format::scientific).ptr;
        }
        const char *p = scientific;
        negative = *p == '-';
        if (negative)
            ++p;
        for (; *p != 'e'; ++p) {
            if (*p != '.')
                digits[count++] = *p;
        }
        while (count > 1 && digits[count - 1] == '0')
            --count;
        int exponent = 0;
        std::from_chars(p[1] == '+' ? p + 2 : p + 1, end, exponent);
        decpt = exponent + 1;
    }

    // QString::number(value, 'g', QLocale::FloatingPointShortest) takes the
    // shorter of the decimal and exponent forms; bias is what the exponent
    // form adds ("e", a sign, two digits), less what the decimal form adds.
    bool decimalIsShorter() const
    {
        int bias = 4;
        if (count <= decpt && count > 1)
            ++bias; // the decimal form has no decimal point
        else if (count == 1 && decpt <= 0)
            --bias; // the exponent form has none
        return decpt <= 0 ? 1 - decpt <= bias : decpt <= count + bias;
    }
};

void appendDecimalForm(std::string &utf8, const ShortestDigits &d, std::string_view decimalPoint)
{
    const std::string_view shortest = d.text();
    if (d.decpt <= 0) {
        utf8 += '0';
        utf8 += decimalPoint;
        utf8.append(size_t(-d.decpt), '0');
        utf8 += shortest;
    } else if (d.decpt < d.count) {
        utf8 += shortest.substr(0, size_t(d.decpt));
        utf8 += decimalPoint;
        utf8 += shortest.substr(size_t(d.decpt));
    } else {
        utf8 += shortest;
        utf8.append(size_t(d.decpt - d.count), '0');
    }
}

void appendExponentForm(std::string &utf8, const ShortestDigits &d, std::string_view decimalPoint)
{
    const std::string_view shortest = d.text();
    utf8 += shortest.front();
    if (d.count > 1) {
        utf8 += decimalPoint;
        utf8 += shortest.substr(1);
    }
    char exponentText[8];
    const int shown = std::abs(d.decpt - 1);
    const int written =
        std::snprintf(exponentText, sizeof exponentText, "e%c%02d", d.decpt - 1 < 0 ? '-' : '+', shown);
    utf8.append(exponentText, size_t(written));
}

} // namespace

void appendRealText(std::string &utf8, double value, std::string_view decimalPoint)
{
    if (std::isnan(value)) {
        utf8 += "nan";
        return;
    }
    if (std::isinf(value)) {
        utf8 += value < 0 ? "-inf" : "inf";
        return;
    }
    const ShortestDigits digits(value);
    if (digits.negative && value != 0.0)
        utf8 += '-';
    if (digits.decimalIsShorter())
        appendDecimalForm(utf8, digits, decimalPoint);
    else
        appendExponentForm(utf8, digits, decimalPoint);
}

QString trimLeadingBlanks(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ')
        ++start;
    return text.mid(start).toString();
}

QString trimTrailingBlanks(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end).toString();
}

QString trimBlanks(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start).toString();
}

} // namespace zuvexal
