#include "core/reporter/pagewriter.h"
#include "core/reporter/htmltext.h"
#include "core/reporter/pagecells.h"
#include "core/reporter/pagecolumns.h"
#include "core/reporter/pagelinks.h"
#include "core/reporter/tablecolors.h"

#include "core/base/quotedrecord.h"
#include "core/base/values_p.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace zuvexal {

namespace {

using namespace html;

constexpr qint32 RecsPerSection = 5;

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

} // namespace

// What the sections of a run share, each made again when what it is made
// of changes: the fragment's buffer, the table's head, the columns, the
// links and the texts of values.
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

    PageColumns columns;
    SectionLinks sectionLinks;
    PageLinks pageLinks;
    CellWriter cells;
    std::optional<double> number; // what the cell written last adds to the statistics

    void useTable(const QString &TableColor, const QStringList &columns);
};

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
                                    qint32 SectionCount, const QString &TableColor, const ReportJob &job,
                                    const PagePosition &at)
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
    // Collected sections are written where they stay, after the ones before.
    std::string &html = m_collector ? m_collector->bytes : m_texts->html;
    if (!m_collector)
        html.clear();
    appendSectionHead(html, rsSection, columns, SectionName, sectionNo, job, at);
    if (SectionCount > 0) {
        // A page holding a multiple of five records has no last, partial section.
        const qint32 last = at.records % RecsPerSection != 0 ? SectionCount : SectionCount - 1;
        m_texts->sectionLinks.append(html, last, sectionNo);
    }
    html += "<P>  </P>";
    const qint64 rows = appendTable(html, rsSection, columns, TableColor, job);

    // Sections hold five records each, so only the page's last one ends at
    // its record count.
    const bool lastOfPage = qint64(sectionNo) * RecsPerSection + rows == at.records;
    if (lastOfPage && job.advancedSettingsInForce) {
        QString summaries;
        writeSummaries(summaries, columns, job, at);
        appendUtf8(html, summaries);
    }
    if (lastOfPage && at.pages > 1)
        m_texts->pageLinks.append(html, FileName, at.page, at.pages);
    html += "<P>  </P> </BODY></HTML>";

    rsSection.moveFirst();
    if (m_collector) {
        m_collector->ends.push_back(qsizetype(html.size()));
        return true;
    }
    return appendQuotedRecord(FileName, QByteArrayView(html));
}

// The section's anchor and heading, the generator line, the font and, on a
// page's first section, the header block.
void PageWriter::appendSectionHead(std::string &html, const RecordSet &rsSection, const QStringList &columns,
                                   const QString &SectionName, qint32 sectionNo, const ReportJob &job,
                                   const PagePosition &at)
{
    html += "<HTML><HEAD></HEAD><BODY><H3> <A Name='";
    // An apostrophe of the title would end the attribute.
    appendUtf8(html, QString(SectionName).replace(QLatin1Char('\''), QLatin1String("&#39;")));
    html += "'>";
    appendUtf8(html, SectionName);
    html += "</A></H3><META NAME=\"GENERATOR\" CONTENT=\"ZuVexal Report by ";
    appendUtf8(html, MakerWebsite);
    html += "\"><FONT FACE =";
    appendUtf8(html, job.settings.FontName);
    html += ",Times New Roman,Arial,Courier New</FONT>";
    if (job.advancedSettingsInForce && sectionNo == 0) {
        QString header;
        writeHeaderBlock(header, rsSection, columns, job, at);
        appendUtf8(html, header);
    }
}

