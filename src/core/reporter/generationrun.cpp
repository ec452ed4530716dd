// The generation run of the report window: the pages, cut into sections of
// five records, written as linked HTML files under Reports/.
#include "core/reporter/generationrun.h"

#include "core/base/messages.h"
#include "core/base/now.h"
#include "core/base/paths.h"
#include "core/base/quotedrecord.h"
#include "core/base/values_p.h"
#include "core/links/linkactivation_p.h"
#include "core/reporter/printing.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

namespace zuvexal {

namespace {

constexpr int SectionSize = 5;
// Pages handed over but not yet written: enough that the maker and the
// writer, woken once, go on from page to page, few enough to keep the
// memory small.
constexpr size_t MaxPagesInFlight = 4;
constexpr qsizetype MaxBytesInFlight = 4 << 20;
constexpr qint32 MaxOutputFields = 32000;

// The base name of the page files, or nothing when there is none.
std::optional<QString> baseFileName(const QString &typed, bool unattended)
{
    QString name = trimBlanks(typed);
    if (name.contains(QLatin1Char('/')))
        name = FileNamePart(name);
    // Linux file names may hold blanks: the name stays as typed. "." and
    // ".." name folders, not files.
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        name.clear();
    if (!name.isEmpty() && !name.contains(QLatin1String(".htm")) && !name.contains(QLatin1String(".asp")))
        name += QStringLiteral(".htm");
    if (name.isEmpty() || name == QLatin1String(".htm")) {
        if (!unattended)
            return std::nullopt;
        name = QStringLiteral("ZuReport.htm");
    }
    return name.toLower();
}

// "hh:mm:ss AM" on a 12-hour clock with the locale's designators.
QString timeOfDay(const QTime &time, const QLocale &locale)
{
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? locale.amText() : locale.pmText());
}

// The page files of one page name per page: "sales.htm" gives sales1.htm,
// sales2.htm, ...
QString numberedPageName(const QString &base, qint32 page)
{
    const QString extension = base.contains(QLatin1String(".htm")) ? QStringLiteral(".htm") : QStringLiteral(".asp");
    return QString(base).replace(extension, QString::number(page) + extension);
}

// A page's sections into its file; the number that could not be written.
int commitPage(const QString &path, const PageSections &page, bool existed)
{
    const std::vector<QByteArrayView> sections = page.sections();
    // A new page is written whole or not at all, even when the process is
    // killed. A page that held a report before gets its sections appended
    // (its earlier content stays), as does a new page that did not fit the
    // disk at once: then as many whole sections as fit.
    if (!existed && writeQuotedRecordsAtOnce(path, sections))
        return 0;
    int failed = 0;
    QuotedRecordWriter writer(path);
    for (const QByteArrayView section : sections) {
        if (!writer.append(section))
            ++failed;
    }
    return failed;
}

} // namespace

GenerationRun::GenerationRun(ReportJob job, ReportObserver &observer, LinkState &links, const Messages &messages,
                             PageCheck beforeMakingPage)
    : m_job(std::move(job)), m_observer(observer), m_beforeMakingPage(std::move(beforeMakingPage)), m_links(links),
      m_messages(messages)
{
}

GenerationRun::~GenerationRun() = default;

std::optional<RunRefusal> GenerationRun::refusal()
{
    if (m_job.outputFields.isEmpty())
        return RunRefusal::NoOutputFields;
    m_title = trimBlanks(m_job.title);
    if (m_title.isEmpty())
        m_title = QStringLiteral(" Records ");
    const std::optional<QString> baseName = baseFileName(m_job.fileName, m_job.unattended);
    if (!baseName)
        return RunRefusal::NoFileName;
    m_baseName = *baseName;
    if (m_job.outputFields.size() > MaxOutputFields) {
        m_messages.show(QStringLiteral("ZuVexal"), QCoreApplication::translate("ReportForm", "Too many fields!"));
        return RunRefusal::TooManyFields;
    }
    return std::nullopt;
}

RunResult GenerationRun::run()
{
    m_startMs = QDateTime::currentMSecsSinceEpoch();
    m_requests.tableColor = m_job.tableColor;
    m_observer.started();

    m_dateLine = m_title;
    if (m_job.insertDate) {
        m_dateLine = m_job.locale.toString(m_job.date, QLocale::LongFormat) + QStringLiteral(" <Br> ");
        if (m_job.unattended)
            m_dateLine = timeOfDay(reportDateTime().time(), m_job.locale) + QStringLiteral(" of ") + m_dateLine;
    }

    // A failure on this thread (memory, say) ends the run with a failed
    // section: the pages already handed over are still made and waited
    // for, and the run leaves its running state, so the form can run and
    // close again.
    try {
        writePages();
    } catch (...) {
        ++m_result.sectionsFailed;
    }
    finishPages();
    m_result.cancelled = m_requests.cancel;
    if (!m_requests.cancel)
        m_requests.deleteOnCancel = false;
    else if (m_requests.deleteOnCancel)
        takeBackCancelledPages();
    removeEmptyNewPages();
    showAndPrint();
    m_result.milliseconds = QDateTime::currentMSecsSinceEpoch() - m_startMs;
    m_observer.finished(m_result);
    return m_result;
}

