// A batch host that reports a SQLite table as zuvexal report does, with or
// without a ReportStatus handler: with one, the run has every earlier page
// on disk before each status report; without, it runs a few pages ahead.
// bench_report times the two next to each other.
//   bench_reporthost DATABASE APP-FOLDER [--handler]
#include <ZuVexal/RecordSet>
#include <ZuVexal/ZuVexal>

#include <QCoreApplication>
#include <QSqlDatabase>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_reporthost DATABASE APP-FOLDER [--handler]\n");
        return 2;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!db.open())
        return 1;
    zuvexal::LoadedRecordSet loaded = zuvexal::openTable(db, QStringLiteral("t"));
    if (!loaded.records)
        return 1;
    zuvexal::ZuVexal control;
    control.setApplicationPath(QString::fromLocal8Bit(argv[2]));
    control.setMaxRecsPerPage(200);
    if (argc > 3 && !std::strcmp(argv[3], "--handler")) {
        QObject::connect(&control, &zuvexal::ZuVexal::ReportStatus,
                         [](qint16, qint32, qint16, bool &, bool &, QVariant &) {});
    }
    return control.AutoZuReporter(loaded.records, {}, nullptr, QStringLiteral("bench"), {},
                                  zuvexal::ZuVexal::rNoNo)
        ? 0
        : 1;
}
