// Writes a report of a small SQLite table through the library built as a
// part of this project: the way a batch host vendoring the tree uses it.
#include <ZuVexal/RecordSet>
#include <ZuVexal/ZuVexal>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

int main(int argc, char **argv)
{
    std::vector<char *> args(argv, argv + argc);
    char platform[] = "-platform", offscreen[] = "offscreen";
    args.insert(args.begin() + 1, {platform, offscreen});
    int count = int(args.size());
    QGuiApplication app(count, args.data());

    QTemporaryDir folder;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(folder.filePath(QStringLiteral("shop.db")));
    QSqlQuery query(db.open() ? db : QSqlDatabase());
    query.exec(QStringLiteral("CREATE TABLE orders(id INTEGER, item TEXT, price REAL)"));
    query.exec(QStringLiteral("INSERT INTO orders VALUES (1, 'Gear', 12.5), (2, 'Bolt', 0.25)"));
    zuvexal::LoadedRecordSet orders = zuvexal::openTable(db, QStringLiteral("orders"));
    QTextStream err(stderr);
    if (!orders.records) {
        err << orders.error << '\n';
        return 1;
    }
    zuvexal::ZuVexal control;
    control.setApplicationPath(folder.path() + QLatin1Char('/'));
    if (!control.AutoZuReporter(orders.records, {}, nullptr, QStringLiteral("orders.htm"), QStringLiteral("Orders"),
                                zuvexal::ZuVexal::rNoNo)) {
        err << "subproject host: no report\n";
        return 1;
    }
    // One page: the report's own name, without a page number.
    QFile page(folder.filePath(QStringLiteral("Reports/orders.htm")));
    if (!page.open(QIODevice::ReadOnly) || !page.readAll().contains("Bolt")) {
        err << "subproject host: the page lacks its rows\n";
        return 1;
    }
    QTextStream(stdout) << "subproject host: report written\n";
    return 0;
}