QString GenerationRun::pageHeading(qint32 page) const
{
    return QStringLiteral("Vol %1 of ").arg(page) + m_title + QStringLiteral("<Br>") + m_dateLine;
}

void GenerationRun::writePages()
{
    const auto pages = qint32(m_job.pages.size());
    m_result.reportFile = m_job.appFolder + QStringLiteral("Reports/") + m_baseName;
    if (m_job.allPages) {
        m_result.pageFiles = QStringList(pages, QString());
        m_sizesBeforeRun.assign(size_t(pages), std::nullopt);
        m_status.totalPages = pages;
        m_plan.reserve(size_t(pages));
        for (qint32 p = 1; p <= pages; ++p)
            m_plan.push_back(PagePlan{p, p, &m_job.pages[size_t(p - 1)]});
    } else if (m_job.shownPage >= 1 && m_job.shownPage <= pages) {
        // The shown page alone, written as page 1 of 1 under the base name.
        m_result.pageFiles = QStringList{QString()};
        m_sizesBeforeRun.assign(1, std::nullopt);
        m_status.totalPages = 1;
        m_plan.push_back(PagePlan{1, m_job.shownPage, &m_job.pages[size_t(m_job.shownPage - 1)]});
    }
    for (const PagePlan &plan : m_plan)
        m_result.pageRecords << (plan.records ? qint32(std::max<qint64>(plan.records->recordCount(), 0)) : 0);
    m_result.pageWritten.fill(false, m_result.pageFiles.size());
    m_result.pagePrinted.fill(false, m_result.pageFiles.size());
    // After a page that could not be made the pages behind it are not
    // written: the run's sums and totals would be off.
    for (size_t i = 0; i < m_plan.size() && !m_requests.cancel && !m_pageLost; ++i)
        writePage(i);
}

QString GenerationRun::pagePath(const PagePlan &plan) const
{
    const QString name = m_status.totalPages == 1 ? m_baseName : numberedPageName(m_baseName, plan.page);
    return m_job.appFolder + QStringLiteral("Reports/") + name;
}

// The next page, made on the maker's thread while the one before is written,
// in that one's colour, the colour its status reports will most likely
// leave. Taken in another colour, it makes itself again from the writer's
// statistics as they were before it.
class GenerationRun::PageMadeAhead
{
public:
    PageMadeAhead(GenerationRun &run, PageJob job)
        : m_run(run), m_job(std::move(job)), m_before(run.m_writer.statistics()), m_made(run.madeWell(m_job))
    {
    }

    // The page in tableColor; nothing when it cannot be made.
    std::optional<PageJob> take(const QString &tableColor)
    {
        if (m_job.tableColor != tableColor) {
            m_run.m_writer.restore(std::move(m_before));
            m_job.sections.clear();
            m_job.tableColor = tableColor;
            m_made = m_run.madeWell(m_job);
        }
        if (!m_made)
            return std::nullopt;
        return std::move(m_job);
    }

private:
    GenerationRun &m_run;
    PageJob m_job;
    PageWriter::Statistics m_before;
    bool m_made;
};

GenerationRun::PageJob GenerationRun::pageJob(const PagePlan &plan)
{
    PageJob job;
    job.path = pagePath(plan);
    job.heading = pageHeading(plan.volume);
    job.records = *plan.records;
    job.recordCount = std::max<qint64>(job.records.recordCount(), 0);
    job.at = PagePosition{plan.page, m_status.totalPages, qint32(job.recordCount)};
    job.tableColor = m_requests.tableColor;
    // Buffers of pages already written are reused, so pages of a run keep
    // their memory instead of growing a new buffer each.
    if (!m_spareSections.empty()) {
        job.sections = std::move(m_spareSections.back());
        m_spareSections.pop_back();
        job.sections.clear();
    }
    return job;
}

