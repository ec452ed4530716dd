// A ReportStatus handler that closes, re-queries or replaces the record set
// it handed over while the pages of that set are made on other threads.
// The run works on copies taken when it started: the pages come out as a
// calm run writes them, and under ThreadSanitizer and AddressSanitizer
// (scripts/tsan.sh, scripts/sanitize.sh) no thread reads what the host frees.
#include "core/recordset/sqladapter.h"

#include "reportfixture.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>

using namespace zuvexal;
using zuvexal::test::ReportTest;

namespace {

// Integers, texts and reals in turn: numbers to sum, texts to escape.
int wideType(int field)
{
    static constexpr int types[] = {Ado::adInteger, Ado::adVarWChar, Ado::adDouble};
    return types[field % 3];
}

QVariant wideValue(int row, int field, int salt)
{
    switch (field % 3) {
    case 0: return row * 7 + field + salt;
    case 1: return QStringLiteral("r%1 <f%2> %3").arg(row).arg(field).arg(salt);
    default: return (row + salt) * 0.25 + field;
    }
}

RecordSetPtr makeWide(int rows, int fields, int salt)
{
    auto records = std::make_shared<RecordSet>();
    for (int f = 0; f < fields; ++f)
        records->appendField(QStringLiteral("F%1").arg(f), wideType(f), wideType(f) == Ado::adVarWChar ? 40 : 8);
    records->open();
    for (int r = 0; r < rows; ++r) {
        records->addNew();
        for (int f = 0; f < fields; ++f)
            records->setValue(f, wideValue(r, f, salt));
    }
    records->update();
    records->moveFirst();
    return records;
}

// The same rows in a real SQLite file, read back as a set that remembers
// its query, so that CurrentRecordset runs it again.
class WideDatabase
{
public:
    WideDatabase(const QString &path, int rows, int fields)
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("hostrecordset"));
        m_db.setDatabaseName(path);
        m_db.open();
        QStringList columns;
        QStringList marks;
        for (int f = 0; f < fields; ++f) {
            const char *type = wideType(f) == Ado::adInteger ? "INTEGER"
                : wideType(f) == Ado::adDouble                 ? "REAL"
                                                               : "VARCHAR(40)";
            columns << QStringLiteral("F%1 %2").arg(f).arg(QLatin1String(type));
            marks << QStringLiteral("?");
        }
        QSqlQuery query(m_db);
        query.exec(QStringLiteral("CREATE TABLE wide(%1)").arg(columns.join(QLatin1Char(','))));
        m_db.transaction();
        query.prepare(QStringLiteral("INSERT INTO wide VALUES(%1)").arg(marks.join(QLatin1Char(','))));
        for (int r = 0; r < rows; ++r) {
            for (int f = 0; f < fields; ++f)
                query.bindValue(f, wideValue(r, f, 0));
            query.exec();
        }
        m_db.commit();
    }
    ~WideDatabase()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("hostrecordset"));
    }
    RecordSetPtr records() const { return openQuery(m_db, QStringLiteral("SELECT * FROM wide")).records; }

private:
    QSqlDatabase m_db;
};

class RecordSetUnderARun : public ReportTest
{
protected:
    // The pages of an unattended run of records in a folder of their own,
    // with handler called at every status report.
    QList<QByteArray> pagesOf(RecordSetPtr records, const QString &run, const std::function<void()> &handler)
    {
        const QString folderPath = folder.file(run) + QLatin1Char('/');
        QDir().mkpath(folderPath);
        shared().AppFolder = folderPath;
        const QMetaObject::Connection connection = QObject::connect(
            control.get(), &ZuVexal::ReportStatus, [&](qint16, qint32, qint16, bool &, bool &, QVariant &) { handler(); });
        const bool written = control->AutoZuReporter(records, {}, nullptr, QStringLiteral("wide"), {}, ZuVexal::rNoNo);
        QObject::disconnect(connection);
        EXPECT_TRUE(written) << run.toStdString();
        QList<QByteArray> pages;
        const QDir reports(folderPath + QStringLiteral("Reports"));
        for (const QString &name : reports.entryList(QDir::Files, QDir::Name))
            pages << test::readAll(reports.filePath(name));
        return pages;
    }
};

} // namespace

TEST_F(RecordSetUnderARun, AHandlerThatClosesRequeriesOrReplacesTheSetChangesNoPage)
{
    // Wide enough that describing the columns (120 fields) takes a while on
    // the page thread at every section; a re-query reads the whole table
    // again, so its table is shorter to keep the run quick.
    ReportChoices noDate;
    noDate.insertDate = false; // the time of day would differ between runs
    control->setReportChoices(noDate);
    control->setMaxRecsPerPage(200);
    constexpr int Fields = 120;
    const WideDatabase database(folder.file(QStringLiteral("wide.db")), 600, Fields);

    struct Case
    {
        const char *name;
        std::function<RecordSetPtr()> make;
        // What the handler does to the set it handed over.
        std::function<void(RecordSetPtr &)> handle;
    };
    const RecordSetPtr other = makeWide(4000, Fields, 1);
    const Case cases[] = {
        // Closing drops the rows and the field list the set had; open()
        // of a fabricated set gives an empty one.
        {"closed", [] { return makeWide(4000, Fields, 0); },
         [](RecordSetPtr &records) {
             records->close();
             records->open();
         }},
        // CurrentRecordset re-queries a set read from a database: its
        // table is swapped for a fresh one and the old one freed.
        {"requeried", [&] { return database.records(); },
         [&](RecordSetPtr &) { control->CurrentRecordset(); }},
        // Assigning another set into the handed-over object frees its
        // members in place.
        {"replaced", [] { return makeWide(4000, Fields, 0); },
         [&](RecordSetPtr &records) { *records = *other; }},
    };
    for (const Case &c : cases) {
        const QString name = QString::fromLatin1(c.name);
        const QList<QByteArray> calm = pagesOf(c.make(), name + QStringLiteral("-calm"), [] {});
        RecordSetPtr records = c.make();
        const QList<QByteArray> pages = pagesOf(records, name, [&] { c.handle(records); });
        ASSERT_FALSE(calm.isEmpty()) << c.name;
        EXPECT_EQ(pages.size(), calm.size()) << c.name;
        EXPECT_TRUE(pages == calm) << c.name << ": the pages differ from a run nobody disturbed";
    }
}
