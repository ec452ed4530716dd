#pragma once

#include <QByteArrayView>
#include <QMetaType>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <QVariantList>

#include <ZuVexal/zuvexalcore_export.h>

#include <memory>
#include <optional>
#include <vector>

/// \file recordset.h
/// The in-memory record set and its field descriptions. Included by
/// `<ZuVexal/RecordSet>`.

namespace zuvexal {

/// ADO's own numbers: hosts and stored reports know them.
namespace Ado {

/// Field types (Field::type).
enum DataType : int {
    adEmpty = 0, ///< No value; the type of an empty Field.
    adSmallInt = 2, ///< 16-bit signed integer.
    adInteger = 3, ///< 32-bit signed integer.
    adSingle = 4, ///< Single-precision floating point.
    adDouble = 5, ///< Double-precision floating point.
    adCurrency = 6, ///< Currency amount.
    adDate = 7, ///< Date (with time of day).
    adBSTR = 8, ///< Text (a COM string).
    adBoolean = 11, ///< Boolean.
    adVariant = 12, ///< A value of any type.
    adDecimal = 14, ///< Exact decimal number.
    adTinyInt = 16, ///< 8-bit signed integer.
    adUnsignedTinyInt = 17, ///< 8-bit unsigned integer.
    adUnsignedSmallInt = 18, ///< 16-bit unsigned integer.
    adUnsignedInt = 19, ///< 32-bit unsigned integer.
    adBigInt = 20, ///< 64-bit signed integer.
    adUnsignedBigInt = 21, ///< 64-bit unsigned integer.
    adGUID = 72, ///< Globally unique identifier.
    adBinary = 128, ///< Fixed-length bytes.
    adChar = 129, ///< Fixed-length text.
    adWChar = 130, ///< Fixed-length Unicode text.
    adNumeric = 131, ///< Exact numeric with precision and scale.
    adUserDefined = 132, ///< A type of the data source.
    adDBDate = 133, ///< Date.
    adDBTime = 134, ///< Time of day.
    adDBTimeStamp = 135, ///< Date and time.
    adVarChar = 200, ///< Variable-length text.
    adLongVarChar = 201, ///< Long text.
    adVarWChar = 202, ///< Variable-length Unicode text.
    adLongVarWChar = 203, ///< Long Unicode text.
    adVarBinary = 204, ///< Variable-length bytes.
    adLongVarBinary = 205 ///< Long bytes.
};

/// Field attribute flags (Field::attributes), or-ed together.
enum FieldAttribute : int {
    adFldUnspecified = -1, ///< Appending a field: the type's defaults (defaultFieldAttributes()).
    adFldMayDefer = 0x2, ///< Values are read only when asked for.
    adFldUpdatable = 0x4, ///< Values can be written.
    adFldUnknownUpdatable = 0x8, ///< Whether values can be written is unknown.
    adFldFixed = 0x10, ///< Fixed-length values.
    adFldIsNullable = 0x20, ///< The field accepts NULL.
    adFldMayBeNull = 0x40, ///< Values may be NULL.
    adFldLong = 0x80 ///< A long field (text or bytes).
};

/// How a record set's cursor moves (RecordSet::setCursorType()).
enum CursorType : int {
    adOpenForwardOnly = 0, ///< Forward only, no bookmarks, no record count.
    adOpenKeyset = 1,      ///< Keyset cursor (kept as a static one).
    adOpenDynamic = 2,     ///< Dynamic cursor (kept as a static one).
    adOpenStatic = 3       ///< Static cursor (the default).
};

/// Whether and how a record set can be written (RecordSet::setLockType()).
enum LockType : int {
    adLockReadOnly = 1, ///< Values cannot be written or added.
    adLockPessimistic = 2, ///< Pessimistic locking.
    adLockOptimistic = 3, ///< Optimistic locking.
    adLockBatchOptimistic = 4 ///< Batch optimistic locking (the default of a new set).
};

} // namespace Ado

/// A column of a record set. A plain value type (see "Value types and the
/// ABI" in the README): its members change only with the SONAME.
/// \headerfile recordset.h <ZuVexal/RecordSet>
struct Field
{
    QString name;            ///< The column's name.
    int type = Ado::adEmpty; ///< An Ado::DataType.
    qint32 definedSize = 0;  ///< Size in characters or bytes the column declares; 0 when none.
    int attributes = 0;      ///< Ado::FieldAttribute flags.
    /// Digits of an exact numeric (adNumeric, adDecimal) whose column
    /// declares them; 0 otherwise.
    int precision = 0;
    /// Digits after the point of such a numeric; 0 otherwise.
    int numericScale = 0;

