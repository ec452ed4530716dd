#pragma once

#include "recordset.h"

#include <memory>
#include <vector>

namespace zuvexal {

class ColumnStore;

// The rows of a record set: one column store per field. Stores are shared
// between copies and slices (a slice sees its rows through an offset) and are
// copied only when a table that shares one writes to it. The fields are
// shared too, so that the many slices of a long report cost little each.
class TableData
{
public:
    TableData();
    explicit TableData(std::vector<Field> fields);
    TableData(std::vector<Field> fields, std::vector<std::shared_ptr<ColumnStore>> columns, qint64 rows);
    TableData(const TableData &other);
    TableData &operator=(const TableData &other);
    ~TableData();

    const std::vector<Field> &fields() const { return *m_fields; }
    qint64 rowCount() const { return m_rows; }

    QVariant value(qint64 row, int column) const;
    StoredValue storedValue(qint64 row, int column) const;
    void setValue(qint64 row, int column, const QVariant &value);
    void appendRow(const QVariantList &values);
    void appendField(const Field &field); // only while there are no rows

    std::shared_ptr<TableData> slice(qint64 first, qint64 count) const;

private:
    struct ColumnRef
    {
        std::shared_ptr<ColumnStore> store;
        qint64 offset = 0;
    };

    ColumnStore &writable(int column);

    std::shared_ptr<const std::vector<Field>> m_fields;
    std::vector<ColumnRef> m_columns;
    qint64 m_rows = 0;
};

} // namespace zuvexal
