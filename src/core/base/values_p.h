#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include <ZuVexal/zuvexalcore_export.h>

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <string>
#include <string_view>

// Value conventions shared by every subsystem: how texts become numbers and
// values become texts, the same way everywhere.
class QLocale;

namespace zuvexal {

// The number at the start of a text: blanks (spaces, tabs, line breaks) are
// skipped wherever they stand, then an optional sign, digits, an optional
// decimal point with digits and an optional exponent (E or D) are read up to
// the first other character. 0 when there is no number ("12abc" is 12).
double leadingNumber(QStringView text);

// Whether a value is a number or a text that reads as one in the locale
// (Qt's default when none is given) or in C notation (blanks around it
// allowed). Null, empty and blank values are not numeric; booleans are.
bool isNumeric(const QVariant &value);
bool isNumeric(const QVariant &value, const QLocale &locale);

// True when a text in UTF-8 is surely not numeric in the sense of isNumeric:
// it is blank, or its first character starts no number. False means only
// that isNumeric has to decide.
bool surelyNotNumeric(QByteArrayView utf8);

// Doubles are written with at most this many significant digits: all a
// double holds for certain, none of the noise of its binary fraction.
constexpr int GeneralSignificantDigits = 15;

// The general text of a value: whole numbers without decimals, doubles
// rounded to GeneralSignificantDigits in their shortest form (the shorter
// of the decimal and exponent forms) with the locale's decimal separator, dates
// in the locale's short format, null and empty values as empty text. The
// locale is Qt's default when none is given.
ZUVEXAL_CORE_EXPORT QString valueText(const QVariant &value);
QString valueText(const QVariant &value, const QLocale &locale);

// The locale's long time format without its time-zone part, as valueText()
// writes times and the times of time stamps.
QString timeFormatWithoutZone(const QLocale &locale);

// valueText() of a double, appended in UTF-8 with the given decimal point
// (the current locale's, in UTF-8) without building a QString.
void appendRealText(std::string &utf8, double value, std::string_view decimalPoint);

// Leading and trailing spaces removed; other white space is kept.
QString trimBlanks(QStringView text);
QString trimLeadingBlanks(QStringView text);
QString trimTrailingBlanks(QStringView text);

} // namespace zuvexal
