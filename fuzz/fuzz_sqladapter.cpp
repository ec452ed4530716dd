// loadTable and loadQuery on an in-memory SQLite table made from the input,
// which is text, one item a line:
//   line 1      the declared column types, separated by ';' (at most 12)
//   "?..."      a query: the rest of the line follows "SELECT "
//   "!..."      a table name for loadTable besides "t"
//   other lines a row of values separated by ';' (at most 40 rows):
//               "N" NULL, "i<n>" integer, "r<x>" real, "b<bytes>" blob,
//               "T<n>" a text of n letters, "B<n>" a blob of n bytes
//               (n at most 64 KiB), anything else that text
#include "fuzzsupport.h"

#include "core/recordset/sqladapter.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <cmath>
#include <cstring>

using namespace zuvexal;

namespace {

constexpr int MaxColumns = 12;
constexpr int MaxRows = 40;
constexpr qsizetype MaxGenerated = 64 * 1024;
// SQLite's own limits for a run: no value over 1 MiB (an expression such as
// zeroblob(1e9) would only test the allocator) and a budget of virtual
// machine steps (a recursive query would never end).
constexpr int MaxLength = 1 << 20;
constexpr int StepBudget = 20000; // progress calls of 100 steps each

int stepsLeft = 0;

// One connection for the process, never closed: the table is made anew
// each run.
QSqlDatabase &database()
{
    static QSqlDatabase *db = [] {
        auto *made = new QSqlDatabase(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz")));
        made->setDatabaseName(QStringLiteral(":memory:"));
        if (!made->open())
            fuzz::fail("opening the in-memory database");
        sqlite3 *handle = *static_cast<sqlite3 *const *>(made->driver()->handle().constData());
        sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, MaxLength);
        sqlite3_progress_handler(handle, 100, [](void *) { return --stepsLeft < 0 ? 1 : 0; }, nullptr);
        return made;
    }();
    return *db;
}

QVariant valueOf(const QString &item)
{
    const QChar kind = item.isEmpty() ? QChar() : item.front();
    const QString rest = item.mid(1);
    if (item == QLatin1String("N"))
        return QVariant(QMetaType(QMetaType::QString));
    if (kind == u'i')
        return rest.toLongLong();
    if (kind == u'r')
        return rest.toDouble();
    if (kind == u'b')
        return rest.toUtf8();
    if (kind == u'T')
        return QString(std::clamp<qsizetype>(rest.toLongLong(), 0, MaxGenerated), u'x');
    if (kind == u'B')
        return QByteArray(std::clamp<qsizetype>(rest.toLongLong(), 0, MaxGenerated), '\x80');
    return item;
}

// Every value of every record, read both ways: the stored value must agree
// with the QVariant.
void walk(RecordSet &rs)
{
    const qint64 count = rs.recordCount();
    qint64 seen = 0;
    for (bool more = rs.moveFirst(); more && !rs.eof(); more = rs.moveNext(), ++seen) {
        for (int f = 0; f < rs.fieldCount(); ++f) {
            const std::optional<QVariant> value = rs.value(f);
            fuzz::require(value.has_value(), "a current record has every value");
            const StoredValue stored = rs.storedValue(f);
            switch (stored.kind) {
            case StoredValue::Kind::Null:
                fuzz::require(value->isNull(), "a stored NULL reads as NULL");
                break;
            case StoredValue::Kind::Integer:
                fuzz::require(value->toLongLong() == stored.integer, "a stored integer reads as itself");
                break;
            case StoredValue::Kind::Real:
                fuzz::require(value->toDouble() == stored.real || std::isnan(stored.real), "a stored real reads as itself");
                break;
            case StoredValue::Kind::Text:
                fuzz::require(value->toString() == QString::fromUtf8(stored.text), "a stored text reads as itself");
                break;
            default:
                break;
            }
        }
    }
    fuzz::require(seen == count, "moving through a set visits recordCount records");
    rs.moveFirst();
    fuzz::require(qint64(rs.getRows().size()) == count, "getRows gives every record");
    fuzz::require(rs.slice(1, 3).recordCount() == std::clamp<qint64>(count - 1, 0, 3), "a slice holds its records");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication(fuzz::Application::Core);
    database();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = fuzz::textOf(QByteArrayView(data, qsizetype(size))).split(u'\n');
    const QStringList types = lines[0].split(u';').mid(0, MaxColumns);
    QStringList queries = {QStringLiteral("SELECT * FROM t")};
    QStringList tables = {QStringLiteral("t")};
    std::vector<QStringList> rows;
    for (const QString &line : lines.mid(1)) {
        if (line.startsWith(u'?'))
            queries.append(QStringLiteral("SELECT ") + line.mid(1));
        else if (line.startsWith(u'!'))
            tables.append(line.mid(1));
        else if (rows.size() < size_t(MaxRows))
            rows.push_back(line.split(u';'));
    }

    QSqlDatabase &db = database();
    stepsLeft = StepBudget;
    QSqlQuery sql(db);
    sql.exec(QStringLiteral("DROP TABLE IF EXISTS t"));
    QStringList columns;
    for (qsizetype c = 0; c < types.size(); ++c)
        columns.append(QStringLiteral("c%1 %2").arg(c).arg(types[c]));
    if (!sql.exec(QStringLiteral("CREATE TABLE t (%1)").arg(columns.join(u','))))
        return 0;
    // A declared type may hold commas and so declare more columns, and
    // "AS (...)" makes a generated column: the table's record lists only the
    // columns an INSERT fills, a SELECT * sees them all.
    const int insertable = db.record(QStringLiteral("t")).count();
    QSqlQuery all(db);
    all.exec(QStringLiteral("SELECT * FROM t LIMIT 0"));
    const int columnCount = all.record().count();
    const QString marks = QStringList(insertable, QStringLiteral("?")).join(u',');
    qint64 inserted = 0;
    for (const QStringList &row : rows) {
        sql.prepare(QStringLiteral("INSERT INTO t VALUES (%1)").arg(marks));
        for (int c = 0; c < insertable; ++c)
            sql.addBindValue(valueOf(row.value(c)));
        inserted += sql.exec() ? 1 : 0;
    }

    stepsLeft = StepBudget;
    LoadResult table = loadTable(db, QStringLiteral("t"));
    fuzz::require(table.records.has_value(), "an existing table loads", table.error);
    fuzz::require(table.records->fieldCount() == columnCount && table.records->recordCount() == inserted,
                  "a loaded table has its columns and rows");
    walk(*table.records);

    stepsLeft = StepBudget;
    LoadResult general = loadQueryThroughQtSql(db, queries[0]);
    fuzz::require(general.records.has_value(), "the general path loads the table", general.error);
    fuzz::require(general.records->fieldCount() == table.records->fieldCount()
                      && general.records->recordCount() == inserted,
                  "both paths see the same table");
    for (int f = 0; f < general.records->fieldCount(); ++f)
        fuzz::require(general.records->field(f).name == table.records->field(f).name, "both paths name the fields alike");

    for (const QString &query : queries.mid(1)) {
        stepsLeft = StepBudget;
        if (LoadResult loaded = loadQuery(db, query); loaded.records)
            walk(*loaded.records);
    }
    for (const QString &name : tables.mid(1)) {
        stepsLeft = StepBudget;
        if (LoadResult loaded = loadTable(db, name); loaded.records)
            walk(*loaded.records);
    }
    return 0;
}
