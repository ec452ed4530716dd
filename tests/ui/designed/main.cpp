// A host whose window was designed in Qt Designer: the control and its
// designed properties come from hostform.ui through uic, as in any host.
// It checks what a host relies on and exits non-zero, naming what differs.
#include "ui_hostform.h"

#include <ZuVexal/RecordSet>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

int failures = 0;

void expect(bool ok, const QString &what)
{
    if (!ok) {
        QTextStream(stderr) << "designed host: " << what << '\n';
        ++failures;
    }
}

zuvexal::RecordSetPtr orders()
{
    auto records = std::make_shared<zuvexal::RecordSet>();
    records->appendField(QStringLiteral("OrderID"), zuvexal::Ado::adInteger, 4);
    records->open();
    for (int i = 1; i <= 3; ++i) {
        records->addNew();
        records->setValue(0, i);
        records->update();
    }
    records->moveFirst();
    return records;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    Ui::HostForm ui;
    ui.setupUi(&window);
    zuvexal::ui::ZuVexalWidget *control = ui.ZuVexal1;

    // What the designer saved is what the control has at run time.
    expect(control->Tag() == QLatin1String("orders"), QStringLiteral("Tag is ") + control->Tag());
    expect(control->DeveloperCompany() == QLatin1String("QUORVANE LTD"),
           QStringLiteral("DeveloperCompany is ") + control->DeveloperCompany());
    expect(control->BackColor() == QColor(10, 20, 30), QStringLiteral("BackColor is ") + control->BackColor().name());
    expect(!control->Enabled(), QStringLiteral("Enabled is true"));
    expect(control->DoTimer(), QStringLiteral("DoTimer is false"));
    expect(control->Interval() == 30, QStringLiteral("Interval is %1").arg(control->Interval()));
    expect(control->MaxRecsPerPage() == 20, QStringLiteral("MaxRecsPerPage is %1").arg(control->MaxRecsPerPage()));
    // At run time the company can no longer be changed.
    control->setDeveloperCompany(QStringLiteral("someone else"));
    expect(control->DeveloperCompany() == QLatin1String("QUORVANE LTD"), QStringLiteral("DeveloperCompany changed at run time"));

    // The organisation reaches the log title and the report window caption.
    QTemporaryDir folder;
    QString path = folder.path();
    control->setApplicationPath(path);
    control->LogMessage(QStringLiteral("started"), ui.txtLog);
    QFile log(path + QStringLiteral("Reports/Log/ZuMessages.htm"));
    expect(log.open(QIODevice::ReadOnly) && log.readAll().contains("<TITLE>QUORVANE LTD : Appended ZuVexal Message Log"),
           QStringLiteral("the log title lacks the company"));
    window.show();
    QString caption;
    QTimer::singleShot(100, [&] {
        if (auto *report = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            caption = report->windowTitle();
            report->reject();
        }
    });
    zuvexal::RecordSetPtr records = orders();
    control->ShowZuReporter(records);
    expect(caption == QLatin1String("QUORVANE LTD Report Form"), QStringLiteral("the report window caption is ") + caption);
    return failures == 0 ? 0 : 1;
}
