#include "core/recordset/fieldkind.h"
#include "core/recordset/sqladapter.h"

#include "testsupport.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>

#include <gtest/gtest.h>

using namespace zuvexal;
using namespace zuvexal::Ado;

namespace {

// A real SQLite file with one column per declared type the adapter maps.
class SqlAdapter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sqladapter"));
        db.setDatabaseName(folder.file(QStringLiteral("test.db")));
        ASSERT_TRUE(db.open());
        exec("CREATE TABLE items(id INTEGER PRIMARY KEY, qty INT NOT NULL, price REAL, ratio FLOAT,"
             " weight DOUBLE, amount NUMERIC, cost DECIMAL(10,2), name TEXT, code VARCHAR(20),"
             " initial CHAR, notes CLOB, untyped, link HYPERLINK, data BLOB, day DATE, at TIME,"
             " stamp DATETIME, ts TIMESTAMP, flag BOOLEAN, ok BOOL, big BIGINT, label NVARCHAR(30),"
             " pic MYBLOB, depth FLOATING, other STRANGE)");
        exec("INSERT INTO items VALUES(1, 5, 2.5, 0.5, 1e3, 12.25, 7, 'Widget', 'W-1', 'W', 'long text',"
             " 'free', 'Home#https://example.org/#', x'0001', '2024-02-29', '10:20:30',"
             " '2024-01-02 03:04:05', '2024-01-02T03:04:05.123', 1, 0, 9007199254740993, 'label',"
             " x'ff', 1.5, 'odd')");
        exec("INSERT INTO items(id, qty, day, flag, price) VALUES(2, 6, '2024-13-45', 'yes', 'n/a')");
        exec("INSERT INTO items(id, qty) VALUES(3, 7)");
    }
    void TearDown() override
    {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("sqladapter"));
    }
    void exec(const char *sql)
    {
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QString::fromUtf8(sql))) << q.lastError().text().toStdString();
    }
    QVariant valueOf(RecordSet &rs, const char *name)
    {
        const auto i = rs.indexOf(QString::fromLatin1(name));
        return i ? rs.value(*i).value_or(QVariant(QStringLiteral("<no record>"))) : QVariant(QStringLiteral("<no field>"));
    }

    test::TempFolder folder;
    QSqlDatabase db;
};

struct Expected { const char *name; int type; qint32 size; int attributes; const char *why; };

void expectFields(const RecordSet &rs, const std::vector<Expected> &expected)
{
    for (const Expected &e : expected) {
        const auto i = rs.indexOf(QString::fromLatin1(e.name));
        ASSERT_TRUE(i.has_value()) << e.name;
        const Field &f = rs.field(*i);
        EXPECT_EQ(f.type, e.type) << e.name << ": " << e.why;
        EXPECT_EQ(f.definedSize, e.size) << e.name << ": " << e.why;
        EXPECT_EQ(f.attributes, e.attributes) << e.name << ": " << e.why;
    }
}

} // namespace

TEST_F(SqlAdapter, DeclaredTypesMapToAdoFields)
{
    LoadResult r = loadTable(db, QStringLiteral("items"));
    ASSERT_TRUE(r.records) << r.error.toStdString();
    EXPECT_EQ(r.records->fieldCount(), 25);
    expectFields(*r.records, {
        {"id", adBigInt, 8, 118, "INTEGER; a rowid alias declares no NOT NULL"},
        {"qty", adBigInt, 8, 22, "NOT NULL drops both nullable flags"},
        {"price", adDouble, 8, 118, "REAL"},
        {"ratio", adDouble, 8, 118, "FLOAT"},
        {"weight", adDouble, 8, 118, "DOUBLE"},
        {"amount", adNumeric, 19, 118, "NUMERIC"},
        {"cost", adNumeric, 19, 118, "DECIMAL(10,2): the size is fixed"},
        {"name", adVarWChar, 536870910, 102, "unsized TEXT"},
        {"code", adVarWChar, 20, 102, "VARCHAR(20) gives its size"},
        {"initial", adVarWChar, 536870910, 102, "CHAR without a size"},
        {"notes", adVarWChar, 536870910, 102, "CLOB is text"},
        {"untyped", adVarWChar, 536870910, 102, "no declared type is text"},
        {"link", adLongVarWChar, 536870910, 230, "HYPERLINK is long wide text"},
        {"data", adLongVarBinary, 2147483647, 230, "BLOB is long binary"},
        {"day", adDBDate, 6, 118, "DATE"},
        {"at", adDBTime, 6, 118, "TIME"},
        {"stamp", adDBTimeStamp, 16, 118, "DATETIME"},
        {"ts", adDBTimeStamp, 16, 118, "TIMESTAMP"},
        {"flag", adBoolean, 2, 118, "BOOLEAN"},
        {"ok", adBoolean, 2, 118, "BOOL"},
        {"big", adBigInt, 8, 118, "affinity: contains INT"},
        {"label", adVarWChar, 30, 102, "affinity: contains CHAR, with a size"},
        {"pic", adLongVarBinary, 2147483647, 230, "affinity: contains BLOB"},
        {"depth", adDouble, 8, 118, "affinity: contains FLOA"},
        {"other", adNumeric, 19, 118, "affinity: anything else is numeric"},
    });
    const Field &link = r.records->field(*r.records->indexOf(u"link"));
    EXPECT_EQ(FieldKind(qint16(link.attributes), qint16(link.type)), QStringLiteral("hyperlink"));
    const Field &cost = r.records->field(*r.records->indexOf(u"cost"));
    EXPECT_EQ(cost.precision, 10) << "DECIMAL(10,2) declares its digits";
    EXPECT_EQ(cost.numericScale, 2);
    EXPECT_EQ(r.records->field(*r.records->indexOf(u"amount")).precision, 0) << "plain NUMERIC declares none";
    EXPECT_EQ(r.records->field(*r.records->indexOf(u"code")).precision, 0) << "only exact numerics have digits";
}

