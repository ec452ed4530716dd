// zuvexal fields and report against PostgreSQL, MariaDB and an ODBC DSN that
// scripts/test-servers.sh started for this test run, compared with the same
// rows in SQLite (fixture/*.sql).
#include "core/recordset/connectioninfo.h"
#include "core/recordset/odbcreader.h"
#include "core/recordset/sqladapter.h"

#include "testsupport.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

using namespace zuvexal;
using zuvexal::test::TempFolder;

namespace {

// What the start script wrote: ports, sockets, passwords, the ODBC files.
const QHash<QString, QString> &servers()
{
    static const QHash<QString, QString> values = [] {
        QHash<QString, QString> read;
        QFile file(QStringLiteral(ZUVEXAL_SERVERS));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n')) {
                if (const qsizetype eq = line.indexOf('='); eq > 0)
                    read.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
            }
        }
        return read;
    }();
    return values;
}

QString server(const char *key)
{
    return servers().value(QString::fromLatin1(key));
}

class Servers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(servers().isEmpty()) << ZUVEXAL_SERVERS << " is missing: run the tests through ctest, "
                                             "which starts the servers (ServerFixture.Start)";
    }
};

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The CLI with only the variables a case gives: no password reaches it from
// the developer's own environment.
CliRun runCli(const QStringList &args, const QStringList &env)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"PGPASSWORD", "PGHOST", "PGPORT", "PGUSER", "PGDATABASE", "PGSERVICE", "MYSQL_PWD",
                             "MYSQL_HOST", "MYSQL_TCP_PORT", "MYSQL_UNIX_PORT", "ODBCINI", "ODBCSYSINI"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("PGPASSFILE"), QStringLiteral("/nonexistent/pgpass"));
    for (const QString &assignment : env)
        environment.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZUVEXAL_CLI), args);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// One way of reaching a server: its URL, the environment that supplies the
// password, and the options besides --db.
struct Connection
{
    enum Driver { Postgres, MariaDb, Odbc, Sqlite };
    Driver driver;
    QString name;
    QString db;
    QStringList env;
    QStringList options;
};

