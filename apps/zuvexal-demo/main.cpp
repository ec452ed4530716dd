#include "demowindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <cstdio>

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

// Whether Qt has a screen to show windows on: an X or Wayland display, or
// a platform the user chose (offscreen, say).
bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The demo's command line; the option to save screenshots is returned.
QCommandLineOption describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("A host application that tries every service of the control."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("database"),
                                 QStringLiteral("SQLite database or connection URL to report on (default: the sample)."));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Save pictures of each window into DIR and quit."),
                                         QStringLiteral("DIR"));
    parser.addOption(screenshots);
    return screenshots;
}

} // namespace

int main(int argc, char **argv)
{
    // Without a display QApplication would abort: --help still works, and
    // anything else says in one line what is missing.
    if (!haveDisplay()) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("zuvexal-demo"));
        QCommandLineParser parser;
        describe(parser);
        parser.process(app);
        std::fputs("zuvexal-demo: no display to show the demo on (set DISPLAY, or QT_QPA_PLATFORM=offscreen)\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuvexal-demo"));
    QCommandLineParser parser;
    const QCommandLineOption screenshots = describe(parser);
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
