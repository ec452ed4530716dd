#pragma once

#include "core/reporter/pagewriter.h"
#include "core/reporter/runresult.h"

#include <QMetaMethod>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zuvexal {

class ReportForm;

// Called on the page-making thread before each page of every run is made,
// with the page's path; what it throws makes that page one that could not
// be made. Tests make page making fail through it; nothing else sets it.
void setPageMakingHook(std::function<void(const QString &pagePath)> hook);

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
// Once its status reports are done, a page is made on a second thread and
// its file written on a third, in page order and a few pages at most behind
// the host's thread, which goes on reporting status for the next pages. What
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
    void makePage(PageJob &job);
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

    // Made on the maker thread only while pages are in flight.
    PageWriter m_writer;

    struct Page
    {
        QString path;
        std::shared_ptr<PageSections> sections;
        std::future<int> failed; // sections that could not be written
        int sectionCount = 0;     // the page's sections, all lost when it cannot be made
    };
    std::deque<Page> m_pages;                  // in flight, oldest first
    std::atomic<qsizetype> m_largestPageBytes = -1; // none made yet
    std::atomic<bool> m_makeFailed = false;
    std::vector<PageSections> m_spareSections; // buffers of written pages, for the next ones
    // Last, so that their destructors wait for the pages in flight: the
    // maker first, as it hands each page to the committer.
    QThreadPool m_committer;
    QThreadPool m_maker;
};

} // namespace zuvexal
