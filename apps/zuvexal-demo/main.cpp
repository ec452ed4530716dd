#include "demowindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// The sample database where the build or the installation put it, beside
// the program's folder (share/zuvexal/examples); empty when there is none.
QString sampleDatabase()
{
    const QDir programs(QCoreApplication::applicationDirPath());
    for (const char *relative : {"../share/zuvexal/examples/sample.db", "../../share/zuvexal/examples/sample.db"}) {
        const QString candidate = programs.absoluteFilePath(QString::fromLatin1(relative));
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuvexal-demo"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A host application that tries every service of the control."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("database"),
                                 QStringLiteral("SQLite database or connection URL to report on (default: the sample)."));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Save pictures of each window into DIR and quit."),
                                         QStringLiteral("DIR"));
    parser.addOption(screenshots);
    parser.process(app);
    QString database = parser.positionalArguments().value(0, sampleDatabase());
    if (database.isEmpty()) {
        database = QFileDialog::getOpenFileName(nullptr, QStringLiteral("Open a SQLite database to report on"));
        if (database.isEmpty())
            return 0;
    }
    DemoWindow window(database);
    window.show();
    if (parser.isSet(screenshots))
        window.takeScreenshots(parser.value(screenshots));
    return app.exec();
}
