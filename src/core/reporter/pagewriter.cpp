#include "core/reporter/pagewriter.h"

#include "core/base/quotedrecord.h"
#include "core/base/values.h"
#include "core/filedialog/paths.h"
#include "core/recordset/fieldkind.h"

#include <QStringBuilder>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zuvexal {

namespace {

constexpr qint32 RecsPerSection = 5;
constexpr qint32 SectionLinksPerLine = 9;
constexpr qint32 VolLinksPerLine = 12;

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

// Record set texts are data, never markup.
QString escaped(const QString &text)
{
    static const QString markup = QStringLiteral("&<>\"'");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return markup.contains(c); }))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        case u'\'': out += QLatin1String("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

bool needsPercentEncoding(QChar c)
{
    return c.isSpace() || c.unicode() < 0x20 || c.unicode() == 0x7f;
}

// An address from the record set inside src or href: white space would end
// an unquoted attribute, and browsers drop controls before reading a scheme.
QString addressValue(const QString &address)
{
    const QString text = escaped(address);
    if (std::none_of(text.begin(), text.end(), needsPercentEncoding))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        if (!needsPercentEncoding(c)) {
            out += c;
            continue;
        }
        for (char byte : QString(c).toUtf8())
            out += QLatin1Char('%') + QString::number(uchar(byte), 16).toUpper().rightJustified(2, u'0');
    }
    return out;
}

// Logo and signature paths are the user's own texts: only their blanks
// would break the unquoted src.
QString userPathValue(QString path)
{
    return path.replace(QLatin1Char(' '), QLatin1String("%20"));
}

bool isSchemeCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'+'
        || u == u'-' || u == u'.';
}

// Reads the scheme the way a browser does (leading controls and blanks
// skipped, tabs and line breaks ignored), so no spelling slips a script past.
bool hasSafeScheme(const QString &target)
{
    QString address;
    address.reserve(target.size());
    for (QChar c : target) {
        if (c != u'\t' && c != u'\n' && c != u'\r')
            address += c;
    }
    qsizetype start = 0;
    while (start < address.size() && address[start].unicode() <= 0x20)
        ++start;
    const qsizetype colon = address.indexOf(QLatin1Char(':'), start);
    if (colon <= start || !address[start].isLetter() || address[start].unicode() > 0x7f)
        return true;
    const QString scheme = address.mid(start, colon - start).toLower();
    if (!std::all_of(scheme.begin(), scheme.end(), isSchemeCharacter))
        return true;
    static const QStringList safe = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ftp"),
                                     QStringLiteral("mailto"), QStringLiteral("file")};
    return safe.contains(scheme);
}

// A value that is already a number is taken as it is, so a double is never
// read back through a locale's decimal comma; only texts are read.
double numberOf(const QVariant &value)
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
        return leadingNumber(valueText(value));
    }
}

