#include "core/recordset/recordset.h"

#include "testsupport.h"

#include <QDate>
#include <QDateTime>
#include <QPoint>
#include <QTime>
#include <QTimeZone>

#include <functional>

#include <gtest/gtest.h>

using namespace zuvexal;
using namespace zuvexal::Ado;

namespace {

// An open fabricated set with an integer "n" and a text "s" field holding rows 1..count.
RecordSet numbers(int count, CursorType cursor = adOpenStatic)
{
    RecordSet rs;
    rs.appendField(QStringLiteral("n"), adInteger, 4);
    rs.appendField(QStringLiteral("s"), adVarWChar, 50);
    rs.setCursorType(cursor);
    rs.open();
    for (int i = 1; i <= count; ++i) {
        rs.addNew();
        rs.setValue(0, i);
        rs.setValue(1, QStringLiteral("row %1").arg(i));
        rs.update();
    }
    rs.moveFirst();
    return rs;
}

QVariant current(const RecordSet &rs, int field = 0)
{
    return rs.value(field).value_or(QVariant(QStringLiteral("<no record>")));
}

std::vector<int> column(RecordSet rs)
{
    std::vector<int> values;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        values.push_back(current(rs).toInt());
    return values;
}

} // namespace

TEST(RecordSet, AppendedFieldsDeriveAttributesFromType)
{
    struct Case { int type; int attributes; int expected; const char *why; };
    const Case cases[] = {
        {adInteger, adFldUnspecified, 118, "number: fixed, updatable, nullable"},
        {adDBTimeStamp, adFldUnspecified, 118, "dates are fixed length"},
        {adBoolean, adFldUnspecified, 118, "booleans are fixed length"},
        {adVarWChar, adFldUnspecified, 102, "short text is neither fixed nor long"},
        {adLongVarWChar, adFldUnspecified, 230, "long text carries adFldLong"},
        {adLongVarBinary, adFldUnspecified, 230, "long binary carries adFldLong"},
        {adVarWChar, 234, 234, "given attributes are kept as they are"},
    };
    for (const Case &c : cases) {
        RecordSet rs;
        ASSERT_TRUE(rs.appendField(QStringLiteral("f"), c.type, 10, c.attributes));
        EXPECT_EQ(rs.field(0).attributes, c.expected) << c.type << ": " << c.why;
    }
}

TEST(RecordSet, AppendFieldRefusesBadDefinitions)
{
    RecordSet rs;
    ASSERT_TRUE(rs.appendField(QStringLiteral("Name"), adVarWChar, 20));
    EXPECT_FALSE(rs.appendField(QStringLiteral("NAME"), adInteger, 4)) << "names are case-insensitive";
    EXPECT_FALSE(rs.appendField(QStringLiteral("x"), 999, 4)) << "ADO knows no type 999";
    EXPECT_FALSE(rs.appendField(QString(), adInteger, 4)) << "a field needs a name";
    EXPECT_EQ(rs.indexOf(u"nAmE"), 0);
    ASSERT_TRUE(rs.open());
    EXPECT_FALSE(rs.appendField(QStringLiteral("late"), adInteger, 4)) << "fields are fixed while open";
    EXPECT_FALSE(rs.setCursorType(adOpenForwardOnly)) << "the cursor type is fixed while open";
    EXPECT_FALSE(rs.setLockType(adLockReadOnly)) << "the lock type is fixed while open";
    EXPECT_EQ(rs.fieldCount(), 1);
}

TEST(RecordSet, EmptyOpenSetIsAtBothEnds)
{
    RecordSet rs = numbers(0);
    EXPECT_TRUE(rs.isOpen());
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_FALSE(rs.moveFirst()) << "ADO refuses MoveFirst on an empty set";
    EXPECT_FALSE(rs.moveNext());
    EXPECT_FALSE(rs.value(0).has_value());
    EXPECT_FALSE(rs.bookmark().has_value());
}

