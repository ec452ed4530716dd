#pragma once

// Deterministic SQLite tables for the benchmarks, so runs on different
// machines compare.

#include <QDate>
#include <QFile>
#include <QString>

#include <sqlite3.h>

#include <cstdio>
#include <functional>

namespace bench {

// One row being inserted: values are bound by column (1-based), from a
// fixed pseudo-random sequence.
class Row
{
public:
    Row(sqlite3_stmt *insert, quint64 seed) : m_insert(insert), m_state(seed) {}

    quint32 random()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(m_state >> 33);
    }
    void integer(int column, qint64 value) { sqlite3_bind_int64(m_insert, column, value); }
    void real(int column, double value) { sqlite3_bind_double(m_insert, column, value); }
    template <typename... Args>
    void text(int column, const char *format, Args... args)
    {
        const int n = std::snprintf(m_text, sizeof m_text, format, args...);
        sqlite3_bind_text(m_insert, column, m_text, n, SQLITE_TRANSIENT);
    }
    // A day of 2000 .. 2024 as ISO text.
    void day(int column)
    {
        const QDate d = QDate::fromJulianDay(QDate(2000, 1, 1).toJulianDay() + random() % 9000);
        text(column, "%04d-%02d-%02d", d.year(), d.month(), d.day());
    }

private:
    sqlite3_stmt *m_insert;
    quint64 m_state;
    char m_text[96];
};

// Creates table t (createTable) with `rows` rows, each bound by fill(row
// number from 1, row). The file appears only when complete.
inline bool createDatabase(const QString &path, const char *createTable, const char *insertSql, int rows,
                           quint64 seed, const std::function<void(int, Row &)> &fill)
{
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(partial).constData(), &db) != SQLITE_OK)
        return false;
    bool ok = sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr)
            == SQLITE_OK
        && sqlite3_exec(db, createTable, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt *insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, insertSql, -1, &insert, nullptr) == SQLITE_OK;
    Row row(insert, seed);
    for (int i = 1; ok && i <= rows; ++i) {
        fill(i, row);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    if (!ok)
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok && QFile::rename(partial, path);
}

} // namespace bench
