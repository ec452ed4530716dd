#pragma once

#include "core/reporter/pagewriter.h"
#include "core/reporter/runresult.h"

#include <QMetaMethod>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <deque>
#include <exception>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zuvexal {

class ReportForm;

// One press of Generate: the pages of the report form, cut into sections
// of five records, appended as linked HTML files under Reports/, then shown
// and printed as the form asks. Its phases:
//   prepare   the checks that end a run before it starts (no output fields,
//             no file name, too many fields)
//   run       the running state; each page (status reports, then each
//             section); finish: taking back a cancelled run, showing,
//             printing, back to the page shown before
// The host sees a status report and a yield once per section and can
// cancel at each; the result says what was written.
//
// Once its status reports are done, a page is made on one of two threads,
// counted into the run's statistics (sums, totals, extremes) in page order,
// and its file written on one more thread in page order, a few pages at
// most behind the host's thread, which goes on reporting status for the
// next pages. The page that prints the totals is made once the pages
// before it are counted. What
// making a page reads is taken when its status reports are done, except the
// default locale, which Qt asks to be set before threads start. The run waits
// for the pages before it looks at the files again (cancel, clean-up,
// showing), so what is on disk then is what writing in line would leave.
class GenerationRun
{
public:
    explicit GenerationRun(ReportForm &form);

    // False when the run cannot start; the form then asks for the focus or
    // shows a message, and nothing is written.
    bool prepare();
    RunResult run();

private:
    void enterRunningState();
    void leaveRunningState();
    void writePages();
    void writePage(const QString &pageName, const QString &pageHeading);
    struct PageJob;
    void startMakers();
    void makePage(PageJob &job, PageWriter &writer);
    void pageMade(const std::shared_ptr<PageJob> &job);
    bool countIn(PageJob &page);
    void finishOldestPage();
    qsizetype largestPageBytes() const;
    void finishPages();
    bool reportSectionsToCome(qint32 sectionCount);
    void reportStatus();
    void takeBackCancelledPages();
    void removeEmptyNewPages();
    void showAndPrint();
    QString pageHeading(qint32 page) const;

    ReportForm &m_form;
    QString m_title;
    QString m_baseName;
    QString m_dateLine;
    qint32 m_shownPage = 0;
    qint64 m_startMs = 0;
    QMetaMethod m_raiseStatus;
    QStringList m_outputFieldNames;
    PageContext m_page;
    std::vector<std::optional<qint64>> m_sizesBeforeRun;  // per page; none: the file was new
    RunResult m_result;

    // One writer per maker thread, each taken by one page at a time; and
    // the writer that counts the run's statistics page by page and makes
    // the pages that print them.
    std::vector<std::unique_ptr<PageWriter>> m_writers;
    std::mutex m_writersMutex;
    std::vector<PageWriter *> m_idleWriters;
    PageWriter m_runWriter;

    struct Page
    {
        QString path;
        std::shared_ptr<PageSections> sections;
        std::future<int> failed; // sections that could not be written
    };
    std::deque<Page> m_pages;                  // in flight, oldest first
    qint64 m_handedOver = 0;
    qint64 m_recordsInVolume = 0; // as the writer will count them, for the next page
    std::atomic<qsizetype> m_largestPageBytes = -1; // none made yet
    std::atomic<bool> m_makeFailed = false;
    std::mutex m_madeMutex; // guards the pages made and the run writer, below
    std::map<qint64, std::shared_ptr<PageJob>> m_madeAhead; // made before the pages ahead of them
    qint64 m_nextToWrite = 0;
    bool m_failedInOrder = false;
    std::vector<PageSections> m_spareSections; // buffers of written pages, for the next ones
    // Last, so that their destructors wait for the pages in flight: the
    // maker first, as it hands each page to the committer.
    QThreadPool m_committer;
    QThreadPool m_maker;
};

} // namespace zuvexal
