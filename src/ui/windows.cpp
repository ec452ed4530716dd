#include "ui/windows.h"

#include "core/control/context_p.h"
#include "core/control/windowpresenter.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"
#include "core/filedialog/filechooser_p.h"
#include "core/reporter/reportform_p.h"
#include "ui/about/aboutdialog.h"
#include "ui/filechooser/chooserwindow.h"
#include "ui/propertypage/propertypagedialog_p.h"
#include "ui/reportform/reportwindow.h"

#include <QApplication>
#include <QDebug>
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
    // Qt aborts on the first widget of a process without a QApplication.
    std::optional<QString> unavailable() const override
    {
        if (qobject_cast<QApplication *>(QCoreApplication::instance()))
            return std::nullopt;
        return QStringLiteral("windows need a QApplication, and this host made %1")
            .arg(QCoreApplication::instance() ? QString::fromLatin1(QCoreApplication::instance()->metaObject()->className())
                                              : QStringLiteral("no application object"));
    }
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
    // A window destroyed without its close path (a host that deleted its
    // own window under it) leaves its form loaded: it is unloaded here, so
    // the next use starts afresh instead of from the last report's state.
    void showReportWindow(ReportForm &form) override
    {
        runModal<ReportWindow>(form);
        if (form.isLoaded())
            form.unload();
    }
    bool showFileChooser(FileChooser &chooser) override
    {
        runModal<ChooserWindow>(chooser);
        // Gone without an answer: as the close box, no file.
        if (chooser.isLoaded())
            chooser.closeBox();
        return true;
    }
    void showAboutBox(LinkState &links) override { runModal<AboutDialog>(links); }
};

} // namespace

void installWindows(ZuVexal &control)
{
    // Stateless: one serves every context of the process.
    static Windows windows;
    contextOf(control).setPresenter(&windows);
}

bool showPropertyPage(QObject *control, QWidget *parent)
{
    if (const std::optional<QString> unavailable = Windows().unavailable()) {
        qWarning().noquote() << "ZuVexal: showPropertyPage shows no window:" << *unavailable;
        return false;
    }
    PropertyPageDialog page(parent);
    page.setControl(control);
    bool changed = false;
    page.applied = [&changed](QObject *) { changed = true; };
    page.exec();
    return changed;
}

} // namespace zuvexal::ui
