#pragma once

#include "core/reporter/pagewriter.h"
#include "core/reporter/reportjob.h"
#include "core/reporter/runresult.h"
#include "core/reporter/taskqueue.h"

#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace zuvexal {

class Messages;
struct LinkState;

// Why a job cannot run; nothing is written then.
enum class RunRefusal {
    NoOutputFields,
    NoFileName,     // an interactive job without a file name
    TooManyFields,  // more than 32000; the run has said so in a message box
};

// One generation run of a report job: its pages, cut into sections of five
// records, appended as linked HTML files under Reports/, then shown and
// printed as the job asks. Its phases:
//   refusal   the checks that end a run before it starts
//   run       the running state; each page (status reports, then each
//             section); finish: taking back a cancelled run, showing,
//             printing
// The observer gets a status report and the host's thread a yield once per
// section, and can cancel at each; the result says what was written.
//
// Once its status reports are done, a page is made on a second thread and
// its file written on a third, in page order. When the observer looks at
// the files during the run (ReportObserver::pagesOnDiskAtStatus), the run
// waits for every page before it reports status again, and makes the next
// page ahead while one is written: in the colour of the page before, made
// again when its status reports chose another, dropped when they cancel.
// Otherwise the host's thread goes on reporting status for the next pages,
// a few pages behind at most. The run waits for the pages before it looks
// at the files again (cancel, clean-up, showing), so what is on disk then
// is what writing in line would leave.
class GenerationRun
{
public:
    // Called on the page-making thread before each page is made, with the
    // page's path; what it throws makes that page one that could not be
    // made (memory, say).
    using PageCheck = std::function<void(const QString &pagePath)>;

    // The observer, the link state and the message boxes outlive the run.
    GenerationRun(ReportJob job, ReportObserver &observer, LinkState &links, const Messages &messages,
                  PageCheck beforeMakingPage = {});
    ~GenerationRun();

    std::optional<RunRefusal> refusal();
    // Runs a job that refusal() let pass.
    RunResult run();

private:
    // A page of the run: its number in the run, its number among the job's
    // pages (its heading's), and its records. Its file name and heading are
    // made when it is written, not kept for every page of a long run.
    struct PagePlan
    {
        qint32 page = 0;
        qint32 volume = 0;
        const RecordSet *records = nullptr; // the job's
    };
    // What making one page reads, taken when its status reports are done:
    // an observer may change the colour for a later page, but not under a
    // page being made. It moves from the host's thread to the maker and on
    // to the committer, never shared.
    struct PageJob
    {
        QString path;
        QString heading;
        RecordSet records;
        qint64 recordCount = 0; // as its status reports were counted
        PagePosition at;
        QString tableColor;
        PageSections sections;
    };
    // What became of a page handed to the maker: written (with the sections
    // that could not be appended), not made or not written (all its sections
    // lost), or skipped behind a page that could not be made (not reached).
    // The sections' buffer comes back with it, for the pages to come.
    struct PageOutcome
    {
        enum class Kind { Written, Lost, Skipped };
        Kind kind = Kind::Written;
        int sectionsFailed = 0; // when written
        PageSections sections = {};
    };
    class PageMadeAhead;

    void writePages();
    void writePage(size_t index);
    QString pagePath(const PagePlan &plan) const;
    PageJob pageJob(const PagePlan &plan);
    void waitForOlderPages();
    void makeAhead(PageJob job);
    void handOver(std::optional<PageJob> job, std::promise<PageOutcome> outcome, const QString &tableColor,
                  bool existed);
    std::optional<PageJob> pageToCommit(std::optional<PageJob> job, const QString &tableColor);
    bool madeWell(PageJob &job) noexcept;
    void makePage(PageJob &job);
    void finishOldestPage();
    qsizetype largestPageBytes() const;
    void finishPages();
    bool reportSectionsToCome(qint32 sectionCount);
    void takeBackCancelledPages();
    void removeEmptyNewPages();
    void showAndPrint();
    QString pageHeading(qint32 page) const;

    ReportJob m_job;
    ReportObserver &m_observer;
    PageCheck m_beforeMakingPage;
    LinkState &m_links;
    const Messages &m_messages;
    QString m_title;
    QString m_baseName;
    QString m_dateLine;
    qint64 m_startMs = 0;
    RunStatus m_status;
    RunRequests m_requests;
    std::vector<std::optional<qint64>> m_sizesBeforeRun;  // per page; none: the file was new
    RunResult m_result;

    // On the host's thread.
    struct Page
    {
        QString path;
        std::future<PageOutcome> outcome;
        int sectionCount = 0; // the page's sections, all lost when it cannot be made
    };
    std::vector<PagePlan> m_plan;
    std::deque<Page> m_pages;                  // in flight, oldest first
    bool m_nextMadeAhead = false;              // the maker holds the next page, made ahead
    std::vector<PageSections> m_spareSections; // buffers of written pages, for the next ones

    // On the maker's thread.
    PageWriter m_writer;
    std::unique_ptr<PageMadeAhead> m_madeAhead;

    // Written by the maker, read by the host's thread.
    std::atomic<qsizetype> m_largestPageBytes = -1; // none made yet
    // A page could not be made: the run's sums and totals would be off, so
    // no page after it is made, and the host's thread hands over no more.
    std::atomic<bool> m_pageLost = false;

    // Last, so that their destructors wait for the pages in flight: the
    // maker first, as it hands each page to the committer.
    TaskQueue m_committer;
    TaskQueue m_maker;
};

} // namespace zuvexal
