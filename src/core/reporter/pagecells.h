#pragma once

#include "core/recordset/recordset.h"
#include "core/reporter/pagecolumns.h"
#include "core/reporter/timetext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QVariant>

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace zuvexal {

// A value's number for the statistics. A value that is already a number is
// taken as it is, so a double is never read back through a locale's decimal
// comma; only texts are read.
double numberOf(const QVariant &value, const QLocale &locale);

// The locale's texts of values, made once and kept: the decimal point, the
// dates already written (as spans of one buffer: a text apiece would take
// twice the memory) and the time format.
class ValueTexts
{
public:
    // A value's text, and whether a cell writes it unchanged.
    struct Text
    {
        QByteArrayView text;
        bool plain = false;
    };

    // Forgets every text made in another locale.
    void follow(const QLocale &locale);
    const QLocale &locale() const { return *m_locale; }

    Text real(double x);
    Text date(qint64 julianDay);
    Text time(int msecs);
    // The short date, then the time unless it is midnight.
    Text stamp(qint64 msecs);

private:
    struct DateSlot
    {
        qint32 day = std::numeric_limits<qint32>::min(); // Julian days beyond 32 bits are not kept
        quint32 from = 0;
        quint16 size = 0;
        bool plain = false;
    };
    Text unkept(QByteArray text);

    std::optional<QLocale> m_locale;
    std::string m_decimalPoint;
    bool m_plainReals = true;
    std::vector<DateSlot> m_dateSlots;
    std::string m_dateTexts;
    QByteArray m_unkeptDate;
    std::optional<TimeText> m_timeText;
    std::string m_text; // the real, time or time stamp written last
};

// Writes the cells of a section's values, each from "<TD>" on to "</TD>":
// its text escaped, or a link or a picture as its column says.
class CellWriter
{
public:
    // The locale of the values and whether picture columns show pictures.
    void follow(const ReportJob &job);

    // The cell of the section's current value in a column, and in number
    // what it adds to the statistics when it is numeric (set, not returned:
    // an optional double returned from here is put together in memory and
    // read back at once, a stall on every value). Values the store keeps
    // typed go from the store to the page as UTF-8; the others take the
    // general way through QVariant and QString.
    void appendStoredValueCell(std::string &html, const RecordSet &rsSection, const PageColumn &column,
                               std::optional<double> &number);

private:
    void appendCellOfText(std::string &html, ValueTexts::Text text, const PageColumn &column);

    ValueTexts m_texts;
    bool m_pictures = false;
};

} // namespace zuvexal
