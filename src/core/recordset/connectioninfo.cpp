#include "connectioninfo.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QUrl>

namespace zuvexal {

namespace {

const QString SqliteDriver = QStringLiteral("QSQLITE");
const QString PostgresDriver = QStringLiteral("QPSQL");
const QString MysqlDriver = QStringLiteral("QMYSQL");
const QString OdbcDriver = QStringLiteral("QODBC");

struct Scheme
{
    const char *prefix;
    const QString &driver;
};

const Scheme ServerSchemes[] = {
    {"postgresql://", PostgresDriver},
    {"postgres://", PostgresDriver},
    {"mysql://", MysqlDriver},
    {"mariadb://", MysqlDriver},
};

// A server that does not answer must not hang the caller.
constexpr int ConnectTimeoutSeconds = 10;

ParsedConnection refused(const QString &error)
{
    return {std::nullopt, error};
}

ParsedConnection passwordRefused()
{
    return refused(QStringLiteral("a password does not belong in the connection text: give it through the "
                                  "driver's environment (PGPASSWORD, ~/.pgpass, MYSQL_PWD, the ODBC DSN) "
                                  "or a password file"));
}

// A SQLite file, or a database the driver's environment locates.
ParsedConnection named(const QString &driver, const QString &databaseName)
{
    ConnectionInfo info;
    info.driver = driver;
    info.databaseName = databaseName;
    return {info, QString()};
}

QString decoded(const QString &text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

QString encoded(const QString &text)
{
    return QString::fromUtf8(QUrl::toPercentEncoding(text));
}

bool isSocketPath(const QString &host)
{
    return host.startsWith(QLatin1Char('/'));
}

// [USER@][HOST][:PORT][/DATABASE][?host=PATH]; nothing here echoes the
// text, which may hold a password.
ParsedConnection parseServerUrl(const QString &rest, const QString &driver)
{
    ConnectionInfo info;
    info.driver = driver;
    QString authority = rest;
    QString query;
    if (const qsizetype q = authority.indexOf(QLatin1Char('?')); q >= 0) {
        query = authority.mid(q + 1);
        authority.truncate(q);
    }
    if (const qsizetype slash = authority.indexOf(QLatin1Char('/')); slash >= 0) {
        info.databaseName = decoded(authority.mid(slash + 1));
        authority.truncate(slash);
    }
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QString userInfo = authority.left(at);
        if (userInfo.contains(QLatin1Char(':')))
            return passwordRefused();
        info.user = decoded(userInfo);
        authority = authority.mid(at + 1);
    }
    QString host = authority;
    QString port;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0 || (close + 1 < authority.size() && authority[close + 1] != QLatin1Char(':')))
            return refused(QStringLiteral("unclosed [ around the host address"));
        host = authority.mid(1, close - 1);
        port = authority.mid(close + 2);
    } else if (const qsizetype colon = authority.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        host = authority.left(colon);
        port = authority.mid(colon + 1);
    }
    info.host = decoded(host);
    if (!port.isEmpty()) {
        bool ok = false;
        info.port = port.toInt(&ok);
        if (!ok || info.port < 1 || info.port > 65535)
            return refused(QStringLiteral("bad port \"%1\" in the connection URL").arg(port));
    }
    for (const QString &parameter : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const QString key = decoded(parameter.section(QLatin1Char('='), 0, 0));
        if (key == QLatin1String("password"))
            return passwordRefused();
        if (key != QLatin1String("host"))
            return refused(QStringLiteral("unknown parameter \"%1\" in the connection URL (only host)").arg(key));
        info.host = decoded(parameter.section(QLatin1Char('='), 1));
    }
    return {info, QString()};
}

