// A GUI program without widgets: a QGuiApplication, with the windows
// installed (--windows) or not. Reports print (fonts are there); every
// window method returns its failure value with one line saying why, and
// the process ends normally instead of aborting on its first widget.
#include "hostcheck.h"

#include <ZuVexal/ZuVexal>
#include <ZuVexal/ZuVexalWidget>

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

using hostcheck::expect;
using hostcheck::warned;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    hostcheck::keepWarnings();
    const bool windows = app.arguments().contains(QStringLiteral("--windows"));
    QTemporaryDir folder;
    const QString printed = folder.filePath(QStringLiteral("printed"));
    qputenv("ZUVEXAL_PRINT_TO", printed.toLocal8Bit());
    zuvexal::ZuVexal control;
    if (windows)
        zuvexal::ui::installWindows(control);
    QString path = folder.path();
    control.setApplicationPath(path);
    control.setMaxRecsPerPage(5);

    zuvexal::RecordSetPtr records = hostcheck::orders();
    expect(control.AutoZuReporter(records, {}, nullptr, QStringLiteral("gui.htm"), QStringLiteral("GUI"),
                                  zuvexal::ZuVexal::rNoYes),
           QStringLiteral("AutoZuReporter (print) returned false"));
    expect(control.lastRun() && control.lastRun()->pagesNotPrinted.isEmpty(),
           QStringLiteral("pages were not printed"));
    expect(QDir(printed).entryList({QStringLiteral("*.pdf")}).size() == 3, QStringLiteral("not three printed pages"));

    const QString why = windows ? QStringLiteral("windows need a QApplication")
                                : QStringLiteral("the windows are not installed");
    records = hostcheck::orders();
    expect(!control.ShowZuReporter(records), QStringLiteral("ShowZuReporter returned true without a window"));
    expect(warned(why), QStringLiteral("no line says why no report window"));
    expect(control.SupplyFileName().isEmpty(), QStringLiteral("SupplyFileName gave a file without a window"));
    expect(warned(why), QStringLiteral("no line says why no file chooser"));
    control.AboutBox();
    expect(warned(why), QStringLiteral("no line says why no about box"));
    if (windows) {
        expect(!zuvexal::ui::showPropertyPage(&control), QStringLiteral("showPropertyPage reported a change"));
        expect(warned(why), QStringLiteral("no line says why no property page"));
    }
    return hostcheck::result(windows ? "GUI host (QGuiApplication, windows installed)" : "GUI host (QGuiApplication)");
}
