// The generation run alone: a job made by hand, an observer that records
// what the run tells it and answers as a test says, and the pages on disk.
#include "core/base/messages.h"
#include "core/links/linkactivation_p.h"
#include "core/reporter/generationrun.h"
#include "core/reporter/reportjob.h"

#include "reportfixture.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace zuvexal;
using zuvexal::test::makeOrders;
using zuvexal::test::TempFolder;

namespace {

// Orders in pages of perPage, every page of the run, nothing shown.
ReportJob ordersJob(const TempFolder &folder, int records, qint32 perPage, const QString &name)
{
    const RecordSetPtr orders = makeOrders(records);
    ReportJob job;
    for (RecordSetPtr &page : splitIntoPages(*orders, records, perPage).pages)
        job.pages.push_back(std::move(*page));
    job.sourceFields = fieldsOf(*orders);
    job.totalRecords = records;
    job.outputFields = {QStringLiteral("OrderID"), QStringLiteral("Customer")};
    job.gridFieldNames = job.outputFields;
    job.columnPictureFolders = {QString(), QString()};
    job.title = QStringLiteral("Orders");
    job.fileName = name;
    job.insertDate = false;
    job.showInBrowser = false;
    job.unattended = true;
    job.appFolder = folder.path();
    job.locale = QLocale::c();
    return job;
}

// Records each call as a line; `answer` sets the requests of a status
// report, and sees the pages on disk as they are at that moment.
class RecordingObserver : public ReportObserver
{
public:
    explicit RecordingObserver(bool pagesOnDisk = true) : m_pagesOnDisk(pagesOnDisk) {}

    void started() override { calls << QStringLiteral("started"); }
    void status(const RunStatus &status, RunRequests &requests) override
    {
        calls << QStringLiteral("status %1/%2").arg(status.currentPage).arg(status.totalPages);
        if (answer)
            answer(status, requests);
    }
    bool pagesOnDiskAtStatus() const override { return m_pagesOnDisk; }
    void finished(const RunResult &result) override
    {
        calls << QStringLiteral("finished");
        finishedWith = result;
    }

    QStringList calls;
    std::function<void(const RunStatus &, RunRequests &)> answer;
    std::optional<RunResult> finishedWith;

private:
    bool m_pagesOnDisk;
};

class GenerationRunTest : public ::testing::Test
{
protected:
    RunResult run(ReportJob job, ReportObserver &observer, GenerationRun::PageCheck check = {})
    {
        GenerationRun generation(std::move(job), observer, links, messages, std::move(check));
        EXPECT_FALSE(generation.refusal());
        return generation.run();
    }
    QString page(const QString &name) const { return folder.file(QStringLiteral("Reports/") + name); }
    QByteArray read(const QString &name) const { return test::readAll(page(name)); }

    TempFolder folder;
    LinkState links;
    Messages messages;
};

} // namespace

// Status reports go from 0 to records / 5 per page (three for ten records,
// two for the last five), each after the pages before it are whole on
// disk, between one start and one finish.
TEST_F(GenerationRunTest, ReportsStatusPerSectionWithTheEarlierPagesOnDisk)
{
    RecordingObserver observer;
    QStringList onDisk;
    observer.answer = [&](const RunStatus &status, RunRequests &) {
        for (int p = 1; p < status.currentPage; ++p) {
            const QByteArray html = read(QStringLiteral("orders%1.htm").arg(p));
            if (!html.contains("Vol " + QByteArray::number(p) + " of") || !html.contains("Section1"))
                onDisk << QStringLiteral("page %1 not whole at status %2").arg(p).arg(status.currentPage);
        }
    };
    const RunResult result = run(ordersJob(folder, 25, 10, QStringLiteral("orders")), observer);
    QStringList expected{QStringLiteral("started")};
    for (const auto &[page, reports] : {std::pair{1, 3}, std::pair{2, 3}, std::pair{3, 2}}) {
        for (int i = 0; i < reports; ++i)
            expected << QStringLiteral("status %1/3").arg(page);
    }
    expected << QStringLiteral("finished");
    EXPECT_EQ(observer.calls, expected);
    EXPECT_EQ(onDisk, QStringList());
    EXPECT_EQ(result.pagesWritten, 3);
    ASSERT_TRUE(observer.finishedWith);
    EXPECT_EQ(observer.finishedWith->pageFiles, result.pageFiles);
}

// A colour chosen at a status report holds for the sections still to be
// written: the page made ahead in the old colour is made again.
TEST_F(GenerationRunTest, APageMadeAheadIsMadeAgainInTheColourChosenForIt)
{
    RecordingObserver observer;
    observer.answer = [](const RunStatus &status, RunRequests &requests) {
        if (status.currentPage == 2)
            requests.tableColor = QStringLiteral("RED");
    };
    ReportJob job = ordersJob(folder, 30, 10, QStringLiteral("colours"));
    job.tableColor = QStringLiteral("WHITE");
    run(std::move(job), observer);
    EXPECT_TRUE(read(QStringLiteral("colours1.htm")).contains("WHITE"));
    for (const char *name : {"colours2.htm", "colours3.htm"}) {
        const QByteArray html = read(QLatin1String(name));
        EXPECT_TRUE(html.contains("RED")) << name;
        EXPECT_FALSE(html.contains("WHITE")) << name << ": made ahead in the old colour, never made again";
    }
}

