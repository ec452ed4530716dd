#include "recordset.h"
#include "recordset_p.h"

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

RecordSet::RecordSet() : d(std::make_unique<RecordSetPrivate>()) {}

RecordSet::RecordSet(const RecordSet &other) : d(std::make_unique<RecordSetPrivate>(*other.d))
{
    // A copy has rows of its own, shared until either side writes.
    if (d->table)
        d->table = std::make_shared<TableData>(*d->table);
}

RecordSet::RecordSet(RecordSet &&other) noexcept : d(std::move(other.d)) {}

RecordSet &RecordSet::operator=(const RecordSet &other)
{
    RecordSet copy(other);
    swap(copy);
    return *this;
}

RecordSet &RecordSet::operator=(RecordSet &&other) noexcept
{
    d.swap(other.d);
    return *this;
}

RecordSet::~RecordSet() = default;

void RecordSet::swap(RecordSet &other) noexcept
{
    d.swap(other.d);
}

bool RecordSet::isForwardOnly() const
{
    return d->cursorType == Ado::adOpenForwardOnly;
}

const TableData &RecordSet::table() const
{
    if (d->table)
        return *d->table;
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
    if (d->open || name.isEmpty() || indexOf(name) || !isKnownFieldType(type) || definedSize < 0
        || attributes < adFldUnspecified)
        return false;
    if (!d->table || d->table.use_count() > 1)
        d->table = std::make_shared<TableData>(table());
    d->table->appendField(
        {name, type, definedSize, attributes == adFldUnspecified ? defaultFieldAttributes(type) : attributes});
    return true;
}

bool RecordSet::open()
{
    if (d->open)
        return false;
    if (!d->sql.isEmpty())
        return requery();
    if (fieldCount() == 0)
        return false;
    d->table = std::make_shared<TableData>(table().fields());
    d->open = true;
    d->pos = -1;
    return true;
}

void RecordSet::close()
{
    // Clones stay open on the rows they share.
    d->table = std::make_shared<TableData>(table().fields());
    d->open = false;
    d->pos = -1;
    d->newRow.reset();
}

bool RecordSet::isOpen() const
{
    return d->open;
}

CursorType RecordSet::cursorType() const
{
    return d->cursorType;
}

bool RecordSet::setCursorType(CursorType type)
{
    if (d->open || type < adOpenForwardOnly || type > adOpenStatic)
        return false;
    d->cursorType = type;
    return true;
}

LockType RecordSet::lockType() const
{
    return d->lockType;
}

bool RecordSet::setLockType(LockType type)
{
    if (d->open || type < adLockReadOnly || type > adLockBatchOptimistic)
        return false;
    d->lockType = type;
    return true;
}

bool RecordSet::hasCurrentRow() const
{
    return d->open && d->pos >= 0 && d->pos < rowCount();
}

bool RecordSet::bof() const
{
    return !d->newRow && (rowCount() == 0 || d->pos < 0);
}

bool RecordSet::eof() const
{
    return !d->newRow && (rowCount() == 0 || d->pos >= rowCount());
}

// Moving away from a new record saves it, as ADO does.
void RecordSet::commitNewRow()
{
    if (!d->newRow)
        return;
    d->table->appendRow(*d->newRow);
    d->newRow.reset();
    d->pos = rowCount() - 1;
}

bool RecordSet::moveFirst()
{
    if (!d->open)
        return false;
    commitNewRow();
    if (rowCount() == 0)
        return false;
    d->pos = 0;
    return true;
}

bool RecordSet::moveLast()
{
    if (!d->open || isForwardOnly())
        return false;
    commitNewRow();
    if (rowCount() == 0)
        return false;
    d->pos = rowCount() - 1;
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
    if (!d->open || (n < 0 && isForwardOnly()))
        return false;
    commitNewRow();
    if (n == 0)
        return hasCurrentRow();
    if ((n > 0 && eof()) || (n < 0 && bof()))
        return false;
    // Past either end the cursor rests on BOF or EOF.
    const qint64 rows = rowCount();
    if (n > 0)
        d->pos = n > rows - d->pos ? rows : d->pos + n;
    else
        d->pos = d->pos + n < -1 ? -1 : d->pos + n;
    return true;
}

std::optional<qint64> RecordSet::bookmark() const
{
    if (isForwardOnly() || d->newRow || !hasCurrentRow())
        return std::nullopt;
    return d->pos + 1;
}

