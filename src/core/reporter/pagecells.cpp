#include "core/reporter/pagecells.h"

#include "core/base/paths.h"
#include "core/base/values_p.h"
#include "core/recordset/isotext.h"
#include "core/reporter/htmltext.h"

#include <QDate>
#include <QStringBuilder>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>
#include <type_traits>

namespace zuvexal {

namespace {

using namespace html;

// Dates already written are kept as text in this many slots, by Julian day
// (44 years without two days sharing one), and all dropped when their texts
// take more than MaxDateTextBytes.
constexpr qint64 DateSlots = 1 << 14;
constexpr size_t MaxDateTextBytes = 1 << 20;

char asciiLowerAt(QByteArrayView text, qsizetype i)
{
    return asciiLower(text[i]);
}

char asciiLowerAt(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    return c < 0x80 ? asciiLower(char(c)) : '\0';
}

// A marked value of a hyperlink column: "text#address#" links to the
// address and shows the text; "#address#" links to the value without its
// first and last character, so an address's own '#' stays in it. An address
// with '@' is an e-mail address. Nothing when the value is not marked or
// names no address.
template <typename View>
struct MarkedLink
{
    View address;
    View shown;
    bool mail = false;
};

// An ASCII character as the view's own character type.
template <typename View>
constexpr auto characterOf(char c)
{
    if constexpr (std::is_same_v<View, QStringView>)
        return QChar(char16_t(c));
    else
        return c;
}

template <typename View>
std::optional<MarkedLink<View>> markedLink(View v)
{
    const qsizetype first = v.indexOf(characterOf<View>('#'));
    if (first < 0)
        return std::nullopt;
    const qsizetype second = v.indexOf(characterOf<View>('#'), first + 1);
    if (second < 0)
        return std::nullopt;
    MarkedLink<View> link;
    link.address = first == 0 ? v.sliced(1, v.size() - 2) : v.sliced(first + 1, second - first - 1);
    if (link.address.isEmpty())
        return std::nullopt;
    link.shown = first > 0 ? v.first(first) : link.address;
    link.mail = link.address.contains(characterOf<View>('@'));
    // The e-mail link adds "mailto:" itself.
    static constexpr std::string_view scheme = "mailto:";
    const auto hasScheme = [&] {
        for (size_t i = 0; i < scheme.size(); ++i) {
            if (asciiLowerAt(link.address, qsizetype(i)) != scheme[i])
                return false;
        }
        return true;
    };
    if (link.mail && link.address.size() > qsizetype(scheme.size()) && hasScheme())
        link.address = link.address.sliced(qsizetype(scheme.size()));
    return link;
}

// The general way for any value, v being its text: a picture, a path with
// blanks, a link or escaped text.
void appendCellGeneral(std::string &html, QString v, const PageColumn &column, bool pictures)
{
    // Picture file names are looked up trimmed, and the trimmed text stays.
    if (pictures) {
        v = trimBlanks(v);
        if (!v.isEmpty() && column.pictureFolder) {
            const QString picture = *column.pictureFolder + v;
            const QString shortPath = ShortPathName(picture);
            const QString path = picturePathValue(shortPath.isEmpty() ? picture : shortPath);
            appendUtf8(html, QString(QLatin1String("<A Href=") % path % QLatin1String("> <img src = ") % path
                                     % QLatin1String(" border=0 width=120 height=120 ALT = image_here align=center> </A></TD>")));
            return;
        }
    }

    if (v.startsWith(QLatin1Char('/')) && v.contains(QLatin1Char(' '))) {
        const QString shortPath = ShortPathName(QString(v).remove(QLatin1Char('#')));
        if (!shortPath.isEmpty())
            v = QLatin1Char('#') % shortPath % QLatin1Char('#');
    }

    if (const auto link = column.hyperlink ? markedLink(QStringView(v)) : std::nullopt;
        link && hasSafeScheme(link->address.toUtf8())) {
        const QString address = addressValue(link->address.toString());
        const QString shown = escaped(link->shown.toString());
        if (link->mail)
            appendUtf8(html, QString(QLatin1String("<A HREF=mailto:") % address % QLatin1String(column.linkStyle)
                                     % QLatin1Char('>') % shown % QLatin1String("</A></TD>")));
        else
            appendUtf8(html, QString(QLatin1String("<A HREF='") % address % QLatin1Char('\'')
                                     % QLatin1String(column.linkStyle) % QLatin1Char('>') % shown
                                     % QLatin1String("</A></TD>")));
        return;
    }
    appendUtf8(html, escaped(v));
    html += "</TD>";
}

// appendCellGeneral() for a text in UTF-8 that QString::fromUtf8 reads,
// written straight from the bytes. Pictures, paths with blanks, links with
// longer characters and bytes that fromUtf8 would change take the general
// way.
void appendCellFromUtf8(std::string &html, QByteArrayView v, const PageColumn &column, bool pictures)
{
    auto general = [&] { appendCellGeneral(html, QString::fromUtf8(v), column, pictures); };
    if (pictures) {
        while (!v.isEmpty() && v.front() == ' ')
            v = v.sliced(1);
        while (!v.isEmpty() && v.back() == ' ')
            v.chop(1);
        if (!v.isEmpty() && column.pictureFolder)
            return general();
    }

    char bits = 0;
    for (char c : v)
        bits |= c;
    const bool ascii = (bits & 0x80) == 0;
    // fromUtf8 replaces malformed bytes and drops a leading byte order mark.
    if (!ascii && (!v.isValidUtf8() || v.startsWith("\xEF\xBB\xBF")))
        return general();
    if (v.startsWith('/') && v.contains(' '))
        return general();

    if (const auto link = column.hyperlink ? markedLink(v) : std::nullopt) {
        if (!ascii)
            return general();
        if (hasSafeScheme(link->address)) {
            html += link->mail ? "<A HREF=mailto:" : "<A HREF='";
            appendAsciiAddress(html, link->address);
            html += link->mail ? "" : "'";
            html += column.linkStyle;
            html += '>';
            appendEscaped(html, link->shown);
            html += "</A></TD>";
            return;
        }
    }
    appendEscaped(html, v);
    html += "</TD>";
}

// Whether appendCellFromUtf8() writes text unchanged (then "</TD>") in a
// column that shows no pictures: ASCII with nothing to escape, no link mark
// and no leading '/'. Numbers and dates mostly are, so their checks are
// made once.
bool isPlainCellText(QByteArrayView text)
{
    if (text.startsWith('/'))
        return false;
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return uchar(c) >= 0x80 || c == '#' || entityOf(uchar(c)); });
}

} // namespace

