#pragma once

#include <QString>
#include <QVariant>

// Value conventions shared by every subsystem: how texts become numbers and
// values become texts, the same way everywhere.
namespace zuvexal {

// The number at the start of a text: blanks (spaces, tabs, line breaks) are
// skipped wherever they stand, then an optional sign, digits, an optional
// decimal point with digits and an optional exponent (E or D) are read up to
// the first other character. 0 when there is no number ("12abc" is 12).
double leadingNumber(QStringView text);

// Whether a value is a number or a text that reads as one in the current
// locale or in C notation (blanks around it allowed). Null, empty and blank
// values are not numeric; booleans are.
bool isNumeric(const QVariant &value);

// The general text of a value: whole numbers without decimals, doubles in
// their shortest round-trip form with the current locale's decimal separator,
// dates in the locale's short format, null and empty values as empty text.
QString valueText(const QVariant &value);

// Leading and trailing spaces removed; other white space is kept.
QString trimBlanks(QStringView text);
QString trimLeadingBlanks(QStringView text);
QString trimTrailingBlanks(QStringView text);

} // namespace zuvexal
