// The CLI under faults a user meets: a disk that fills up, a file size
// limit, links planted where the reports and the log go. Real processes,
// real files.
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <cstdio>
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

namespace {

// Starts the CLI and kills it with SIGKILL after the given time, or lets it
// end when it is done first; true when it was killed.
bool killAfter(const QStringList &args, int milliseconds)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZUVEXAL_CLI), args);
    process.waitForStarted();
    const bool killed = !process.waitForFinished(milliseconds);
    if (killed)
        process.kill();
    process.waitForFinished();
    return killed;
}

QString storedHeader(const QString &registry)
{
    const Outcome show = shell(QString(), {QStringLiteral("settings"), QStringLiteral("show"), QStringLiteral("--registry"), registry});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^HeaderText=(.*)$"),
                                                         QRegularExpression::MultilineOption).match(show.out);
    return m.captured(1);
}

} // namespace

TEST(Faults, AReportKilledAnywhereLeavesWholeSectionsAndTheEarlierReport)
{
    TempFolder folder;
    const QString db = ordersDatabase(folder, 20000);
    const QString reports = folder.file(QStringLiteral("Reports/"));
    const QByteArray earlier = "\"<HTML><BODY>an earlier report</BODY></HTML>\"\r\n";
    // How long a whole run takes here, so the kills fall inside one.
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(shell(QString(), reportArgs(db, folder.path(), QStringLiteral("timed"), 200)).exitCode, 0);
    const qint64 whole = clock.elapsed();
    // Bounded: a handful of kills at different points of the run.
    for (const double at : {0.3, 0.45, 0.6, 0.7, 0.8, 0.9}) {
        QDir(reports).removeRecursively();
        QDir().mkpath(reports);
        zuvexal::test::writeAll(reports + QStringLiteral("killed2.htm"), earlier);
        const int ms = int(double(whole) * at);
        const bool killed = killAfter(reportArgs(db, folder.path(), QStringLiteral("killed"), 200), ms);
        std::printf("killed after %d of %lld ms: %s, %lld files\n", ms, whole, killed ? "killed" : "done",
                    qlonglong(QDir(reports).entryList(QDir::Files).size()));
        expectWholeSections(reports);
        EXPECT_TRUE(zuvexal::test::readAll(reports + QStringLiteral("killed2.htm")).startsWith(earlier))
            << "killed after " << ms << " ms: the earlier report stays";
        // A page being written has no name until it is whole.
        EXPECT_EQ(QDir(reports).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".killed")), QStringList())
            << "killed after " << ms << " ms: no temporary file is left";
    }
}

TEST(Faults, SettingsKilledWhileStoringReadBackAWholeCommittedText)
{
    TempFolder folder;
    const QString registry = folder.file(QStringLiteral("registry.db"));
    const auto set = [&](const QString &header) {
        return QStringList{QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("HeaderText=") + header,
                           QStringLiteral("--registry"), registry};
    };
    ASSERT_EQ(shell(QString(), set(QStringLiteral("committed"))).exitCode, 0);
    QStringList possible{QStringLiteral("committed")};
    for (const int ms : {2, 4, 6, 8, 10, 12, 15, 20, 25, 30, 40, 60}) {
        const QString header = QStringLiteral("attempt %1 ").arg(ms) + QString(100000, u'x');
        possible << header;
        killAfter(set(header), ms);
        EXPECT_TRUE(possible.contains(storedHeader(registry))) << "killed after " << ms << " ms";
    }

    // Two processes storing at once: one of the two values, never a mix.
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(ZUVEXAL_CLI), set(QStringLiteral("from the first")));
    second.start(QStringLiteral(ZUVEXAL_CLI), set(QStringLiteral("from the second")));
    first.waitForFinished();
    second.waitForFinished();
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE((QStringList{QStringLiteral("from the first"), QStringLiteral("from the second")}).contains(storedHeader(registry)));
}