void GenerationRun::writePage(size_t index)
{
    const PagePlan &plan = m_plan[index];
    // An observer that looks at the files sees every page before this one
    // whole, and no page after one that could not be made.
    const bool inOrder = m_observer.pagesOnDiskAtStatus();
    if (inOrder) {
        finishPages();
        if (m_pageLost)
            return;
    }
    QDir().mkpath(m_job.appFolder + QStringLiteral("Reports"));
    const QString path = pagePath(plan);
    m_result.pageFiles[plan.page - 1] = path;
    const QFileInfo before(path);
    const bool existed = before.exists() || before.isSymLink();
    m_sizesBeforeRun[size_t(plan.page - 1)] = existed ? std::optional<qint64>(before.size()) : std::nullopt;
    if (!plan.records)
        return;
    m_status.currentPage = plan.page;
    const qint64 recordCount = std::max<qint64>(plan.records->recordCount(), 0);
    if (m_pageLost || !reportSectionsToCome(qint32(recordCount / SectionSize)))
        return;
    waitForOlderPages();

    std::promise<PageOutcome> outcome;
    const int sections = int((recordCount + SectionSize - 1) / SectionSize);
    m_pages.push_back(Page{path, outcome.get_future(), std::max(sections, 1)});
    std::optional<PageJob> job;
    if (!std::exchange(m_nextMadeAhead, false))
        job = pageJob(plan);
    handOver(std::move(job), std::move(outcome), m_requests.tableColor, existed);

    if (inOrder && index + 1 < m_plan.size()) {
        makeAhead(pageJob(m_plan[index + 1]));
        m_nextMadeAhead = true;
    }
}

// Pages in flight are few, and their bytes, judged by the largest page made
// so far, few MiB: a run's memory stays small whatever its length. When
// they are too many, this thread waits for the older half at once, so that
// it sleeps once for several pages (a wake-up across CPUs is dear).
void GenerationRun::waitForOlderPages()
{
    if (m_pages.empty()
        || (m_pages.size() < MaxPagesInFlight && qsizetype(m_pages.size()) * largestPageBytes() <= MaxBytesInFlight))
        return;
    const size_t keep = m_pages.size() / 2;
    // Pages are written in order, so the last of the older half is done last
    // (one that could not be made is done at once; the older ones are still
    // waited for below).
    m_pages[m_pages.size() - keep - 1].outcome.wait();
    while (m_pages.size() > keep)
        finishOldestPage();
}

void GenerationRun::makeAhead(PageJob job)
{
    m_maker.start([this, job = std::move(job)]() mutable {
        if (!m_pageLost)
            m_madeAhead = std::make_unique<PageMadeAhead>(*this, std::move(job));
    });
}

// Hands a page to the maker: job, or without one the page the maker made
// ahead. The maker hands it on to the committer, which writes its file.
void GenerationRun::handOver(std::optional<PageJob> job, std::promise<PageOutcome> outcome,
                             const QString &tableColor, bool existed)
{
    m_maker.start([this, job = std::move(job), outcome = std::move(outcome), tableColor, existed]() mutable {
        if (m_pageLost) {
            m_madeAhead.reset();
            outcome.set_value({PageOutcome::Kind::Skipped});
            return;
        }
        std::optional<PageJob> page = pageToCommit(std::move(job), tableColor);
        if (!page) {
            m_pageLost = true;
            outcome.set_value({PageOutcome::Kind::Lost});
            return;
        }
        m_committer.start([page = std::move(*page), outcome = std::move(outcome), existed]() mutable {
            PageOutcome written;
            try {
                written.sectionsFailed = commitPage(page.path, page.sections, existed);
            } catch (...) {
                written.kind = PageOutcome::Kind::Lost;
            }
            written.sections = std::move(page.sections);
            outcome.set_value(std::move(written));
        });
    });
}

// On the maker's thread: the page made, in tableColor.
std::optional<GenerationRun::PageJob> GenerationRun::pageToCommit(std::optional<PageJob> job,
                                                                  const QString &tableColor)
{
    if (job) {
        if (!madeWell(*job))
            return std::nullopt;
        return job;
    }
    const std::unique_ptr<PageMadeAhead> ahead = std::move(m_madeAhead);
    return ahead ? ahead->take(tableColor) : std::nullopt;
}

// The maker's boundary: a page the check refuses, or that runs out of
// memory, is a page that could not be made.
bool GenerationRun::madeWell(PageJob &job) noexcept
{
    try {
        if (m_beforeMakingPage)
            m_beforeMakingPage(job.path);
        makePage(job);
        return true;
    } catch (...) {
        return false;
    }
}

