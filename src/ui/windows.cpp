#include "ui/windows.h"

#include "core/base/messages.h"
#include "core/control/version.h"
#include "core/filedialog/filechooser.h"
#include "core/reporter/forms.h"
#include "core/reporter/reportform.h"
#include "ui/about/aboutdialog.h"
#include "ui/filechooser/chooserwindow.h"
#include "ui/reportform/reportwindow.h"

#include <QApplication>
#include <QMessageBox>

namespace zuvexal::ui {

namespace {

class MessageBoxes final : public MessagePresenter
{
public:
    void show(const QString &title, const QString &text, Icon icon) override
    {
        static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                  QMessageBox::Warning, QMessageBox::Critical};
        QMessageBox box(icons[int(icon)], title, QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                        QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }
};

void showReportWindow(ReportForm &form)
{
    ReportWindow window(form, QApplication::activeWindow());
    window.showModal();
}

bool chooseFile(FileChooser &chooser)
{
    ChooserWindow window(chooser, QApplication::activeWindow());
    window.showModal();
    return true;
}

} // namespace

void installWindows()
{
    static MessageBoxes boxes;
    setMessagePresenter(&boxes);
    setReportWindowPresenter(showReportWindow);
    FileChooser::setPresenter(chooseFile);
    setAboutBoxPresenter([] {
        AboutDialog about(QApplication::activeWindow());
        about.exec();
    });
}

} // namespace zuvexal::ui