TEST(RecordSet, NavigationFollowsAdo)
{
    RecordSet rs = numbers(3);
    struct Step { const char *what; std::function<bool(RecordSet &)> run; bool ok; bool bof; bool eof; int value; const char *why; };
    const Step steps[] = {
        {"moveFirst", [](RecordSet &r) { return r.moveFirst(); }, true, false, false, 1, "first record"},
        {"movePrevious", [](RecordSet &r) { return r.movePrevious(); }, true, true, false, 0, "before the first is BOF"},
        {"movePrevious", [](RecordSet &r) { return r.movePrevious(); }, false, true, false, 0, "no move back from BOF"},
        {"moveNext", [](RecordSet &r) { return r.moveNext(); }, true, false, false, 1, "from BOF to the first"},
        {"move(5)", [](RecordSet &r) { return r.move(5); }, true, false, true, 0, "a long move stops at EOF"},
        {"moveNext", [](RecordSet &r) { return r.moveNext(); }, false, false, true, 0, "no move on from EOF"},
        {"move(-2)", [](RecordSet &r) { return r.move(-2); }, true, false, false, 2, "EOF counts as one past the last"},
        {"move(-10)", [](RecordSet &r) { return r.move(-10); }, true, true, false, 0, "a long move back stops at BOF"},
        {"moveLast", [](RecordSet &r) { return r.moveLast(); }, true, false, false, 3, "last record"},
        {"move(0)", [](RecordSet &r) { return r.move(0); }, true, false, false, 3, "move(0) stays"},
        {"setBookmark(2)", [](RecordSet &r) { return r.setBookmark(2); }, true, false, false, 2, "bookmarks are stable row numbers"},
        {"setBookmark(4)", [](RecordSet &r) { return r.setBookmark(4); }, false, false, false, 2, "an unknown bookmark leaves the cursor"},
    };
    for (const Step &s : steps) {
        EXPECT_EQ(s.run(rs), s.ok) << s.what << ": " << s.why;
        EXPECT_EQ(rs.bof(), s.bof) << s.what << ": " << s.why;
        EXPECT_EQ(rs.eof(), s.eof) << s.what << ": " << s.why;
        if (s.value)
            EXPECT_EQ(current(rs), QVariant(s.value)) << s.what << ": " << s.why;
        else
            EXPECT_FALSE(rs.value(0).has_value()) << s.what << ": " << s.why;
    }
    EXPECT_EQ(rs.bookmark(), 2);
    EXPECT_EQ(rs.recordCount(), 3);
}

TEST(RecordSet, ForwardOnlySetsOnlyGoForward)
{
    RecordSet rs = numbers(3, adOpenForwardOnly);
    rs.moveNext();
    EXPECT_FALSE(rs.movePrevious());
    EXPECT_FALSE(rs.move(-1));
    EXPECT_FALSE(rs.moveLast());
    EXPECT_FALSE(rs.bookmark().has_value());
    EXPECT_FALSE(rs.setBookmark(1));
    EXPECT_EQ(rs.recordCount(), -1) << "ADO cannot count a forward-only set";
    EXPECT_FALSE(rs.clone().isOpen()) << "clones need bookmarks";
    EXPECT_EQ(current(rs), QVariant(2)) << "refused moves leave the cursor";
    EXPECT_TRUE(rs.moveFirst()) << "ADO runs the query again for MoveFirst";
    EXPECT_EQ(current(rs), QVariant(1));
    EXPECT_TRUE(rs.move(2));
    EXPECT_EQ(current(rs), QVariant(3));
}

