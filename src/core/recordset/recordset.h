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

namespace zuvexal {

// ADO's own numbers: hosts and stored reports know them.
namespace Ado {

enum DataType : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adBoolean = 11,
    adVariant = 12,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18,
    adUnsignedInt = 19,
    adBigInt = 20,
    adUnsignedBigInt = 21,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adUserDefined = 132,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205
};

enum FieldAttribute : int {
    adFldUnspecified = -1,
    adFldMayDefer = 0x2,
    adFldUpdatable = 0x4,
    adFldUnknownUpdatable = 0x8,
    adFldFixed = 0x10,
    adFldIsNullable = 0x20,
    adFldMayBeNull = 0x40,
    adFldLong = 0x80
};

enum CursorType : int { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };

enum LockType : int {
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};

} // namespace Ado

// A column of a record set. A plain value type (see "Value types and the
// ABI" in the README): its members change only with the SONAME.
struct Field
{
    QString name;
    int type = Ado::adEmpty;
    qint32 definedSize = 0;
    int attributes = 0;
    // Digits and digits after the point of an exact numeric (adNumeric,
    // adDecimal) whose column declares them; 0 otherwise.
    int precision = 0;
    int numericScale = 0;

    bool operator==(const Field &) const = default;
};

ZUVEXAL_CORE_EXPORT bool isKnownFieldType(int type);
ZUVEXAL_CORE_EXPORT bool isFixedLengthType(int type); // numbers, dates, boolean
ZUVEXAL_CORE_EXPORT bool isLongType(int type);        // adLongVarChar, adLongVarWChar, adLongVarBinary
// What a field appended with adFldUnspecified reports.
ZUVEXAL_CORE_EXPORT int defaultFieldAttributes(int type);

class TableData;
class RecordSetPrivate;

// A value as the store keeps it, read without building a QVariant: for code
// that reads every value of many records. Values the store does not keep
// typed (bytes, a column of mixed values, a record being added) come
// back as Other; read those with value().
struct StoredValue
{
    // Time comes last so that the values of the others stay as they were.
    enum class Kind : quint8 { Null, Integer, Boolean, Real, Text, Date, DateTime, Other, Time };
    Kind kind = Kind::Other;
    // Integer; Boolean as 0 or 1; Date as its Julian day; DateTime as msecs
    // since the start of Julian day 0 on the wall clock (no time zone); Time
    // as msecs since midnight.
    qint64 integer = 0;
    double real = 0.0;   // Real
    QByteArrayView text; // Text, in UTF-8: valid until the record set is written to or destroyed
};

// An in-memory record set with ADO Recordset semantics. A copy is independent
// (rows are shared until either side writes); clone() shares the rows and has
// its own cursor, so a write through one is seen by the other. Failures
// return false or nullopt; nothing throws. The members are behind a private
// pointer, so later versions can add to them.
class ZUVEXAL_CORE_EXPORT RecordSet
{
public:
    RecordSet();
    RecordSet(const RecordSet &other);
    RecordSet(RecordSet &&other) noexcept;
    RecordSet &operator=(const RecordSet &other);
    RecordSet &operator=(RecordSet &&other) noexcept;
    ~RecordSet();

    int fieldCount() const;
    const Field &field(int i) const; // an empty Field when i is out of range
    std::optional<int> indexOf(QStringView name) const; // case-insensitive
    bool appendField(const QString &name, int type, qint32 definedSize,
                     int attributes = Ado::adFldUnspecified); // only while closed

    // open() of a fabricated set gives an empty set that accepts addNew; a
    // loaded set that was closed runs its query again.
    bool open();
    void close();
    bool isOpen() const;

    Ado::CursorType cursorType() const;
    bool setCursorType(Ado::CursorType type); // only while closed
    Ado::LockType lockType() const;
    bool setLockType(Ado::LockType type); // only while closed

    bool bof() const;
    bool eof() const;
    bool moveFirst();
    bool moveLast();
    bool moveNext();
    bool movePrevious();
    bool move(qint64 n);

    std::optional<qint64> bookmark() const; // none on forward-only sets
    bool setBookmark(qint64 bookmark);
    qint64 recordCount() const; // -1 on a forward-only or closed set

    // nullopt without a current record; a NULL is a null QVariant.
    std::optional<QVariant> value(int field) const;
    bool setValue(int field, const QVariant &value);
    // The current record's value as stored; Other without a current record.
    StoredValue storedValue(int field) const;
    bool addNew();
    bool update();

    // Rows from the current record on; the cursor ends after the last row read.
    std::vector<QVariantList> getRows(qint64 count = -1);

    // A closed set when this one is closed or forward-only (clones need bookmarks).
    RecordSet clone() const;
    // Rows [first, first + count) as an independent static set; fields get the
    // attributes of adFldUnspecified.
    RecordSet slice(qint64 first, qint64 count) const;

    bool hasActiveConnection() const;
    bool requery(); // runs the source query again; clones keep the old rows

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

using RecordSetPtr = std::shared_ptr<RecordSet>; // a host's reference to one record set object

} // namespace zuvexal

Q_DECLARE_METATYPE(zuvexal::RecordSetPtr)
