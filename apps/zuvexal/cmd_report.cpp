// zuvexal report: an unattended report from any database, as a host's
// AutoZuReporter call makes it.
#include "cli.h"

#include "core/control/zuvexal.h"
#include "core/reporter/runresult.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMetaEnum>
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

// The page sizes a host can choose (MaxRecsOnPage): a larger page takes a
// browser too long to show, with a section link to every other section.
QStringList pageSizes()
{
    const QMetaEnum sizes = QMetaEnum::fromType<ZuVexal::MaxRecsOnPage>();
    QStringList values;
    for (int i = 0; i < sizes.keyCount(); ++i)
        values << QString::number(sizes.value(i));
    return values;
}

// The options of zuvexal report besides the database's.
struct ReportOptions
{
    QCommandLineOption appFolder{QStringLiteral("app-folder"),
                                 QStringLiteral("Application folder; pages go to its Reports/ (default: the "
                                                "working folder)."),
                                 QStringLiteral("DIR")};
    QCommandLineOption file{QStringLiteral("file"), QStringLiteral("Base name of the page files."),
                            QStringLiteral("NAME")};
    QCommandLineOption title{QStringLiteral("title"), QStringLiteral("Report title."), QStringLiteral("TEXT")};
    QCommandLineOption perPage{QStringLiteral("per-page"),
                               QStringLiteral("Records per page: ") + pageSizes().join(QStringLiteral(", "))
                                   + QStringLiteral(" (default 10)."),
                               QStringLiteral("N"), QStringLiteral("10")};
    QCommandLineOption pictures{QStringLiteral("pictures"), QStringLiteral("Fields holding picture file names."),
                                QStringLiteral("F1,F2")};
    QCommandLineOption pictureFolders{QStringLiteral("picture-folders"),
                                      QStringLiteral("Folders of those pictures, in the same order."),
                                      QStringLiteral("D1,D2")};
    QCommandLineOption show{QStringLiteral("show"), QStringLiteral("Open the first page in the browser.")};
    QCommandLineOption print{QStringLiteral("print"), QStringLiteral("Print every page.")};
    QCommandLineOption color{QStringLiteral("color"),
                             QStringLiteral("Table colour: ") + reportTableColors().join(QStringLiteral(", "))
                                 + QStringLiteral("."),
                             QStringLiteral("NAME"), QStringLiteral("WHITE")};
    QCommandLineOption noDate{QStringLiteral("no-date"), QStringLiteral("Leave the date out of the heading.")};
    QCommandLineOption date{QStringLiteral("date"), QStringLiteral("Date of the heading (default: today)."),
                            QStringLiteral("YYYY-MM-DD")};
    QCommandLineOption locale{QStringLiteral("locale"),
                              QStringLiteral("Locale of dates and numbers, e.g. en_US, de_DE."),
                              QStringLiteral("NAME")};
    QCommandLineOption deleteOnCancel{QStringLiteral("delete-on-cancel"),
                                      QStringLiteral("On Ctrl-C, remove what this run wrote.")};
    QCommandLineOption registryFile{QStringLiteral("registry"),
                                    QStringLiteral("Registry file of the advanced settings."), QStringLiteral("PATH")};
    QCommandLineOption quiet{QStringLiteral("quiet"),
                             QStringLiteral("Print nothing unless something fails (then the failure and the "
                                            "pages written).")};
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("Print the run as one JSON object on stdout instead of the page "
                                           "list (see below).")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.addOptions({appFolder, file, title, perPage, pictures, pictureFolders, show, print, color, noDate,
                           date, locale, deleteOnCancel, registryFile, quiet, json});
    }
};

// What a report may choose besides the records: the window's choices and the
// pages' locale.
struct Choices
{
    ReportChoices window;
    std::optional<QLocale> locale;
};

