// A widget program that loads its form at run time with QUiLoader, the
// control's Designer plugin found on QT_PLUGIN_PATH (as script-driven and
// plugin-based applications do): the control runs in run mode with the
// designed properties restored, exactly as in a host compiled by uic.
#include "hostcheck.h"

#include <ZuVexal/ZuVexalWidget>

#include <QApplication>
#include <QFile>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <QTimer>
#include <QUiLoader>

#include <memory>

using hostcheck::expect;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    hostcheck::keepWarnings();
    QUiLoader loader;
    expect(loader.availableWidgets().contains(QStringLiteral("zuvexal::ui::ZuVexalWidget")),
           QStringLiteral("the loader does not know the control (is the plugin on QT_PLUGIN_PATH?)"));
    QFile file(QStringLiteral(HOST_FORM));
    file.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> window(loader.load(&file));
    auto *control = window ? window->findChild<zuvexal::ui::ZuVexalWidget *>(QStringLiteral("ZuVexal1")) : nullptr;
    expect(control != nullptr, QStringLiteral("the loaded form has no control: ") + loader.errorString());
    if (!control)
        return hostcheck::result("form loader host (QUiLoader)");

    expect(control->DeveloperCompany() == QLatin1String("LOADED CO"),
           QStringLiteral("DeveloperCompany is ") + control->DeveloperCompany());
    expect(control->Interval() == 7 && control->Tag() == QLatin1String("loaded") && !control->Enabled(),
           QStringLiteral("the designed properties were not restored"));
    // Run mode: setting the application folder asks nobody (a design-mode
    // control would open a message box here and wait for the user).
    bool asked = false;
    QTimer::singleShot(500, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            asked = true;
            box->close();
        }
    });
    QTemporaryDir folder;
    QString path = folder.path();
    control->setApplicationPath(path);
    QTimer::singleShot(600, &app, &QCoreApplication::quit);
    app.exec();
    expect(!asked, QStringLiteral("setting ApplicationPath opened a message box (design mode)"));
    // Property inspectors and script bindings read every property by name:
    // nothing throws through Qt's meta-object code; the application folder,
    // which a host may not read at run time, gives nothing and says why.
    for (QObject *object : {static_cast<QObject *>(control), static_cast<QObject *>(&control->control())}) {
        const QMetaObject *meta = object->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            const QVariant value = property.read(object);
            if (qstrcmp(property.name(), "ApplicationPath") == 0)
                expect(!value.isValid() && hostcheck::warned(QStringLiteral("error 393")),
                       QStringLiteral("ApplicationPath read by name gave a value, or no warning naming 393"));
        }
    }
    control->setDeveloperCompany(QStringLiteral("someone else"));
    expect(control->DeveloperCompany() == QLatin1String("LOADED CO"), QStringLiteral("DeveloperCompany changed at run time"));
    control->LogMessage(QStringLiteral("loaded form"));
    expect(hostcheck::fileHolds(path + QStringLiteral("Reports/Log/ZuMessages.htm"), "<TITLE>LOADED CO"),
           QStringLiteral("the log title lacks the designed company"));
    return hostcheck::result("form loader host (QUiLoader)");
}