TEST(RecordSet, ValuesAreTypedByFieldTypeWithoutLoss)
{
    const QDateTime utc(QDate(2024, 1, 2), QTime(3, 4), QTimeZone::utc());
    struct Case { int type; QVariant in; QVariant expected; const char *why; };
    const Case cases[] = {
        {adInteger, qlonglong(42), 42, "integer fields report int"},
        {adInteger, qlonglong(3000000000), qlonglong(3000000000), "outside int's range the value is kept"},
        {adInteger, 1.5, 1.5, "a fraction is kept"},
        {adTinyInt, 300, 300, "adTinyInt holds -128..127 only"},
        {adBigInt, 7, qlonglong(7), "adBigInt reports qlonglong"},
        {adUnsignedInt, 7, qlonglong(7), "unsigned types report qlonglong"},
        {adBoolean, qlonglong(1), true, "SQLite keeps booleans as 0 and 1"},
        {adBoolean, qlonglong(5), qlonglong(5), "5 would be lost as a boolean"},
        {adDouble, 3, 3.0, "integers widen to double"},
        {adNumeric, QStringLiteral("abc"), QStringLiteral("abc"), "SQLite lets text into a NUMERIC column"},
        {adVarWChar, QStringLiteral("h\u00e9llo"), QStringLiteral("h\u00e9llo"), "text round-trips through UTF-8"},
        {adVarWChar, 12, 12, "a number in a text field is kept as a number"},
        {adLongVarBinary, QByteArray("\0\1", 2), QByteArray("\0\1", 2), "bytes stay bytes"},
        {adDBDate, QStringLiteral("2024-02-29"), QDate(2024, 2, 29), "ISO text becomes a date"},
        {adDBDate, QStringLiteral("2023-02-29"), QStringLiteral("2023-02-29"), "an impossible date stays text"},
        {adDBTime, QStringLiteral("10:20:30.5"), QTime(10, 20, 30, 500), "fractions are milliseconds"},
        {adDBTimeStamp, QStringLiteral("2024-01-02 03:04:05"), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)), "SQLite's datetime text"},
        {adDBTimeStamp, QStringLiteral("2024-01-02T03:04"), QDateTime(QDate(2024, 1, 2), QTime(3, 4)), "ISO 'T' form"},
        {adDBTimeStamp, QDate(2024, 1, 2), QDateTime(QDate(2024, 1, 2), QTime(0, 0)), "a date is midnight"},
        {adDBTimeStamp, utc, utc, "a UTC time would lose its zone as local time"},
        {adVarWChar, QVariant(), QVariant(), "NULL is a null QVariant"},
        {adVariant, QPoint(1, 2), QPoint(1, 2), "adVariant keeps anything"},
    };
    for (const Case &c : cases) {
        RecordSet rs;
        rs.appendField(QStringLiteral("f"), c.type, 8);
        rs.open();
        ASSERT_TRUE(rs.addNew());
        ASSERT_TRUE(rs.setValue(0, c.in));
        EXPECT_EQ(current(rs).metaType(), c.expected.metaType()) << c.type << " before update: " << c.why;
        ASSERT_TRUE(rs.update());
        ASSERT_TRUE(rs.moveFirst());
        const QVariant v = current(rs);
        EXPECT_EQ(v.metaType(), c.expected.metaType()) << c.type << ": " << c.why;
        EXPECT_EQ(v, c.expected) << c.type << ": " << c.why;
        EXPECT_EQ(v.isNull(), c.expected.isNull()) << c.type << ": " << c.why;
    }
}