void GenerationRun::makePage(PageJob &job)
{
    const qint64 records = job.recordCount;
    const qint32 sectionCount = qint32(records / SectionSize);
    m_writer.setCollector(&job.sections);
    for (qint32 k = 0; qint64(k) * SectionSize < records; ++k) {
        RecordSet section = job.records.slice(qint64(k) * SectionSize, SectionSize);
        const QString name = k == 0 ? job.heading : QStringLiteral("Section%1").arg(k);
        m_writer.WriteReportSection(job.path, section, qint32(m_job.outputFields.size()), m_job.outputFields, name,
                                    sectionCount, job.tableColor, m_job, job.at);
    }
    m_writer.setCollector(nullptr);
    const auto bytes = qsizetype(job.sections.bytes.size());
    if (bytes > m_largestPageBytes)
        m_largestPageBytes = bytes;
}

qsizetype GenerationRun::largestPageBytes() const
{
    // Until a page is made, any page may be large.
    const qsizetype largest = m_largestPageBytes;
    return largest < 0 ? MaxBytesInFlight : largest;
}

void GenerationRun::finishOldestPage()
{
    Page &page = m_pages.front();
    PageOutcome outcome;
    // A task that ended without its outcome (it could not even be queued)
    // wrote nothing.
    try {
        outcome = page.outcome.get();
    } catch (const std::future_error &) {
        outcome.kind = PageOutcome::Kind::Lost;
    }
    if (outcome.kind == PageOutcome::Kind::Skipped) {
        // Whether the host's thread had handed it over before the failure
        // came is timing: it counts as not reached either way.
        if (const qsizetype i = m_result.pageFiles.indexOf(page.path); i >= 0)
            m_result.pageFiles[i].clear();
    } else {
        // Not made, or not written: none of its sections reached the file.
        const int failed = outcome.kind == PageOutcome::Kind::Lost ? page.sectionCount : outcome.sectionsFailed;
        m_result.sectionsFailed += failed;
        if (failed == 0) {
            ++m_result.pagesWritten;
            if (const qsizetype i = m_result.pageFiles.indexOf(page.path); i >= 0)
                m_result.pageWritten[i] = true;
            if (!outcome.sections.sums.isEmpty())
                m_result.sums = outcome.sections.sums;
        } else {
            m_result.pagesFailed << page.path;
        }
    }
    m_spareSections.push_back(std::move(outcome.sections));
    m_pages.pop_front();
}

void GenerationRun::finishPages()
{
    while (!m_pages.empty())
        finishOldestPage();
}

bool GenerationRun::reportSectionsToCome(qint32 sectionCount)
{
    // One status report (and one chance to cancel) per section to come,
    // before any record of the page is written.
    for (qint32 k = 0; k <= sectionCount; ++k) {
        QCoreApplication::processEvents();
        m_status.elapsedSeconds =
            qint32(std::nearbyint(double(QDateTime::currentMSecsSinceEpoch() - m_startMs) / 1000.0));
        m_observer.status(m_status, m_requests);
        if (m_requests.cancel)
            return false;
    }
    return true;
}

void GenerationRun::takeBackCancelledPages()
{
    // Files this run created go; files that existed before it are cut back
    // to what they held, so earlier reports survive an abort.
    for (qsizetype i = 0; i < m_result.pageFiles.size(); ++i) {
        const QString &file = m_result.pageFiles[i];
        if (file.isEmpty() || !QFileInfo::exists(file))
            continue;
        if (const std::optional<qint64> before = m_sizesBeforeRun[size_t(i)])
            QFile::resize(file, *before);
        else
            QFile::remove(file);
    }
    m_result.pageWritten.fill(false);
    m_result.sums.clear();
    m_result.deletedOnCancel = true;
}

void GenerationRun::removeEmptyNewPages()
{
    // A page this run created but could not write a byte of (a full disk)
    // is no page: it goes, and the result no longer names it.
    for (qsizetype i = 0; i < m_result.pageFiles.size(); ++i) {
        const QString &file = m_result.pageFiles[i];
        const QFileInfo page(file);
        if (!file.isEmpty() && !m_sizesBeforeRun[size_t(i)] && page.isFile() && page.size() == 0
            && QFile::remove(file))
            m_result.pageFiles[i].clear();
    }
}

void GenerationRun::showAndPrint()
{
    if (m_requests.deleteOnCancel)
        return;
    const QStringList &files = m_result.pageFiles;
    if (m_job.showInBrowser && !files.isEmpty() && !files.front().isEmpty())
        ActivateLink(m_links, 0, files.front(), false);
    if (!m_job.print)
        return;
    const std::optional<QString> unavailable = printingUnavailable();
    if (unavailable)
        qWarning().noquote() << "ZuVexal: the report is not printed:" << *unavailable;
    for (const QString &file : files) {
        if (file.isEmpty() || !QFileInfo::exists(file))
            continue;
        if (PrintShownPage(file, m_job.showInBrowser))
            m_result.pagePrinted[files.indexOf(file)] = true;
        else
            m_result.pagesNotPrinted << file;
    }
}

} // namespace zuvexal
