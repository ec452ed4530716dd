// Every window reached with a screen reader: each control a user can act on
// has an accessible name (its label, or what it is for), and the report
// grid announces its column headers.
#include "core/control/context_p.h"
#include "core/settings/advancedsetform_p.h"
#include "ui/about/aboutdialog.h"
#include "ui/advancedset/advancedwindow.h"
#include "ui/propertypage/propertypagedialog_p.h"
#include "ui/reportform/reportwindow.h"
#include "ui/windows.h"

#include "reportfixture.h"
#include "uisupport.h"

#include <QAccessible>
#include <QTableView>

using namespace zuvexal;
using zuvexal::test::ReportTest;
using zuvexal::test::whileShown;

namespace {

bool actsOn(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Slider:
    case QAccessible::PageTab:
        return true;
    default:
        return false;
    }
}

// The controls of a window without a name, by object name and role.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        if (!node || node->state().invisible)
            return;
        if (actsOn(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty()) {
            QObject *object = node->object();
            unnamed << QStringLiteral("%1 (role %2)")
                           .arg(object ? object->objectName() : QStringLiteral("?"))
                           .arg(int(node->role()), 0, 16);
        }
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return unnamed;
}

} // namespace

TEST_F(ReportTest, EveryControlOfEveryWindowHasAnAccessibleName)
{
    ReportForm &form = load(23, 10);
    std::map<QString, QStringList> unnamed;
    {
        ui::ReportWindow window(form);
        whileShown([&](QDialog *w) {
            unnamed[w->objectName()] = unnamedControls(w);
            // The grid's column headers reach the screen reader.
            QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(w->findChild<QTableView *>());
            ASSERT_NE(grid, nullptr);
            QAccessibleTableInterface *table = grid->tableInterface();
            ASSERT_NE(table, nullptr);
            EXPECT_EQ(table->columnDescription(1), QStringLiteral("Customer"));
        });
        window.showModal();
    }
    {
        ui::AdvancedWindow window(advancedSet());
        whileShown(QStringLiteral("VexalAdvancedSet"), [&](QDialog *w) { unnamed[w->objectName()] = unnamedControls(w); });
        window.showModal();
    }
    {
        ui::PropertyPageDialog page;
        page.show();
        unnamed[QStringLiteral("VexalProps")] = unnamedControls(&page);
    }
    {
        LinkState links;
        ui::AboutDialog about(links);
        about.show();
        unnamed[QStringLiteral("VexalAbout")] = unnamedControls(&about);
    }
    {
        ZuVexal control;
        ui::installWindows(control);
        whileShown(QStringLiteral("VexalPhotoTabStrip"), [&](QDialog *w) { unnamed[w->objectName()] = unnamedControls(w); });
        QString folder = QDir::tempPath();
        bool verify = false;
        control.SupplyFileName(QStringLiteral("Pick"), &folder, ZuVexal::Zu_All_Files, &verify);
    }
    for (const auto &[window, controls] : unnamed)
        EXPECT_TRUE(controls.isEmpty()) << window.toStdString() << ": " << controls.join(QLatin1String(", ")).toStdString();
}