TEST_F(SqlAdapter, OpenGivesASharedSetOrOneLine)
{
    struct Case { LoadedRecordSet loaded; qint64 records; const char *error; const char *why; };
    const Case cases[] = {
        {openTable(db, QStringLiteral("items")), 3, nullptr, "every row of the table"},
        {openQuery(db, QStringLiteral("SELECT id FROM items WHERE id > 1")), 2, nullptr, "the query's rows"},
        {openTable(db, QStringLiteral("missing")), 0, "missing", "an unknown table"},
        {openQuery(db, QStringLiteral("SELEC 1")), 0, "SELEC", "bad SQL"},
    };
    for (const Case &c : cases) {
        if (c.error) {
            EXPECT_EQ(c.loaded.records, nullptr) << c.why;
            EXPECT_TRUE(c.loaded.error.contains(QString::fromLatin1(c.error))) << c.why;
            continue;
        }
        ASSERT_NE(c.loaded.records, nullptr) << c.why << ": " << c.loaded.error.toStdString();
        EXPECT_EQ(c.loaded.records->recordCount(), c.records) << c.why;
        EXPECT_TRUE(c.loaded.error.isEmpty()) << c.why;
    }
}

TEST_F(SqlAdapter, ValuesComeBackTypedAndNeverLost)
{
    LoadResult r = loadTable(db, QStringLiteral("ITEMS"));
    ASSERT_TRUE(r.records) << "table names are case-insensitive: " << r.error.toStdString();
    RecordSet &rs = *r.records;
    EXPECT_EQ(rs.recordCount(), 3);
    struct Case { int row; const char *field; QVariant expected; const char *why; };
    const Case cases[] = {
        {1, "qty", qlonglong(5), "adBigInt is qlonglong"},
        {1, "price", 2.5, "REAL"},
        {1, "cost", 7.0, "an integer in a DECIMAL column is a double"},
        {1, "name", QStringLiteral("Widget"), "text"},
        {1, "link", QStringLiteral("Home#https://example.org/#"), "a hyperlink is its text"},
        {1, "data", QByteArray("\0\1", 2), "BLOB bytes"},
        {1, "day", QDate(2024, 2, 29), "DATE text becomes a QDate"},
        {1, "at", QTime(10, 20, 30), "TIME text becomes a QTime"},
        {1, "stamp", QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)), "DATETIME text becomes a QDateTime"},
        {1, "ts", QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 123)), "with milliseconds"},
        {1, "flag", true, "BOOLEAN 1"},
        {1, "ok", false, "BOOL 0"},
        {1, "big", qlonglong(9007199254740993), "64-bit integers are exact"},
        {1, "untyped", QStringLiteral("free"), "untyped text"},
        {2, "day", QStringLiteral("2024-13-45"), "a date that does not parse stays text"},
        {2, "flag", QStringLiteral("yes"), "SQLite keeps text in a BOOLEAN column"},
        {2, "price", QStringLiteral("n/a"), "and in a REAL column"},
        {2, "name", QVariant(), "NULL"},
        {3, "day", QVariant(), "NULL in a date column"},
        {3, "qty", qlonglong(7), "typed values after a stray text"},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(rs.setBookmark(c.row));
        const QVariant v = valueOf(rs, c.field);
        EXPECT_EQ(v.metaType(), c.expected.metaType()) << c.row << "." << c.field << ": " << c.why;
        EXPECT_EQ(v, c.expected) << c.row << "." << c.field << ": " << c.why;
    }
}