QString slotText(const std::optional<double> &slot)
{
    return slot ? valueText(*slot) : QString();
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

// What a column needs per value, looked up once per section.
struct Column
{
    std::optional<int> field;      // in the section's record set
    bool hyperlink = false;        // its marked values become links
    std::optional<QString> pictureFolder;
};

std::vector<Column> describeColumns(const QStringList &columns, const RecordSet &rsSection,
                                    const PageContext &page)
{
    std::vector<Column> described(size_t(columns.size()));
    for (qsizetype c = 0; c < columns.size(); ++c) {
        Column &column = described[size_t(c)];
        column.field = rsSection.indexOf(columns[c]);
        if (page.SourceRecordset) {
            if (const auto source = page.SourceRecordset->indexOf(columns[c])) {
                const Field &f = page.SourceRecordset->field(*source);
                column.hyperlink = FieldKind(qint16(f.attributes), qint16(f.type)) == QLatin1String("hyperlink");
            }
        }
        const QString upper = columns[c].toUpper();
        for (qsizetype j = 0; j < page.ColumnPictureFolders.size() && j < page.GridFieldNames.size(); ++j) {
            if (page.GridFieldNames[j].toUpper() == upper && !page.ColumnPictureFolders[j].isEmpty()) {
                column.pictureFolder = page.ColumnPictureFolders[j];
                break;
            }
        }
    }
    return described;
}

// Appends the cell of one value to the fragment.
void appendCell(QString &html, QString v, const Column &column, const QString &cellStart, const PageContext &page)
{
    html += cellStart;
    // Picture file names are looked up trimmed, and the trimmed text stays.
    if (page.ContainPictureFilenameField && !page.ColumnPictureFolders.isEmpty()) {
        v = trimBlanks(v);
        if (!v.isEmpty() && column.pictureFolder) {
            const QString picture = *column.pictureFolder + v;
            const QString shortPath = ShortPathName(picture);
            const QString path = addressValue(shortPath.isEmpty() ? picture : shortPath);
            html += QLatin1String("<A Href=") % path % QLatin1String("> <img src = ") % path
                % QLatin1String(" border=0 width=120 height=120 ALT = image_here align=center> </A></TD>");
            return;
        }
    }

    const qsizetype m1 = positionOf(v, u'#', 1);
    const bool marked = m1 > 0 && v.size() > m1 && positionOf(v, u'#', m1 + 1) > 0;

    if (v.startsWith(QLatin1Char('/')) && v.contains(QLatin1Char(' '))) {
        const QString shortPath = ShortPathName(QString(v).remove(QLatin1Char('#')));
        if (!shortPath.isEmpty())
            v = QLatin1Char('#') % shortPath % QLatin1Char('#');
    }

    if (column.hyperlink && marked) {
        const QString target = m1 > 1 ? v.left(m1 - 1) : v.mid(1, v.size() - 2);
        if (hasSafeScheme(target)) {
            if (target.contains(QLatin1Char('@')))
                html += QLatin1String("<A HREF=mailto:") % addressValue(target) % QLatin1Char('>') % escaped(target)
                    % QLatin1String("</A></TD>");
            else
                html += QLatin1String("<A HREF='") % addressValue(target) % QLatin1String("'>") % escaped(target)
                    % QLatin1String("</A></TD>");
            return;
        }
    }
    html += escaped(v);
    html += QLatin1String("</TD>");
}

// Texts that recur in every section of a report, made once: the link to
// each section and the decimal text of each page number.
class RecurringTexts
{
public:
    const QString &sectionLink(qint32 k)
    {
        while (qint32(m_sectionLinks.size()) <= k) {
            const QString n = QString::number(m_sectionLinks.size());
            m_sectionLinks.push_back(QLatin1String("<A HRef='#Section") % n % QLatin1String("'>Section") % n
                                     % QLatin1String("</A>..."));
        }
        return m_sectionLinks[size_t(k)];
    }
    const QString &number(qint32 v)
    {
        while (qint32(m_numbers.size()) <= v)
            m_numbers.push_back(QString::number(m_numbers.size()));
        return m_numbers[size_t(v)];
    }

private:
    std::vector<QString> m_sectionLinks;
    std::vector<QString> m_numbers;
};

RecurringTexts &recurring()
{
    static RecurringTexts texts;
    return texts;
}

void writeSectionLinks(QString &html, qint32 SectionCount, qint32 sectionNo, const PageContext &page)
{
    // A page holding a multiple of five records has no last, partial section.
    const qint32 last = page.NumRecsOnPage % RecsPerSection != 0 ? SectionCount : SectionCount - 1;
    for (qint32 k = 1; k <= last; ++k) {
        if (k % SectionLinksPerLine == 1 && k > 1)
            html += QLatin1String("<Br>");
        if (k != sectionNo)
            html += recurring().sectionLink(k);
    }
}

// Page files differ only in the page number before the extension.
void writePageLinks(QString &html, const QString &FileName, const PageContext &page)
{
    html += QLatin1String("<HR>");
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
    for (qint32 v = 1; v <= page.TotalPage; ++v) {
        if (v == page.CurPage)
            continue;
        if (v % VolLinksPerLine == 1 && v > 1)
            html += QLatin1String("<Br>");
        const QString &number = recurring().number(v);
        html += QLatin1String("<A HRef='");
        html += pieces.front();
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            html += number;
            html += extension;
            html += pieces[i];
        }
        html += QLatin1String("'>Vol ");
        html += number;
        html += QLatin1String("</A>...");
    }
}

} // namespace

void PageWriter::reset()
{
    m_pageSums.clear();
    m_totalSums.clear();
    m_minimums.clear();
    m_maximums.clear();
    m_recsInVol = 0;
}

