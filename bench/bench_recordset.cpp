// Loads a 1,000,000-row SQLite table into a RecordSet and compares the time
// with the sqlite3 shell printing the same table; reports peak memory against
// the database file's size. See README.md beside this file.

#include "core/recordset/recordset.h"
#include "core/recordset/sqladapter.h"

#include "benchdata.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>

namespace {

constexpr int rowCount = 1000000;
constexpr int runs = 3;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

qint64 statusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool createDatabase(const QString &path)
{
    return bench::createDatabase(
        path,
        "CREATE TABLE t(id INTEGER PRIMARY KEY, qty INTEGER NOT NULL, price REAL, ratio DOUBLE,"
        " name TEXT, code VARCHAR(20), day DATE, flag BOOLEAN, amount NUMERIC, link HYPERLINK)",
        "INSERT INTO t VALUES(?,?,?,?,?,?,?,?,?,?)", rowCount, 42, [](int i, bench::Row &row) {
            const quint32 r = row.random();
            row.integer(1, i);
            row.integer(2, r % 1000);
            row.real(3, (row.random() % 100000) / 100.0);
            row.real(4, row.random() / 4294967296.0);
            row.text(5, "Item %u", r % 50000);
            row.text(6, "C-%05X", row.random() % 0xFFFFF);
            row.day(7);
            row.integer(8, i % 2);
            row.real(9, (row.random() % 10000000) / 100.0);
            row.text(10, "name#https://example.org/x/%d#", i);
        });
}

// The child process: load, clone and walk, then report times and peak memory.
int measureLoad(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
    db.setDatabaseName(path);
    if (!db.open()) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
        return 1;
    }
    const qint64 baseKb = statusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    zuvexal::LoadResult loaded = zuvexal::loadTable(db, QStringLiteral("t"));
    const qint64 loadMs = timer.restart();
    if (!loaded.records) {
        std::fprintf(stderr, "%s\n", qPrintable(loaded.error));
        return 1;
    }
    const qint64 loadedKb = statusKb("VmRSS");
    zuvexal::RecordSet clone = loaded.records->clone();
    const qint64 cloneMs = timer.restart();
    qint64 values = 0;
    qint64 nulls = 0;
    const int fields = clone.fieldCount();
    for (clone.moveFirst(); !clone.eof(); clone.moveNext()) {
        for (int f = 0; f < fields; ++f) {
            const std::optional<QVariant> v = clone.value(f);
            ++values;
            nulls += !v || v->isNull();
        }
    }
    const qint64 walkMs = timer.elapsed();
    out() << "rows=" << loaded.records->recordCount() << "\nvalues=" << values << "\nnulls=" << nulls
          << "\nload_ms=" << loadMs << "\nclone_ms=" << cloneMs << "\nwalk_ms=" << walkMs
          << "\nbase_kb=" << baseKb << "\nloaded_kb=" << loadedKb << "\npeak_kb=" << statusKb("VmHWM")
          << Qt::endl;
    return 0;
}

std::map<QByteArray, qint64> runChild(const QString &path)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--load"), path});
    std::map<QByteArray, qint64> result;
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return result;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            result[line.left(eq)] = line.mid(eq + 1).toLongLong();
    }
    return result;
}

qint64 timeShell(const QString &path)
{
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {path, QStringLiteral("SELECT * FROM t")});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        return -1;
    return timer.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--load"))
        return measureLoad(args[1]);
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith(QLatin1Char('-')))) {
        std::fprintf(stderr, "usage: bench_recordset [database-file]\n");
        return 2;
    }
    const QString path = args.value(0, QStringLiteral("bench_recordset.db"));
    if (!QFileInfo::exists(path)) {
        out() << "creating " << path << " (" << rowCount << " rows)..." << Qt::endl;
        if (!createDatabase(path)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            return 1;
        }
    }
    const qint64 fileKb = QFileInfo(path).size() / 1024;

    // Best of several runs: the first one also warms the page cache.
    qint64 shellMs = std::numeric_limits<qint64>::max();
    for (int i = 0; i < runs; ++i) {
        const qint64 ms = timeShell(path);
        if (ms < 0) {
            std::fprintf(stderr, "sqlite3 shell failed\n");
            return 1;
        }
        shellMs = std::min(shellMs, ms);
    }
    std::map<QByteArray, qint64> best;
    for (int i = 0; i < runs; ++i) {
        const auto r = runChild(path);
        if (r.empty()) {
            std::fprintf(stderr, "load failed\n");
            return 1;
        }
        for (const auto &[key, value] : r) {
            auto it = best.find(key);
            const bool isTime = key.endsWith("_ms");
            if (it == best.end())
                best[key] = value;
            else
                it->second = isTime ? std::min(it->second, value) : std::max(it->second, value);
        }
    }

    const double ratio = double(best["load_ms"]) / double(std::max<qint64>(shellMs, 1));
    const double memoryRatio = double(best["peak_kb"]) / double(std::max<qint64>(fileKb, 1));
    out() << "database file            " << fileKb / 1024 << " MiB (" << best["rows"] << " rows, "
          << best["values"] << " values)\n"
          << "sqlite3 shell SELECT *   " << shellMs << " ms\n"
          << "loadTable                " << best["load_ms"] << " ms\n"
          << "load / shell             " << QString::number(ratio, 'f', 2) << " (aim: <= 2)\n"
          << "clone                    " << best["clone_ms"] << " ms\n"
          << "walk clone, every value  " << best["walk_ms"] << " ms\n"
          << "rss before load          " << best["base_kb"] / 1024 << " MiB\n"
          << "rss after load           " << best["loaded_kb"] / 1024 << " MiB\n"
          << "peak of load+clone+walk  " << best["peak_kb"] / 1024 << " MiB (VmHWM of the child)\n"
          << "peak / file size         " << QString::number(memoryRatio, 'f', 2) << " (aim: < 2)\n"
          << "peak of this process     " << statusKb("VmHWM") / 1024 << " MiB" << Qt::endl;
    return 0;
}
