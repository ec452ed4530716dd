// Times `zuvexal report` over a SQLite table of 8 columns (200,000 rows by
// default) next to its peers in the same run: the sqlite3 shell writing the
// same table as HTML, and copying the report's own page files; and a batch
// host reporting the table with and without a ReportStatus handler (the
// cost of having every earlier page on disk at each status report). Each
// figure is the median of several runs, the programs taking turns; peak
// memory is each child's ru_maxrss. See README.md beside this file.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "benchdata.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

bool createDatabase(const QString &path, int rowCount)
{
    return bench::createDatabase(
        path,
        "CREATE TABLE t(id INTEGER PRIMARY KEY, qty INTEGER, price REAL, name TEXT, code VARCHAR(20), day DATE,"
        " amount NUMERIC, link HYPERLINK)",
        "INSERT INTO t VALUES(?,?,?,?,?,?,?,?)", rowCount, 7, [](int i, bench::Row &row) {
            row.integer(1, i);
            row.integer(2, row.random() % 1000);
            row.real(3, (row.random() % 100000) / 100.0);
            row.text(4, "Item %u", row.random() % 50000);
            row.text(5, "C-%05X", row.random() % 0xFFFFF);
            row.day(6);
            row.real(7, (row.random() % 10000000) / 100.0);
            row.text(8, "name#https://example.org/x/%d#", i);
        });
}

struct Measured
{
    bool ok = false;
    qint64 ms = 0;
    qint64 userMs = 0;
    qint64 systemMs = 0;
    qint64 peakKb = 0;
};

qint64 milliseconds(const timeval &t)
{
    return qint64(t.tv_sec) * 1000 + t.tv_usec / 1000;
}

// Runs a program with its output to a file (or /dev/null), waiting for it.
Measured run(const std::vector<QByteArray> &argv, const QByteArray &output)
{
    std::vector<char *> args;
    for (const QByteArray &arg : argv)
        args.push_back(const_cast<char *>(arg.constData()));
    args.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = ::open(output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDOUT_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, timer.elapsed(), milliseconds(usage.ru_utime),
            milliseconds(usage.ru_stime), usage.ru_maxrss};
}

// The run of median wall time.
Measured median(std::vector<Measured> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Measured &a, const Measured &b) { return a.ms < b.ms; });
    return runs[runs.size() / 2];
}

// The median run, and the spread of wall times: on a shared machine the
// kernel's share can change severalfold between runs.
void print(const char *name, const std::vector<Measured> &runs)
{
    const Measured m = median(runs);
    const auto [fastest, slowest] = std::minmax_element(
        runs.begin(), runs.end(), [](const Measured &a, const Measured &b) { return a.ms < b.ms; });
    std::printf("%-22s %6lld ms wall (%lld user, %lld sys), peak %lld KiB; runs %lld-%lld ms\n", name, m.ms,
                m.userMs, m.systemMs, m.peakKb, fastest->ms, slowest->ms);
}

} // namespace

int main(int argc, char **argv)
{
    int rowCount = 200000;
    int runs = 5;
    QString path;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--rows") && i + 1 < argc)
            rowCount = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            path = QString::fromLocal8Bit(argv[i]);
    }
    if (rowCount < 1) {
        std::fprintf(stderr, "usage: bench_report [--rows N] [--runs K] [database-file]\n");
        return 2;
    }
    if (path.isEmpty())
        path = QStringLiteral("bench_report_%1.db").arg(rowCount);
    if (!QFileInfo::exists(path)) {
        std::printf("creating %s (%d rows x 8 columns)...\n", qPrintable(path), rowCount);
        if (!createDatabase(path, rowCount)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            return 1;
        }
    }
    QTemporaryDir work;
    const QByteArray db = QFile::encodeName(path);
    const QByteArray html = QFile::encodeName(work.filePath(QStringLiteral("shell.html")));
    // The first shell run warms the page cache.
    run({"sqlite3", "-html", db, "SELECT * FROM t"}, html);
    std::vector<Measured> shell, report, copied, inOrder, ahead;
    QByteArray reports;
    for (int i = 0; i < runs; ++i) {
        // A fresh application folder and copy target each time, and nothing
        // deleted until the end: ext4 without a journal skips inodes freed in
        // the last minutes on every create, so deleting the last run's pages
        // would make this run pay for the benchmark's own clean-up.
        const QByteArray folder = QFile::encodeName(work.filePath(QStringLiteral("app%1").arg(i)));
        const QByteArray copy = QFile::encodeName(work.filePath(QStringLiteral("copy%1").arg(i)));
        reports = folder + "/Reports";
        QDir().mkpath(QFile::decodeName(folder));
        shell.push_back(run({"sqlite3", "-html", db, "SELECT * FROM t"}, html));
        report.push_back(run({ZUVEXAL_CLI, "report", "--db", db, "--table", "t", "--per-page", "200",
                              "--app-folder", folder, "--quiet"},
                             "/dev/null"));
        copied.push_back(run({"cp", "-r", reports, copy}, "/dev/null"));
        const QByteArray handled = QFile::encodeName(work.filePath(QStringLiteral("handled%1").arg(i)));
        const QByteArray unhandled = QFile::encodeName(work.filePath(QStringLiteral("unhandled%1").arg(i)));
        QDir().mkpath(QFile::decodeName(handled));
        QDir().mkpath(QFile::decodeName(unhandled));
        inOrder.push_back(run({REPORT_HOST, db, handled, "--handler"}, "/dev/null"));
        ahead.push_back(run({REPORT_HOST, db, unhandled}, "/dev/null"));
        if (!shell.back().ok || !report.back().ok || !copied.back().ok || !inOrder.back().ok || !ahead.back().ok) {
            std::fprintf(stderr, "a run failed (sqlite3 %d, zuvexal %d, cp %d, host %d %d)\n", shell.back().ok,
                         report.back().ok, copied.back().ok, inOrder.back().ok, ahead.back().ok);
            return 1;
        }
    }
    const qint64 fileKb = QFileInfo(path).size() / 1024;
    qint64 pagesKb = 0;
    int pages = 0;
    for (const QFileInfo &page : QDir(QFile::decodeName(reports)).entryInfoList(QDir::Files)) {
        pagesKb += page.size() / 1024;
        ++pages;
    }
    const Measured s = median(shell), r = median(report), c = median(copied);
    std::printf("database file          %lld KiB (%d rows x 8), %d pages of %lld KiB, median of %d runs\n",
                fileKb, rowCount, pages, pagesKb, runs);
    print("sqlite3 -html", shell);
    print("zuvexal report", report);
    print("cp -r of the pages", copied);
    print("host, status handled", inOrder);
    print("host, no handler", ahead);
    std::printf("report / sqlite3 -html %.2f\n", double(r.ms) / double(s.ms));
    std::printf("report / cp -r         %.2f\n", double(r.ms) / double(c.ms));
    std::printf("peak report / file     %.2f\n", double(r.peakKb) / double(fileKb));
    std::printf("handled / no handler   %.2f (the cost of every earlier page on disk at each status)\n",
                double(median(inOrder).ms) / double(median(ahead).ms));
    return 0;
}