    /// Equal when every member is.
    bool operator==(const Field &) const = default;
};

/// True when \a type is one of Ado::DataType.
ZUVEXAL_CORE_EXPORT bool isKnownFieldType(int type);
/// True when values of \a type have a fixed length: numbers, dates, boolean.
ZUVEXAL_CORE_EXPORT bool isFixedLengthType(int type);
/// True when \a type is adLongVarChar, adLongVarWChar or adLongVarBinary.
ZUVEXAL_CORE_EXPORT bool isLongType(int type);
/// What a field of \a type appended with adFldUnspecified reports.
ZUVEXAL_CORE_EXPORT int defaultFieldAttributes(int type);

class TableData;
class RecordSetPrivate;

/// A value as the store keeps it, read without building a QVariant: for code
/// that reads every value of many records (RecordSet::storedValue()). Values
/// the store does not keep typed (bytes, a column of mixed values, a record
/// being added) come back as Other; read those with RecordSet::value().
/// \headerfile recordset.h <ZuVexal/RecordSet>
struct StoredValue
{
    /// Which member holds the value.
    // Time comes last so that the values of the others stay as they were.
    enum class Kind : quint8 {
        Null,     ///< NULL.
        Integer,  ///< In #integer.
        Boolean,  ///< In #integer, 0 or 1.
        Real,     ///< In #real.
        Text,     ///< In #text.
        Date,     ///< In #integer, the Julian day.
        DateTime, ///< In #integer, msecs since the start of Julian day 0 on the wall clock.
        Other,    ///< Not kept typed, or no current record: read RecordSet::value().
        Time      ///< In #integer, msecs since midnight.
    };
    Kind kind = Kind::Other; ///< Which member holds the value.
    /// Integer; Boolean as 0 or 1; Date as its Julian day; DateTime as msecs
    /// since the start of Julian day 0 on the wall clock (no time zone); Time
    /// as msecs since midnight.
    qint64 integer = 0;
    double real = 0.0;   ///< Real.
    QByteArrayView text; ///< Text, in UTF-8: valid until the record set is written to or destroyed.
};

/// An in-memory record set with ADO Recordset semantics.
///
/// A copy is independent (rows are shared until either side writes);
/// clone() shares the rows and has its own cursor, so a write through one is
/// seen by the other. Failures return false or nullopt; nothing throws. The
/// members are behind a private pointer, so later versions can add to them.
/// A new set is closed, without fields, with a static cursor and batch
/// optimistic locking; loadQuery() and loadTable() give open ones.
/// \headerfile recordset.h <ZuVexal/RecordSet>
class ZUVEXAL_CORE_EXPORT RecordSet
{
public:
    /// A closed set without fields.
    RecordSet();
    /// A copy of \a other, its cursor on the same record; the rows are its
    /// own (shared until either side writes).
    RecordSet(const RecordSet &other);
    /// Takes over \a other, which may then only be assigned to or destroyed.
    RecordSet(RecordSet &&other) noexcept;
    /// Makes this set a copy of \a other.
    RecordSet &operator=(const RecordSet &other);
    /// Takes over \a other, which may then only be assigned to or destroyed.
    RecordSet &operator=(RecordSet &&other) noexcept;
    ~RecordSet();

    /// The number of fields.
    int fieldCount() const;
    /// Field \a i; an empty Field when \a i is out of range.
    const Field &field(int i) const;
    /// The index of the field called \a name, compared case-insensitively;
    /// nothing when there is none.
    std::optional<int> indexOf(QStringView name) const;
    /// Adds a field, only while the set is closed.
    /// \param name the field's name, not empty and not yet in the set.
    /// \param type an Ado::DataType.
    /// \param definedSize the declared size, not negative.
    /// \param attributes Ado::FieldAttribute flags, or adFldUnspecified for
    ///        the type's defaults.
    /// \return false when the set is open or an argument is refused.
    bool appendField(const QString &name, int type, qint32 definedSize,
                     int attributes = Ado::adFldUnspecified);

