#include "demowindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>

#include <cstdio>
#include <vector>

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

// The Qt platform plugins by key: "wayland" is libqwayland-generic.so,
// "xcb" libqxcb.so, wherever Qt looks for plugins.
bool platformPluginInstalled(const QString &key)
{
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString &folder : std::as_const(folders)) {
        const QDir platforms(folder + QStringLiteral("/platforms"));
        if (!platforms.entryList({QStringLiteral("libq") + key + QStringLiteral("*.so")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

// A compositor's socket as Wayland clients find it.
bool compositorNamed()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return false;
    const QString socket = QDir::isAbsolutePath(name) ? name : qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + name;
    return QFileInfo::exists(socket);
}

QString packageOf(const QString &key)
{
    return key.startsWith(QLatin1String("wayland")) ? QStringLiteral("qt6-wayland") : QStringLiteral("libqt6gui6");
}

// The platform the demo runs on: the one the user chose (-platform, or
// QT_QPA_PLATFORM, each a ';' list), else the session's: Wayland where a
// compositor is named and Qt's plugin for it is installed, then X11. Qt
// aborts when none of its choices starts; the demo says instead, in one
// line, what is missing and which package brings it.
struct PlatformChoice
{
    QString platform;  // for -platform; empty to keep the user's own choice
    QString problem;   // why there is none
};

PlatformChoice choosePlatform(int argc, char **argv)
{
    QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            chosen = QString::fromLocal8Bit(argv[i + 1]);
    }
    const bool wayland = compositorNamed();
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!chosen.isEmpty()) {
        QStringList problems;
        for (const QString &key : chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString name = key.section(QLatin1Char(':'), 0, 0);
            if (!platformPluginInstalled(name))
                problems << QStringLiteral("the Qt platform plugin '%1' is not installed (package %2)").arg(name, packageOf(name));
            else if (name.startsWith(QLatin1String("wayland")) && !wayland)
                problems << QStringLiteral("no Wayland compositor for the platform '%1'").arg(name);
            else if (name == QLatin1String("xcb") && !x11)
                problems << QStringLiteral("no X11 display for the platform 'xcb' (DISPLAY is not set)");
            else
                return {};
        }
        return {{}, problems.join(QLatin1String("; "))};
    }
    QStringList usable;
    if (wayland && platformPluginInstalled(QStringLiteral("wayland")))
        usable << QStringLiteral("wayland");
    if (x11 && platformPluginInstalled(QStringLiteral("xcb")))
        usable << QStringLiteral("xcb");
    if (!usable.isEmpty())
        return {usable.join(QLatin1Char(';')), {}};
    if (wayland)
        return {{}, QStringLiteral("this is a Wayland session, and Qt's Wayland platform plugin is not installed "
                                   "(package qt6-wayland)")};
    return {{}, QStringLiteral("no display to show the demo on (set DISPLAY or WAYLAND_DISPLAY, or "
                               "QT_QPA_PLATFORM=offscreen)")};
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
    // Where QApplication would abort, --help still works, and anything else
    // says in one line what is missing.
    const PlatformChoice platform = choosePlatform(argc, argv);
    if (!platform.problem.isEmpty()) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("zuvexal-demo"));
        QCommandLineParser parser;
        describe(parser);
        parser.process(app);
        std::fprintf(stderr, "zuvexal-demo: %s\n", qPrintable(platform.problem));
        return 1;
    }
    std::vector<char *> arguments(argv, argv + argc);
    QByteArray platformName = platform.platform.toLocal8Bit();
    static char platformOption[] = "-platform";
    if (!platformName.isEmpty())
        arguments.insert(arguments.begin() + 1, {platformOption, platformName.data()});
    arguments.push_back(nullptr);
    argc = int(arguments.size()) - 1;
    argv = arguments.data();
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
