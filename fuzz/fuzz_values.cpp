// The value conventions on a random text, in the C locale and in one with a
// decimal comma. The text also gives a double, an integer and a date, whose
// general texts are checked against the UTF-8 writer and the number reader.
#include "fuzzsupport.h"

#include "core/base/values_p.h"

#include <QDate>
#include <QLocale>

#include <cmath>
#include <cstring>
#include <string>

using namespace zuvexal;

namespace {

template <typename T>
T numberOf(QByteArrayView bytes)
{
    T value{};
    std::memcpy(&value, bytes.data(), std::min(sizeof value, size_t(bytes.size())));
    return value;
}

void checkText(QByteArrayView utf8)
{
    const QString text = fuzz::textOf(utf8);
    const double number = leadingNumber(text);
    fuzz::require(std::isfinite(number), "leadingNumber is finite", text);
    if (surelyNotNumeric(utf8))
        fuzz::require(!isNumeric(text), "surelyNotNumeric excludes isNumeric", text);

    const QString trimmed = trimBlanks(text);
    fuzz::require(trimBlanks(trimmed) == trimmed, "trimBlanks is idempotent", text);
    fuzz::require(trimLeadingBlanks(trimTrailingBlanks(text)) == trimmed, "trimBlanks trims both ends", text);
    fuzz::require(!trimmed.startsWith(u' ') && !trimmed.endsWith(u' '), "trimBlanks leaves no edge blank", text);
    fuzz::require(valueText(text) == text, "the general text of a text is the text", text);
}

void checkReal(double value)
{
    const QString text = valueText(value);
    std::string utf8;
    appendRealText(utf8, value, QLocale().decimalPoint().toStdString());
    fuzz::require(QString::fromStdString(utf8) == text, "appendRealText writes valueText",
                  QString::number(value, 'g', 17) + u'\n' + text + u'\n' + QString::fromStdString(utf8));
    // The 15-digit text of a double within half a unit of the 15th digit of
    // the largest one lies beyond it, as in the general conversion: it reads
    // back as no number.
    if (!std::isfinite(value) || std::abs(value) > 1.797693134862315e308)
        return;
    fuzz::require(isNumeric(text), "the general text of a number is numeric", text);
    // The number reader knows only the decimal point.
    QString point = text;
    point.replace(QLocale().decimalPoint(), QStringLiteral("."));
    // The general text holds at most 15 significant digits: read back it is
    // the value within a unit of the 15th digit (half of one, and the
    // reader's own rounding), and it writes itself again unchanged.
    const double back = leadingNumber(point);
    fuzz::require(valueText(back) == text, "the general text read back writes itself",
                  QString::number(value, 'g', 17) + u'\n' + text);
    if (std::isnormal(value))
        fuzz::require(std::abs(back - value) <= 1e-14 * std::abs(value), "the general text is the value to 15 digits",
                      QString::number(value, 'g', 17) + u'\n' + text);
}

void checkOthers(QByteArrayView bytes)
{
    const auto integer = numberOf<qint64>(bytes);
    const QString whole = valueText(integer);
    fuzz::require(whole == QString::number(integer), "whole numbers have no decimals", whole);
    fuzz::require(isNumeric(whole), "the general text of a whole number is numeric", whole);
    valueText(QDate::fromJulianDay(numberOf<qint32>(bytes)));
    valueText(QDateTime::fromMSecsSinceEpoch(integer / 1024));
    valueText(bytes.toByteArray());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication(fuzz::Application::Core);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(data, qsizetype(size));
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        checkText(input);
        checkReal(numberOf<double>(input));
        checkReal(leadingNumber(fuzz::textOf(input)));
        checkOthers(input);
    }
    return 0;
}
