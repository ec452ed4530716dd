#include "core/recordset/connectioninfo.h"

#include "testsupport.h"

#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(ConnectionInfo, ParsesPathsAndUrls)
{
    struct Case
    {
        const char *text;
        const char *driverGiven;
        const char *driver, *database, *host;
        int port;
        const char *user, *displayName;
        const char *why;
    };
    const Case cases[] = {
        {"orders.db", nullptr, "QSQLITE", "orders.db", nullptr, -1, nullptr, "orders.db", "a plain path stays SQLite"},
        {"sqlite:/data/x.db", nullptr, "QSQLITE", "/data/x.db", nullptr, -1, nullptr, "/data/x.db",
         "sqlite: names the file"},
        {"postgresql://zu@db.example.org:5433/sales", nullptr, "QPSQL", "sales", "db.example.org", 5433,
         "zu", "postgresql://zu@db.example.org:5433/sales", "every part given"},
        {"POSTGRES://db.example.org/sales", nullptr, "QPSQL", "sales", "db.example.org", -1, nullptr,
         "postgresql://db.example.org/sales", "either scheme, any case; user and port from the driver"},
        {"postgresql://zu@/sales?host=/run/pg", nullptr, "QPSQL", "sales", "/run/pg", -1, "zu",
         "postgresql://zu@/sales?host=/run/pg", "a socket folder as libpq writes it"},
        {"postgresql://zu@%2Frun%2Fpg:5433/sales", nullptr, "QPSQL", "sales", "/run/pg", 5433, "zu",
         "postgresql://zu@:5433/sales?host=/run/pg", "a percent-encoded socket folder is the same"},
        {"mysql://zu@localhost/shop?host=/run/mysqld/mysqld.sock", nullptr, "QMYSQL", "shop",
         "/run/mysqld/mysqld.sock", -1, "zu", "mysql://zu@/shop?host=/run/mysqld/mysqld.sock",
         "MySQL's socket is a file"},
        {"mariadb://zu@[::1]:3307/shop", nullptr, "QMYSQL", "shop", "::1", 3307, "zu",
         "mysql://zu@[::1]:3307/shop", "an IPv6 address in brackets"},
        {"postgresql://j%C3%B6rg@h/s%20ales", nullptr, "QPSQL", "s ales", "h", -1, "jörg",
         "postgresql://j%C3%B6rg@h/s%20ales", "user and database are percent-decoded"},
        {"odbc:orders", nullptr, "QODBC", "orders", nullptr, -1, nullptr, "odbc:orders", "a DSN"},
        {"odbc:DRIVER={PostgreSQL Unicode};Servername=h;Database=d", nullptr, "QODBC",
         "DRIVER={PostgreSQL Unicode};Servername=h;Database=d", nullptr, -1, nullptr,
         "odbc:DRIVER={PostgreSQL Unicode};Servername=h;Database=d", "a connection string goes as it is"},
        {"zuvexal", "QPSQL", "QPSQL", "zuvexal", nullptr, -1, nullptr, "postgresql:///zuvexal",
         "with a driver, a name is that server's database"},
        {"postgresql://h/d", "QPSQL", "QPSQL", "d", "h", -1, nullptr, "postgresql://h/d",
         "a driver that fits the URL"},
    };
    for (const Case &c : cases) {
        const ParsedConnection parsed = parseConnection(text(c.text), text(c.driverGiven));
        ASSERT_TRUE(parsed.info.has_value()) << c.why << ": " << parsed.error.toStdString();
        const ConnectionInfo &info = *parsed.info;
        EXPECT_EQ(info.driver, text(c.driver)) << c.why;
        EXPECT_EQ(info.databaseName, text(c.database)) << c.why;
        EXPECT_EQ(info.host, text(c.host)) << c.why;
        EXPECT_EQ(info.port, c.port) << c.why;
        EXPECT_EQ(info.user, text(c.user)) << c.why;
        EXPECT_EQ(info.displayName(), text(c.displayName)) << c.why;
        // What a message names parses back to the same connection.
        const ParsedConnection again = parseConnection(info.displayName(), text(c.driverGiven));
        ASSERT_TRUE(again.info.has_value()) << c.why;
        EXPECT_EQ(again.info->host, info.host) << c.why;
        EXPECT_EQ(again.info->databaseName, info.databaseName) << c.why;
    }
}

