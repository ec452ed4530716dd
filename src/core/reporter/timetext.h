#pragma once

#include <QLocale>
#include <QString>

#include <string>
#include <vector>

namespace zuvexal {

// The time of a time stamp as QLocale::toString(QTime, format) writes it in
// the locale's long time format without zone, made from the hour, minute and
// second with the locale's digits and AM/PM texts instead of asking the
// locale for every value. A format with fractions of a second is left to
// QLocale.
class TimeText
{
public:
    explicit TimeText(const QLocale &locale);
    void append(std::string &out, int msecs) const;

private:
    // Hour is 'h', from 1 to 12 when the format shows AM/PM; Hour24 is 'H'.
    enum class Part : quint8 { Literal, Hour, Hour24, Minute, Second, AmPm };
    struct Piece
    {
        Part part;
        bool padded = false;
        std::string literal; // Literal; AmPm: the morning text
        std::string pm;      // AmPm: the afternoon text
    };
    void appendNumber(std::string &out, int n, bool padded) const;

    QLocale m_locale;
    QString m_format;
    std::vector<Piece> m_pieces;
    bool m_twelveHours = false;
    bool m_byLocale = false;
    std::string m_digits[10];
};

} // namespace zuvexal