bool PageWriter::WriteReportSection(const QString &FileName, RecordSet &rsSection, qint32 FieldCount,
                                    const QStringList &FieldNames, const QString &SectionName,
                                    qint32 SectionCount, const QString &TableColor, const PageContext &page)
{
    QStringList columns;
    for (qint32 c = 0; c < FieldCount; ++c)
        columns.append(FieldNames.value(c));
    for (Slots *slots : {&m_pageSums, &m_totalSums, &m_minimums, &m_maximums})
        slots->resize(size_t(columns.size()));
    rsSection.moveFirst();

    const qint32 sectionNo = SectionCount > 0 ? sectionNumber(SectionName) : 0;

    QString html;
    html.reserve(4096);
    html += QLatin1String("<HTML><HEAD></HEAD><BODY><H3> <A Name='") + SectionName + QLatin1String("'>")
        + SectionName + QLatin1String("</A></H3>");
    html += QLatin1String("<META NAME=\"GENERATOR\" CONTENT=\"ZuVexal Report by ") + MakerWebsite
        + QLatin1String("\">");
    html += QLatin1String("<FONT FACE =") + page.settings.FontName
        + QLatin1String(",Times New Roman,Arial,Courier New</FONT>");

    if (page.AdvSettings && sectionNo == 0)
        writeHeaderBlock(html, rsSection, columns, page);
    if (SectionCount > 0)
        writeSectionLinks(html, SectionCount, sectionNo, page);
    html += QLatin1String("<P>  </P>");

    html += QLatin1String("<TABLE BORDER=1 BORDERCOLOR=BLACK CELLPADDING=5 ALIGN=CENTER BGCOLOR=[") + TableColor
        + QLatin1String("]<TR>");
    for (const QString &name : columns)
        html += QLatin1String("<TH>") + escaped(name) + QLatin1String("</TH>");
    html += QLatin1String("</TR>");

    const std::vector<Column> described = describeColumns(columns, rsSection, page);
    const QString cellStart = QLatin1String("<TD><BGCOLOR=[") + TableColor + QLatin1String("]>");
    qint64 rows = 0;
    for (; !rsSection.eof(); rsSection.moveNext()) {
        html += QLatin1String("<TR>");
        for (size_t c = 0; c < described.size(); ++c) {
            const Column &column = described[c];
            const QVariant v = column.field ? rsSection.value(*column.field).value_or(QVariant()) : QVariant();
            if (column.field && isNumeric(v)) {
                const double x = numberOf(v);
                add(m_pageSums[c], x);
                if (x < m_minimums[c].value_or(0.0))
                    m_minimums[c] = x;
                if (x > m_maximums[c].value_or(0.0))
                    m_maximums[c] = x;
            }
            appendCell(html, valueText(v), column, cellStart, page);
        }
        html += QLatin1String("</TR>");
        ++rows;
        ++m_recsInVol;
    }
    html += QLatin1String("</TABLE><P>  </P>");

    // Sections hold five records each, so only the page's last one ends at
    // its record count.
    const bool lastOfPage = qint64(sectionNo) * RecsPerSection + rows == page.NumRecsOnPage;
    if (lastOfPage && page.AdvSettings)
        writeSummaries(html, columns, page);
    if (lastOfPage && page.TotalPage > 1)
        writePageLinks(html, FileName, page);
    html += QLatin1String("<P>  </P> </BODY></HTML>");

    const bool written = appendQuotedRecord(FileName, html);
    rsSection.moveFirst();
    return written;
}

void PageWriter::writeHeaderBlock(QString &html, const RecordSet &rsSection, const QStringList &columns,
                                  const PageContext &page)
{
    const AdvancedSettings &s = page.settings;
    if (page.CurPage == 1) {
        if (!isBlank(s.LogoFile))
            html += QLatin1String("<P Align=Center><img src = ") + userPathValue(s.LogoFile)
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
                m_minimums[size_t(c)] = numberOf(*value);
                m_maximums[size_t(c)] = numberOf(*value);
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
            + slotText(m_pageSums[size_t(c)]) + QLatin1String(" <Br> ");
        add(m_totalSums[size_t(c)], m_pageSums[size_t(c)].value_or(0.0));
    }
    html += QLatin1String("<P>  </P>");
    clear(m_pageSums);

    if (page.CurPage == page.TotalPage || m_recsInVol == page.CumTotalRecs) {
        if (s.SumCurrentPageOnly != 0)
            html += QLatin1String("<B> For this Vol (page of records): </B> <Br>");
        else
            html += QLatin1String("<B>") + QString::number(page.CumTotalRecs)
                + QLatin1String(" records altogether. </B> <Br> ");
        const qint32 divisor = page.NumRecsOnPage < m_recsInVol ? page.CumTotalRecs : page.NumRecsOnPage;
        for (qsizetype c : summed) {
            if (divisor == 0)
                continue;
            const auto &total = m_totalSums[size_t(c)];
            html += QLatin1String("<B> ") + escaped(columns[c]) + QLatin1String("</B> : Total = ")
                + slotText(total) + QLatin1String(" ; Average = ") + valueText(total.value_or(0.0) / divisor)
                + QLatin1String(" ; Minimum = ") + slotText(m_minimums[size_t(c)])
                + QLatin1String(" ; Maximum = ") + slotText(m_maximums[size_t(c)]) + QLatin1String(" <Br> ");
        }
        html += QLatin1String("<P>  </P>");
        clear(m_totalSums);
        clear(m_minimums);
        clear(m_maximums);
        m_recsInVol = 0;

        if (s.IncludeNotes == 1 && s.NotesPosition == 1)
            html += TextToHtml(s.NotesText) + QLatin1String("<P>  </P>");
        if (!isBlank(s.SignatureFile))
            html += QLatin1String("<P Align=Left><img src = ") + userPathValue(s.SignatureFile)
                + QLatin1String(" ALT = Signature_here ></P> ");
    }
    if (!isBlank(s.FooterText))
        html += QLatin1String("<EM> ") + s.FooterText + QLatin1String("</EM>  <Br>");
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
