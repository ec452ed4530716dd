#include "demowindow.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuvexal-demo"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A host application that tries every service of the control."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("database"),
                                 QStringLiteral("SQLite database to report on (default: the sample)."));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Save pictures of each window into DIR and quit."),
                                         QStringLiteral("DIR"));
    parser.addOption(screenshots);
    parser.process(app);
    const QString database = parser.positionalArguments().value(0, QStringLiteral(ZUVEXAL_SAMPLE_DIR "/sample.db"));
    DemoWindow window(database);
    window.show();
    if (parser.isSet(screenshots))
        window.takeScreenshots(parser.value(screenshots));
    return app.exec();
}
