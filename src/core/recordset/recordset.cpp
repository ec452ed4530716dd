#include "recordset.h"

#include "columnstore.h"
#include "fieldkind.h"
#include "sqladapter.h"
#include "tabledata.h"

#include <QSqlDatabase>

#include <algorithm>

namespace zuvexal {

using namespace Ado;

bool isKnownFieldType(int type)
{
    static constexpr int known[] = {adEmpty, adSmallInt, adInteger, adSingle, adDouble, adCurrency,
                                    adDate, adBSTR, adBoolean, adVariant, adDecimal, adTinyInt,
                                    adUnsignedTinyInt, adUnsignedSmallInt, adUnsignedInt, adBigInt,
                                    adUnsignedBigInt, adGUID, adBinary, adChar, adWChar, adNumeric,
                                    adUserDefined, adDBDate, adDBTime, adDBTimeStamp, adVarChar,
                                    adLongVarChar, adVarWChar, adLongVarWChar, adVarBinary,
                                    adLongVarBinary};
    return std::find(std::begin(known), std::end(known), type) != std::end(known);
}

bool isFixedLengthType(int type)
{
    // Numbers, dates and booleans, as the field kinds sort the types.
    const QLatin1String kind = fieldKindOf(0, qint16(type));
    return kind == QLatin1String("number") || kind == QLatin1String("date") || kind == QLatin1String("boolean");
}

bool isLongType(int type)
{
    return type == adLongVarChar || type == adLongVarWChar || type == adLongVarBinary;
}

int defaultFieldAttributes(int type)
{
    int attributes = adFldMayDefer | adFldUpdatable | adFldIsNullable | adFldMayBeNull;
    if (isFixedLengthType(type))
        attributes |= adFldFixed;
    if (isLongType(type))
        attributes |= adFldLong;
    return attributes;
}

RecordSet::RecordSet() = default;

RecordSet::RecordSet(const RecordSet &other)
    : m_table(other.m_table ? std::make_shared<TableData>(*other.m_table) : nullptr),
      m_pos(other.m_pos),
      m_open(other.m_open),
      m_cursorType(other.m_cursorType),
      m_lockType(other.m_lockType),
      m_newRow(other.m_newRow),
      m_connectionName(other.m_connectionName),
      m_sql(other.m_sql),
      m_sourceTable(other.m_sourceTable)
{
}

RecordSet::RecordSet(RecordSet &&other) noexcept
{
    swap(other);
}

RecordSet &RecordSet::operator=(const RecordSet &other)
{
    RecordSet copy(other);
    swap(copy);
    return *this;
}

RecordSet &RecordSet::operator=(RecordSet &&other) noexcept
{
    RecordSet taken(std::move(other));
    swap(taken);
    return *this;
}

RecordSet::~RecordSet() = default;

void RecordSet::swap(RecordSet &other) noexcept
{
    std::swap(m_table, other.m_table);
    std::swap(m_pos, other.m_pos);
    std::swap(m_open, other.m_open);
    std::swap(m_cursorType, other.m_cursorType);
    std::swap(m_lockType, other.m_lockType);
    std::swap(m_newRow, other.m_newRow);
    m_connectionName.swap(other.m_connectionName);
    m_sql.swap(other.m_sql);
    m_sourceTable.swap(other.m_sourceTable);
}

const TableData &RecordSet::table() const
{
    if (m_table)
        return *m_table;
    // Only a set that never had rows gets here: the guard of the static is
    // kept off the path of every cursor move.
    static const TableData empty;
    return empty;
}

qint64 RecordSet::rowCount() const
{
    return table().rowCount();
}

int RecordSet::fieldCount() const
{
    return int(table().fields().size());
}

const Field &RecordSet::field(int i) const
{
    static const Field none;
    return i >= 0 && i < fieldCount() ? table().fields()[size_t(i)] : none;
}

std::optional<int> RecordSet::indexOf(QStringView name) const
{
    const auto &fields = table().fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (name.compare(fields[i].name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return std::nullopt;
}

bool RecordSet::appendField(const QString &name, int type, qint32 definedSize, int attributes)
{
    if (m_open || name.isEmpty() || indexOf(name) || !isKnownFieldType(type) || definedSize < 0
        || attributes < adFldUnspecified)
        return false;
    if (!m_table || m_table.use_count() > 1)
        m_table = std::make_shared<TableData>(table());
    m_table->appendField(
        {name, type, definedSize, attributes == adFldUnspecified ? defaultFieldAttributes(type) : attributes});
    return true;
}

bool RecordSet::open()
{
    if (m_open)
        return false;
    if (!m_sql.isEmpty())
        return requery();
    if (fieldCount() == 0)
        return false;
    m_table = std::make_shared<TableData>(table().fields());
    m_open = true;
    m_pos = -1;
    return true;
}

void RecordSet::close()
{
    // Clones stay open on the rows they share.
    m_table = std::make_shared<TableData>(table().fields());
    m_open = false;
    m_pos = -1;
    m_newRow.reset();
}

bool RecordSet::isOpen() const
{
    return m_open;
}

CursorType RecordSet::cursorType() const
{
    return m_cursorType;
}

bool RecordSet::setCursorType(CursorType type)
{
    if (m_open || type < adOpenForwardOnly || type > adOpenStatic)
        return false;
    m_cursorType = type;
    return true;
}

LockType RecordSet::lockType() const
{
    return m_lockType;
}

bool RecordSet::setLockType(LockType type)
{
    if (m_open || type < adLockReadOnly || type > adLockBatchOptimistic)
        return false;
    m_lockType = type;
    return true;
}

bool RecordSet::hasCurrentRow() const
{
    return m_open && m_pos >= 0 && m_pos < rowCount();
}

bool RecordSet::bof() const
{
    return !m_newRow && (rowCount() == 0 || m_pos < 0);
}

bool RecordSet::eof() const
{
    return !m_newRow && (rowCount() == 0 || m_pos >= rowCount());
}

// Moving away from a new record saves it, as ADO does.
void RecordSet::commitNewRow()
{
    if (!m_newRow)
        return;
    m_table->appendRow(*m_newRow);
    m_newRow.reset();
    m_pos = rowCount() - 1;
}

bool RecordSet::moveFirst()
{
    if (!m_open)
        return false;
    commitNewRow();
    if (rowCount() == 0)
        return false;
    m_pos = 0;
    return true;
}

bool RecordSet::moveLast()
{
    if (!m_open || isForwardOnly())
        return false;
    commitNewRow();
    if (rowCount() == 0)
        return false;
    m_pos = rowCount() - 1;
    return true;
}

bool RecordSet::moveNext()
{
    return move(1);
}

bool RecordSet::movePrevious()
{
    return move(-1);
}

bool RecordSet::move(qint64 n)
{
    if (!m_open || (n < 0 && isForwardOnly()))
        return false;
    commitNewRow();
    if (n == 0)
        return hasCurrentRow();
    if ((n > 0 && eof()) || (n < 0 && bof()))
        return false;
    // Past either end the cursor rests on BOF or EOF.
    const qint64 rows = rowCount();
    if (n > 0)
        m_pos = n > rows - m_pos ? rows : m_pos + n;
    else
        m_pos = m_pos + n < -1 ? -1 : m_pos + n;
    return true;
}

std::optional<qint64> RecordSet::bookmark() const
{
    if (isForwardOnly() || m_newRow || !hasCurrentRow())
        return std::nullopt;
    return m_pos + 1;
}

bool RecordSet::setBookmark(qint64 bookmark)
{
    if (!m_open || isForwardOnly())
        return false;
    commitNewRow();
    if (bookmark < 1 || bookmark > rowCount())
        return false;
    m_pos = bookmark - 1;
    return true;
}

qint64 RecordSet::recordCount() const
{
    if (!m_open || isForwardOnly())
        return -1;
    return rowCount();
}

std::optional<QVariant> RecordSet::value(int field) const
{
    if (m_newRow) {
        if (field < 0 || field >= m_newRow->size())
            return std::nullopt;
        return m_newRow->at(field);
    }
    // Read once per value of a whole table: keep it to one look at the rows.
    if (!m_open || !m_table || field < 0 || size_t(field) >= m_table->fields().size() || m_pos < 0
        || m_pos >= m_table->rowCount())
        return std::nullopt;
    return m_table->value(m_pos, field);
}

StoredValue RecordSet::storedValue(int field) const
{
    if (m_newRow || !m_open || !m_table || field < 0 || size_t(field) >= m_table->fields().size() || m_pos < 0
        || m_pos >= m_table->rowCount())
        return {};
    return m_table->storedValue(m_pos, field);
}

bool RecordSet::setValue(int field, const QVariant &value)
{
    if (!m_open || m_lockType == adLockReadOnly || field < 0 || field >= fieldCount())
        return false;
    if (m_newRow) {
        (*m_newRow)[field] = ColumnStore::normalized(this->field(field).type, value);
        return true;
    }
    if (!hasCurrentRow())
        return false;
    m_table->setValue(m_pos, field, value);
    return true;
}

bool RecordSet::addNew()
{
    if (!m_open || m_lockType == adLockReadOnly)
        return false;
    commitNewRow();
    m_newRow = QVariantList(fieldCount());
    return true;
}

bool RecordSet::update()
{
    if (!m_open || m_lockType == adLockReadOnly)
        return false;
    commitNewRow();
    return true;
}

std::vector<QVariantList> RecordSet::getRows(qint64 count)
{
    std::vector<QVariantList> rows;
    if (!m_open)
        return rows;
    commitNewRow();
    if (!hasCurrentRow())
        return rows;
    qint64 n = rowCount() - m_pos;
    if (count >= 0)
        n = std::min(n, count);
    rows.reserve(size_t(n));
    const int fields = fieldCount();
    for (qint64 r = m_pos; r < m_pos + n; ++r) {
        QVariantList row;
        row.reserve(fields);
        for (int f = 0; f < fields; ++f)
            row.append(table().value(r, f));
        rows.push_back(std::move(row));
    }
    m_pos += n;
    return rows;
}

RecordSet RecordSet::clone() const
{
    RecordSet c;
    if (!m_open || isForwardOnly())
        return c;
    c.m_table = m_table;
    c.m_open = true;
    c.m_pos = rowCount() > 0 ? 0 : -1;
    c.m_cursorType = m_cursorType;
    c.m_lockType = m_lockType;
    c.m_connectionName = m_connectionName;
    c.m_sql = m_sql;
    c.m_sourceTable = m_sourceTable;
    return c;
}

RecordSet RecordSet::slice(qint64 first, qint64 count) const
{
    RecordSet s;
    if (!m_open)
        return s;
    const qint64 rows = rowCount();
    first = std::clamp<qint64>(first, 0, rows);
    count = std::clamp<qint64>(count, 0, rows - first);
    s.m_table = table().slice(first, count);
    s.m_open = true;
    s.m_pos = count > 0 ? 0 : -1;
    s.m_cursorType = adOpenStatic;
    s.m_lockType = m_lockType;
    return s;
}

bool RecordSet::hasActiveConnection() const
{
    if (m_sql.isEmpty() || !QSqlDatabase::contains(m_connectionName))
        return false;
    return QSqlDatabase::database(m_connectionName, false).isOpen();
}

bool RecordSet::requery()
{
    if (m_sql.isEmpty())
        return false;
    // A table is read again as a table: server drivers describe its columns
    // only when the table is known.
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    LoadResult loaded = m_sourceTable.isEmpty() ? loadQuery(db, m_sql, m_cursorType)
                                                : loadTable(db, m_sourceTable, m_cursorType);
    if (!loaded.records)
        return false;
    const LockType lock = m_lockType;
    swap(*loaded.records);
    m_lockType = lock;
    return true;
}

} // namespace zuvexal
