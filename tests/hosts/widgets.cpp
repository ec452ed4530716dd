// A widget program (QApplication): a form compiled by uic restores its
// designed properties; a control made in code takes its setters as
// run-time sets; the headless control shows windows once they are
// installed; a report window that the host destroys leaves nothing stale.
#include "hostcheck.h"
#include "ui_hostform.h"

#include <ZuVexal/ZuVexal>
#include <ZuVexal/ZuVexalWidget>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

using hostcheck::expect;
using zuvexal::ui::ZuVexalWidget;

namespace {

// Runs what to do with the modal window the next call opens, then closes
// it; false when no modal window came up.
bool withModal(const std::function<void(QDialog *)> &what, const std::function<void()> &call)
{
    bool shown = false;
    QTimer::singleShot(200, [&] {
        if (auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            shown = true;
            what(window);
        }
    });
    call();
    return shown;
}

// The form's window, kept open: the organisation it designed is the
// process's while a control holds it.
std::unique_ptr<QWidget> uicForm(const QString &folder)
{
    auto window = std::make_unique<QWidget>();
    Ui::HostForm form;
    form.setupUi(window.get());
    ZuVexalWidget *control = form.ZuVexal1;
    expect(control->DeveloperCompany() == QLatin1String("LOADED CO"),
           QStringLiteral("uic form: DeveloperCompany is ") + control->DeveloperCompany());
    expect(control->Interval() == 7 && control->Tag() == QLatin1String("loaded") && !control->Enabled(),
           QStringLiteral("uic form: the designed properties were not restored"));
    control->setDeveloperCompany(QStringLiteral("someone else"));
    expect(control->DeveloperCompany() == QLatin1String("LOADED CO"),
           QStringLiteral("uic form: DeveloperCompany changed at run time"));
    QString path = folder + QStringLiteral("/uic");
    control->setApplicationPath(path);
    control->LogMessage(QStringLiteral("uic form"));
    expect(hostcheck::fileHolds(path + QStringLiteral("Reports/Log/ZuMessages.htm"), "<TITLE>LOADED CO"),
           QStringLiteral("uic form: the log title lacks the designed company"));
    return window;
}

void madeInCode(const QString &folder)
{
    QWidget window;
    auto *control = new ZuVexalWidget(&window);
    control->setObjectName(QStringLiteral("ZuVexal1"));
    control->setProperty("DeveloperCompany", QStringLiteral("RUNTIME CO"));
    control->setProperty("Interval", 3);
    control->setTag(QStringLiteral("code"));
    expect(control->property("DeveloperCompany").toString() != QLatin1String("RUNTIME CO"),
           QStringLiteral("made in code: a run-time DeveloperCompany was applied"));
    expect(control->Interval() == 3 && control->Tag() == QLatin1String("code"),
           QStringLiteral("made in code: the run-time sets were lost"));
    // A run-time DoTimer switches the timer; a saved one would not.
    control->setDoTimer(false);
    const auto *timer = control->control().findChild<QTimer *>(QStringLiteral("Timer1"));
    expect(timer && !timer->isActive(), QStringLiteral("made in code: DoTimer false left Timer1 running"));
    // Setting properties in code never blanks the designed organisation.
    QString path = folder + QStringLiteral("/code");
    control->setApplicationPath(path);
    control->LogMessage(QStringLiteral("made in code"));
    expect(hostcheck::fileHolds(path + QStringLiteral("Reports/Log/ZuMessages.htm"), "<TITLE>LOADED CO"),
           QStringLiteral("made in code: the organisation was blanked"));

    window.show();
    zuvexal::RecordSetPtr records = hostcheck::orders();
    bool returned = false;
    expect(withModal([](QDialog *report) { report->reject(); },
                     [&] { returned = control->ShowZuReporter(records); }),
           QStringLiteral("made in code: no report window"));
    expect(returned, QStringLiteral("made in code: ShowZuReporter returned false"));
}

// Before any widget: the windows are the process's once a widget or a
// host installed them.
void headless()
{
    zuvexal::ZuVexal control;
    zuvexal::RecordSetPtr records = hostcheck::orders();
    expect(!control.ShowZuReporter(records), QStringLiteral("headless: ShowZuReporter true without the windows"));
    expect(hostcheck::warned(QStringLiteral("the windows are not installed")),
           QStringLiteral("headless: no line says why no report window"));
    zuvexal::ui::installWindows(control);
    records = hostcheck::orders();
    bool returned = false;
    expect(withModal([](QDialog *report) { report->reject(); }, [&] { returned = control.ShowZuReporter(records); }),
           QStringLiteral("headless with the windows: no report window"));
    expect(returned, QStringLiteral("headless with the windows: ShowZuReporter returned false"));
}

// The host deletes its window, and with it the report window over it,
// while the control lives on: the next report starts on page 1, not where
// the deleted window was.
void destroyedWindow()
{
    zuvexal::ZuVexal control;
    zuvexal::ui::installWindows(control);
    control.setMaxRecsPerPage(5);
    auto *window = new QWidget;
    window->show();
    QApplication::setActiveWindow(window);
    QString firstPage;
    zuvexal::RecordSetPtr records = hostcheck::orders();
    const bool shown = withModal(
        [&](QDialog *report) {
            firstPage = report->findChild<QLabel *>(QStringLiteral("lblPage"))->text();
            report->findChild<QPushButton *>(QStringLiteral("cmdPage2"))->click();
            delete window;
        },
        [&] { control.ShowZuReporter(records); });
    expect(shown, QStringLiteral("destroyed window: no report window"));

    records = hostcheck::orders();
    QString page;
    withModal(
        [&](QDialog *report) {
            page = report->findChild<QLabel *>(QStringLiteral("lblPage"))->text();
            report->reject();
        },
        [&] { control.ShowZuReporter(records); });
    expect(!firstPage.isEmpty() && page == firstPage,
           QStringLiteral("destroyed window: the next report opened at \"%1\", not \"%2\"").arg(page, firstPage));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    hostcheck::keepWarnings();
    QTemporaryDir folder;
    headless();
    const std::unique_ptr<QWidget> designed = uicForm(folder.path());
    madeInCode(folder.path());
    destroyedWindow();
    return hostcheck::result("widget host (QApplication)");
}