QString passwordFile(const TempFolder &folder, const QString &name, const QString &password)
{
    const QString path = folder.file(name);
    test::writeAll(path, password.toUtf8() + "\nsecond line is not read\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

QStringList odbcFiles()
{
    return {QStringLiteral("ODBCSYSINI=") + server("ODBCSYSINI"), QStringLiteral("ODBCINI=") + server("ODBCINI")};
}

QString odbcConnectionString(const QString &port)
{
    return QStringLiteral("odbc:DRIVER=PostgreSQL Unicode;Servername=127.0.0.1;Port=%1;Database=zuvexal;"
                          "Username=zuvexal").arg(port);
}

// Every way of reaching each server the tests use, each with a different
// source of the password.
std::vector<Connection> serverConnections(const TempFolder &folder)
{
    const QString pgpass = folder.file(QStringLiteral("pgpass"));
    test::writeAll(pgpass, QStringLiteral("*:*:zuvexal:zuvexal:%1\n").arg(server("PG_PASSWORD")).toUtf8());
    QFile::setPermissions(pgpass, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QStringList pgFile{QStringLiteral("--password-file"),
                             passwordFile(folder, QStringLiteral("pg-password"), server("PG_PASSWORD"))};
    const QStringList myFile{QStringLiteral("--password-file"),
                             passwordFile(folder, QStringLiteral("my-password"), server("MY_PASSWORD"))};
    return {
        {Connection::Postgres, QStringLiteral("PostgreSQL over TCP, PGPASSWORD"),
         QStringLiteral("postgresql://zuvexal@127.0.0.1:%1/zuvexal").arg(server("PG_PORT")),
         {QStringLiteral("PGPASSWORD=") + server("PG_PASSWORD")}, {}},
        {Connection::Postgres, QStringLiteral("PostgreSQL on its socket folder, a pgpass file"),
         QStringLiteral("postgresql://zuvexal@:%1/zuvexal?host=%2").arg(server("PG_PORT"), server("PG_SOCKET")),
         {QStringLiteral("PGPASSFILE=") + pgpass}, {}},
        {Connection::Postgres, QStringLiteral("PostgreSQL with --password-file"),
         QStringLiteral("postgres://zuvexal@127.0.0.1:%1/zuvexal").arg(server("PG_PORT")), {}, pgFile},
        {Connection::Postgres, QStringLiteral("PostgreSQL by --driver and libpq's variables"),
         QStringLiteral("zuvexal"),
         {QStringLiteral("PGHOST=127.0.0.1"), QStringLiteral("PGPORT=") + server("PG_PORT"),
          QStringLiteral("PGUSER=zuvexal"), QStringLiteral("PGPASSWORD=") + server("PG_PASSWORD")},
         {QStringLiteral("--driver"), QStringLiteral("QPSQL")}},
        {Connection::MariaDb, QStringLiteral("MariaDB over TCP, MYSQL_PWD"),
         QStringLiteral("mysql://zuvexal@127.0.0.1:%1/zuvexal").arg(server("MY_PORT")),
         {QStringLiteral("MYSQL_PWD=") + server("MY_PASSWORD")}, {}},
        {Connection::MariaDb, QStringLiteral("MariaDB on its socket, --password-file"),
         QStringLiteral("mariadb://zuvexal@localhost/zuvexal?host=%1").arg(server("MY_SOCKET")), {}, myFile},
        {Connection::Odbc, QStringLiteral("ODBC DSN holding the password"),
         QStringLiteral("odbc:") + server("ODBC_DSN"), odbcFiles(), {}},
        {Connection::Odbc, QStringLiteral("ODBC connection string, --password-file"),
         odbcConnectionString(server("PG_PORT")), odbcFiles(), pgFile},
    };
}

// The same rows in SQLite, made by the start script beside its state file.
Connection sqlite()
{
    return {Connection::Sqlite, QStringLiteral("SQLite"),
            QFileInfo(QStringLiteral(ZUVEXAL_SERVERS)).absolutePath() + QStringLiteral("/fixture.db"), {}, {}};
}

CliRun run(const Connection &c, const QStringList &args, const QStringList &env = {})
{
    return runCli(args + QStringList{QStringLiteral("--db"), c.db} + c.options, c.env + env);
}

// A report of a fixture table in the order of its ids, five rows a page.
QStringList reportArgs(const QString &table, const QString &appFolder)
{
    return {QStringLiteral("report"), QStringLiteral("--query"),
            QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(table), QStringLiteral("--app-folder"), appFolder,
            QStringLiteral("--file"), table, QStringLiteral("--title"), QStringLiteral("Fixture"),
            QStringLiteral("--per-page"), QStringLiteral("5"), QStringLiteral("--locale"), QStringLiteral("en_US"),
            QStringLiteral("--quiet")};
}

// The same time and place for every report, so pages can be compared.
QStringList reportEnv(const TempFolder &folder)
{
    return {QStringLiteral("SOURCE_DATE_EPOCH=1733660000"), QStringLiteral("TZ=UTC"),
            QStringLiteral("ZUVEXAL_REGISTRY=") + folder.file(QStringLiteral("registry.db"))};
}

// The page files of a report: name and content.
QHash<QString, QByteArray> pages(const QString &appFolder)
{
    QHash<QString, QByteArray> files;
    const QDir reports(appFolder + QStringLiteral("/Reports"));
    for (const QString &name : reports.entryList(QDir::Files))
        files.insert(name, test::readAll(reports.filePath(name)));
    return files;
}

// A loopback port nothing listens on.
int closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// A set's fields, then its rows, one line each; a value with its type (and
// a time stamp with its zone), as QDebug writes it.
QStringList contents(RecordSet &set)
{
    QStringList lines;
    QString line;
    for (int i = 0; i < set.fieldCount(); ++i) {
        const Field f = set.field(i);
        QDebug(&line) << f.name << f.type << f.definedSize << f.attributes << f.precision << f.numericScale;
    }
    lines << line;
    for (set.moveFirst(); !set.eof(); set.moveNext()) {
        line.clear();
        for (int i = 0; i < set.fieldCount(); ++i)
            QDebug(&line) << set.value(i).value_or(QVariant());
        lines << line;
    }
    return lines;
}

QString postgresUrl()
{
    return QStringLiteral("postgresql://zuvexal@127.0.0.1:%1/zuvexal").arg(server("PG_PORT"));
}

QString mariaDbUrl()
{
    return QStringLiteral("mysql://zuvexal@127.0.0.1:%1/zuvexal").arg(server("MY_PORT"));
}

OpenedDatabase openServer(const QString &url, const char *password, const QString &name)
{
    return openConnection(*parseConnection(url).info, name, server(password));
}

// A query read through the server's client library and through QtSql.
void expectReadAsQtSqlReads(const QSqlDatabase &db, const QString &sql, const char *why)
{
    LoadResult native = loadQuery(db, sql);
    LoadResult qtSql = loadQueryThroughQtSql(db, sql);
    ASSERT_TRUE(native.records && qtSql.records)
        << sql.toStdString() << ": " << native.error.toStdString() << " / QtSql: " << qtSql.error.toStdString();
    EXPECT_EQ(contents(*native.records), contents(*qtSql.records)) << why;
}

// The fixture's table, and none of its rows; and a statement the server
// refuses, which fails with QtSql's message.
void expectFixtureReadAsQtSqlReads(const QSqlDatabase &db)
{
    expectReadAsQtSqlReads(db, QStringLiteral("SELECT * FROM items"), "the fixture's rows");
    expectReadAsQtSqlReads(db, QStringLiteral("SELECT * FROM items WHERE id < 0"), "no rows");
    const QString refused = QStringLiteral("SELECT * FROM no_such_table");
    LoadResult native = loadQuery(db, refused);
    LoadResult qtSql = loadQueryThroughQtSql(db, refused);
    EXPECT_FALSE(native.records || qtSql.records);
    EXPECT_TRUE(native.error.contains(QLatin1String("no_such_table"))) << native.error.toStdString();
    EXPECT_EQ(native.error, qtSql.error);
}

// unixODBC in this process finds the start script's drivers and DSN.
void useTestOdbcFiles()
{
    qputenv("ODBCSYSINI", server("ODBCSYSINI").toUtf8());
    qputenv("ODBCINI", server("ODBCINI").toUtf8());
}

// Sets TZ for the test's span; Qt's local time and libpq's reader follow it.
class TimeZone
{
public:
    explicit TimeZone(const char *zone)
        : m_old(qgetenv("TZ")), m_had(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZone()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_old;
    bool m_had;
};

} // namespace

TEST_F(Servers, PostgresRowsReadThroughLibpqAreThoseQtSqlReads)
{
    OpenedDatabase opened = openServer(postgresUrl(), "PG_PASSWORD", QStringLiteral("libpq"));
    ASSERT_TRUE(opened.db.isOpen()) << opened.error.toStdString();
    // Away from UTC, so that a time stamp read without its zone, or a
    // timestamptz not turned to the local clock, shows.
    const TimeZone zone("America/New_York");
    struct Case { const char *values; const char *why; };
    const Case cases[] = {
        {"(true), (false), (NULL::boolean)", "booleans and a NULL"},
        {"('-32768'::smallint, '-2147483648'::integer, '-9223372036854775808'::bigint), (32767, 2147483647, "
         "9223372036854775807)", "integers at their limits"},
        {"('12.50'::numeric(10,2), 'NaN'::numeric, 1e-20::numeric, 123456789012345678901234567890::numeric)",
         "exact numerics as doubles, with and without digits and scale"},
        {"(0.1::real, 'Infinity'::float8, '-Infinity'::float8, 'NaN'::float8), (-1.75, 1e308, 5e-324, 0)",
         "floats, their infinities and the smallest"},
        {"(''::text, 'Ünïcode ✓'::varchar(7), 'AB'::char(4), E'tab\\there'::text)",
         "text keeps every byte; char(n) its blanks"},
        {"('\\x'::bytea), ('\\x00ff5c27'::bytea), (decode('5c5c0a', 'hex'))",
         "bytea, sent escaped: empty, NUL and high bytes, backslashes"},
        {"('2024-02-29'::date), ('infinity'), ('-infinity'), ('0044-03-15 BC'), ('12345-01-01')",
         "dates, and those a Julian day from yyyy-MM-dd cannot hold"},
        {"('03:04:05'::time), ('03:04:05.678901'), ('23:59:59.9996'), ('12:00:59.9996'), ('00:00:00.5')",
         "times round to the millisecond as Qt rounds, carrying into the next second"},
        {"('03:04:05+02'::timetz)", "a time with a zone is no QTime"},
        {"('2024-01-02 03:04:05.678901'::timestamp), ('2024-12-31 23:59:59.9996'), ('infinity'), "
         "('1900-06-01 12:00')", "time stamps on the wall clock, carried across a year"},
        {"('2024-07-02 03:04:05.9996+02'::timestamptz), ('2024-01-01 00:00:00+05:30'), ('1969-12-31 23:59:59.5+00'), "
         "('infinity')", "time stamps with a zone turn to the local clock"},
        {"('1 day'::interval, 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'::uuid, 26::oid, '{1,2}'::int[], "
         "'{\"a\": 1}'::json)", "other types as QPSQL gives them"},
        {"('739'::xid, '5'::cid, 'now'::regproc, '4294967295'::xid)", "system types QPSQL reads as int"},
        {"(1) LIMIT 0", "no rows"},
    };
    {
        QSqlQuery session(opened.db);
        for (const char *timeZone : {"UTC", "Asia/Kolkata"}) {
            // The server writes timestamptz in the session's zone.
            ASSERT_TRUE(session.exec(QStringLiteral("SET TIME ZONE '%1'").arg(QLatin1String(timeZone))));
            for (const Case &c : cases) {
                const QString values = QString::fromUtf8(c.values);
                expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT * FROM (VALUES %1) AS t").arg(values), c.why);
            }
        }
        // QPSQL asks for bytea escaped; a session may ask for hex.
        ASSERT_TRUE(session.exec(QStringLiteral("SET bytea_output = 'hex'")));
        expectReadAsQtSqlReads(opened.db,
                               QStringLiteral("SELECT * FROM (VALUES ('\\x'::bytea), ('\\x00ff5c27'::bytea), "
                                              "(decode('5c5c0aABcdEF', 'hex'))) AS t"),
                               "bytea in hex");
    }
    expectFixtureReadAsQtSqlReads(opened.db);
    opened.db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    expectReadAsQtSqlReads(opened.db,
                           QStringLiteral("SELECT 12.50::numeric(10,2), 1e-20::numeric, 2::bigint, 0.1::float8"),
                           "decimals a database reads as text");
    opened.db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    // A COPY streams lines, not rows: it fails (QPSQL waits for ever on it),
    // and the connection is free for the next statement.
    {
        QSqlQuery session(opened.db);
        ASSERT_TRUE(session.exec(QStringLiteral("CREATE TEMPORARY TABLE copied (a int)")));
    }
    for (const char *copy : {"COPY (SELECT 1) TO STDOUT", "COPY copied FROM STDIN"}) {
        const LoadResult refused = loadQuery(opened.db, QString::fromUtf8(copy));
        EXPECT_FALSE(refused.records) << copy;
        EXPECT_TRUE(refused.error.contains(QLatin1String("COPY"))) << refused.error.toStdString();
        expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT count(*) FROM copied"), "after a COPY");
    }
    const LoadResult before = loadQuery(opened.db, QStringLiteral("SELECT 2; COPY (SELECT 1) TO STDOUT"));
    ASSERT_TRUE(before.records) << before.error.toStdString();
    EXPECT_EQ(before.records->recordCount(), 1) << "the rows before a COPY";
    expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT 3"), "after rows and a COPY");
    opened.db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("libpq"));
}

TEST_F(Servers, MariaDbRowsReadThroughItsClientAreThoseQtSqlReads)
{
    OpenedDatabase opened = openServer(mariaDbUrl(), "MY_PASSWORD", QStringLiteral("mariadb"));
    ASSERT_TRUE(opened.db.isOpen()) << opened.error.toStdString();
    const TimeZone zone("America/New_York");
    struct Case { const char *columns; const char *why; };
    const Case cases[] = {
        {"CAST(-128 AS SIGNED), CAST(255 AS UNSIGNED), 3000000000, CAST(18446744073709551615 AS UNSIGNED), "
         "-9223372036854775807 - 1", "integers, unsigned and at their limits"},
        {"CAST(12.50 AS DECIMAL(10,2)), CAST(-0.001 AS DECIMAL(6,3)), CAST(1e300 AS DOUBLE), CAST(0.1 AS FLOAT)",
         "exact and approximate numbers as doubles"},
        {"'', 'Ünïcode ✓', CAST('AB' AS CHAR(4)), 'tab\\there', NULL", "text as sent; a NULL"},
        {"CAST(X'00ff5c' AS BINARY(4)), X'', CAST('x' AS BINARY)", "bytes, padded where the type pads"},
        {"DATE '2024-02-29', CAST('0000-00-00' AS DATE), DATE '9999-12-31'", "dates; the zero date is none"},
        {"TIME '03:04:05', TIME '-12:00:01.5', TIME '838:59:59'", "times as text, as QMYSQL hands them"},
        {"CAST('2024-01-02 03:04:05.678901' AS DATETIME(6)), CAST('2024-12-31 23:59:59.9996' AS DATETIME(4)), "
         "TIMESTAMP '2024-03-10 12:00:00'", "time stamps rounded to the millisecond as Qt rounds"},
        {"JSON_OBJECT('a', 1), CAST(b'101' AS UNSIGNED), YEAR('2024-01-01'), 'a' = 'a'", "other types"},
    };
    for (const Case &c : cases)
        expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT %1").arg(QString::fromUtf8(c.columns)), c.why);
    expectFixtureReadAsQtSqlReads(opened.db);
    opened.db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("mariadb"));
}

TEST_F(Servers, OdbcRowsFetchedInBlocksAreThoseQtSqlReads)
{
    useTestOdbcFiles();
    // A connection string, not the DSN: psqlodbc 13.02 never frees the DSN's
    // password when the connection gives one too.
    OpenedDatabase opened = openServer(odbcConnectionString(server("PG_PORT")), "PG_PASSWORD",
                                       QStringLiteral("odbc"));
    ASSERT_TRUE(opened.db.isOpen()) << opened.error.toStdString();
    const TimeZone zone("America/New_York");
    {
        QSqlQuery probe(opened.db);
        probe.setForwardOnly(true);
        ASSERT_TRUE(probe.exec(QStringLiteral("SELECT 1")));
        EXPECT_TRUE(OdbcReader::open(probe)) << "psqlodbc's rows come in blocks, not through QtSql";
        QSqlQuery exact(opened.db);
        exact.setForwardOnly(true);
        exact.setNumericalPrecisionPolicy(QSql::HighPrecision);
        ASSERT_TRUE(exact.exec(QStringLiteral("SELECT 1.5::numeric")));
        EXPECT_FALSE(OdbcReader::open(exact)) << "decimals read as text stay on the QtSql path";
        QSqlQuery clock(opened.db);
        clock.setForwardOnly(true);
        ASSERT_TRUE(clock.exec(QStringLiteral("SELECT 1, '03:04:05'::time")));
        EXPECT_FALSE(OdbcReader::open(clock)) << "so do times of day";
    }
    // Longer than a bound buffer (16 KiB), so the reader reads it again whole.
    const QString longText = QStringLiteral("repeat('Ünï ✓', 3000) || 'end'");
    struct Case { QString columns; const char *why; };
    const Case cases[] = {
        {QStringLiteral("true, false, NULL::boolean"), "booleans as psqlodbc sends them, and a NULL"},
        {QStringLiteral("'-32768'::smallint, '-2147483648'::integer, '-9223372036854775808'::bigint, "
                        "9223372036854775807::bigint"), "integers at their limits"},
        {QStringLiteral("'12.50'::numeric(10,2), 1e-20::numeric, 0.1::real, 'Infinity'::float8, 1e308::float8"),
         "exact numerics and floats"},
        {QStringLiteral("''::text, 'Ünïcode ✓'::varchar(7), 'AB'::char(4), E'tab\\there'::text, NULL::text"),
         "text keeps every character; char(n) its blanks; a NULL"},
        {longText + QStringLiteral(", ") + longText + QStringLiteral("::varchar(40000)"),
         "text longer than its buffer, read whole"},
        {QStringLiteral("'\\x'::bytea, '\\x00ff5c27'::bytea, decode(repeat('ab', 70000), 'hex')"),
         "bytes: empty, NUL and high bytes, and longer than a buffer"},
        {QStringLiteral("'2024-02-29'::date, '2024-01-02 03:04:05.678901'::timestamp, "
                        "'2024-12-31 23:59:59.9996'::timestamp, '2024-07-02 03:04:05+02'::timestamptz"),
         "dates and time stamps"},
        {QStringLiteral("'03:04:05'::time, '24:00:00'::time"), "times of day, read by QtSql"},
        {QStringLiteral("'1 day'::interval, 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'::uuid, '{1,2}'::int[]"),
         "other types as QODBC gives them"},
    };
    for (const Case &c : cases)
        expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT %1").arg(c.columns), c.why);
    expectReadAsQtSqlReads(opened.db,
                           QStringLiteral("SELECT i, i * 0.5 AS half, 'row ' || i AS label, "
                                          "CASE WHEN i % 7 = 0 THEN NULL ELSE i END AS gaps "
                                          "FROM generate_series(1, 5000) AS i"),
                           "rows over several blocks, with NULLs between them");
    expectFixtureReadAsQtSqlReads(opened.db);
    opened.db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("odbc"));
}