    /// Opens the set. A fabricated set becomes an empty set that accepts
    /// addNew(); a loaded set that was closed runs its query again.
    /// \return false when it is open already, has no fields, or its query fails.
    bool open();
    /// Closes the set and drops its rows; clones keep the rows they share.
    void close();
    /// Whether the set is open.
    bool isOpen() const;

    /// The cursor type.
    Ado::CursorType cursorType() const;
    /// Sets the cursor type to \a type; false while open or for an unknown type.
    bool setCursorType(Ado::CursorType type);
    /// The lock type.
    Ado::LockType lockType() const;
    /// Sets the lock type to \a type; false while open or for an unknown type.
    bool setLockType(Ado::LockType type);

    /// True before the first record, and on a set without records.
    bool bof() const;
    /// True after the last record, and on a set without records.
    bool eof() const;
    /// To the first record; false when closed or without records.
    bool moveFirst();
    /// To the last record; false when closed, forward-only or without records.
    bool moveLast();
    /// To the next record (EOF after the last); false when closed or at EOF.
    bool moveNext();
    /// To the previous record (BOF before the first); false when closed,
    /// forward-only or at BOF.
    bool movePrevious();
    /// By \a n records; past either end the cursor rests on BOF or EOF.
    /// \return false when closed, when moving back on a forward-only set, or
    ///         already at the end moved towards; move(0) tells whether there
    ///         is a current record.
    bool move(qint64 n);

    /// The current record's position, from 1; nothing on forward-only sets,
    /// without a current record and while a record is being added.
    std::optional<qint64> bookmark() const;
    /// Makes the record at \a bookmark current; false when closed,
    /// forward-only or out of range.
    bool setBookmark(qint64 bookmark);
    /// The number of records; -1 on a forward-only or closed set.
    qint64 recordCount() const;

    /// The current record's value of \a field; nothing without a current
    /// record or for a bad index. A NULL is a null QVariant.
    std::optional<QVariant> value(int field) const;
    /// Sets the current record's (or the added record's) value of \a field
    /// to \a value; false when closed, read-only, without a current record
    /// or for a bad index.
    bool setValue(int field, const QVariant &value);
    /// The current record's value of \a field as stored; Other without a
    /// current record.
    StoredValue storedValue(int field) const;
    /// Starts a new record, empty, that setValue() fills; a record being
    /// added is committed first. False when closed or read-only.
    bool addNew();
    /// Commits a record being added; false when closed or read-only.
    bool update();

    /// Rows from the current record on; the cursor ends after the last row read.
    /// \param count the most rows to read; -1 for all.
    /// \return the rows, each a list of the field values; empty when closed
    ///         or without a current record.
    std::vector<QVariantList> getRows(qint64 count = -1);

    /// A set on the same rows with its own cursor on the first record. A
    /// closed set when this one is closed or forward-only (clones need
    /// bookmarks).
    RecordSet clone() const;
    /// Rows [\a first, \a first + \a count) as an independent static set
    /// (both clamped to the rows there are); fields get the attributes of
    /// adFldUnspecified. A closed set when this one is closed.
    RecordSet slice(qint64 first, qint64 count) const;

    /// True when the set was loaded from a query and its connection is open.
    bool hasActiveConnection() const;
    /// Runs the source query again and takes its rows; clones keep the old
    /// rows. False for a set not loaded from a query or when the query fails.
    bool requery();

    /// Exchanges this set with \a other.
    void swap(RecordSet &other) noexcept;

private:
    friend class RecordSetBuilder;

    const TableData &table() const;
    qint64 rowCount() const;
    bool isForwardOnly() const;
    bool hasCurrentRow() const;
    void commitNewRow();

    // Null only in a set moved from, which may be assigned to or destroyed.
    std::unique_ptr<RecordSetPrivate> d;
};

/// A host's reference to one record set object.
using RecordSetPtr = std::shared_ptr<RecordSet>;

} // namespace zuvexal

Q_DECLARE_METATYPE(zuvexal::RecordSetPtr)