double numberOf(const QVariant &value, const QLocale &locale)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? -1.0 : 0.0; // the host's True
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::QString:
        return leadingNumber(value.toString());
    default:
        return leadingNumber(valueText(value, locale));
    }
}

void ValueTexts::follow(const QLocale &locale)
{
    if (m_locale == locale)
        return;
    m_locale = locale;
    m_decimalPoint = locale.decimalPoint().toStdString();
    m_plainReals = isPlainCellText(m_decimalPoint);
    m_dateSlots.clear();
    m_dateTexts.clear();
    m_timeText.emplace(locale);
}

ValueTexts::Text ValueTexts::real(double x)
{
    m_text.clear();
    appendRealText(m_text, x, m_decimalPoint);
    return {m_text, m_plainReals};
}

ValueTexts::Text ValueTexts::unkept(QByteArray text)
{
    m_unkeptDate = std::move(text);
    return {m_unkeptDate, isPlainCellText(m_unkeptDate)};
}

ValueTexts::Text ValueTexts::date(qint64 julianDay)
{
    const auto format = [&] {
        return m_locale->toString(QDate::fromJulianDay(julianDay), QLocale::ShortFormat).toUtf8();
    };
    const auto day = qint32(julianDay);
    if (day != julianDay || day == std::numeric_limits<qint32>::min())
        return unkept(format());
    if (m_dateSlots.empty() || m_dateTexts.size() > MaxDateTextBytes) {
        m_dateSlots.assign(size_t(DateSlots), DateSlot{});
        m_dateTexts.clear();
    }
    DateSlot &slot = m_dateSlots[size_t(julianDay & (DateSlots - 1))];
    if (slot.day != day) {
        QByteArray text = format();
        if (text.size() > std::numeric_limits<quint16>::max())
            return unkept(std::move(text));
        slot.day = day;
        slot.from = quint32(m_dateTexts.size());
        slot.size = quint16(text.size());
        slot.plain = isPlainCellText(text);
        m_dateTexts.append(text.constData(), size_t(text.size()));
    }
    return {QByteArrayView(m_dateTexts).sliced(slot.from, slot.size), slot.plain};
}

