// A host window with the control on it. With --check it prints what the
// control reports about a path and quits (used by the packaging test).
#include <ui/control/zuvexalwidget.h>

#include <QApplication>
#include <QTextStream>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto *control = new zuvexal::ui::ZuVexalWidget(&window);
    control->setObjectName(QStringLiteral("ZuVexal1"));
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(control);
    if (app.arguments().contains(QStringLiteral("--check"))) {
        QTextStream(stdout) << control->justFileName(QStringLiteral("/srv/reports/orders1.htm")) << '\n';
        return 0;
    }
    window.show();
    return app.exec();
}
