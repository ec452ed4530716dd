// A host window with the control on it. With --check it prints what the
// control reports about a path, logs a message without being told an
// application folder, prints the log file's folder, and quits (used by the
// packaging test).
#include <ZuVexal/ZuVexalWidget>

#include <QApplication>
#include <QFileInfo>
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
        QTextStream out(stdout);
        out << control->justFileName(QStringLiteral("/srv/reports/orders1.htm")) << '\n';
        // The component's folder is the host's: the log lands beside it.
        control->LogMessage(QStringLiteral("host check"));
        const QString log = QCoreApplication::applicationDirPath() + QStringLiteral("/Reports/Log/ZuMessages.htm");
        out << (QFileInfo::exists(log) ? QStringLiteral("log beside the host") : QStringLiteral("no log")) << '\n';
        return 0;
    }
    window.show();
    return app.exec();
}
