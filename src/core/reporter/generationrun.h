#pragma once

#include "core/reporter/pagewriter.h"
#include "core/reporter/runresult.h"

#include <QMetaMethod>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <deque>
#include <future>
#include <memory>
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
// A page's file is written on a worker thread while the next pages are
// made, one page at a time and in order, a few pages at most behind; the
// run waits for them before it looks at the files again (cancel, clean-up,
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
    void startCommit(const QString &path, PageSections sections, bool existed);
    void finishOldestCommit();
    void finishCommits();
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

    struct Commit
    {
        QString path;
        std::shared_ptr<PageSections> sections;
        std::future<int> failed; // sections that could not be written
    };
    std::deque<Commit> m_commits;             // oldest first
    qsizetype m_bytesInFlight = 0;
    std::vector<PageSections> m_spareSections; // buffers of written pages, for the next ones
    QThreadPool m_committer; // last: its destructor waits for the commits in flight
};

} // namespace zuvexal