// The window's own choices that the unattended run leaves as they are, and
// the locale of the pages; nothing after one line on stderr when a value is
// bad.
std::optional<Choices> reportChoices(const QCommandLineParser &parser, const ReportOptions &options)
{
    Choices choices;
    const QString tableColor = parser.value(options.color).toUpper();
    if (!reportTableColors().contains(tableColor)) {
        fail(QStringLiteral("unknown --color: %1").arg(parser.value(options.color)));
        return std::nullopt;
    }
    choices.window.tableColor = tableColor;
    if (parser.isSet(options.noDate))
        choices.window.insertDate = false;
    if (parser.isSet(options.date)) {
        choices.window.date = QDate::fromString(parser.value(options.date), Qt::ISODate);
        if (!choices.window.date->isValid()) {
            fail(QStringLiteral("--date needs YYYY-MM-DD, not '%1'").arg(parser.value(options.date)));
            return std::nullopt;
        }
    }
    if (parser.isSet(options.locale)) {
        const QLocale chosen(parser.value(options.locale));
        if (chosen == QLocale::c() && parser.value(options.locale) != QLatin1String("C")) {
            fail(QStringLiteral("unknown --locale: %1").arg(parser.value(options.locale)));
            return std::nullopt;
        }
        choices.locale = chosen;
    }
    return choices;
}

// The picture folders as absolute folders ending in '/', comma-separated.
QString absolutePictureFolders(const QString &folders)
{
    QStringList absolute;
    for (const QString &folder : folders.split(QLatin1Char(','), Qt::SkipEmptyParts))
        absolute << QDir(folder.trimmed()).absolutePath() + QLatin1Char('/');
    return absolute.join(QLatin1Char(','));
}

// What each exit status of a report means, as --json names it.
QString exitMeaning(int exit)
{
    switch (exit) {
    case ExitOk:
        return QStringLiteral("written");
    case ExitNoRecords:
        return QStringLiteral("no records");
    case ExitCancelled:
        return QStringLiteral("cancelled");
    case ExitPageNotWritten:
        return QStringLiteral("a page could not be written");
    case ExitNotPrinted:
        return QStringLiteral("a page could not be printed");
    default:
        return QString();
    }
}

// The run on one line of stdout, as the library describes it, with the exit
// status the command ends with.
void printJson(const RunResult &run, int exit)
{
    QJsonObject json = run.toJson();
    json.insert(QStringLiteral("exit"), exit);
    json.insert(QStringLiteral("meaning"), exitMeaning(exit));
    QTextStream(stdout) << QJsonDocument(json).toJson(QJsonDocument::Compact) << '\n';
}

// Says on stderr how the run ended (quiet, only when something failed) and
// gives the exit status.
int tellOutcome(const RunResult &run, bool written, qint64 records, qsizetype pageFiles, qint64 ms,
                const QString &folder, bool quiet)
{
    QTextStream err(stderr);
    if (run.cancelled) {
        if (!quiet)
            err << "zuvexal: cancelled after " << pageFiles << " page files\n";
        return ExitCancelled;
    }
    if (!written) {
        err << "zuvexal: " << run.sectionsFailed << " sections could not be written, the first into "
            << run.pagesFailed.value(0, folder + QStringLiteral("Reports")) << '\n';
        return ExitPageNotWritten;
    }
    if (!run.pagesNotPrinted.isEmpty()) {
        err << "zuvexal: " << run.pagesNotPrinted.size() << " pages not printed, the first " << run.pagesNotPrinted.front()
            << '\n';
        return ExitNotPrinted;
    }
    if (!quiet) {
        err << "zuvexal: " << records << " records, " << pageFiles << " page files in "
            << QString::number(double(ms) / 1000.0, 'f', 1) << " s\n";
    }
    return ExitOk;
}

// Lists the page files on stdout, or with --json prints the run there, and
// says on stderr how the run ended; quiet, the list only when something
// failed.
int reportOutcome(const RunResult &run, bool written, qint64 records, qint64 ms, const QString &folder, bool quiet,
                  bool json)
{
    QStringList pages;
    for (const QString &page : run.pageFiles) {
        if (!page.isEmpty() && QFileInfo::exists(page))
            pages << page;
    }
    const bool failed = !run.cancelled && (!written || !run.pagesNotPrinted.isEmpty());
    if (!json && (!quiet || failed)) {
        QTextStream out(stdout);
        for (const QString &page : std::as_const(pages))
            out << page << '\n';
    }
    const int exit = tellOutcome(run, written, records, pages.size(), ms, folder, quiet);
    if (json)
        printJson(run, exit);
    return exit;
}