TEST(RecordSet, StoredValueReadsTypedValuesWithoutAVariant)
{
    using Kind = StoredValue::Kind;
    struct Case { int type; QVariant in; Kind kind; qint64 integer; double real; const char *text; const char *why; };
    const Case cases[] = {
        {adInteger, 42, Kind::Integer, 42, 0, "", "integers as themselves"},
        {adBigInt, qlonglong(-3000000000), Kind::Integer, -3000000000, 0, "", "64-bit integers too"},
        {adBoolean, true, Kind::Boolean, 1, 0, "", "booleans as 0 or 1"},
        {adDouble, 2.5, Kind::Real, 0, 2.5, "", "doubles"},
        {adNumeric, 7, Kind::Real, 0, 7.0, "", "a number in a NUMERIC column is a double"},
        {adVarWChar, QStringLiteral("h\u00e9"), Kind::Text, 0, 0, "h\xC3\xA9", "texts as their UTF-8"},
        {adDBDate, QDate(2024, 2, 29), Kind::Date, QDate(2024, 2, 29).toJulianDay(), 0, "", "dates as Julian days"},
        {adDBTimeStamp, QDateTime(QDate(2024, 2, 29), QTime(1, 2, 3, 4)), Kind::DateTime,
         QDate(2024, 2, 29).toJulianDay() * 86400000 + 3723004, 0, "", "time stamps as msecs since Julian day 0"},
        {adDBTimeStamp, QDateTime(QDate(-4714, 11, 23), QTime(23, 0)), Kind::DateTime, -3600000, 0, "",
         "a time stamp before Julian day 0 counts back from it"},
        {adVarWChar, QVariant(), Kind::Null, 0, 0, "", "NULL"},
        {adDBTime, QTime(1, 2, 3, 4), Kind::Time, 3723004, 0, "", "times as msecs since midnight"},
        {adLongVarBinary, QByteArray("x"), Kind::Other, 0, 0, "", "bytes are read with value()"},
        {adInteger, 1.5, Kind::Other, 0, 0, "", "and a value the column's type cannot hold"},
    };
    for (const Case &c : cases) {
        RecordSet rs;
        rs.appendField(QStringLiteral("f"), c.type, 8);
        rs.open();
        rs.addNew();
        rs.setValue(0, c.in);
        EXPECT_EQ(rs.storedValue(0).kind, Kind::Other) << "a record being added is not stored yet: " << c.why;
        rs.update();
        rs.moveFirst();
        const StoredValue v = rs.storedValue(0);
        EXPECT_EQ(v.kind, c.kind) << c.why;
        EXPECT_EQ(v.integer, c.integer) << c.why;
        EXPECT_EQ(v.real, c.real) << c.why;
        EXPECT_EQ(v.text, QByteArrayView(c.text)) << c.why;
        rs.moveNext();
        EXPECT_EQ(rs.storedValue(0).kind, Kind::Other) << "no current record: " << c.why;
    }
    RecordSet rs = numbers(3);
    EXPECT_EQ(rs.slice(1, 2).storedValue(1).text, QByteArrayView("row 2")) << "a slice reads its own rows";
}

TEST(RecordSet, ColumnKeepsTypedValuesAroundAStrayOne)
{
    RecordSet rs = numbers(2);
    rs.addNew();
    rs.setValue(0, QStringLiteral("x"));
    rs.addNew();
    rs.setValue(0, qlonglong(4));
    rs.update();
    const std::vector<QVariantList> rows = [&] { rs.moveFirst(); return rs.getRows(); }();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][0], QVariant(1));
    EXPECT_EQ(rows[2][0], QVariant(QStringLiteral("x")));
    EXPECT_EQ(rows[3][0].metaType(), QMetaType::fromType<int>()) << "later values are still converted";
}

TEST(RecordSet, EditsNeedAnUpdatableLock)
{
    RecordSet rs;
    rs.appendField(QStringLiteral("n"), adInteger, 4);
    rs.setLockType(adLockReadOnly);
    rs.open();
    EXPECT_FALSE(rs.addNew());
    EXPECT_FALSE(rs.setValue(0, 1));
}

TEST(RecordSet, AddNewIsSavedByUpdateOrByMovingAway)
{
    RecordSet rs = numbers(1);
    ASSERT_TRUE(rs.addNew());
    EXPECT_FALSE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(current(rs), QVariant()) << "a new record starts as NULLs";
    rs.setValue(0, 2);
    EXPECT_EQ(rs.recordCount(), 1) << "not saved before update";
    ASSERT_TRUE(rs.addNew()) << "a second addNew saves the first";
    rs.setValue(0, 3);
    ASSERT_TRUE(rs.moveFirst()) << "moving away saves the new record";
    EXPECT_EQ(column(rs), (std::vector<int>{1, 2, 3}));
    ASSERT_TRUE(rs.setBookmark(2));
    ASSERT_TRUE(rs.setValue(0, 20));
    EXPECT_EQ(column(rs), (std::vector<int>{1, 20, 3})) << "edits of existing rows are written at once";
}

TEST(RecordSet, GetRowsReadsFromTheCursorOn)
{
    RecordSet rs = numbers(5);
    rs.moveNext();
    const auto two = rs.getRows(2);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], (QVariantList{2, QStringLiteral("row 2")}));
    EXPECT_EQ(two[1][0], QVariant(3));
    EXPECT_EQ(current(rs), QVariant(4)) << "the cursor ends after the rows read";
    EXPECT_EQ(rs.getRows().size(), 2u) << "-1 reads the rest";
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.getRows().empty()) << "nothing to read at EOF";
}

