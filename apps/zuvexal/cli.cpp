#include "cli.h"

#include "core/recordset/connectioninfo.h"
#include "core/recordset/sqladapter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace zuvexal::cli {

int fail(const QString &message)
{
    QTextStream(stderr) << "zuvexal: " << message << '\n';
    return ExitBadInput;
}

std::optional<int> parseCommand(QCommandLineParser &parser, const QStringList &args,
                                const QString &description, const QString &positional,
                                const QString &positionalHelp)
{
    parser.setApplicationDescription(description);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    if (!positional.isEmpty())
        parser.addPositionalArgument(positional, positionalHelp);
    QStringList withProgram = args;
    withProgram[0] = QStringLiteral("zuvexal ") + args[0];
    if (!parser.parse(withProgram))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the command, not the program's path.
        QString text = parser.helpText();
        const qsizetype programEnd = text.indexOf(QLatin1String(" [options]"));
        if (text.startsWith(QLatin1String("Usage: ")) && programEnd > 0)
            text.replace(7, programEnd - 7, withProgram[0]);
        QTextStream(stdout) << text;
        return ExitOk;
    }
    return std::nullopt;
}

void DatabaseOptions::addTo(QCommandLineParser &parser) const
{
    parser.addOption(db);
    parser.addOption(driver);
    parser.addOption(table);
    parser.addOption(query);
    parser.addOption(passwordFile);
}

std::optional<QString> applicationFolder(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const QString folder = QDir(parser.value(option)).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        fail(QStringLiteral("application folder not found: %1").arg(folder));
        return std::nullopt;
    }
    return folder + QLatin1Char('/');
}

namespace {

// The first line of the file, without its line end.
std::optional<QString> readPassword(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

} // namespace

LoadedRecords loadRecords(const QCommandLineParser &parser, const DatabaseOptions &options)
{
    LoadedRecords result;
    if (!parser.isSet(options.db)) {
        result.failure = fail(QStringLiteral("--db is required"));
        return result;
    }
    if (parser.isSet(options.table) == parser.isSet(options.query)) {
        result.failure = fail(QStringLiteral("give exactly one of --table and --query"));
        return result;
    }
    const QString driver = parser.isSet(options.driver) ? parser.value(options.driver) : QString();
    const ParsedConnection parsed = parseConnection(parser.value(options.db), driver);
    if (!parsed.info) {
        result.failure = fail(parsed.error);
        return result;
    }
    QString password;
    if (parser.isSet(options.passwordFile)) {
        const QString file = parser.value(options.passwordFile);
        const std::optional<QString> read = readPassword(file);
        if (!read) {
            result.failure = fail(QStringLiteral("cannot read the password file %1").arg(file));
            return result;
        }
        password = *read;
    }
    const OpenedDatabase opened = openConnection(*parsed.info, QStringLiteral("zuvexal-cli"), password);
    if (!opened.db.isOpen()) {
        result.failure = fail(opened.error);
        return result;
    }
    LoadResult loaded = parser.isSet(options.table) ? loadTable(opened.db, parser.value(options.table))
                                                    : loadQuery(opened.db, parser.value(options.query));
    if (!loaded.records)
        result.failure = fail(loaded.error);
    result.records = std::move(loaded.records);
    return result;
}

} // namespace zuvexal::cli