// The section's records as a table; how many there were.
qint64 PageWriter::appendTable(std::string &html, RecordSet &rsSection, const QStringList &columns,
                               const QString &TableColor, const ReportJob &job)
{
    Texts &texts = *m_texts;
    texts.cells.follow(job);
    texts.useTable(TableColor, columns);
    html += texts.tableHead;
    const std::vector<PageColumn> &described = texts.columns.describe(columns, rsSection, job, texts.linkStyle);
    qint64 rows = 0;
    for (; !rsSection.eof(); rsSection.moveNext()) {
        html += "<TR>";
        for (size_t c = 0; c < described.size(); ++c) {
            html += texts.cellStart;
            std::optional<double> &x = texts.number;
            texts.cells.appendStoredValueCell(html, rsSection, described[c], x);
            if (x) {
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
    return rows;
}

void PageWriter::writeHeaderBlock(QString &html, const RecordSet &rsSection, const QStringList &columns,
                                  const ReportJob &job, const PagePosition &at)
{
    const AdvancedSettings &s = job.settings;
    if (at.page == 1) {
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
                m_stats.minimums[size_t(c)] = numberOf(*value, job.locale);
                m_stats.maximums[size_t(c)] = numberOf(*value, job.locale);
            }
        }
    }
    if (!isBlank(s.HeaderText))
        html += QLatin1String("<EM> ") + s.HeaderText + QLatin1String("</EM>  <Br>");
    html += QLatin1String("<P>  </P>");
    if (at.page == 1 && s.IncludeNotes == 1 && s.NotesPosition == 0)
        html += TextToHtml(s.NotesText) + QLatin1String("<P>  </P>");
}

void PageWriter::writeSummaries(QString &html, const QStringList &columns, const ReportJob &job,
                                const PagePosition &at)
{
    const AdvancedSettings &s = job.settings;
    std::vector<qsizetype> summed; // the column of each selected sum field, in list order
    for (const ListItem &item : job.sumFields) {
        if (item.selected) {
            if (const auto c = columnNamed(columns, item.text))
                summed.push_back(*c);
        }
    }

    html += QString::number(at.records) + QLatin1String(" records in this Vol. <Br> ");
    for (qsizetype c : summed) {
        html += QLatin1String("Sum of ") + escaped(columns[c]) + QLatin1String(" = ")
            + slotText(m_stats.pageSums[size_t(c)], job.locale) + QLatin1String(" <Br> ");
        add(m_stats.totalSums[size_t(c)], m_stats.pageSums[size_t(c)].value_or(0.0));
    }
    html += QLatin1String("<P>  </P>");
    clear(m_stats.pageSums);

    if (at.page == at.pages || m_stats.recsInVol == job.totalRecords) {
        appendTotals(html, columns, summed, job, at);
        if (s.IncludeNotes == 1 && s.NotesPosition == 1)
            html += TextToHtml(s.NotesText) + QLatin1String("<P>  </P>");
        if (!isBlank(s.SignatureFile))
            html += QLatin1String("<P Align=Left><img src = ") + picturePathValue(s.SignatureFile)
                + QLatin1String(" ALT = Signature_here ></P> ");
    }
    if (!isBlank(s.FooterText))
        html += QLatin1String("<EM> ") + s.FooterText + QLatin1String("</EM>  <Br>");
}

// The report's totals, averages and extremes of the summed columns, which
// then start again.
void PageWriter::appendTotals(QString &html, const QStringList &columns, const std::vector<qsizetype> &summed,
                              const ReportJob &job, const PagePosition &at)
{
    const QLocale &locale = job.locale;
    if (job.settings.SumCurrentPageOnly != 0)
        html += QLatin1String("<B> For this Vol (page of records): </B> <Br>");
    else
        html += QLatin1String("<B>") + QString::number(job.totalRecords) + QLatin1String(" records altogether. </B> <Br> ");
    const qint32 divisor = at.records < m_stats.recsInVol ? job.totalRecords : at.records;
    if (m_collector)
        m_collector->sums.clear();
    for (qsizetype c : summed) {
        if (divisor == 0)
            continue;
        const auto &total = m_stats.totalSums[size_t(c)];
        const auto &minimum = m_stats.minimums[size_t(c)];
        const auto &maximum = m_stats.maximums[size_t(c)];
        if (m_collector)
            m_collector->sums.append(RunSum{columns[c], total, total.value_or(0.0) / divisor, minimum, maximum});
        html += QLatin1String("<B> ") + escaped(columns[c]) + QLatin1String("</B> : Total = ")
            + slotText(total, locale) + QLatin1String(" ; Average = ")
            + valueText(total.value_or(0.0) / divisor, locale) + QLatin1String(" ; Minimum = ")
            + slotText(minimum, locale) + QLatin1String(" ; Maximum = ") + slotText(maximum, locale)
            + QLatin1String(" <Br> ");
    }
    html += QLatin1String("<P>  </P>");
    clear(m_stats.totalSums);
    clear(m_stats.minimums);
    clear(m_stats.maximums);
    m_stats.recsInVol = 0;
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

void PageSections::clear()
{
    bytes.clear();
    ends.clear();
    sums.clear();
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
