#include "recordsetbuilder.h"

#include "columnstore.h"
#include "recordset_p.h"
#include "tabledata.h"

#include <algorithm>

namespace zuvexal {

RecordSetBuilder::RecordSetBuilder(std::vector<Field> fields)
    : m_fields(std::move(fields))
{
    for (const Field &f : m_fields)
        m_columns.push_back(std::make_shared<ColumnStore>(f.type));
}

RecordSetBuilder::~RecordSetBuilder() = default;

bool RecordSetBuilder::setField(int column, const Field &field)
{
    if (!m_columns[size_t(column)]->setFieldType(field.type))
        return false;
    m_fields[size_t(column)] = field;
    return true;
}

void RecordSetBuilder::appendNull(int column)
{
    m_columns[size_t(column)]->appendNull();
}

void RecordSetBuilder::appendInt(int column, qint64 value)
{
    m_columns[size_t(column)]->appendInt(value);
}

void RecordSetBuilder::appendReal(int column, double value)
{
    m_columns[size_t(column)]->appendReal(value);
}

void RecordSetBuilder::appendText(int column, const char *utf8, qsizetype size)
{
    m_columns[size_t(column)]->appendText(utf8, size);
}

void RecordSetBuilder::appendBytes(int column, const char *data, qsizetype size)
{
    m_columns[size_t(column)]->appendBytes(data, size);
}

void RecordSetBuilder::appendString(int column, const QString &text)
{
    m_columns[size_t(column)]->appendString(text);
}

void RecordSetBuilder::appendDate(int column, qint64 julianDay)
{
    m_columns[size_t(column)]->appendDate(julianDay);
}

void RecordSetBuilder::appendTime(int column, qint64 msecs)
{
    m_columns[size_t(column)]->appendTime(msecs);
}

void RecordSetBuilder::appendDateTime(int column, qint64 msecs)
{
    m_columns[size_t(column)]->appendDateTime(msecs);
}

void RecordSetBuilder::appendValue(int column, const QVariant &value)
{
    m_columns[size_t(column)]->append(value);
}

void RecordSetBuilder::setSource(const QString &connectionName, const QString &sql, const QString &table)
{
    m_connectionName = connectionName;
    m_sql = sql;
    m_sourceTable = table;
}

RecordSet RecordSetBuilder::finish(Ado::CursorType cursor)
{
    qint64 rows = 0;
    for (const auto &c : m_columns)
        rows = std::max(rows, c->size());
    for (const auto &c : m_columns) {
        while (c->size() < rows)
            c->appendNull();
    }
    RecordSet set;
    set.d->table = std::make_shared<TableData>(std::move(m_fields), std::move(m_columns), rows);
    set.d->open = true;
    set.d->pos = rows > 0 ? 0 : -1;
    set.d->cursorType = cursor;
    set.d->connectionName = std::move(m_connectionName);
    set.d->sql = std::move(m_sql);
    set.d->sourceTable = std::move(m_sourceTable);
    m_fields.clear();
    m_columns.clear();
    return set;
}

} // namespace zuvexal
