#include "core/reporter/pagewriter.h"
#include "core/reporter/htmltext.h"
#include "core/reporter/tablecolors.h"
#include "core/reporter/timetext.h"

#include "core/base/quotedrecord.h"
#include "core/base/values_p.h"
#include "core/base/paths.h"
#include "core/recordset/fieldkind.h"
#include "core/recordset/isotext.h"

#include <QLocale>
#include <QStringBuilder>
#include <QTime>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

namespace zuvexal {

namespace {

using namespace html;

constexpr qint32 RecsPerSection = 5;

constexpr qint32 SectionLinksPerLine = 9;
constexpr qint32 VolLinksPerLine = 12;
// Dates already written are kept as text in this many slots, by Julian day
// (44 years without two days sharing one), and all dropped when their texts
// take more than MaxDateTextBytes.
constexpr qint64 DateSlots = 1 << 14;
constexpr size_t MaxDateTextBytes = 1 << 20;

// 1-based position of needle in text searching from character start, 0 when
// absent: the positions the page texts are defined by.
qsizetype positionOf(const QString &text, QChar needle, qsizetype start)
{
    if (start < 1 || start > text.size())
        return 0;
    return text.indexOf(needle, start - 1) + 1;
}

bool isBlank(const QString &text)
{
    return trimBlanks(text).isEmpty();
}

// A value that is already a number is taken as it is, so a double is never
// read back through a locale's decimal comma; only texts are read.
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

QString slotText(const std::optional<double> &slot, const QLocale &locale)
{
    return slot ? valueText(*slot, locale) : QString();
}

void add(std::optional<double> &slot, double x)
{
    slot = slot.value_or(0.0) + x;
}

void clear(std::vector<std::optional<double>> &slots)
{
    std::fill(slots.begin(), slots.end(), std::nullopt);
}

// "Section<k>" gives k; the page heading of the first section gives 0, as
// does a number beyond 32 bits.
qint32 sectionNumber(const QString &SectionName)
{
    const double n = std::nearbyint(leadingNumber(SectionName.mid(7)));
    if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(n);
}

std::optional<qsizetype> columnNamed(const QStringList &columns, const QString &name)
{
    const qsizetype c = columns.indexOf(name);
    return c >= 0 ? std::optional(c) : std::nullopt;
}

bool showsPictures(const PageContext &page)
{
    return page.ContainPictureFilenameField && !page.ColumnPictureFolders.isEmpty();
}

// What a column needs per value, looked up once per section.
struct Column
{
    std::optional<int> field;      // in the section's record set
    bool hyperlink = false;        // its marked values become links
    std::optional<QString> pictureFolder;
    std::string linkStyle;         // of its links, for the table's colour
};

// What describing the columns reads: the section's field names, the
// source's fields and the picture columns.
struct ColumnInputs
{
    QStringList columns;
    QStringList sectionFields;
    std::vector<Field> sourceFields;
    bool pictures = false;
    QStringList gridFieldNames;
    QStringList pictureFolders;
};

// Whether the columns were described from these inputs: looked at once per
// section, so it reads them where they are.
bool isDescribedFrom(const ColumnInputs &inputs, const QStringList &columns, const RecordSet &rsSection,
                   const PageContext &page)
{
    if (inputs.columns != columns || inputs.sectionFields.size() != rsSection.fieldCount())
        return false;
    for (int f = 0; f < rsSection.fieldCount(); ++f) {
        if (inputs.sectionFields[f] != rsSection.field(f).name)
            return false;
    }
    if (inputs.sourceFields != page.sourceFields)
        return false;
    if (inputs.pictures != showsPictures(page))
        return false;
    return !inputs.pictures
        || (inputs.gridFieldNames == page.GridFieldNames && inputs.pictureFolders == page.ColumnPictureFolders);
}

ColumnInputs inputsOf(const QStringList &columns, const RecordSet &rsSection, const PageContext &page)
{
    ColumnInputs inputs;
    inputs.columns = columns;
    for (int f = 0; f < rsSection.fieldCount(); ++f)
        inputs.sectionFields.append(rsSection.field(f).name);
    inputs.sourceFields = page.sourceFields;
    inputs.pictures = showsPictures(page);
    if (inputs.pictures) {
        inputs.gridFieldNames = page.GridFieldNames;
        inputs.pictureFolders = page.ColumnPictureFolders;
    }
    return inputs;
}

std::vector<Column> describeColumns(const QStringList &columns, const RecordSet &rsSection,
                                    const PageContext &page)
{
    std::vector<Column> described(size_t(columns.size()));
    for (qsizetype c = 0; c < columns.size(); ++c) {
        Column &column = described[size_t(c)];
        column.field = rsSection.indexOf(columns[c]);
        const auto source = std::find_if(page.sourceFields.begin(), page.sourceFields.end(), [&](const Field &f) {
            return columns[c].compare(f.name, Qt::CaseInsensitive) == 0;
        });
        if (source != page.sourceFields.end())
            column.hyperlink = fieldKindOf(qint16(source->attributes), qint16(source->type)) == QLatin1String("hyperlink");
        // Picture folders matter only while pictures are shown.
        if (!showsPictures(page))
            continue;
        const QString upper = columns[c].toUpper();
        for (qsizetype j = 0; j < page.ColumnPictureFolders.size() && j < page.GridFieldNames.size(); ++j) {
            if (!page.ColumnPictureFolders[j].isEmpty() && page.GridFieldNames[j].toUpper() == upper) {
                column.pictureFolder = page.ColumnPictureFolders[j];
                break;
            }
        }
    }
    return described;
}

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

// Appends the contents of one value's cell, v being its text; the general
// way for any value.
void appendCell(std::string &html, QString v, const Column &column, const PageContext &page)
{
    // Picture file names are looked up trimmed, and the trimmed text stays.
    if (showsPictures(page)) {
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

// appendCell() for a text in UTF-8 that QString::fromUtf8 reads. The cells
// of most values are written straight from the bytes; pictures, paths with
// blanks, links with longer characters and bytes that fromUtf8 would change
// take the general way.
void appendTextCell(std::string &html, QByteArrayView v, const Column &column, const PageContext &page)
{
    auto general = [&] { appendCell(html, QString::fromUtf8(v), column, page); };
    if (showsPictures(page)) {
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

// Whether appendTextCell() writes text unchanged (then "</TD>") in a column
// that shows no pictures: ASCII with nothing to escape, no link mark and no
// leading '/'. Numbers and dates mostly are, so their checks are made once.
bool isPlainCellText(QByteArrayView text)
{
    if (text.startsWith('/'))
        return false;
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return uchar(c) >= 0x80 || c == '#' || entityOf(uchar(c)); });
}

void appendCellText(std::string &html, QByteArrayView text, bool plain, const Column &column,
                    const PageContext &page)
{
    if (!plain || showsPictures(page))
        return appendTextCell(html, text, column, page);
    append(html, text);
    html += "</TD>";
}

} // namespace

// Texts made once and used by many sections: the fragment's buffer, the
// parts every section repeats, and the locale's texts of values. Each part
// is made again when what it is made of changes.
struct PageWriter::Texts
{
    // The fragment being written when it goes straight to its file; its
    // memory is kept between sections.
    std::string html;

    // The table's head and the start of each cell, for one colour and set of columns.
    QString tableColor;
    QStringList tableColumns;
    std::string tableHead;
    std::string cellStart;
    std::string linkStyle;

    // The columns as last described, and what that was read from.
    ColumnInputs inputs;
    std::vector<Column> columns;

    // The links to sections 1 to sectionLinksLast with the span of each
    // link: a section writes them all but its own.
    qint32 sectionLinksLast = 0;
    std::string sectionLinks;
    std::vector<std::pair<qsizetype, qsizetype>> sectionLinkSpans;

    // The links to the pages 1 to pageLinksTotal, named by pagePieces
    // joined by the page number and pageExtension, with the span of each
    // link and the line break before it: a page writes them all but its own.
    QStringList pagePieces;
    QString pageExtension;
    qint32 pageLinksTotal = 0;
    std::string pageLinks;
    std::vector<std::pair<qsizetype, qsizetype>> pageLinkSpans;

    // The texts of values in the locale they were made in: the decimal
    // point, and the dates already written, as spans of one buffer (a text
    // apiece would take twice the memory).
    struct DateSlot
    {
        qint32 day = std::numeric_limits<qint32>::min(); // Julian days beyond 32 bits are not kept
        quint32 from = 0;
        quint16 size = 0;
        bool plain = false;
    };
    struct DateText
    {
        QByteArrayView text;
        bool plain;
    };
    std::optional<QLocale> locale;
    std::string decimalPoint;
    bool plainReals = true;
    std::vector<DateSlot> dateSlots;
    std::string dateTexts;
    QByteArray unkeptDate;
    std::optional<TimeText> timeText;
    std::string stampText;
    // The text of the double written last.
    std::string realDigits;

    void followLocale(const QLocale &current);
    const std::vector<Column> &describe(const QStringList &columns, const RecordSet &rsSection,
                                        const PageContext &page);
    void useTable(const QString &TableColor, const QStringList &columns);
    void appendSectionLinks(std::string &out, qint32 last, qint32 sectionNo);
    void appendPageLinks(std::string &out, const QString &FileName, const PageContext &page);
    QByteArrayView realText(double x);
    DateText dateText(qint64 julianDay);
    void appendStampCell(std::string &html, qint64 msecs, const Column &column, const PageContext &page);
    std::optional<double> appendValueCell(std::string &html, const RecordSet &rsSection, const Column &column,
                                          const PageContext &page);
};

void PageWriter::Texts::followLocale(const QLocale &current)
{
    if (locale == current)
        return;
    locale = current;
    decimalPoint = current.decimalPoint().toStdString();
    plainReals = isPlainCellText(decimalPoint);
    dateSlots.clear();
    dateTexts.clear();
    timeText.emplace(current);
}

// Sections of a run share their columns: they are looked up again only
// when what they are read from changes.
const std::vector<Column> &PageWriter::Texts::describe(const QStringList &columnNames, const RecordSet &rsSection,
                                                       const PageContext &page)
{
    if (columns.empty() || !isDescribedFrom(inputs, columnNames, rsSection, page)) {
        columns = describeColumns(columnNames, rsSection, page);
        inputs = inputsOf(columnNames, rsSection, page);
    }
    for (Column &column : columns) {
        if (column.hyperlink && column.linkStyle != linkStyle)
            column.linkStyle = linkStyle;
    }
    return columns;
}

void PageWriter::Texts::useTable(const QString &TableColor, const QStringList &columns)
{
    if (!tableHead.empty() && TableColor == tableColor && columns == tableColumns)
        return;
    tableColor = TableColor;
    tableColumns = columns;
    const QString color = pageColor(TableColor);
    // Where black does not read on the colour, the table's text and links
    // take one that does; elsewhere the table is written as it always was.
    const QColor background = legacyColor(color);
    const auto style = [](const std::optional<QColor> &text) {
        return text ? QStringLiteral(" STYLE=\"color:%1\"").arg(text->name()) : QString();
    };
    linkStyle = style(tableLinkColor(background)).toStdString();
    // The table tag is closed, so browsers paint the colour chosen (left
    // open, "[WHITE]<TR" was read as the colour, a bright green).
    QString head = QLatin1String("<TABLE BORDER=1 BORDERCOLOR=BLACK CELLPADDING=5 ALIGN=CENTER")
        + style(tableTextColor(background)) + QLatin1String(" BGCOLOR=") + color + QLatin1String("><TR>");
    for (const QString &name : columns)
        head += QLatin1String("<TH>") + escaped(name) + QLatin1String("</TH>");
    head += QLatin1String("</TR>");
    tableHead = head.toStdString();
    cellStart = (QLatin1String("<TD><BGCOLOR=[") + color + QLatin1String("]>")).toStdString();
}

void PageWriter::Texts::appendSectionLinks(std::string &out, qint32 last, qint32 sectionNo)
{
    if (last < 1)
        return;
    if (last != sectionLinksLast) {
        sectionLinksLast = last;
        sectionLinks.clear();
        sectionLinkSpans.clear();
        for (qint32 k = 1; k <= last; ++k) {
            // The line breaks stand where they would with every link written.
            if (k % SectionLinksPerLine == 1 && k > 1)
                sectionLinks += "<Br>";
            const qsizetype from = sectionLinks.size();
            const std::string n = std::to_string(k);
            sectionLinks += "<A HRef='#Section" + n + "'>Section" + n + "</A>...";
            sectionLinkSpans.emplace_back(from, sectionLinks.size());
        }
    }
    if (sectionNo < 1 || sectionNo > last) {
        out += sectionLinks;
        return;
    }
    const auto [from, to] = sectionLinkSpans[size_t(sectionNo - 1)];
    out.append(sectionLinks, 0, size_t(from));
    out.append(sectionLinks, size_t(to));
}

// Page files differ only in the page number before the extension.
void PageWriter::Texts::appendPageLinks(std::string &out, const QString &FileName, const PageContext &page)
{
    out += "<HR>";
    const QString own = FileNamePart(FileName).toLower();
    QString extension;
    if (own.endsWith(QLatin1String(".htm")) || own.endsWith(QLatin1String(".html")))
        extension = QStringLiteral(".htm");
    else if (own.endsWith(QLatin1String(".asp")))
        extension = QStringLiteral(".asp");
    // The own name cut where its page number stands; another page's name
    // is the pieces joined by that page's number.
    const QString ownNumbered = QString::number(page.CurPage) + extension;
    QStringList pieces{own};
    if (!extension.isEmpty()) {
        pieces.clear();
        qsizetype from = 0;
        for (qsizetype at = own.indexOf(ownNumbered, 0, Qt::CaseInsensitive); at >= 0;
             at = own.indexOf(ownNumbered, from, Qt::CaseInsensitive)) {
            pieces << own.mid(from, at - from);
            from = at + ownNumbered.size();
        }
        pieces << own.mid(from);
    }

    if (pageLinks.empty() || pieces != pagePieces || extension != pageExtension
        || page.TotalPage != pageLinksTotal) {
        pagePieces = pieces;
        pageExtension = extension;
        pageLinksTotal = page.TotalPage;
        QString links;
        std::vector<std::pair<qsizetype, qsizetype>> spans;
        for (qint32 v = 1; v <= page.TotalPage; ++v) {
            const qsizetype from = links.size();
            if (v % VolLinksPerLine == 1 && v > 1)
                links += QLatin1String("<Br>");
            const QString number = QString::number(v);
            links += QLatin1String("<A HRef='");
            links += pieces.front();
            for (qsizetype i = 1; i < pieces.size(); ++i)
                links += number + extension + pieces[i];
            links += QLatin1String("'>Vol ") + number + QLatin1String("</A>...");
            spans.emplace_back(from, links.size());
        }
        // Every span starts and ends at ASCII, so its UTF-8 bounds follow
        // from the lengths of the UTF-8 before them.
        pageLinks.clear();
        pageLinkSpans.clear();
        qsizetype converted = 0;
        for (const auto &[from, to] : spans) {
            append(pageLinks, QStringView(links).sliced(converted, from - converted).toUtf8());
            const qsizetype start = qsizetype(pageLinks.size());
            append(pageLinks, QStringView(links).sliced(from, to - from).toUtf8());
            pageLinkSpans.emplace_back(start, qsizetype(pageLinks.size()));
            converted = to;
        }
    }
    if (page.CurPage < 1 || page.CurPage > page.TotalPage) {
        out += pageLinks;
        return;
    }
    const auto [from, to] = pageLinkSpans[size_t(page.CurPage - 1)];
    out.append(pageLinks, 0, size_t(from));
    out.append(pageLinks, size_t(to));
}

QByteArrayView PageWriter::Texts::realText(double x)
{
    realDigits.clear();
    appendRealText(realDigits, x, decimalPoint);
    return realDigits;
}

PageWriter::Texts::DateText PageWriter::Texts::dateText(qint64 julianDay)
{
    const auto format = [&] {
        return locale->toString(QDate::fromJulianDay(julianDay), QLocale::ShortFormat).toUtf8();
    };
    const auto day = qint32(julianDay);
    if (day != julianDay || day == std::numeric_limits<qint32>::min()) {
        unkeptDate = format();
        return {unkeptDate, isPlainCellText(unkeptDate)};
    }
    if (dateSlots.empty() || dateTexts.size() > MaxDateTextBytes) {
        dateSlots.assign(size_t(DateSlots), DateSlot{});
        dateTexts.clear();
    }
    DateSlot &slot = dateSlots[size_t(julianDay & (DateSlots - 1))];
    if (slot.day != day) {
        const QByteArray text = format();
        if (text.size() > std::numeric_limits<quint16>::max()) {
            unkeptDate = text;
            return {unkeptDate, isPlainCellText(unkeptDate)};
        }
        slot.day = day;
        slot.from = quint32(dateTexts.size());
        slot.size = quint16(text.size());
        slot.plain = isPlainCellText(text);
        dateTexts.append(text.constData(), size_t(text.size()));
    }
    return {QByteArrayView(dateTexts).sliced(slot.from, slot.size), slot.plain};
}

// A time stamp as valueText() writes its wall-clock date and time, from the
// stored number: the short date, then the time unless it is midnight.
void PageWriter::Texts::appendStampCell(std::string &html, qint64 msecs, const Column &column,
                                        const PageContext &page)
{
    const qint64 day = floorDiv(msecs, MsecsPerDay);
    const auto time = int(msecs - day * MsecsPerDay);
    const DateText date = dateText(day);
    if (time == 0)
        return appendCellText(html, date.text, date.plain, column, page);
    stampText.assign(date.text.data(), size_t(date.text.size()));
    stampText += ' ';
    timeText->append(stampText, time);
    appendCellText(html, stampText, isPlainCellText(stampText), column, page);
}

// Appends the contents of the cell of the section's current value in a
// column, and gives the number it adds to the statistics when it is numeric.
// Values the store keeps typed go from the store to the page as UTF-8; the
// others take the general way through QVariant and QString.
std::optional<double> PageWriter::Texts::appendValueCell(std::string &html, const RecordSet &rsSection,
                                                         const Column &column, const PageContext &page)
{
    using Kind = StoredValue::Kind;
    StoredValue v;
    if (column.field)
        v = rsSection.storedValue(*column.field);
    else
        v.kind = Kind::Null;
    switch (v.kind) {
    case Kind::Null:
        appendTextCell(html, {}, column, page);
        return std::nullopt;
    case Kind::Integer: {
        char digits[24];
        const char *end = std::to_chars(std::begin(digits), std::end(digits), v.integer).ptr;
        appendCellText(html, QByteArrayView(digits, end - digits), true, column, page);
        return double(v.integer);
    }
    case Kind::Boolean:
        appendTextCell(html, v.integer ? "True" : "False", column, page);
        return v.integer ? -1.0 : 0.0; // the host's True
    case Kind::Real:
        appendCellText(html, realText(v.real), plainReals, column, page);
        return v.real;
    case Kind::Date: {
        const DateText date = dateText(v.integer);
        appendCellText(html, date.text, date.plain, column, page);
        return std::nullopt;
    }
    case Kind::DateTime:
        appendStampCell(html, v.integer, column, page);
        return std::nullopt;
    case Kind::Time:
        stampText.clear();
        timeText->append(stampText, int(v.integer));
        appendCellText(html, stampText, isPlainCellText(stampText), column, page);
        return std::nullopt;
    case Kind::Text: {
        appendTextCell(html, v.text, column, page);
        if (surelyNotNumeric(v.text))
            return std::nullopt;
        const QVariant text(QString::fromUtf8(v.text));
        return isNumeric(text, page.locale) ? std::optional(numberOf(text, page.locale)) : std::nullopt;
    }
    case Kind::Other:
        break;
    }
    const QVariant value = rsSection.value(*column.field).value_or(QVariant());
    appendCell(html, valueText(value, page.locale), column, page);
    return isNumeric(value, page.locale) ? std::optional(numberOf(value, page.locale)) : std::nullopt;
}

PageWriter::PageWriter()
    : m_texts(std::make_unique<Texts>())
{
}

PageWriter::~PageWriter() = default;

void PageWriter::reset()
{
    m_stats = Statistics{};
    m_texts = std::make_unique<Texts>();
}

bool PageWriter::WriteReportSection(const QString &FileName, RecordSet &rsSection, qint32 FieldCount,
                                    const QStringList &FieldNames, const QString &SectionName,
                                    qint32 SectionCount, const QString &TableColor, const PageContext &page)
{
    // The output columns; FieldNames itself (shared, not copied) when it
    // holds exactly FieldCount, as a run's calls do.
    QStringList columns;
    if (FieldCount == FieldNames.size()) {
        columns = FieldNames;
    } else {
        for (qint32 c = 0; c < FieldCount; ++c)
            columns.append(FieldNames.value(c));
    }
    for (Slots *slots : {&m_stats.pageSums, &m_stats.totalSums, &m_stats.minimums, &m_stats.maximums})
        slots->resize(size_t(columns.size()));
    rsSection.moveFirst();

    const qint32 sectionNo = SectionCount > 0 ? sectionNumber(SectionName) : 0;

    // The fragment is written in UTF-8. Texts of the host, the settings and
    // the record set are converted where they meet ASCII markup, which gives
    // the bytes that converting the whole fragment at once would.
    Texts &texts = *m_texts;
    texts.followLocale(page.locale);
    // Collected sections are written where they stay, after the ones before.
    std::string &html = m_collector ? m_collector->bytes : texts.html;
    if (!m_collector)
        html.clear();
    html += "<HTML><HEAD></HEAD><BODY><H3> <A Name='";
    // An apostrophe of the title would end the attribute.
    appendUtf8(html, QString(SectionName).replace(QLatin1Char('\''), QLatin1String("&#39;")));
    html += "'>";
    appendUtf8(html, SectionName);
    html += "</A></H3><META NAME=\"GENERATOR\" CONTENT=\"ZuVexal Report by ";
    appendUtf8(html, MakerWebsite);
    html += "\"><FONT FACE =";
    appendUtf8(html, page.settings.FontName);
    html += ",Times New Roman,Arial,Courier New</FONT>";

    if (page.AdvSettings && sectionNo == 0) {
        QString header;
        writeHeaderBlock(header, rsSection, columns, page);
        appendUtf8(html, header);
    }
    if (SectionCount > 0) {
        // A page holding a multiple of five records has no last, partial section.
        const qint32 last = page.NumRecsOnPage % RecsPerSection != 0 ? SectionCount : SectionCount - 1;
        texts.appendSectionLinks(html, last, sectionNo);
    }
    html += "<P>  </P>";

    texts.useTable(TableColor, columns);
    html += texts.tableHead;
    const std::vector<Column> &described = texts.describe(columns, rsSection, page);
    qint64 rows = 0;
    for (; !rsSection.eof(); rsSection.moveNext()) {
        html += "<TR>";
        for (size_t c = 0; c < described.size(); ++c) {
            html += texts.cellStart;
            if (const std::optional<double> x = texts.appendValueCell(html, rsSection, described[c], page)) {
                add(m_stats.pageSums[c], *x);
                if (*x < m_stats.minimums[c].value_or(0.0))
                    m_stats.minimums[c] = *x;
                if (*x > m_stats.maximums[c].value_or(0.0))
                    m_stats.maximums[c] = *x;
            }
        }
        html += "</TR>";
        ++rows;
        ++m_stats.recsInVol;
    }
    html += "</TABLE><P>  </P>";

    // Sections hold five records each, so only the page's last one ends at
    // its record count.
    const bool lastOfPage = qint64(sectionNo) * RecsPerSection + rows == page.NumRecsOnPage;
    if (lastOfPage && page.AdvSettings) {
        QString summaries;
        writeSummaries(summaries, columns, page);
        appendUtf8(html, summaries);
    }
    if (lastOfPage && page.TotalPage > 1)
        texts.appendPageLinks(html, FileName, page);
    html += "<P>  </P> </BODY></HTML>";

    rsSection.moveFirst();
    if (m_collector) {
        m_collector->ends.push_back(qsizetype(html.size()));
        return true;
    }
    return appendQuotedRecord(FileName, QByteArrayView(html));
}

void PageWriter::writeHeaderBlock(QString &html, const RecordSet &rsSection, const QStringList &columns,
                                  const PageContext &page)
{
    const AdvancedSettings &s = page.settings;
    if (page.CurPage == 1) {
        if (!isBlank(s.LogoFile))
            html += QLatin1String("<P Align=Center><img src = ") + picturePathValue(s.LogoFile)
                + QLatin1String(" ALT = Logo_here ></P> ");
        html += QLatin1String("<P Align=Center><B>");
        const qsizetype dot = positionOf(s.WebsiteLink, u'.', 2);
        if (!isBlank(s.WebsiteLink) && dot > 0 && positionOf(s.WebsiteLink, u'.', dot + 2) > 0)
            html += QLatin1String(" Visit our Website ...   <A HREF='") + s.WebsiteLink + QLatin1String("'>")
                + s.WebsiteLink + QLatin1String("</A> ");
        if (!isBlank(s.EmailAddress) && positionOf(s.EmailAddress, u'@', 2) > 0
            && positionOf(s.EmailAddress, u'.', 4) > 0)
            html += QLatin1String(" &nbsp;&nbsp;&nbsp;  E-mail us now ... <A HREF=mailto:") + s.EmailAddress
                + QLatin1Char('>') + s.EmailAddress + QLatin1String("</A><Br>");
        html += QLatin1String(" </B></P>");

        // The extremes of the report start from its first record.
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const auto field = rsSection.indexOf(columns[c]);
            const auto value = field ? rsSection.value(*field) : std::nullopt;
            if (value) {
                m_stats.minimums[size_t(c)] = numberOf(*value, page.locale);
                m_stats.maximums[size_t(c)] = numberOf(*value, page.locale);
            }
        }
    }
    if (!isBlank(s.HeaderText))
        html += QLatin1String("<EM> ") + s.HeaderText + QLatin1String("</EM>  <Br>");
    html += QLatin1String("<P>  </P>");
    if (page.CurPage == 1 && s.IncludeNotes == 1 && s.NotesPosition == 0)
        html += TextToHtml(s.NotesText) + QLatin1String("<P>  </P>");
}

void PageWriter::writeSummaries(QString &html, const QStringList &columns, const PageContext &page)
{
    const AdvancedSettings &s = page.settings;
    std::vector<qsizetype> summed; // the column of each selected sum field, in list order
    for (const ListItem &item : page.lstFields) {
        if (item.selected) {
            if (const auto c = columnNamed(columns, item.text))
                summed.push_back(*c);
        }
    }

    html += QString::number(page.NumRecsOnPage) + QLatin1String(" records in this Vol. <Br> ");
    for (qsizetype c : summed) {
        html += QLatin1String("Sum of ") + escaped(columns[c]) + QLatin1String(" = ")
            + slotText(m_stats.pageSums[size_t(c)], page.locale) + QLatin1String(" <Br> ");
        add(m_stats.totalSums[size_t(c)], m_stats.pageSums[size_t(c)].value_or(0.0));
    }
    html += QLatin1String("<P>  </P>");
    clear(m_stats.pageSums);

    if (page.CurPage == page.TotalPage || m_stats.recsInVol == page.CumTotalRecs) {
        if (s.SumCurrentPageOnly != 0)
            html += QLatin1String("<B> For this Vol (page of records): </B> <Br>");
        else
            html += QLatin1String("<B>") + QString::number(page.CumTotalRecs)
                + QLatin1String(" records altogether. </B> <Br> ");
        const qint32 divisor = page.NumRecsOnPage < m_stats.recsInVol ? page.CumTotalRecs : page.NumRecsOnPage;
        if (m_collector)
            m_collector->sums.clear();
        for (qsizetype c : summed) {
            if (divisor == 0)
                continue;
            const auto &total = m_stats.totalSums[size_t(c)];
            if (m_collector) {
                m_collector->sums.append(RunSum{columns[c], total, total.value_or(0.0) / divisor,
                                                m_stats.minimums[size_t(c)], m_stats.maximums[size_t(c)]});
            }
            html += QLatin1String("<B> ") + escaped(columns[c]) + QLatin1String("</B> : Total = ")
                + slotText(total, page.locale) + QLatin1String(" ; Average = ")
                + valueText(total.value_or(0.0) / divisor, page.locale) + QLatin1String(" ; Minimum = ")
                + slotText(m_stats.minimums[size_t(c)], page.locale) + QLatin1String(" ; Maximum = ")
                + slotText(m_stats.maximums[size_t(c)], page.locale) + QLatin1String(" <Br> ");
        }
        html += QLatin1String("<P>  </P>");
        clear(m_stats.totalSums);
        clear(m_stats.minimums);
        clear(m_stats.maximums);
        m_stats.recsInVol = 0;

        if (s.IncludeNotes == 1 && s.NotesPosition == 1)
            html += TextToHtml(s.NotesText) + QLatin1String("<P>  </P>");
        if (!isBlank(s.SignatureFile))
            html += QLatin1String("<P Align=Left><img src = ") + picturePathValue(s.SignatureFile)
                + QLatin1String(" ALT = Signature_here ></P> ");
    }
    if (!isBlank(s.FooterText))
        html += QLatin1String("<EM> ") + s.FooterText + QLatin1String("</EM>  <Br>");
}

std::vector<QByteArrayView> PageSections::sections() const
{
    std::vector<QByteArrayView> views;
    views.reserve(ends.size());
    qsizetype from = 0;
    for (const qsizetype end : ends) {
        views.push_back(QByteArrayView(bytes).sliced(from, end - from));
        from = end;
    }
    return views;
}

QString TextToHtml(const QString &text)
{
    QString html = text;
    html.replace(QLatin1String("\r\n"), QLatin1String("<p></p>"));
    html.replace(QLatin1Char('\r'), QLatin1String("<br>"));
    html.replace(QLatin1Char(' '), QLatin1String("&nbsp;"));
    return html;
}

} // namespace zuvexal