TEST_F(SqlAdapter, ExpressionColumnsTakeTheTypeOfTheirFirstValue)
{
    LoadResult r = loadQuery(db, QStringLiteral(
        "SELECT qty * 2 AS twice, name || '!' AS shout, NULL AS blank, qty / 2.0 AS half,"
        " CASE WHEN id > 1 THEN id END AS later, x'00' AS bytes, day FROM items ORDER BY id"));
    ASSERT_TRUE(r.records) << r.error.toStdString();
    expectFields(*r.records, {
        {"twice", adBigInt, 8, 90, "INTEGER value; a computed number is unknown-updatable, may be NULL"},
        {"shout", adVarWChar, 536870910, 106, "TEXT value; computed text is nullable"},
        {"blank", adVarWChar, 536870910, 106, "all NULL is text"},
        {"half", adDouble, 8, 90, "FLOAT value"},
        {"later", adBigInt, 8, 90, "the first non-NULL value decides"},
        {"bytes", adLongVarBinary, 2147483647, 234, "BLOB value"},
        {"day", adDBDate, 6, 118, "a table column keeps its declared type in a query"},
    });
    RecordSet &rs = *r.records;
    rs.moveLast();
    EXPECT_EQ(valueOf(rs, "later"), QVariant(qlonglong(3)));
    EXPECT_EQ(valueOf(rs, "half"), QVariant(3.5));
}

TEST_F(SqlAdapter, BadInputGivesOneLineNamingIt)
{
    struct Case { LoadResult result; const char *named; const char *why; };
    const Case cases[] = {
        {loadTable(db, QStringLiteral("missing")), "missing", "unknown table"},
        {loadQuery(db, QStringLiteral("SELEC *\nFROM items")), "SELEC * FROM items", "syntax error, SQL on one line"},
        {loadQuery(db, QStringLiteral("SELECT * FROM nowhere")), "nowhere", "SQLite names the missing table"},
        {loadQuery(db, QStringLiteral("DELETE FROM items WHERE 0")), "DELETE", "a statement without rows"},
        {loadQueryThroughQtSql(db, QStringLiteral("SELECT * FROM nowhere")), "nowhere", "the QtSql path too"},
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(c.result.records.has_value()) << c.why;
        EXPECT_TRUE(c.result.error.contains(QString::fromLatin1(c.named))) << c.why << ": " << c.result.error.toStdString();
        EXPECT_FALSE(c.result.error.contains(QLatin1Char('\n'))) << c.why;
    }
    db.close();
    const LoadResult closed = loadTable(db, QStringLiteral("items"));
    EXPECT_FALSE(closed.records.has_value());
    EXPECT_TRUE(closed.error.contains(QStringLiteral("sqladapter"))) << "a closed connection is named";
}

TEST_F(SqlAdapter, RequeryRunsTheQueryAgain)
{
    LoadResult r = loadQuery(db, QStringLiteral("SELECT id FROM items ORDER BY id"));
    ASSERT_TRUE(r.records);
    RecordSet &rs = *r.records;
    RecordSet clone = rs.clone();
    EXPECT_TRUE(rs.hasActiveConnection());
    exec("INSERT INTO items(id, qty) VALUES(4, 8)");
    EXPECT_EQ(rs.recordCount(), 3) << "a loaded set is a snapshot";
    ASSERT_TRUE(rs.requery());
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(clone.recordCount(), 3) << "clones keep the rows they had";
    db.close();
    EXPECT_FALSE(rs.hasActiveConnection());
    EXPECT_FALSE(rs.requery());
    EXPECT_EQ(rs.recordCount(), 4) << "a failed requery keeps the rows";
}

TEST_F(SqlAdapter, ForwardOnlyLoadGivesForwardOnlySet)
{
    LoadResult r = loadTable(db, QStringLiteral("items"), adOpenForwardOnly);
    ASSERT_TRUE(r.records);
    RecordSet &rs = *r.records;
    EXPECT_EQ(rs.cursorType(), adOpenForwardOnly);
    EXPECT_EQ(rs.recordCount(), -1);
    EXPECT_EQ(rs.getRows().size(), 3u);
    EXPECT_FALSE(rs.movePrevious());
}

TEST_F(SqlAdapter, QtSqlPathMapsFieldMetadata)
{
    LoadResult r = loadQueryThroughQtSql(db, QStringLiteral("SELECT id, qty, price, name, link, data, flag FROM items"));
    ASSERT_TRUE(r.records) << r.error.toStdString();
    // QSQLITE reports INTEGER as int, HYPERLINK as a string and no lengths.
    expectFields(*r.records, {
        {"qty", adInteger, 4, 22, "int; NOT NULL from the table's record"},
        {"price", adDouble, 8, 118, "double without a scale"},
        {"name", adVarWChar, 536870910, 102, "string of unknown length"},
        {"link", adVarWChar, 536870910, 102, "the driver does not know HYPERLINK"},
        {"data", adLongVarBinary, 2147483647, 230, "bytes of unknown length"},
        {"flag", adBoolean, 2, 118, "bool"},
    });
    RecordSet &rs = *r.records;
    EXPECT_EQ(valueOf(rs, "qty"), QVariant(5));
    EXPECT_EQ(valueOf(rs, "flag"), QVariant(true));
    rs.moveNext();
    EXPECT_EQ(valueOf(rs, "name"), QVariant()) << "the driver's typed NULL is a null value";
}