bool RecordSet::setBookmark(qint64 bookmark)
{
    if (!d->open || isForwardOnly())
        return false;
    commitNewRow();
    if (bookmark < 1 || bookmark > rowCount())
        return false;
    d->pos = bookmark - 1;
    return true;
}

qint64 RecordSet::recordCount() const
{
    if (!d->open || isForwardOnly())
        return -1;
    return rowCount();
}

std::optional<QVariant> RecordSet::value(int field) const
{
    if (d->newRow) {
        if (field < 0 || field >= d->newRow->size())
            return std::nullopt;
        return d->newRow->at(field);
    }
    // Read once per value of a whole table: keep it to one look at the rows.
    if (!d->open || !d->table || field < 0 || size_t(field) >= d->table->fields().size() || d->pos < 0
        || d->pos >= d->table->rowCount())
        return std::nullopt;
    return d->table->value(d->pos, field);
}

StoredValue RecordSet::storedValue(int field) const
{
    if (d->newRow || !d->open || !d->table || field < 0 || size_t(field) >= d->table->fields().size() || d->pos < 0
        || d->pos >= d->table->rowCount())
        return {};
    return d->table->storedValue(d->pos, field);
}

bool RecordSet::setValue(int field, const QVariant &value)
{
    if (!d->open || d->lockType == adLockReadOnly || field < 0 || field >= fieldCount())
        return false;
    if (d->newRow) {
        (*d->newRow)[field] = ColumnStore::normalized(this->field(field).type, value);
        return true;
    }
    if (!hasCurrentRow())
        return false;
    d->table->setValue(d->pos, field, value);
    return true;
}

bool RecordSet::addNew()
{
    if (!d->open || d->lockType == adLockReadOnly)
        return false;
    commitNewRow();
    d->newRow = QVariantList(fieldCount());
    return true;
}

bool RecordSet::update()
{
    if (!d->open || d->lockType == adLockReadOnly)
        return false;
    commitNewRow();
    return true;
}

std::vector<QVariantList> RecordSet::getRows(qint64 count)
{
    std::vector<QVariantList> rows;
    if (!d->open)
        return rows;
    commitNewRow();
    if (!hasCurrentRow())
        return rows;
    qint64 n = rowCount() - d->pos;
    if (count >= 0)
        n = std::min(n, count);
    rows.reserve(size_t(n));
    const int fields = fieldCount();
    for (qint64 r = d->pos; r < d->pos + n; ++r) {
        QVariantList row;
        row.reserve(fields);
        for (int f = 0; f < fields; ++f)
            row.append(table().value(r, f));
        rows.push_back(std::move(row));
    }
    d->pos += n;
    return rows;
}

RecordSet RecordSet::clone() const
{
    RecordSet c;
    if (!d->open || isForwardOnly())
        return c;
    c.d->table = d->table;
    c.d->open = true;
    c.d->pos = rowCount() > 0 ? 0 : -1;
    c.d->cursorType = d->cursorType;
    c.d->lockType = d->lockType;
    c.d->connectionName = d->connectionName;
    c.d->sql = d->sql;
    c.d->sourceTable = d->sourceTable;
    return c;
}

RecordSet RecordSet::slice(qint64 first, qint64 count) const
{
    RecordSet s;
    if (!d->open)
        return s;
    const qint64 rows = rowCount();
    first = std::clamp<qint64>(first, 0, rows);
    count = std::clamp<qint64>(count, 0, rows - first);
    s.d->table = table().slice(first, count);
    s.d->open = true;
    s.d->pos = count > 0 ? 0 : -1;
    s.d->cursorType = adOpenStatic;
    s.d->lockType = d->lockType;
    return s;
}

bool RecordSet::hasActiveConnection() const
{
    if (d->sql.isEmpty() || !QSqlDatabase::contains(d->connectionName))
        return false;
    return QSqlDatabase::database(d->connectionName, false).isOpen();
}

bool RecordSet::requery()
{
    if (d->sql.isEmpty())
        return false;
    // A table is read again as a table: server drivers describe its columns
    // only when the table is known.
    const QSqlDatabase db = QSqlDatabase::database(d->connectionName, false);
    LoadResult loaded = d->sourceTable.isEmpty() ? loadQuery(db, d->sql, d->cursorType)
                                                : loadTable(db, d->sourceTable, d->cursorType);
    if (!loaded.records)
        return false;
    const LockType lock = d->lockType;
    swap(*loaded.records);
    d->lockType = lock;
    return true;
}

} // namespace zuvexal