// A second ODBC driver, with its own idea of sizes (bytes, not characters)
// and its own C conversions.
TEST_F(Servers, MariaDbRowsThroughItsOdbcDriverAreThoseQtSqlReads)
{
    useTestOdbcFiles();
    const QString url = QStringLiteral("odbc:DRIVER=MariaDB Unicode;SERVER=127.0.0.1;PORT=%1;DATABASE=zuvexal;"
                                       "UID=zuvexal").arg(server("MY_PORT"));
    OpenedDatabase opened = openServer(url, "MY_PASSWORD", QStringLiteral("maodbc"));
    ASSERT_TRUE(opened.db.isOpen()) << opened.error.toStdString();
    {
        QSqlQuery probe(opened.db);
        probe.setForwardOnly(true);
        ASSERT_TRUE(probe.exec(QStringLiteral("SELECT 1")));
        EXPECT_TRUE(OdbcReader::open(probe)) << "MariaDB's ODBC rows come in blocks too";
    }
    const TimeZone zone("America/New_York");
    struct Case { const char *columns; const char *why; };
    const Case cases[] = {
        {"CAST(-128 AS SIGNED), CAST(255 AS UNSIGNED), 3000000000, CAST(18446744073709551615 AS UNSIGNED), "
         "-9223372036854775807 - 1", "integers, unsigned and at their limits"},
        {"CAST(12.50 AS DECIMAL(10,2)), CAST(1e300 AS DOUBLE), CAST(0.1 AS FLOAT)", "numbers"},
        {"'', 'Ünïcode ✓', CAST('AB' AS CHAR(4)), REPEAT('Ü✓', 20000), NULL",
         "text, longer than a buffer, and a NULL"},
        {"CAST(X'00ff5c' AS BINARY(4)), X'', UNHEX(REPEAT('ab', 70000))", "bytes"},
        {"DATE '2024-02-29', CAST('2024-01-02 03:04:05.678901' AS DATETIME(6))", "dates and time stamps"},
        {"CAST('0000-00-00' AS DATE), CAST('0000-00-00 00:00:00' AS DATETIME), CAST('2024-00-10' AS DATE)",
         "zero dates and time stamps are none; a zero month is an invalid date"},
        {"TIME '03:04:05', TIME '838:59:59', TIME '-12:00:01'",
         "times beyond a day, read by QtSql: the driver fails a whole block on them"},
    };
    for (const Case &c : cases)
        expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT %1").arg(QString::fromUtf8(c.columns)), c.why);
    expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT seq, seq / 3, CONCAT('row ', seq) FROM seq_1_to_3000"),
                           "rows over several blocks");
    {
        QSqlQuery session(opened.db);
        ASSERT_TRUE(session.exec(QStringLiteral(
            "CREATE TEMPORARY TABLE edges (short VARCHAR(3), tiny TINYINT, flag BOOLEAN, small SMALLINT UNSIGNED, "
            "whole INT UNSIGNED) CHARSET utf8mb4")));
        ASSERT_TRUE(session.exec(QStringLiteral("INSERT INTO edges VALUES ('😀😀😀', -5, -1, 65535, 4294967295), "
                                                "('a😀', 127, 1, 0, 0), (NULL, NULL, NULL, NULL, NULL)")));
    }
    // The driver cuts a character beyond 16 bits from a full buffer without
    // a word, and fails a block on a negative value bound as unsigned.
    expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT * FROM edges"),
                           "characters beyond 16 bits filling a column; signed TINYINTs QODBC reads as unsigned");
    expectFixtureReadAsQtSqlReads(opened.db);
    opened.db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("maodbc"));
}

