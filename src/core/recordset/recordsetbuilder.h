#pragma once

#include "recordset.h"

#include <QByteArray>

#include <memory>
#include <vector>

namespace zuvexal {

class ColumnStore;

// Fills a record set column by column at load speed: values go straight into
// typed storage, text as UTF-8 without a QString in between. Each append goes
// to the end of one column; finish() pads shorter columns with NULLs.
class RecordSetBuilder
{
public:
    explicit RecordSetBuilder(std::vector<Field> fields);
    ~RecordSetBuilder();
    RecordSetBuilder(const RecordSetBuilder &) = delete;
    RecordSetBuilder &operator=(const RecordSetBuilder &) = delete;

    int fieldCount() const { return int(m_fields.size()); }
    const Field &field(int column) const { return m_fields[size_t(column)]; }
    // Retypes a column; only while it holds nothing but NULLs.
    bool setField(int column, const Field &field);

    void appendNull(int column);
    void appendInt(int column, qint64 value);
    void appendReal(int column, double value);
    void appendText(int column, const char *utf8, qsizetype size);
    void appendBytes(int column, const char *data, qsizetype size);
    // As appendValue() of the text, without the QVariant.
    void appendString(int column, const QString &text);
    void appendDate(int column, qint64 julianDay);
    void appendTime(int column, qint64 msecs);
    // Msecs since the start of Julian day 0, as ColumnStore keeps them.
    void appendDateTime(int column, qint64 msecs);
    void appendValue(int column, const QVariant &value);

    // Where requery() loads the rows again from; table when they are a whole
    // table's.
    void setSource(const QString &connectionName, const QString &sql, const QString &table = {});

    // An open set on its first record; the builder is empty afterwards.
    RecordSet finish(Ado::CursorType cursor = Ado::adOpenStatic);

private:
    std::vector<Field> m_fields;
    std::vector<std::shared_ptr<ColumnStore>> m_columns;
    QString m_connectionName;
    QString m_sql;
    QString m_sourceTable;
};

} // namespace zuvexal