TEST(RecordSet, ClonesShareRowsCopiesAndSlicesDoNot)
{
    RecordSet original = numbers(4);
    RecordSet clone = original.clone();
    RecordSet copy = original;
    RecordSet slice = original.slice(1, 2);

    EXPECT_EQ(column(slice), (std::vector<int>{2, 3}));
    EXPECT_EQ(slice.field(0).attributes, 118) << "slices report the attributes of appended fields";
    EXPECT_EQ(slice.cursorType(), adOpenStatic);

    original.moveLast();
    EXPECT_EQ(current(clone), QVariant(1)) << "a clone has its own cursor, starting at the first record";
    ASSERT_TRUE(clone.setBookmark(*original.bookmark())) << "bookmarks are valid in clones";
    EXPECT_EQ(current(clone), QVariant(4));

    original.moveFirst();
    original.setValue(0, 10);
    original.addNew();
    original.setValue(0, 5);
    original.update();
    EXPECT_EQ(column(clone), (std::vector<int>{10, 2, 3, 4, 5})) << "a clone sees edits and new rows";
    EXPECT_EQ(column(copy), (std::vector<int>{1, 2, 3, 4})) << "a copy is independent";
    EXPECT_EQ(column(slice), (std::vector<int>{2, 3})) << "a slice is independent";

    slice.moveFirst();
    slice.setValue(0, 20);
    copy.moveLast();
    copy.setValue(1, QStringLiteral("copy"));
    EXPECT_EQ(column(slice), (std::vector<int>{20, 3}));
    EXPECT_EQ(column(original), (std::vector<int>{10, 2, 3, 4, 5})) << "writes to a slice stay there";
    original.moveLast();
    original.movePrevious();
    EXPECT_EQ(current(original, 1), QVariant(QStringLiteral("row 4"))) << "writes to a copy stay there";

    EXPECT_EQ(column(original.slice(3, 100)), (std::vector<int>{4, 5})) << "a slice past the end is cut";
    EXPECT_EQ(original.slice(10, 1).recordCount(), 0);
}

TEST(RecordSet, AWriteToACopyKeepsTheNullsOfTheColumn)
{
    // A write to a copy or a slice first gives it its own columns; their
    // NULLs must come along (they once all landed on the first row).
    RecordSet original = numbers(70);
    const auto at = [](RecordSet &rs, int row) {
        rs.moveFirst();
        rs.move(row);
    };
    for (int row : {1, 2, 65}) {
        at(original, row);
        original.setValue(1, QVariant());
    }
    RecordSet copy = original;
    copy.moveLast();
    copy.setValue(1, QStringLiteral("last"));
    RecordSet slice = original.slice(1, 66);
    slice.moveFirst();
    slice.setValue(0, 0);
    for (int row = 0; row < 70; ++row) {
        at(copy, row);
        const bool null = row == 1 || row == 2 || row == 65;
        EXPECT_EQ(current(copy, 1).isNull(), null) << "copy, row " << row;
        if (row >= 1 && row < 67) {
            at(slice, row - 1);
            EXPECT_EQ(current(slice, 1).isNull(), null) << "slice, row " << row;
        }
    }
}

TEST(RecordSet, CloseKeepsFieldsAndDropsRows)
{
    RecordSet rs = numbers(2);
    RecordSet clone = rs.clone();
    rs.close();
    EXPECT_FALSE(rs.isOpen());
    EXPECT_EQ(rs.fieldCount(), 2);
    EXPECT_EQ(rs.recordCount(), -1);
    EXPECT_FALSE(rs.moveFirst());
    EXPECT_EQ(clone.recordCount(), 2) << "closing one set leaves its clones open";
    ASSERT_TRUE(rs.open());
    EXPECT_EQ(rs.recordCount(), 0) << "a fabricated set opens empty";
    EXPECT_FALSE(rs.requery()) << "a fabricated set has no query";
    EXPECT_FALSE(rs.hasActiveConnection());
}
