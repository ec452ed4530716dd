#include "ui/windows.h"

#include "core/control/context.h"
#include "core/control/windowpresenter.h"
#include "core/control/zuvexal.h"
#include "ui/about/aboutdialog.h"
#include "ui/filechooser/chooserwindow.h"
#include "ui/propertypage/propertypagedialog.h"
#include "ui/reportform/reportwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace zuvexal::ui {

namespace {

// Shows a window modally over the active window. The window is on the heap
// and guarded: a host may delete its own window, and with it this child,
// while the modal loop runs.
template <typename Window, typename Core>
void runModal(Core &core)
{
    QPointer<Window> window = new Window(core, QApplication::activeWindow());
    window->showModal();
    delete window.data();
}

class Windows final : public WindowPresenter
{
public:
    void show(const QString &title, const QString &text, Icon icon) override
    {
        static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                  QMessageBox::Warning, QMessageBox::Critical};
        QPointer<QMessageBox> box = new QMessageBox(
            icons[int(icon)], title, QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
            QMessageBox::Ok, QApplication::activeWindow());
        box->exec();
        delete box.data();
    }
    void showReportWindow(ReportForm &form) override { runModal<ReportWindow>(form); }
    bool showFileChooser(FileChooser &chooser) override
    {
        runModal<ChooserWindow>(chooser);
        return true;
    }
    void showAboutBox(LinkState &links) override { runModal<AboutDialog>(links); }
};

} // namespace

void installWindows(ZuVexal &control)
{
    // Stateless: one serves every context of the process.
    static Windows windows;
    control.context().setPresenter(&windows);
}

bool showPropertyPage(QObject *control, QWidget *parent)
{
    PropertyPageDialog page(parent);
    page.setControl(control);
    bool changed = false;
    page.applied = [&changed](QObject *) { changed = true; };
    page.exec();
    return changed;
}

} // namespace zuvexal::ui
