#include "tabledata.h"

#include "columnstore.h"

#include <algorithm>

namespace zuvexal {

TableData::TableData()
    : m_fields(std::make_shared<const std::vector<Field>>())
{
}

TableData::TableData(std::vector<Field> fields)
    : m_fields(std::make_shared<const std::vector<Field>>(std::move(fields)))
{
    for (const Field &f : *m_fields)
        m_columns.push_back({std::make_shared<ColumnStore>(f.type), 0});
}

TableData::TableData(std::vector<Field> fields, std::vector<std::shared_ptr<ColumnStore>> columns,
                     qint64 rows)
    : m_fields(std::make_shared<const std::vector<Field>>(std::move(fields))), m_rows(rows)
{
    for (auto &c : columns)
        m_columns.push_back({std::move(c), 0});
}

TableData::TableData(const TableData &other) = default;
TableData &TableData::operator=(const TableData &other) = default;
TableData::~TableData() = default;

QVariant TableData::value(qint64 row, int column) const
{
    const ColumnRef &c = m_columns[size_t(column)];
    return c.store->value(c.offset + row);
}

StoredValue TableData::storedValue(qint64 row, int column) const
{
    const ColumnRef &c = m_columns[size_t(column)];
    return c.store->storedValue(c.offset + row);
}

void TableData::setValue(qint64 row, int column, const QVariant &value)
{
    writable(column).set(row, value);
}

void TableData::appendRow(const QVariantList &values)
{
    for (int i = 0; i < int(m_columns.size()); ++i)
        writable(i).append(i < values.size() ? values.at(i) : QVariant());
    ++m_rows;
}

void TableData::appendField(const Field &field)
{
    auto fields = std::make_shared<std::vector<Field>>(*m_fields);
    fields->push_back(field);
    m_fields = std::move(fields);
    m_columns.push_back({std::make_shared<ColumnStore>(field.type), 0});
}

std::shared_ptr<TableData> TableData::slice(qint64 first, qint64 count) const
{
    auto part = std::make_shared<TableData>(*this);
    // A slice's fields carry the attributes of their type; a slice of a
    // slice keeps the same fields.
    const auto isDefault = [](const Field &f) { return f.attributes == defaultFieldAttributes(f.type); };
    if (!std::all_of(m_fields->begin(), m_fields->end(), isDefault)) {
        auto fields = std::make_shared<std::vector<Field>>(*m_fields);
        for (Field &f : *fields)
            f.attributes = defaultFieldAttributes(f.type);
        part->m_fields = std::move(fields);
    }
    for (ColumnRef &c : part->m_columns)
        c.offset += first;
    part->m_rows = count;
    return part;
}

ColumnStore &TableData::writable(int column)
{
    ColumnRef &c = m_columns[size_t(column)];
    if (c.store.use_count() > 1 || c.offset != 0 || c.store->size() != m_rows) {
        c.store = c.store->copyRange(c.offset, m_rows);
        c.offset = 0;
    }
    return *c.store;
}

} // namespace zuvexal