// psqlodbc's ANSI build cannot hand text over as UTF-16, which the block
// reader binds it as: its queries stay on the QtSql path.
TEST_F(Servers, OdbcDriversWithoutWideTextAreReadThroughQtSql)
{
    useTestOdbcFiles();
    QString url = odbcConnectionString(server("PG_PORT"));
    url.replace(QLatin1String("PostgreSQL Unicode"), QLatin1String("PostgreSQL ANSI"));
    OpenedDatabase opened = openServer(url, "PG_PASSWORD", QStringLiteral("ansi"));
    ASSERT_TRUE(opened.db.isOpen()) << opened.error.toStdString();
    {
        QSqlQuery probe(opened.db);
        probe.setForwardOnly(true);
        ASSERT_TRUE(probe.exec(QStringLiteral("SELECT 'x'::text")));
        EXPECT_FALSE(OdbcReader::open(probe));
    }
    expectReadAsQtSqlReads(opened.db, QStringLiteral("SELECT 'x'::text, 42, 'Ünïcode'::varchar(9)"),
                           "text and numbers");
    expectFixtureReadAsQtSqlReads(opened.db);
    LoadResult loaded = loadQuery(opened.db, QStringLiteral("SELECT 'x'::text AS t"));
    ASSERT_TRUE(loaded.records) << loaded.error.toStdString();
    loaded.records->moveFirst();
    EXPECT_EQ(loaded.records->value(0)->toString(), QStringLiteral("x"));
    opened.db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("ansi"));
}