// The report itself, as a host's AutoZuReporter call makes it, with a
// progress bar on a terminal and Ctrl-C as Cancel.
int writeReport(const QCommandLineParser &parser, const ReportOptions &options, const RecordSet &loaded,
                const QString &folder, qint32 recordsPerPage, const Choices &choices)
{
    ZuVexal control;
    // The settings come from the registry file named, rather than through
    // the process's environment.
    if (parser.isSet(options.registryFile))
        control.setSettingsFile(parser.value(options.registryFile));
    QString applicationPath = folder;
    control.setApplicationPath(applicationPath);
    control.setMaxRecsPerPage(recordsPerPage);
    control.setReportChoices(choices.window);
    control.setReportLocale(choices.locale);
    const bool quiet = parser.isSet(options.quiet);
    const bool progressBar = !quiet && isatty(STDERR_FILENO);
    const bool removeOnCancel = parser.isSet(options.deleteOnCancel);
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

    const int action = (parser.isSet(options.show) ? ZuVexal::rYesNo : 0)
        + (parser.isSet(options.print) ? ZuVexal::rNoYes : 0);
    QString graphicFolders = absolutePictureFolders(parser.value(options.pictureFolders));
    RecordSetPtr records = std::make_shared<RecordSet>(loaded);
    QElapsedTimer clock;
    clock.start();
    const bool written = control.AutoZuReporter(records, parser.value(options.pictures),
                                                graphicFolders.isEmpty() ? nullptr : &graphicFolders,
                                                parser.value(options.file), parser.value(options.title), action);
    std::signal(SIGINT, SIG_DFL);
    if (progressBar)
        QTextStream(stderr) << '\n';
    return reportOutcome(control.lastRun().value_or(RunResult{}), written, loaded.recordCount(), clock.elapsed(),
                         folder, quiet, parser.isSet(options.json));
}


} // namespace

int runReport(const QStringList &args)
{
    QCommandLineParser parser;
    const DatabaseOptions database;
    database.addTo(parser);
    const ReportOptions options;
    options.addTo(parser);
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Writes an HTML report of a table or query into Reports/ under the "
                                                "application folder, one file per page.\n"
                                                "Exit status: 0 written, 1 bad input, 2 no records, 3 cancelled, "
                                                "4 a page could not be written, 5 a page could not be printed.\n"
                                                "--json prints, on one line, an object with: exit, meaning (of the "
                                                "exit status), report (the file name the pages are named after), "
                                                "pages (each file, null when not reached, records, written, "
                                                "printed), records, pagesWritten, sectionsFailed, notWritten and "
                                                "notPrinted (page files), sums (each field, total, average, "
                                                "minimum, maximum, as the last summary wrote them), cancelled, "
                                                "deletedOnCancel, seconds. It comes for exit statuses 0 and 2 to "
                                                "5; status 1 (bad input) prints none.")))
        return *exit;

    const QString perPage = parser.value(options.perPage).trimmed();
    if (!pageSizes().contains(perPage))
        return fail(QStringLiteral("--per-page takes %1, not '%2'")
                        .arg(pageSizes().join(QStringLiteral(", ")), parser.value(options.perPage)));
    const qint32 recordsPerPage = perPage.toInt();
    const std::optional<Choices> choices = reportChoices(parser, options);
    if (!choices)
        return ExitBadInput;
    const std::optional<QString> folder = applicationFolder(parser, options.appFolder);
    if (!folder)
        return ExitBadInput;
    const LoadedRecords loaded = loadRecords(parser, database);
    if (loaded.failure)
        return *loaded.failure;
    if (loaded.records->recordCount() == 0) {
        QTextStream(stderr) << "zuvexal: no records to report\n";
        // Nothing ran, yet a scheduler reads the outcome as it reads any other.
        if (parser.isSet(options.json))
            printJson(RunResult{}, ExitNoRecords);
        return ExitNoRecords;
    }

    return writeReport(parser, options, *loaded.records, *folder, recordsPerPage, *choices);
}

} // namespace zuvexal::cli
