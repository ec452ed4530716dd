#include "core/base/values.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <cmath>
#include <string>

namespace zuvexal {

namespace {

bool isSkippedBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Long time format without the time-zone part, which the general text of a
// date and time does not carry.
QString timeFormatWithoutZone(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
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

bool isNumeric(const QVariant &value)
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
        // Most texts are no numbers: turn them away before asking the
        // locale, which is costly per value.
        const QChar first = text.front();
        if (!first.isDigit() && first != u'+' && first != u'-' && first != u'.' && first != u','
            && first.category() != QChar::Symbol_Currency && first.category() != QChar::Punctuation_Dash)
            return false;
        bool ok = false;
        QLocale::c().toDouble(text, &ok);
        if (!ok)
            QLocale().toDouble(text, &ok);
        return ok;
    }
    default:
        return false;
    }
}

QString valueText(const QVariant &value)
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
        QString text = QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        if (const qsizetype point = text.indexOf(QLatin1Char('.')); point >= 0)
            text.replace(point, 1, QLocale().decimalPoint());
        return text;
    }
    case QMetaType::QDate:
        return QLocale().toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime: {
        const QLocale locale;
        return locale.toString(value.toTime(), timeFormatWithoutZone(locale));
    }
    case QMetaType::QDateTime: {
        const QLocale locale;
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