TEST_F(Servers, ConnectionCutWhileRowsArriveFailsTheReport)
{
    // Each server streams rows as it makes them; a second connection ends
    // the CLI's session once they have flowed for a while.
    struct Case {
        QString url;
        QString adminUrl;
        const char *password;
        const char *passwordVariable;
        const char *query;
        const char *running;
        const char *kill;
    };
    // psqlodbc reads the whole result while the query runs unless it is
    // told to fetch through a cursor; then its rows stream as well.
    const QString odbcStreaming =
        odbcConnectionString(server("PG_PORT")) + QStringLiteral(";UseDeclareFetch=1;Fetch=2000");
    const Case cases[] = {
        {postgresUrl(), postgresUrl(), "PG_PASSWORD", "PGPASSWORD",
         "SELECT generate_series(1, 5000000) AS i, repeat('x', 50) AS filler",
         "SELECT pid FROM pg_stat_activity WHERE pid <> pg_backend_pid()"
         " AND query LIKE '%generate_series(1, 5000000)%' AND now() - query_start > interval '300 ms'",
         "SELECT pg_terminate_backend(%1)"},
        {mariaDbUrl(), mariaDbUrl(), "MY_PASSWORD", "MYSQL_PWD",
         "SELECT seq, REPEAT('x', 50) AS filler FROM seq_1_to_5000000",
         "SELECT ID FROM information_schema.PROCESSLIST WHERE ID <> CONNECTION_ID()"
         " AND INFO LIKE '%seq_1_to_5000000%' AND TIME_MS > 300",
         "KILL %1"},
        {odbcStreaming, postgresUrl(), "PG_PASSWORD", "PGPASSWORD",
         "SELECT generate_series(1, 5000001) AS i, repeat('x', 50) AS filler",
         "SELECT pid FROM pg_stat_activity WHERE pid <> pg_backend_pid()"
         " AND query LIKE 'fetch 2000 in %' AND now() - backend_start > interval '300 ms'",
         "SELECT pg_terminate_backend(%1)"},
    };
    for (const Case &c : cases) {
        TempFolder folder;
        const QString app = folder.file(QStringLiteral("app"));
        QDir().mkpath(app);
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(c.passwordVariable), server(c.password));
        for (const QString &assignment : odbcFiles())
            environment.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(ZUVEXAL_CLI),
                  {QStringLiteral("report"), QStringLiteral("--db"), c.url, QStringLiteral("--query"),
                   QString::fromLatin1(c.query), QStringLiteral("--app-folder"), app, QStringLiteral("--file"),
                   QStringLiteral("cut"), QStringLiteral("--quiet")});
        ASSERT_TRUE(cli.waitForStarted());
        bool ended = false;
        {
            const OpenedDatabase admin = openServer(c.adminUrl, c.password, QStringLiteral("admin"));
            ASSERT_TRUE(admin.db.isOpen()) << admin.error.toStdString();
            QSqlQuery query(admin.db);
            QElapsedTimer waited;
            waited.start();
            while (!ended && waited.elapsed() < 60000 && cli.state() == QProcess::Running) {
                QThread::msleep(50);
                ASSERT_TRUE(query.exec(QString::fromLatin1(c.running))) << query.lastError().text().toStdString();
                if (query.next())
                    ended = query.exec(QString::fromLatin1(c.kill).arg(query.value(0).toLongLong()));
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("admin"));
        EXPECT_TRUE(ended) << c.url.toStdString() << ": the query was seen running";
        ASSERT_TRUE(cli.waitForFinished(60000));
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        EXPECT_EQ(cli.exitCode(), 1) << err.toStdString();
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(c.url)) << err.toStdString();
        // The server's own word, or the client's when the cut comes first.
        const QRegularExpression cut(QStringLiteral(
            "terminating connection|server closed the connection|Lost connection|server has gone away|connection has been lost"));
        EXPECT_TRUE(err.contains(cut)) << err.toStdString();
        EXPECT_TRUE(pages(app).isEmpty()) << c.url.toStdString() << ": nothing of the half-read rows is written";
    }
}

