// The control's services one at a time: links, the message log, the delay
// and printing.
#include "cli.h"

#include "core/control/messagelog.h"
#include "core/control/zuvexal.h"
#include "core/reporter/printing.h"
#include "platform/printer.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace zuvexal::cli {

int runOpen(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption newWindow(QStringLiteral("new-window"),
                                       QStringLiteral("Open web addresses in a new browser window."));
    parser.addOption(newWindow);
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Opens a web address, a file or an e-mail address with the "
                                                "desktop's browser or mail program. Exits 0 when a program "
                                                "was started, 1 when not."),
                                 QStringLiteral("destination"),
                                 QStringLiteral("URL, file path or e-mail address.")))
        return *exit;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("open needs exactly one destination"));
    ZuVexal control;
    if (!control.OpenHyperlink(positional[0], parser.isSet(newWindow)))
        return fail(QStringLiteral("no program could open %1").arg(positional[0]));
    return ExitOk;
}

int runLog(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption appFolder(QStringLiteral("app-folder"),
                                       QStringLiteral("Application folder (default: the working folder)."),
                                       QStringLiteral("DIR"));
    parser.addOption(appFolder);
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Appends a message to Reports/Log/ZuMessages.htm under the "
                                                "application folder."),
                                 QStringLiteral("message"), QStringLiteral("Text or HTML to log.")))
        return *exit;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("log needs exactly one message (quote it)"));
    const std::optional<QString> folder = applicationFolder(parser, appFolder);
    if (!folder)
        return ExitBadInput;
    const QString entry = logEntryText(QString(), positional[0], QDateTime::currentDateTime());
    if (!appendLogEntry(*folder, entry))
        return fail(QStringLiteral("cannot write the log %1").arg(logFilePath(*folder)));
    QTextStream(stdout) << logFilePath(*folder) << '\n';
    return ExitOk;
}

int runWait(const QStringList &args)
{
    QCommandLineParser parser;
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Waits N seconds (below 1: 5 seconds; at most 86399)."),
                                 QStringLiteral("N"), QStringLiteral("Whole number of seconds.")))
        return *exit;
    const QStringList positional = parser.positionalArguments();
    bool ok = false;
    qint32 seconds = positional.value(0).toInt(&ok);
    if (positional.size() != 1 || !ok)
        return fail(QStringLiteral("wait needs a whole number of seconds, not '%1'").arg(positional.join(u' ')));
    ZuVexal control;
    control.ProgramDelayNSec(&seconds);
    return ExitOk;
}

int runPrint(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption inBrowser(QStringLiteral("in-browser"),
                                       QStringLiteral("The page is also shown in the browser."));
    parser.addOption(inBrowser);
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Prints a report page on the default printer, or as a PDF into "
                                                "the folder $ZUVEXAL_PRINT_TO names.\n"
                                                "Exit status: 0 printed, 1 bad input, 5 the page could not be "
                                                "printed."),
                                 QStringLiteral("page-file"), QStringLiteral("Report page to print.")))
        return *exit;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(QStringLiteral("print needs exactly one page file"));
    const QString page = positional[0];
    if (!QFileInfo(page).isFile())
        return fail(QStringLiteral("page file not found: %1").arg(page));
    if (!printPageFile(page)) {
        fail(platform::printToFolder()
                 ? QStringLiteral("%1 not printed: cannot write a PDF into %2").arg(page, *platform::printToFolder())
                 : QStringLiteral("%1 not printed: no default printer accepted it").arg(page));
        return ExitNotPrinted;
    }
    return ExitOk;
}

} // namespace zuvexal::cli
