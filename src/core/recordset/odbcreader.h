#pragma once

#include "nativereader_p.h"

#include <memory>
#include <vector>

class QSqlField;
class QSqlQuery;

namespace zuvexal {

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
class OdbcReader final : public NativeReader
{
public:
    // A reader for query, active and forward-only on a QODBC database, or
    // nullptr when the QtSql path must read it.
    static std::unique_ptr<OdbcReader> open(const QSqlQuery &query);
    ~OdbcReader() override;

    // The query's record.
    QSqlRecord record() const override { return m_record; }

private:
    struct Column;
    struct Block;
    enum class Whole { Failed, Null, Value };

    OdbcReader(void *statement, const QSqlRecord &record);
    static std::optional<Column> columnFor(const QSqlField &field);
    bool bind();
    bool bindBlock(qsizetype rows);
    void unbind();

    void begin(const RecordSetBuilder &builder) override;
    std::optional<Fetched> fetch() override;
    bool appendRow(RecordSetBuilder &builder, qsizetype row) override;
    QString messages() const override;

    bool appendValue(RecordSetBuilder &builder, int index, qsizetype row);
    void appendLong(RecordSetBuilder &builder, int index, const char *value, qsizetype size);
    Whole readWhole(int index, qsizetype row);
    bool appendWhole(RecordSetBuilder &builder, int index, qsizetype row);

    void *m_statement;
    QSqlRecord m_record;
    std::vector<Column> m_columns;
    std::unique_ptr<Block> m_block;
    std::vector<char> m_whole;
};

} // namespace zuvexal