TEST(ConnectionInfo, RefusesPasswordsAndBadUrlsWithoutRepeatingThem)
{
    struct Case { const char *text; const char *driver; const char *mentions; const char *why; };
    const Case cases[] = {
        {"postgresql://zu:s3cret@h/d", nullptr, "password", "user:password@"},
        {"mysql://zu:@h/d", nullptr, "password", "even an empty one"},
        {"postgresql://h/d?password=s3cret", nullptr, "password", "as a parameter"},
        {"odbc:DSN=x;pwd=s3cret", nullptr, "password", "an ODBC PWD="},
        {"odbc:Driver=x; PASSWORD =s3cret", nullptr, "password", "an ODBC PASSWORD="},
        {"postgresql://h:0/d", nullptr, "port", "ports start at 1"},
        {"postgresql://h:54x/d", nullptr, "54x", "a port is a number"},
        {"postgresql://h/d?sslmode=require", nullptr, "sslmode", "only host is known"},
        {"postgresql://[::1/d", nullptr, "[", "an unclosed bracket"},
        {"odbc:", nullptr, "odbc:", "no data source"},
        {"sqlite:", nullptr, "sqlite:", "no file"},
        {"", nullptr, "no database", "nothing at all"},
        {"mysql://h/d", "QPSQL", "QPSQL", "a driver that does not fit"},
    };
    for (const Case &c : cases) {
        const ParsedConnection parsed = parseConnection(text(c.text), text(c.driver));
        EXPECT_FALSE(parsed.info.has_value()) << c.why;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.mentions)))
            << c.why << ": " << parsed.error.toStdString();
        EXPECT_FALSE(parsed.error.contains(QStringLiteral("s3cret"))) << c.why;
        EXPECT_FALSE(parsed.error.contains(QLatin1Char('\n'))) << c.why;
    }
}

// A host may open QODBC itself with a password in the connection string;
// the name messages give its data source keeps everything else.
TEST(ConnectionInfo, AnOdbcConnectionStringIsNamedWithoutItsPasswords)
{
    struct Case { const char *databaseName; const char *displayName; };
    const Case cases[] = {
        {"DSN=x;UID=u;PWD=s3cret", "odbc:DSN=x;UID=u;PWD=****"},
        {"pwd=s3cret;DSN=x", "odbc:pwd=****;DSN=x"},
        {"DRIVER={PostgreSQL Unicode}; Password = s3cret ;Database=d",
         "odbc:DRIVER={PostgreSQL Unicode}; Password =****;Database=d"},
        {"DSN=x;PWD={s3;cret}}x};UID=u", "odbc:DSN=x;PWD=****;UID=u"},
        {"DSN=x;UPWD=kept;MyPassword=kept", "odbc:DSN=x;UPWD=kept;MyPassword=kept"},
    };
    for (const Case &c : cases) {
        ConnectionInfo info;
        info.driver = QStringLiteral("QODBC");
        info.databaseName = text(c.databaseName);
        EXPECT_EQ(info.displayName(), text(c.displayName)) << c.databaseName;
    }
}

TEST(ConnectionInfo, OpensSqliteFilesReadOnlyAndNamesWhatFails)
{
    test::TempFolder folder;
    const QString file = folder.file(QStringLiteral("orders.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("info-setup"));
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE orders(id INTEGER)")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("info-setup"));

    {
        const OpenedDatabase opened = openConnection(*parseConnection(file).info, QStringLiteral("info"));
        ASSERT_TRUE(opened.db.isOpen()) << opened.error.toStdString();
        QSqlQuery insert(opened.db);
        EXPECT_FALSE(insert.exec(QStringLiteral("INSERT INTO orders VALUES(1)"))) << "a report never writes";
        // Opening the same name again replaces the connection.
        const OpenedDatabase again = openConnection(*parseConnection(file).info, QStringLiteral("info"));
        EXPECT_TRUE(again.db.isOpen()) << again.error.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("info"));

    struct Case { ConnectionInfo info; const char *mentions; const char *why; };
    const Case cases[] = {
        {*parseConnection(folder.file(QStringLiteral("none.db"))).info, "database file not found",
         "a missing file is no new database"},
        {*parseConnection(QStringLiteral("x"), QStringLiteral("QNOPE")).info, "QNOPE", "a driver Qt does not have"},
        // Debian has the package, this machine not the driver.
        {*parseConnection(QStringLiteral("x"), QStringLiteral("QIBASE")).info, "install the package libqt6sql6-ibase",
         "a driver not installed names its package"},
    };
    for (const Case &c : cases) {
        const OpenedDatabase opened = openConnection(c.info, QStringLiteral("info-bad"));
        EXPECT_FALSE(opened.db.isValid()) << c.why;
        EXPECT_TRUE(opened.error.contains(QString::fromUtf8(c.mentions)))
            << c.why << ": " << opened.error.toStdString();
        EXPECT_FALSE(QSqlDatabase::contains(QStringLiteral("info-bad"))) << c.why << ": nothing is left registered";
    }
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("none.db"))));
}
