// The CLI under faults a user meets: a disk that fills up, a file size
// limit, links planted where the reports and the log go. Real processes,
// real files.
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <unistd.h>

using zuvexal::test::TempFolder;

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The CLI through a shell, so a limit or trap can come first.
Outcome shell(const QString &prefix, const QStringList &args)
{
    QStringList quoted;
    for (const QString &arg : args)
        quoted << QLatin1Char('\'') + QString(arg).replace(QLatin1String("'"), QLatin1String("'\\''")) + QLatin1Char('\'');
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("bash"), {QStringLiteral("-c"), prefix + QStringLiteral(" exec '" ZUVEXAL_CLI "' ")
                                                                      + quoted.join(u' ')});
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// n orders with long notes, so that pages are large.
QString ordersDatabase(const TempFolder &folder, int n)
{
    const QString path = folder.file(QStringLiteral("orders.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("faults"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QStringLiteral("CREATE TABLE orders(id INTEGER, name TEXT, notes TEXT)")));
        db.transaction();
        for (int i = 1; i <= n; ++i)
            q.exec(QStringLiteral("INSERT INTO orders VALUES(%1, 'Customer %1', '%2')").arg(i).arg(QString(200, u'n')));
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("faults"));
    return path;
}

QStringList reportArgs(const QString &db, const QString &app, const QString &file, int perPage)
{
    return {QStringLiteral("report"), QStringLiteral("--db"), db, QStringLiteral("--table"), QStringLiteral("orders"),
            QStringLiteral("--per-page"), QString::number(perPage), QStringLiteral("--file"), file,
            QStringLiteral("--quiet"), QStringLiteral("--app-folder"), app};
}

// Every page holds whole sections only: each record opens and closes.
void expectWholeSections(const QString &folder)
{
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        const QByteArray page = zuvexal::test::readAll(folder + name);
        EXPECT_FALSE(page.isEmpty()) << name.toStdString() << " is empty";
        EXPECT_TRUE(page.endsWith("</BODY></HTML>\"\r\n")) << name.toStdString() << " ends in a torn section";
        EXPECT_EQ(page.count("\"<HTML>"), page.count("</HTML>\"\r\n")) << name.toStdString();
    }
}

} // namespace

TEST(Faults, AFileSizeLimitLeavesWholeSectionsAndNamesTheFirstPage)
{
    TempFolder folder;
    const QString db = ordersDatabase(folder, 400);
    // Writes beyond 48 KiB a file fail (EFBIG) instead of ending the process.
    const Outcome run = shell(QStringLiteral("trap '' XFSZ; ulimit -f 48;"), reportArgs(db, folder.path(), QStringLiteral("big"), 200));
    EXPECT_EQ(run.exitCode, 4) << run.err.toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(folder.file(QStringLiteral("Reports/big1.htm")))) << run.err.toStdString();
    expectWholeSections(folder.file(QStringLiteral("Reports/")));
}

TEST(Faults, AFullDiskTearsNothingAndListsNoEmptyPage)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a small disk needs root";
    TempFolder folder;
    const QString db = ordersDatabase(folder, 400);
    const QString app = folder.file(QStringLiteral("app/"));
    QDir().mkpath(app + QStringLiteral("Reports"));
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                  QStringLiteral("size=96k"), QStringLiteral("tmpfs"),
                                                  app + QStringLiteral("Reports")}) != 0)
        GTEST_SKIP() << "no tmpfs could be mounted here";
    const Outcome run = shell(QString(), reportArgs(db, app, QStringLiteral("full"), 5));
    const QStringList left = QDir(app + QStringLiteral("Reports")).entryList(QDir::Files);
    expectWholeSections(app + QStringLiteral("Reports/"));
    QProcess::execute(QStringLiteral("umount"), {app + QStringLiteral("Reports")});

    EXPECT_EQ(run.exitCode, 4) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("the first into ") + app + QStringLiteral("Reports/full"))) << run.err.toStdString();
    EXPECT_FALSE(left.isEmpty());
    EXPECT_LT(left.size(), 80) << "the disk filled before the last page";
    QStringList listed = run.out.split(u'\n', Qt::SkipEmptyParts);
    for (QString &page : listed)
        page = QFileInfo(page).fileName();
    listed.sort();
    QStringList kept = left;
    kept.sort();
    EXPECT_EQ(listed, kept) << "stdout lists exactly the pages left, none of them empty";
}

TEST(Faults, LinksPlantedInTheReportAndLogFoldersAreNotFollowed)
{
    TempFolder folder;
    const QString db = ordersDatabase(folder, 3);
    const QString victim = folder.file(QStringLiteral("victim.txt"));
    zuvexal::test::writeAll(victim, "keep");
    QDir().mkpath(folder.file(QStringLiteral("Reports/Log")));
    ASSERT_TRUE(QFile::link(victim, folder.file(QStringLiteral("Reports/sym.htm"))));
    const Outcome report = shell(QString(), reportArgs(db, folder.path(), QStringLiteral("sym"), 10));
    EXPECT_EQ(report.exitCode, 4) << report.err.toStdString();
    EXPECT_EQ(zuvexal::test::readAll(victim), QByteArray("keep")) << "the report did not write through the link";

    ASSERT_TRUE(QFile::link(victim, folder.file(QStringLiteral("Reports/Log/ZuMessages.htm"))));
    const QString planted = folder.file(QStringLiteral("created-by-lock"));
    ASSERT_TRUE(QFile::link(planted, folder.file(QStringLiteral("Reports/Log/.ZuMessages.lock"))));
    const Outcome log = shell(QString(), {QStringLiteral("log"), QStringLiteral("hello"), QStringLiteral("--app-folder"), folder.path()});
    EXPECT_EQ(log.exitCode, 1) << log.err.toStdString();
    EXPECT_TRUE(log.err.contains(QStringLiteral("ZuMessages.htm"))) << log.err.toStdString();
    EXPECT_EQ(zuvexal::test::readAll(victim), QByteArray("keep")) << "the log did not write through the link";
    EXPECT_FALSE(QFileInfo::exists(planted)) << "the lock did not create a file through a dangling link";
}
