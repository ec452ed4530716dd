// A QtSql driver that is none of the servers the adapter knows by their
// type codes: its columns are typed by the QMetaType of its fields, and its
// values arrive as QVariants of those types, the way any third-party Qt
// driver hands them over. The driver is a real QSqlDriver registered with
// QtSql, serving one fixed result.
#include "core/recordset/sqladapter.h"
#include "core/reporter/pagewriter.h"

#include "testsupport.h"

#include <QDateTime>
#include <QPointF>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>
#include <QUuid>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

struct Column
{
    const char *name;
    QMetaType type;
    QVariantList values; // one per row; a null QVariant is NULL
};

const QDateTime Stamp(QDate(2024, 3, 5), QTime(14, 30, 15, 250));
const QUuid Id = QUuid::fromString(QStringLiteral("{67c8770b-44f1-410a-ab9a-f9b5446f13ee}"));

std::vector<Column> columns()
{
    return {
        {"u8", QMetaType(QMetaType::UChar), {QVariant::fromValue<uchar>(200), QVariant()}},
        {"u16", QMetaType(QMetaType::UShort), {QVariant::fromValue<ushort>(65000), QVariant::fromValue<ushort>(1)}},
        {"u32", QMetaType(QMetaType::UInt), {QVariant(4000000000u), QVariant(0u)}},
        {"u64", QMetaType(QMetaType::ULongLong),
         {QVariant::fromValue<qulonglong>(18446744073709551615ull), QVariant::fromValue<qulonglong>(7)}},
        {"f", QMetaType(QMetaType::Float), {QVariant(2.5f), QVariant(-0.125f)}},
        {"day", QMetaType(QMetaType::QDate), {QVariant(Stamp.date()), QVariant()}},
        {"at", QMetaType(QMetaType::QTime), {QVariant(Stamp.time()), QVariant(QTime(0, 0))}},
        {"stamp", QMetaType(QMetaType::QDateTime), {QVariant(Stamp), QVariant(QDateTime(Stamp.date(), QTime(0, 0)))}},
        {"id", QMetaType(QMetaType::QUuid), {QVariant(Id), QVariant()}},
        {"other", QMetaType(QMetaType::QPointF), {QVariant(QPointF(1, 2)), QVariant()}},
    };
}

class FixedResult : public QSqlResult
{
public:
    explicit FixedResult(const QSqlDriver *driver) : QSqlResult(driver) {}

protected:
    QVariant data(int i) override { return m_columns[size_t(i)].values[at()]; }
    bool isNull(int i) override { return data(i).isNull(); }
    bool reset(const QString &) override
    {
        setSelect(true);
        setActive(true);
        setAt(QSql::BeforeFirstRow);
        return true;
    }
    bool fetch(int i) override
    {
        if (i < 0 || i >= size())
            return false;
        setAt(i);
        return true;
    }
    bool fetchFirst() override { return fetch(0); }
    bool fetchLast() override { return fetch(size() - 1); }
    int size() override { return 2; }
    int numRowsAffected() override { return 0; }
    QSqlRecord record() const override
    {
        QSqlRecord record;
        for (const Column &c : m_columns)
            record.append(QSqlField(QString::fromLatin1(c.name), c.type));
        return record;
    }

private:
    std::vector<Column> m_columns = columns();
};

class FixedDriver : public QSqlDriver
{
public:
    bool hasFeature(DriverFeature feature) const override { return feature == QuerySize; }
    bool open(const QString &, const QString &, const QString &, const QString &, int, const QString &) override
    {
        setOpen(true);
        return true;
    }
    void close() override { setOpen(false); }
    QSqlResult *createResult() const override { return new FixedResult(this); }
};

} // namespace

TEST(OtherDrivers, ColumnsAreTypedByTheirMetaTypeAndValuesKeptAsTheyCame)
{
    QSqlDatabase::registerSqlDriver(QStringLiteral("QFIXED"), new QSqlDriverCreator<FixedDriver>);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QFIXED"), QStringLiteral("fixed"));
        ASSERT_TRUE(db.open());
        LoadResult loaded = loadQuery(db, QStringLiteral("SELECT everything"));
        ASSERT_TRUE(loaded.records) << loaded.error.toStdString();
        RecordSet &set = *loaded.records;
        struct Expected { int type; qint32 size; };
        const Expected expected[] = {{Ado::adUnsignedTinyInt, 1}, {Ado::adUnsignedSmallInt, 2},
                                     {Ado::adUnsignedInt, 4},     {Ado::adUnsignedBigInt, 8},
                                     {Ado::adSingle, 4},          {Ado::adDBDate, 6},
                                     {Ado::adDBTime, 6},          {Ado::adDBTimeStamp, 16},
                                     {Ado::adGUID, 16},           {Ado::adVariant, 16}};
        ASSERT_EQ(set.fieldCount(), 10);
        const std::vector<Column> source = columns();
        for (int i = 0; i < set.fieldCount(); ++i) {
            EXPECT_EQ(set.field(i).type, expected[i].type) << source[size_t(i)].name;
            EXPECT_EQ(set.field(i).definedSize, expected[i].size) << source[size_t(i)].name;
        }
        ASSERT_EQ(set.recordCount(), 2);
        set.moveFirst();
        for (int row = 0; row < 2; ++row, set.moveNext()) {
            for (int i = 0; i < set.fieldCount(); ++i) {
                const QVariant want = source[size_t(i)].values[row];
                const std::optional<QVariant> got = set.value(i);
                ASSERT_TRUE(got) << source[size_t(i)].name;
                EXPECT_EQ(got->isNull(), want.isNull()) << source[size_t(i)].name << " row " << row;
                if (!want.isNull()) {
                    EXPECT_EQ(*got, want) << source[size_t(i)].name << " row " << row;
                }
            }
        }

        // The page shows each value as its text.
        test::TempFolder folder;
        PageWriter writer;
        ReportJob job;
        PagePosition at;
        at.records = 2;
        job.totalRecords = 2;
        job.locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QStringList names;
        for (const Column &c : source)
            names << QString::fromLatin1(c.name);
        RecordSet section = set.slice(0, 2);
        const QString file = folder.file(QStringLiteral("other.htm"));
        ASSERT_TRUE(writer.WriteReportSection(file, section, qint32(names.size()), names, QStringLiteral("Vol 1"), 0,
                                              QStringLiteral("WHITE"), job, at));
        const QByteArray html = test::readAll(file);
        for (const char *cell : {">200<", ">65000<", ">4000000000<", ">18446744073709551615<", ">2.5<", ">-0.125<",
                                 ">3/5/24<", ">2:30:15 PM<", ">3/5/24 2:30:15 PM<", ">{67c8770b-44f1-410a-ab9a-f9b5446f13ee}<"})
            EXPECT_TRUE(html.contains(cell)) << cell << "\n" << html.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixed"));
}
