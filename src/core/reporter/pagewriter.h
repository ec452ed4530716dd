#pragma once

#include "core/recordset/recordset.h"
#include "core/reporter/reportjob.h"
#include "core/reporter/runresult.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zuvexal {

// The maker's address in the generator line of every page.
inline const QString MakerWebsite = QStringLiteral("https://quorvane.example.com/zuvexal");

// The sections of one page in one buffer, as a run collects them to write
// the page at once.
struct PageSections
{
    std::string bytes;
    std::vector<qsizetype> ends; // where each section ends in bytes
    QList<RunSum> sums;          // the totals of the page's closing summary, if it has one

    std::vector<QByteArrayView> sections() const;
    // Empty, keeping the memory for the next page.
    void clear();
};

// Where the page of a section stands in its run.
struct PagePosition
{
    qint32 page = 1;    // 1-based
    qint32 pages = 1;
    qint32 records = 0; // on this page
};

// Writes the sections of report pages: one HTML fragment per section of at
// most five records, appended to the page's file as one quoted record. It
// keeps per-column statistics (page sums, totals, extremes) and a record
// count between calls, for the summaries of a page's last section.
class PageWriter
{
public:
    PageWriter();
    ~PageWriter();

    // Forgets all statistics; every generation run starts with this.
    void reset();

    // While set, sections are added here instead of being appended to
    // their file (the run writes a page at once).
    void setCollector(PageSections *sections) { m_collector = sections; }

    // Appends the fragment of one section to FileName. FieldNames holds the
    // output columns (FieldCount of them); SectionName is the page heading
    // for the first section, else "Section<k>"; SectionCount is the page's
    // record count divided by 5. The job gives the report's settings, sum
    // fields, picture columns, source fields, record total and locale. False
    // when the fragment could not be written (the statistics are still
    // updated).
    bool WriteReportSection(const QString &FileName, RecordSet &rsSection, qint32 FieldCount,
                            const QStringList &FieldNames, const QString &SectionName, qint32 SectionCount,
                            const QString &TableColor, const ReportJob &job, const PagePosition &at);

    // A slot per column; an empty slot counts as 0 and prints as "".
    using Slots = std::vector<std::optional<double>>;
    // What the sections written so far leave for the summaries of the next.
    struct Statistics
    {
        Slots pageSums;
        Slots totalSums;
        Slots minimums;
        Slots maximums;
        qint32 recsInVol = 0;
    };
    // A page made ahead of its turn is made again from the statistics as
    // they were before it.
    const Statistics &statistics() const { return m_stats; }
    void restore(Statistics statistics) { m_stats = std::move(statistics); }

private:
    // What the sections of a run share (pagewriter.cpp).
    struct Texts;

    void appendSectionHead(std::string &html, const RecordSet &rsSection, const QStringList &columns,
                           const QString &SectionName, qint32 sectionNo, const ReportJob &job, const PagePosition &at);
    qint64 appendTable(std::string &html, RecordSet &rsSection, const QStringList &columns,
                       const QString &TableColor, const ReportJob &job);
    void writeHeaderBlock(QString &html, const RecordSet &rsSection, const QStringList &columns,
                          const ReportJob &job, const PagePosition &at);
    void writeSummaries(QString &html, const QStringList &columns, const ReportJob &job, const PagePosition &at);
    void appendTotals(QString &html, const QStringList &columns, const std::vector<qsizetype> &summed,
                      const ReportJob &job, const PagePosition &at);

    Statistics m_stats;
    std::unique_ptr<Texts> m_texts;
    PageSections *m_collector = nullptr;
};

// The notes as HTML: CR LF to "<p></p>", other CRs to "<br>", blanks to
// "&nbsp;". Converting a converted text changes nothing.
QString TextToHtml(const QString &text);

} // namespace zuvexal
