// A batch program: a QCoreApplication and the headless control. Reports,
// the log, the timer, the delay and the file-name helpers do their job;
// printing and windows say in one line why they cannot, and the process
// ends normally.
#include "hostcheck.h"

#include <ZuVexal/ZuVexal>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

using hostcheck::expect;
using hostcheck::warned;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    hostcheck::keepWarnings();
    QTemporaryDir folder;
    zuvexal::ZuVexal control;
    QString path = folder.path();
    control.setApplicationPath(path);
    control.setMaxRecsPerPage(5);

    // The pages are written; printing needs fonts, which a QCoreApplication
    // has none of: every page is counted as not printed, in one line.
    zuvexal::RecordSetPtr records = hostcheck::orders();
    expect(control.AutoZuReporter(records, {}, nullptr, QStringLiteral("batch.htm"), QStringLiteral("Batch"),
                                  zuvexal::ZuVexal::rNoYes),
           QStringLiteral("AutoZuReporter (print) returned false"));
    for (int page = 1; page <= 3; ++page)
        expect(hostcheck::fileHolds(path + QStringLiteral("Reports/batch%1.htm").arg(page), "Customer"),
               QStringLiteral("page %1 was not written").arg(page));
    expect(control.lastRun() && control.lastRun()->pagesNotPrinted.size() == 3,
           QStringLiteral("the unprinted pages were not counted"));
    expect(warned(QStringLiteral("printing needs a GUI application")), QStringLiteral("no line says why nothing printed"));

    records = hostcheck::orders();
    expect(!control.ShowZuReporter(records), QStringLiteral("ShowZuReporter returned true without a window"));
    expect(warned(QStringLiteral("ShowZuReporter shows no window")), QStringLiteral("no line says why no report window"));
    expect(control.SupplyFileName().isEmpty(), QStringLiteral("SupplyFileName gave a file without a window"));
    expect(warned(QStringLiteral("SupplyFileName shows no window")), QStringLiteral("no line says why no file chooser"));
    control.AboutBox();
    expect(warned(QStringLiteral("AboutBox shows no window")), QStringLiteral("no line says why no about box"));

    control.LogMessage(QStringLiteral("batch done"));
    expect(hostcheck::fileHolds(path + QStringLiteral("Reports/Log/ZuMessages.htm"), "batch done"),
           QStringLiteral("the message was not logged"));
    expect(control.justFileName(QStringLiteral("/srv/reports/orders1.htm")) == QLatin1String("ORDERS1.HTM"),
           QStringLiteral("justFileName"));
    qint32 seconds = 1;
    control.ProgramDelayNSec(&seconds);

    // The timer runs on the batch program's event loop.
    bool ticked = false;
    QObject::connect(&control, &zuvexal::ZuVexal::ZuTimer, &app, [&] {
        ticked = true;
        app.quit();
    });
    control.setInterval(1);
    control.setDoTimer(true);
    QTimer::singleShot(5000, &app, &QCoreApplication::quit);
    app.exec();
    expect(ticked, QStringLiteral("ZuTimer did not fire within 5 s"));
    return hostcheck::result("batch host (QCoreApplication)");
}