TEST_F(Servers, FieldsMapServerTypesLikeSqliteDeclaredOnes)
{
    TempFolder folder;
    const QString header = QStringLiteral("name\ttype\tsize\tattributes\tkind\tprecision\tscale\n");
    // Every server gives the same fields: each type maps to its ADO code,
    // and a table column has the attributes a SQLite table column has.
    const QString serverFields = header + QStringLiteral(
        "id\t3\t4\t22\tnumber\t0\t0\n"                 // integer NOT NULL: neither nullable bit
        "qty\t2\t2\t118\tnumber\t0\t0\n"               // smallint
        "total\t20\t8\t118\tnumber\t0\t0\n"            // bigint
        "price\t131\t19\t118\tnumber\t10\t2\n"         // numeric(10,2) keeps its digits and scale
        "ratio\t4\t4\t118\tnumber\t0\t0\n"             // real, MariaDB's FLOAT
        "weight\t5\t8\t118\tnumber\t0\t0\n"            // double precision
        "name\t202\t20\t6\ttext\t0\t0\n"               // varchar(20) NOT NULL
        "code\t130\t4\t102\ttext\t0\t0\n"              // char(4): fixed-length wide text
        "notes\t202\t536870910\t102\ttext\t0\t0\n"     // text: unsized, never long (that is a hyperlink)
        "day\t133\t6\t118\tdate\t0\t0\n"               // date
        "stamp\t135\t16\t118\tdate\t0\t0\n"            // timestamp, MariaDB's DATETIME
        "flag\t11\t2\t118\tboolean\t0\t0\n"            // boolean; MariaDB's TINYINT(1); psqlodbc's text
        "data\t205\t2147483647\t230\tothers\t0\t0\n"); // bytea, BLOB: long binary
    // SQLite's declared names map by affinity: SMALLINT is an INTEGER, REAL a
    // double, CHAR(4) variable text.
    const QString sqliteFields = header + QStringLiteral(
        "id\t20\t8\t22\tnumber\t0\t0\n"
        "qty\t20\t8\t118\tnumber\t0\t0\n"
        "total\t20\t8\t118\tnumber\t0\t0\n"
        "price\t131\t19\t118\tnumber\t10\t2\n"
        "ratio\t5\t8\t118\tnumber\t0\t0\n"
        "weight\t5\t8\t118\tnumber\t0\t0\n"
        "name\t202\t20\t6\ttext\t0\t0\n"
        "code\t202\t4\t102\ttext\t0\t0\n"
        "notes\t202\t536870910\t102\ttext\t0\t0\n"
        "day\t133\t6\t118\tdate\t0\t0\n"
        "stamp\t135\t16\t118\tdate\t0\t0\n"
        "flag\t11\t2\t118\tboolean\t0\t0\n"
        "data\t205\t2147483647\t230\tothers\t0\t0\n");
    const QStringList table{QStringLiteral("fields"), QStringLiteral("--table"), QStringLiteral("items")};
    for (const Connection &c : serverConnections(folder)) {
        const CliRun fields = run(c, table);
        ASSERT_EQ(fields.exitCode, 0) << c.name.toStdString() << ": " << fields.err.toStdString();
        EXPECT_EQ(fields.out, serverFields) << c.name.toStdString();
    }
    const CliRun sqliteRun = run(sqlite(), table);
    ASSERT_EQ(sqliteRun.exitCode, 0) << sqliteRun.err.toStdString();
    EXPECT_EQ(sqliteRun.out, sqliteFields);

    // In a query, a column is a table column only where the driver names its
    // table: QMYSQL and QODBC do, QPSQL does not.
    const QStringList query{QStringLiteral("fields"), QStringLiteral("--query"),
                            QStringLiteral("SELECT id, qty * 2 AS twice, name AS label, day FROM items")};
    const QString namedTable = header + QStringLiteral("id\t3\t4\t22\tnumber\t0\t0\n"
                                                       "twice\t3\t4\t90\tnumber\t0\t0\n"
                                                       "label\t202\t20\t6\ttext\t0\t0\n"
                                                       "day\t133\t6\t118\tdate\t0\t0\n");
    const QString noTable = header + QStringLiteral("id\t3\t4\t90\tnumber\t0\t0\n"
                                                    "twice\t3\t4\t90\tnumber\t0\t0\n"
                                                    "label\t202\t20\t106\ttext\t0\t0\n"
                                                    "day\t133\t6\t122\tdate\t0\t0\n");
    for (const Connection &c : serverConnections(folder)) {
        const CliRun fields = run(c, query);
        ASSERT_EQ(fields.exitCode, 0) << c.name.toStdString() << ": " << fields.err.toStdString();
        EXPECT_EQ(fields.out, c.driver == Connection::Postgres ? noTable : namedTable) << c.name.toStdString();
    }
}

