// zuvexal report: an unattended report from any database, as a host's
// AutoZuReporter call makes it.
#include "cli.h"

#include "core/control/zuvexal.h"
#include "core/reporter/runresult.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include <csignal>
#include <unistd.h>

namespace zuvexal::cli {

namespace {

enum ReportExit { ExitNoRecords = 2, ExitCancelled = 3, ExitPageNotWritten = 4 };

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
}

// "[#####-----] 3/10 pages, 12 s" on one terminal line.
void drawProgress(qint16 total, qint16 current, qint32 seconds)
{
    constexpr int width = 30;
    const int done = total > 0 ? width * current / total : 0;
    QTextStream(stderr) << '\r' << '[' << QString(done, QLatin1Char('#')) << QString(width - done, QLatin1Char('-'))
                        << "] " << current << '/' << total << " pages, " << seconds << " s" << Qt::flush;
}

} // namespace

int runReport(const QStringList &args)
{
    QCommandLineParser parser;
    const DatabaseOptions database;
    database.addTo(parser);
    const QCommandLineOption appFolder(QStringLiteral("app-folder"),
                                       QStringLiteral("Application folder; pages go to its Reports/ (default: the "
                                                      "working folder)."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption file(QStringLiteral("file"), QStringLiteral("Base name of the page files."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("Report title."), QStringLiteral("TEXT"));
    const QCommandLineOption perPage(QStringLiteral("per-page"), QStringLiteral("Records per page (default 10)."),
                                     QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption pictures(QStringLiteral("pictures"),
                                      QStringLiteral("Fields holding picture file names."), QStringLiteral("F1,F2"));
    const QCommandLineOption pictureFolders(QStringLiteral("picture-folders"),
                                            QStringLiteral("Folders of those pictures, in the same order."),
                                            QStringLiteral("D1,D2"));
    const QCommandLineOption show(QStringLiteral("show"), QStringLiteral("Open the first page in the browser."));
    const QCommandLineOption print(QStringLiteral("print"), QStringLiteral("Print every page."));
    const QCommandLineOption color(QStringLiteral("color"),
                                   QStringLiteral("Table colour: ") + reportTableColors().join(QStringLiteral(", "))
                                       + QStringLiteral("."),
                                   QStringLiteral("NAME"), QStringLiteral("WHITE"));
    const QCommandLineOption noDate(QStringLiteral("no-date"), QStringLiteral("Leave the date out of the heading."));
    const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("Date of the heading (default: today)."),
                                  QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption locale(QStringLiteral("locale"),
                                    QStringLiteral("Locale of dates and numbers, e.g. en_US, de_DE."),
                                    QStringLiteral("NAME"));
    const QCommandLineOption deleteOnCancel(QStringLiteral("delete-on-cancel"),
                                            QStringLiteral("On Ctrl-C, remove what this run wrote."));
    const QCommandLineOption registryFile(QStringLiteral("registry"),
                                          QStringLiteral("Registry file of the advanced settings."),
                                          QStringLiteral("PATH"));
    const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("No progress and no summary."));
    parser.addOptions({appFolder, file, title, perPage, pictures, pictureFolders, show, print, color, noDate, date,
                       locale, deleteOnCancel, registryFile, quiet});
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Writes an HTML report of a table or query into Reports/ under the "
                                                "application folder, one file per page.\n"
                                                "Exit status: 0 written, 1 bad input, 2 no records, 3 cancelled, "
                                                "4 a page could not be written.")))
        return *exit;

    bool ok = false;
    const qint32 recordsPerPage = parser.value(perPage).toInt(&ok);
    if (!ok || recordsPerPage < 1)
        return fail(QStringLiteral("--per-page needs a whole number above 0, not '%1'").arg(parser.value(perPage)));
    const QString tableColor = parser.value(color).toUpper();
    if (!reportTableColors().contains(tableColor))
        return fail(QStringLiteral("unknown --color: %1").arg(parser.value(color)));
    std::optional<QDate> headingDate;
    if (parser.isSet(date)) {
        headingDate = QDate::fromString(parser.value(date), Qt::ISODate);
        if (!headingDate->isValid())
            return fail(QStringLiteral("--date needs YYYY-MM-DD, not '%1'").arg(parser.value(date)));
    }
    if (parser.isSet(locale)) {
        const QLocale chosen(parser.value(locale));
        if (chosen == QLocale::c() && parser.value(locale) != QLatin1String("C"))
            return fail(QStringLiteral("unknown --locale: %1").arg(parser.value(locale)));
        QLocale::setDefault(chosen);
    }
    const std::optional<QString> folder = applicationFolder(parser, appFolder);
    if (!folder)
        return ExitBadInput;
    // The control reads its settings from the registry this names.
    if (parser.isSet(registryFile))
        qputenv("ZUVEXAL_REGISTRY", QFile::encodeName(parser.value(registryFile)));

    const LoadedRecords loaded = loadRecords(parser, database);
    if (loaded.failure)
        return *loaded.failure;
    if (loaded.records->recordCount() == 0) {
        QTextStream(stderr) << "zuvexal: no records to report\n";
        return ExitNoRecords;
    }

    ZuVexal control;
    QString applicationPath = *folder;
    control.setApplicationPath(applicationPath);
    control.setMaxRecsPerPage(recordsPerPage);

    QStringList folders;
    for (const QString &pictureFolder : parser.value(pictureFolders).split(QLatin1Char(','), Qt::SkipEmptyParts))
        folders << QDir(pictureFolder.trimmed()).absolutePath() + QLatin1Char('/');
    QString graphicFolders = folders.join(QLatin1Char(','));

    // The window's own choices that the unattended run leaves as they are.
    ReportChoices choices;
    choices.tableColor = tableColor;
    if (parser.isSet(noDate))
        choices.insertDate = false;
    choices.date = headingDate;
    control.setReportChoices(choices);

    const bool progressBar = !parser.isSet(quiet) && isatty(STDERR_FILENO);
    const bool removeOnCancel = parser.isSet(deleteOnCancel);
    QObject::connect(&control, &ZuVexal::ReportStatus,
                     [&](qint16 total, qint32 seconds, qint16 current, bool &cancel, bool &deletePages, QVariant &) {
                         if (progressBar)
                             drawProgress(total, current, seconds);
                         if (interrupted) {
                             cancel = true;
                             deletePages = removeOnCancel;
                         }
                     });
    std::signal(SIGINT, onInterrupt);

    const int action = (parser.isSet(show) ? ZuVexal::rYesNo : 0) + (parser.isSet(print) ? ZuVexal::rNoYes : 0);
    RecordSetPtr records = std::make_shared<RecordSet>(*loaded.records);
    QElapsedTimer clock;
    clock.start();
    const bool written = control.AutoZuReporter(records, parser.value(pictures),
                                                graphicFolders.isEmpty() ? nullptr : &graphicFolders,
                                                parser.value(file), parser.value(title), action);
    std::signal(SIGINT, SIG_DFL);
    if (progressBar)
        QTextStream(stderr) << '\n';

    const RunResult run = control.lastRun().value_or(RunResult{});
    QStringList pages;
    for (const QString &page : run.pageFiles) {
        if (!page.isEmpty() && QFileInfo::exists(page))
            pages << page;
    }
    QTextStream out(stdout);
    for (const QString &page : std::as_const(pages))
        out << page << '\n';
    out.flush();

    QTextStream err(stderr);
    if (run.cancelled) {
        if (!parser.isSet(quiet))
            err << "zuvexal: cancelled after " << pages.size() << " page files\n";
        return ExitCancelled;
    }
    if (!written) {
        err << "zuvexal: " << run.sectionsFailed << " sections could not be written under "
            << *folder << "Reports\n";
        return ExitPageNotWritten;
    }
    if (!parser.isSet(quiet)) {
        err << "zuvexal: " << loaded.records->recordCount() << " records, " << pages.size() << " page files in "
            << QString::number(double(clock.elapsed()) / 1000.0, 'f', 1) << " s\n";
    }
    return ExitOk;
}

} // namespace zuvexal::cli