// A page that cannot be made (memory, say) fails with its sections; the
// pages before it are whole, those behind it neither made nor reported,
// and the run still finishes.
TEST_F(GenerationRunTest, APageThatCannotBeMadeEndsTheRun)
{
    for (const bool pagesOnDisk : {true, false}) {
        RecordingObserver observer(pagesOnDisk);
        const QString name = pagesOnDisk ? QStringLiteral("inline") : QStringLiteral("ahead");
        const QString failing = page(name + QStringLiteral("2.htm"));
        const RunResult result = run(ordersJob(folder, 23, 10, name), observer, [failing](const QString &path) {
            if (path == failing)
                throw std::bad_alloc();
        });
        EXPECT_EQ(result.pagesWritten, 1) << name.toStdString();
        EXPECT_EQ(result.sectionsFailed, 2) << "the failed page's two sections";
        EXPECT_EQ(result.pagesFailed, QStringList{failing});
        EXPECT_TRUE(QFile::exists(page(name + QStringLiteral("1.htm"))));
        EXPECT_FALSE(QFile::exists(failing));
        EXPECT_FALSE(QFile::exists(page(name + QStringLiteral("3.htm")))) << "nothing behind the failed page";
        EXPECT_EQ(result.pageFiles.value(2), QString()) << "the page behind it was not reached";
        if (pagesOnDisk) {
            EXPECT_FALSE(observer.calls.contains(QStringLiteral("status 3/3"))) << "no status after the failure";
        }
        EXPECT_EQ(observer.calls.last(), QStringLiteral("finished"));
    }
}

// Cancel at page 2: without delete-on-cancel the pages written stay; with
// it the run takes back what it wrote, and a page that held an earlier
// report keeps that report.
TEST_F(GenerationRunTest, CancelKeepsOrTakesBackWhatTheRunWrote)
{
    const auto cancelAtPage2 = [](bool deleteOnCancel) {
        return [deleteOnCancel](const RunStatus &status, RunRequests &requests) {
            if (status.currentPage == 2) {
                requests.cancel = true;
                requests.deleteOnCancel = deleteOnCancel;
            }
        };
    };
    RecordingObserver keeping;
    keeping.answer = cancelAtPage2(false);
    const RunResult kept = run(ordersJob(folder, 30, 10, QStringLiteral("kept")), keeping);
    EXPECT_TRUE(kept.cancelled);
    EXPECT_FALSE(kept.deletedOnCancel);
    EXPECT_TRUE(QFile::exists(page(QStringLiteral("kept1.htm"))));
    EXPECT_FALSE(QFile::exists(page(QStringLiteral("kept2.htm"))));

    const QByteArray earlier = "<P>an earlier report</P>";
    test::writeAll(page(QStringLiteral("taken1.htm")), earlier);
    RecordingObserver taking;
    taking.answer = cancelAtPage2(true);
    const RunResult taken = run(ordersJob(folder, 30, 10, QStringLiteral("taken")), taking);
    EXPECT_TRUE(taken.cancelled);
    EXPECT_TRUE(taken.deletedOnCancel);
    EXPECT_EQ(read(QStringLiteral("taken1.htm")), earlier) << "back to what it held before the run";
    EXPECT_EQ(QDir(folder.file(QStringLiteral("Reports"))).entryList({QStringLiteral("taken*")}, QDir::Files),
              QStringList{QStringLiteral("taken1.htm")});
}

TEST(TaskQueue, TasksOwnWhatTheyWorkOnAndAFailingTaskEndsItselfAlone)
{
    std::promise<int> kept;
    std::future<int> keptResult = kept.get_future();
    std::promise<int> broken;
    std::future<int> brokenResult = broken.get_future();
    std::vector<int> order;
    {
        TaskQueue queue;
        auto owned = std::make_unique<int>(7); // move-only, as a page job is
        queue.start([owned = std::move(owned), promise = std::move(kept), &order]() mutable {
            order.push_back(1);
            promise.set_value(*owned);
        });
        queue.start([promise = std::move(broken)]() mutable -> void { throw std::runtime_error("no page"); });
        queue.start([&order] { order.push_back(3); });
    }
    EXPECT_EQ(keptResult.get(), 7);
    EXPECT_THROW(brokenResult.get(), std::future_error) << "the failing task's promise breaks";
    EXPECT_EQ(order, (std::vector<int>{1, 3})) << "the queue goes on after it, in order, and runs every task";
}
