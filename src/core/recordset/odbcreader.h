#pragma once

#include <QString>

#include <memory>
#include <vector>

class QSqlQuery;

namespace zuvexal {

class RecordSetBuilder;

// The rows of a query QODBC has executed, fetched in blocks through the
// driver's own cursor: every column is bound to an array, so one call into
// the driver brings up to a thousand rows instead of one call per value.
// Each value goes into the builder as the one QODBC would have made of it,
// read as the same C type (the query's record says which), without a
// QVariant on the common paths and without a time zone lookup.
//
// A column declared longer than a bound buffer holds, and a value longer
// than its column's declared size, are read whole with SQLGetData, so the
// driver must allow that on any column of a block. A driver that does not,
// one that cannot hand text over as UTF-16 (psqlodbc's ANSI build), a query
// that reads decimals as text, and one with a time-of-day column get no
// reader and stay on the QtSql path. The reader borrows the query's
// statement: it must go before the query does.
class OdbcReader
{
public:
    // A reader for query, active and forward-only on a QODBC database, or
    // nullptr when the QtSql path must read it.
    static std::unique_ptr<OdbcReader> open(const QSqlQuery &query);
    ~OdbcReader();
    OdbcReader(const OdbcReader &) = delete;
    OdbcReader &operator=(const OdbcReader &) = delete;

    // Every row into builder, whose columns are the query record's.
    bool read(RecordSetBuilder &builder);
    // The driver's messages, then the step that failed, as QODBC words it.
    const QString &error() const { return m_error; }

private:
    struct Column;
    struct Block;

    explicit OdbcReader(void *statement);
    bool bind(const QSqlQuery &query);
    void unbind();
    enum class Whole { Failed, Null, Value };

    bool appendValue(RecordSetBuilder &builder, int index, qsizetype row);
    void appendLong(RecordSetBuilder &builder, int index, const char *value, qsizetype size);
    Whole readWhole(int index, qsizetype row);
    bool appendWhole(RecordSetBuilder &builder, int index, qsizetype row);
    void fail(const char *step);

    void *m_statement;
    std::vector<Column> m_columns;
    std::unique_ptr<Block> m_block;
    std::vector<char> m_whole;
    QString m_error;
};

} // namespace zuvexal