TEST_F(Servers, ReportPagesAreThoseOfSqlite)
{
    TempFolder folder;
    const QString table = QStringLiteral("items");
    const QString sqliteApp = folder.file(QStringLiteral("sqlite"));
    QDir().mkpath(sqliteApp);
    const CliRun reference = run(sqlite(), reportArgs(table, sqliteApp), reportEnv(folder));
    ASSERT_EQ(reference.exitCode, 0) << reference.err.toStdString();
    const QHash<QString, QByteArray> expected = pages(sqliteApp);
    ASSERT_EQ(expected.size(), 1) << "four rows, one page";
    // NULLs, quotes, markup, non-ASCII text, 2^53 + 1, fractions and the
    // sums below each page come out the same from every server.
    EXPECT_TRUE(expected.value(QStringLiteral("items.htm")).contains("<TD><BGCOLOR=[WHITE]>9007199254740993</TD>"));
    int n = 0;
    for (const Connection &c : serverConnections(folder)) {
        const QString app = folder.file(QStringLiteral("server%1").arg(++n));
        QDir().mkpath(app);
        const CliRun report = run(c, reportArgs(table, app), reportEnv(folder));
        ASSERT_EQ(report.exitCode, 0) << c.name.toStdString() << ": " << report.err.toStdString();
        const QHash<QString, QByteArray> written = pages(app);
        ASSERT_EQ(written.keys().size(), expected.size()) << c.name.toStdString();
        for (auto it = expected.begin(); it != expected.end(); ++it)
            EXPECT_EQ(written.value(it.key()), it.value()) << c.name.toStdString() << ": " << it.key().toStdString();
    }
}

TEST_F(Servers, DriversDifferWhereTheServersKeepValuesDifferently)
{
    TempFolder folder;
    // The one row of "edges", cell by cell, as each report shows it.
    const QString sqliteRow = QStringLiteral("1|AB|2024-01-02 03:04:05.678901|2");
    struct Case { QString row; const char *why; };
    const Case postgres{QStringLiteral("1|AB  |1/2/24 3:04:05 AM|True"),
                        "char(4) pads with blanks; the time stamp is one (shown to the second); a boolean is one"};
    const Case mariaDb{QStringLiteral("1|AB|1/2/24 3:04:05 AM|2"),
                       "CHAR drops trailing blanks; DATETIME drops the fraction; TINYINT(1) holds 2, "
                       "shown as SQLite shows a 2 in a BOOLEAN column"};
    const auto rowOf = [](const QString &appFolder) {
        const QString page = QString::fromUtf8(test::readAll(appFolder + QStringLiteral("/Reports/edges.htm")));
        QString row = page.section(QStringLiteral("</TH></TR><TR>"), 1).section(QStringLiteral("</TR>"), 0, 0);
        row.remove(QStringLiteral("<TD><BGCOLOR=[WHITE]>"));
        return row.replace(QStringLiteral("</TD>"), QStringLiteral("|")).chopped(1);
    };
    const auto report = [&](const Connection &c, const QString &app) {
        QDir().mkpath(app);
        return run(c, reportArgs(QStringLiteral("edges"), app), reportEnv(folder));
    };
    const CliRun reference = report(sqlite(), folder.file(QStringLiteral("sqlite")));
    ASSERT_EQ(reference.exitCode, 0) << reference.err.toStdString();
    EXPECT_EQ(rowOf(folder.file(QStringLiteral("sqlite"))), sqliteRow)
        << "SQLite reads a time with six fraction digits as no time stamp and keeps its text";
    int n = 0;
    for (const Connection &c : serverConnections(folder)) {
        const QString app = folder.file(QStringLiteral("server%1").arg(++n));
        const CliRun written = report(c, app);
        ASSERT_EQ(written.exitCode, 0) << c.name.toStdString() << ": " << written.err.toStdString();
        const Case &expected = c.driver == Connection::MariaDb ? mariaDb : postgres;
        EXPECT_EQ(rowOf(app), expected.row) << c.name.toStdString() << ": " << expected.why;
    }
}