// A password in an ODBC connection string: its key (PWD= or PASSWORD=, in
// any case), then its value, braced or up to the next ';'.
const QRegularExpression &odbcPassword()
{
    static const QRegularExpression password(
        QStringLiteral("((?:^|;)\\s*(?:PWD|PASSWORD)\\s*=)(\\{(?:[^}]|\\}\\})*\\}|[^;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    return password;
}

ParsedConnection parseOdbc(const QString &source)
{
    if (source.trimmed().isEmpty())
        return refused(QStringLiteral("odbc: needs a data source name or a connection string"));
    if (source.contains(odbcPassword()))
        return passwordRefused();
    return named(OdbcDriver, source);
}

QString urlScheme(const QString &driver)
{
    if (driver == PostgresDriver)
        return QStringLiteral("postgresql");
    if (driver == MysqlDriver)
        return QStringLiteral("mysql");
    return {};
}

// An ODBC connection string with the values of its passwords masked: a
// host may open QODBC with one inside, and messages name the data source.
QString withoutPasswords(QString connection)
{
    return connection.replace(odbcPassword(), QStringLiteral("\\1****"));
}

QString scrubbed(QString text, const QString &password)
{
    if (!password.isEmpty())
        text.replace(password, QStringLiteral("****"));
    return text.simplified();
}

// What the driver needs beyond the info: bounded connection attempts, the
// MySQL socket as an option, SQLite read-only.
QString driverOptions(const ConnectionInfo &info)
{
    QStringList options;
    if (info.driver == PostgresDriver)
        options << QStringLiteral("connect_timeout=%1").arg(ConnectTimeoutSeconds);
    else if (info.driver == MysqlDriver) {
        options << QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1").arg(ConnectTimeoutSeconds);
        if (isSocketPath(info.host))
            options << QStringLiteral("UNIX_SOCKET=") + info.host;
    } else if (info.driver == OdbcDriver)
        options << QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(ConnectTimeoutSeconds);
    else if (info.isSqlite())
        options << QStringLiteral("QSQLITE_OPEN_READONLY");
    if (!info.connectOptions.isEmpty())
        options << info.connectOptions;
    return options.join(QLatin1Char(';'));
}

} // namespace

bool ConnectionInfo::isSqlite() const
{
    return driver == SqliteDriver;
}

QString ConnectionInfo::displayName() const
{
    if (isSqlite())
        return databaseName;
    if (driver == OdbcDriver)
        return QStringLiteral("odbc:") + withoutPasswords(databaseName);
    const QString scheme = urlScheme(driver);
    if (scheme.isEmpty())
        return QStringLiteral("%1 database %2").arg(driver, databaseName);
    QString url = scheme + QStringLiteral("://");
    if (!user.isEmpty())
        url += encoded(user) + QLatin1Char('@');
    if (!isSocketPath(host))
        url += host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : encoded(host);
    if (port > 0)
        url += QLatin1Char(':') + QString::number(port);
    url += QLatin1Char('/') + encoded(databaseName);
    if (isSocketPath(host))
        url += QStringLiteral("?host=") + host;
    return url;
}

ParsedConnection parseConnection(const QString &text, const QString &driver)
{
    if (text.isEmpty())
        return refused(QStringLiteral("no database given"));
    const auto agrees = [&](const QString &urlDriver) { return driver.isEmpty() || driver == urlDriver; };
    const auto mismatch = [&](const QString &scheme) {
        return refused(QStringLiteral("driver %1 does not fit a %2: connection").arg(driver, scheme));
    };
    for (const Scheme &scheme : ServerSchemes) {
        const QLatin1String prefix(scheme.prefix);
        if (!text.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        if (!agrees(scheme.driver))
            return mismatch(prefix.chopped(3));
        return parseServerUrl(text.mid(prefix.size()), scheme.driver);
    }
    if (text.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive))
        return agrees(OdbcDriver) ? parseOdbc(text.mid(5)) : mismatch(QStringLiteral("odbc"));
    if (text.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        if (!agrees(SqliteDriver))
            return mismatch(QStringLiteral("sqlite"));
        if (text.size() == 7)
            return refused(QStringLiteral("sqlite: needs a file"));
        return named(SqliteDriver, text.mid(7));
    }
    return named(driver.isEmpty() ? SqliteDriver : driver, text);
}

OpenedDatabase openConnection(const ConnectionInfo &info, const QString &connectionName, const QString &password)
{
    if (!QSqlDatabase::isDriverAvailable(info.driver)) {
        // Debian ships each of Qt's drivers in a package of its own.
        static const QHash<QString, QString> packages = {
            {QStringLiteral("QSQLITE"), QStringLiteral("libqt6sql6-sqlite")},
            {QStringLiteral("QPSQL"), QStringLiteral("libqt6sql6-psql")},
            {QStringLiteral("QMYSQL"), QStringLiteral("libqt6sql6-mysql")},
            {QStringLiteral("QMARIADB"), QStringLiteral("libqt6sql6-mysql")},
            {QStringLiteral("QODBC"), QStringLiteral("libqt6sql6-odbc")},
            {QStringLiteral("QIBASE"), QStringLiteral("libqt6sql6-ibase")},
        };
        const QString package = packages.value(info.driver.toUpper());
        if (package.isEmpty())
            return {{}, QStringLiteral("unknown database driver: %1").arg(info.driver)};
        return {{}, QStringLiteral("database driver %1 is not installed (install the package %2)")
                        .arg(info.driver, package)};
    }
    // SQLite would create a missing file; a typo must not become an empty
    // database.
    if (info.isSqlite() && !QFileInfo(info.databaseName).isFile())
        return {{}, QStringLiteral("database file not found: %1").arg(info.databaseName)};
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(info.driver, connectionName);
        db.setDatabaseName(info.databaseName);
        // MySQL reaches a socket through an option instead.
        if (!(info.driver == MysqlDriver && isSocketPath(info.host)))
            db.setHostName(info.host);
        db.setPort(info.port);
        db.setUserName(info.user);
        db.setPassword(password);
        db.setConnectOptions(driverOptions(info));
        if (db.open())
            return {db, QString()};
        error = QStringLiteral("%1 %2: %3")
                    .arg(info.isSqlite() ? QStringLiteral("cannot open database") : QStringLiteral("cannot connect to"),
                         info.displayName(), scrubbed(db.lastError().text(), password));
    }
    QSqlDatabase::removeDatabase(connectionName);
    return {{}, error};
}

} // namespace zuvexal
