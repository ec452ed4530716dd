// Times `zuvexal report` over a 200,000-row SQLite table against the sqlite3
// shell writing the same table as HTML, and reports the peak memory of both
// (ru_maxrss of each child). See README.md beside this file.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "benchdata.h"

#include <sqlite3.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int rowCount = 200000;

bool createDatabase(const QString &path)
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
    qint64 peakKb = 0;
};

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
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, timer.elapsed(), usage.ru_maxrss};
}

} // namespace

int main(int argc, char **argv)
{
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("bench_report.db");
    if (!QFileInfo::exists(path)) {
        std::printf("creating %s (%d rows x 8 columns)...\n", qPrintable(path), rowCount);
        if (!createDatabase(path)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            return 1;
        }
    }
    QTemporaryDir work;
    const QByteArray db = QFile::encodeName(path);
    const QByteArray html = QFile::encodeName(work.filePath(QStringLiteral("shell.html")));
    // The first shell run warms the page cache for both.
    run({"sqlite3", "-html", db, "SELECT * FROM t"}, html);
    const Measured shell = run({"sqlite3", "-html", db, "SELECT * FROM t"}, html);
    const Measured report = run({ZUVEXAL_CLI, "report", "--db", db, "--table", "t", "--per-page", "200",
                                 "--app-folder", QFile::encodeName(work.path()), "--quiet"},
                                "/dev/null");
    if (!shell.ok || !report.ok) {
        std::fprintf(stderr, "a run failed (sqlite3 %d, zuvexal %d)\n", shell.ok, report.ok);
        return 1;
    }
    const qint64 fileKb = QFileInfo(path).size() / 1024;
    qint64 pagesKb = 0;
    int pages = 0;
    for (const QFileInfo &page : QDir(work.filePath(QStringLiteral("Reports"))).entryInfoList(QDir::Files)) {
        pagesKb += page.size() / 1024;
        ++pages;
    }
    std::printf("database file            %lld KiB (%d rows)\n", fileKb, rowCount);
    std::printf("sqlite3 -html            %lld ms, peak %lld KiB\n", shell.ms, shell.peakKb);
    std::printf("zuvexal report           %lld ms, peak %lld KiB (%d pages, %lld KiB)\n", report.ms,
                report.peakKb, pages, pagesKb);
    std::printf("time report / shell      %.2f (first bar: <= 3)\n", double(report.ms) / double(shell.ms));
    std::printf("peak report / file       %.2f (first bar: < 3)\n", double(report.peakKb) / double(fileKb));
    return 0;
}