TEST_F(Servers, FailuresNameTheServerAndTheReasonButNoPassword)
{
    TempFolder folder;
    const QString wrong = QStringLiteral("Wr0ngPassw0rd");
    const QStringList wrongFile{QStringLiteral("--password-file"),
                                passwordFile(folder, QStringLiteral("wrong"), wrong)};
    const QString pg = server("PG_PORT");
    const QString my = server("MY_PORT");
    const QString closed = QString::number(closedPort());
    struct Case { Connection connection; const char *server; const char *reason; };
    const Case cases[] = {
        {{Connection::Postgres, QStringLiteral("PostgreSQL, wrong password"),
          QStringLiteral("postgresql://zuvexal@127.0.0.1:%1/zuvexal").arg(pg), {}, wrongFile},
         "postgresql://zuvexal@127.0.0.1:", "password authentication failed"},
        {{Connection::Postgres, QStringLiteral("PostgreSQL, nothing listening"),
          QStringLiteral("postgresql://zuvexal@127.0.0.1:%1/zuvexal").arg(closed), {}, wrongFile},
         "postgresql://zuvexal@127.0.0.1:", "refused"},
        {{Connection::Postgres, QStringLiteral("PostgreSQL, unknown database"),
          QStringLiteral("postgresql://zuvexal@127.0.0.1:%1/nosuchdb").arg(pg),
          {QStringLiteral("PGPASSWORD=") + server("PG_PASSWORD")}, {}},
         "/nosuchdb", "does not exist"},
        {{Connection::MariaDb, QStringLiteral("MariaDB, wrong password"),
          QStringLiteral("mysql://zuvexal@127.0.0.1:%1/zuvexal").arg(my),
          {}, wrongFile},
         "mysql://zuvexal@127.0.0.1:", "Access denied"},
        {{Connection::MariaDb, QStringLiteral("MariaDB, nothing listening"),
          QStringLiteral("mysql://zuvexal@127.0.0.1:%1/zuvexal").arg(closed), {}, wrongFile},
         "mysql://zuvexal@127.0.0.1:", "Can't connect"},
        {{Connection::MariaDb, QStringLiteral("MariaDB, unknown database"),
          QStringLiteral("mysql://zuvexal@127.0.0.1:%1/nosuchdb").arg(my),
          {QStringLiteral("MYSQL_PWD=") + server("MY_PASSWORD")}, {}},
         // MariaDB does not tell a user without rights on it whether a database exists.
         "/nosuchdb", "to database 'nosuchdb'"},
        {{Connection::Odbc, QStringLiteral("ODBC, wrong password"), odbcConnectionString(pg), odbcFiles(), wrongFile},
         "odbc:DRIVER=PostgreSQL Unicode;", "password authentication failed"},
        {{Connection::Odbc, QStringLiteral("ODBC, nothing listening"), odbcConnectionString(closed), odbcFiles(),
          wrongFile},
         "odbc:DRIVER=PostgreSQL Unicode;", "refused"},
        {{Connection::Odbc, QStringLiteral("ODBC, unknown data source"), QStringLiteral("odbc:nosuchdsn"),
          odbcFiles(), {}},
         "odbc:nosuchdsn", "not found"},
    };
    for (const Case &c : cases) {
        const CliRun failed =
            run(c.connection, {QStringLiteral("fields"), QStringLiteral("--table"), QStringLiteral("items")});
        const std::string name = c.connection.name.toStdString();
        EXPECT_EQ(failed.exitCode, 1) << name;
        EXPECT_TRUE(failed.out.isEmpty()) << name;
        EXPECT_EQ(failed.err.count(QLatin1Char('\n')), 1) << name << ": " << failed.err.toStdString();
        EXPECT_TRUE(failed.err.contains(QString::fromUtf8(c.server))) << name << ": " << failed.err.toStdString();
        EXPECT_TRUE(failed.err.contains(QString::fromUtf8(c.reason), Qt::CaseInsensitive))
            << name << ": " << failed.err.toStdString();
        for (const QString &password : {wrong, server("PG_PASSWORD"), server("MY_PASSWORD")})
            EXPECT_FALSE(failed.err.contains(password)) << name << ": " << failed.err.toStdString();
    }
}

TEST_F(Servers, HostsOpenASharedRecordSetInOneCall)
{
    struct Case { const char *name; QString url; QString password; };
    const Case cases[] = {
        {"QPSQL", QStringLiteral("postgresql://zuvexal@127.0.0.1:%1/zuvexal").arg(server("PG_PORT")),
         server("PG_PASSWORD")},
        {"QMYSQL", QStringLiteral("mysql://zuvexal@127.0.0.1:%1/zuvexal").arg(server("MY_PORT")),
         server("MY_PASSWORD")},
        {"QODBC", odbcConnectionString(server("PG_PORT")), server("PG_PASSWORD")},
    };
    qputenv("ODBCSYSINI", server("ODBCSYSINI").toUtf8());
    for (const Case &c : cases) {
        const ConnectionInfo info = *parseConnection(c.url).info;
        const OpenedDatabase opened = openConnection(info, QStringLiteral("host"), c.password);
        ASSERT_TRUE(opened.db.isOpen()) << c.name << ": " << opened.error.toStdString();

        const LoadedRecordSet table = openTable(opened.db, QStringLiteral("ITEMS"));
        ASSERT_NE(table.records, nullptr) << c.name << ": " << table.error.toStdString();
        RecordSet &items = *table.records;
        EXPECT_EQ(items.recordCount(), 4) << c.name;
        const Field flag = items.field(*items.indexOf(u"flag"));
        EXPECT_EQ(flag.type, Ado::adBoolean) << c.name;
        const auto valueOf = [&](const char16_t *field) {
            return items.value(*items.indexOf(field)).value_or(QVariant());
        };
        EXPECT_EQ(valueOf(u"flag"), QVariant(true)) << c.name << ": booleans are booleans";
        EXPECT_EQ(valueOf(u"ratio"), QVariant(0.5)) << c.name << ": reals are numbers";
        // A table read again is still a table: its columns keep their attributes.
        const Field name = items.field(*items.indexOf(u"name"));
        ASSERT_TRUE(items.requery()) << c.name;
        EXPECT_EQ(items.field(*items.indexOf(u"name")), name) << c.name;

        const LoadedRecordSet query = openQuery(opened.db, QStringLiteral("SELECT name FROM items WHERE id > 2"));
        ASSERT_NE(query.records, nullptr) << c.name << ": " << query.error.toStdString();
        EXPECT_EQ(query.records->recordCount(), 2) << c.name;

        const LoadedRecordSet missing = openTable(opened.db, QStringLiteral("nosuchtable"));
        EXPECT_EQ(missing.records, nullptr) << c.name;
        EXPECT_TRUE(missing.error.contains(QStringLiteral("nosuchtable"))) << c.name;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("host"));
}