ValueTexts::Text ValueTexts::time(int msecs)
{
    m_text.clear();
    m_timeText->append(m_text, msecs);
    return {m_text, isPlainCellText(m_text)};
}

// As valueText() writes a time stamp's wall-clock date and time, from the
// stored number.
ValueTexts::Text ValueTexts::stamp(qint64 msecs)
{
    const qint64 day = floorDiv(msecs, MsecsPerDay);
    const auto time = int(msecs - day * MsecsPerDay);
    const Text date = this->date(day);
    if (time == 0)
        return date;
    m_text.assign(date.text.data(), size_t(date.text.size()));
    m_text += ' ';
    m_timeText->append(m_text, time);
    return {m_text, isPlainCellText(m_text)};
}

void CellWriter::follow(const ReportJob &job)
{
    m_texts.follow(job.locale);
    m_pictures = showsPictures(job);
}

// A text whose plainness is known: a plain one goes in as it is.
void CellWriter::appendCellOfText(std::string &html, ValueTexts::Text text, const PageColumn &column)
{
    if (!text.plain || m_pictures)
        return appendCellFromUtf8(html, text.text, column, m_pictures);
    append(html, text.text);
    html += "</TD>";
}

void CellWriter::appendStoredValueCell(std::string &html, const RecordSet &rsSection, const PageColumn &column,
                                       std::optional<double> &number)
{
    using Kind = StoredValue::Kind;
    number.reset();
    StoredValue v;
    if (column.field)
        v = rsSection.storedValue(*column.field);
    else
        v.kind = Kind::Null;
    const QLocale &locale = m_texts.locale();
    switch (v.kind) {
    case Kind::Null:
        appendCellFromUtf8(html, {}, column, m_pictures);
        return;
    case Kind::Integer: {
        char digits[24];
        const char *end = std::to_chars(std::begin(digits), std::end(digits), v.integer).ptr;
        appendCellOfText(html, {QByteArrayView(digits, end - digits), true}, column);
        number = double(v.integer);
        return;
    }
    case Kind::Boolean:
        appendCellFromUtf8(html, v.integer ? "True" : "False", column, m_pictures);
        number = v.integer ? -1.0 : 0.0; // the host's True
        return;
    case Kind::Real:
        appendCellOfText(html, m_texts.real(v.real), column);
        number = v.real;
        return;
    case Kind::Date:
        appendCellOfText(html, m_texts.date(v.integer), column);
        return;
    case Kind::DateTime:
        appendCellOfText(html, m_texts.stamp(v.integer), column);
        return;
    case Kind::Time:
        appendCellOfText(html, m_texts.time(int(v.integer)), column);
        return;
    case Kind::Text: {
        appendCellFromUtf8(html, v.text, column, m_pictures);
        if (surelyNotNumeric(v.text))
            return;
        const QVariant text(QString::fromUtf8(v.text));
        if (isNumeric(text, locale))
            number = numberOf(text, locale);
        return;
    }
    case Kind::Other:
        break;
    }
    const QVariant value = rsSection.value(*column.field).value_or(QVariant());
    appendCellGeneral(html, valueText(value, locale), column, m_pictures);
    if (isNumeric(value, locale))
        number = numberOf(value, locale);
}

} // namespace zuvexal
