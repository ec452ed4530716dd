#include "zuvexalplugin.h"

#include <ZuVexal/ZuVexalWidget>

#include "ui/propertypage/propertypagedialog_p.h"

#include <QAction>
#include <QDesignerFormEditorInterface>
#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>
#include <QDesignerFormWindowManagerInterface>
#include <QDesignerDynamicPropertySheetExtension>
#include <QDesignerPropertySheetExtension>
#include <QExtensionManager>
#include <QTimer>

namespace zuvexal::designer {

namespace {

const char *const PublishedProperties[] = {"Interval", "DoTimer", "Enabled", "Tag", "MaxRecsPerPage",
                                           "DeveloperCompany"};

} // namespace

ZuVexalPlugin::ZuVexalPlugin(QObject *parent) : QObject(parent)
{
}

QString ZuVexalPlugin::name() const
{
    return QStringLiteral("zuvexal::ui::ZuVexalWidget");
}

QString ZuVexalPlugin::group() const
{
    return QStringLiteral("ZuVexal");
}

QString ZuVexalPlugin::toolTip() const
{
    return QStringLiteral("ZuVexal: timer, file dialog, hyperlinker and database reporter");
}

QString ZuVexalPlugin::whatsThis() const
{
    return toolTip();
}

QString ZuVexalPlugin::includeFile() const
{
    // Designer writes a global include for a name in angle brackets.
    return QStringLiteral("<ZuVexal/ZuVexalWidget>");
}

QIcon ZuVexalPlugin::icon() const
{
    return {};
}

bool ZuVexalPlugin::isContainer() const
{
    return false;
}

QWidget *ZuVexalPlugin::createWidget(QWidget *parent)
{
    auto *widget = new ui::ZuVexalWidget(parent);
    if (!m_formEditor)
        return widget;
    widget->setUserMode(false);
    // A control dropped from the widget box has the mark from domXml(); one
    // of a form saved without it gets it through Designer's property
    // sheet, which is what Designer saves (the sheet exists once Designer
    // has taken the new widget in).
    QTimer::singleShot(0, widget, [widget, manager = m_formEditor->extensionManager()] {
        auto *sheet = qt_extension<QDesignerDynamicPropertySheetExtension *>(manager, widget);
        auto *properties = qt_extension<QDesignerPropertySheetExtension *>(manager, widget);
        const QString mark = QString::fromLatin1(ui::ZuVexalWidget::FormMark);
        if (!sheet || !properties || !sheet->dynamicPropertiesAllowed() || properties->indexOf(mark) >= 0)
            return;
        const int index = sheet->addDynamicProperty(mark, true);
        if (index >= 0)
            properties->setChanged(index, true);
    });
    return widget;
}

bool ZuVexalPlugin::isInitialized() const
{
    return m_initialized;
}

void ZuVexalPlugin::initialize(QDesignerFormEditorInterface *core)
{
    if (m_initialized)
        return;
    // Designer hands over its form editor; a form loader at run time has
    // none, or one without form windows.
    if (core && core->formWindowManager())
        m_formEditor = core;
    if (QExtensionManager *manager = core ? core->extensionManager() : nullptr)
        manager->registerExtensions(new ZuVexalTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
    m_initialized = true;
}

QString ZuVexalPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\"><widget class=\"zuvexal::ui::ZuVexalWidget\" name=\"ZuVexal1\">"
                          "<property name=\"%1\" stdset=\"0\"><bool>true</bool></property></widget></ui>")
        .arg(QLatin1String(ui::ZuVexalWidget::FormMark));
}

ZuVexalTaskMenu::ZuVexalTaskMenu(QWidget *control, QObject *parent)
    : QObject(parent), m_control(control), m_edit(new QAction(QStringLiteral("Edit ZuVexal Properties..."), this))
{
    connect(m_edit, &QAction::triggered, this, &ZuVexalTaskMenu::editProperties);
}

QAction *ZuVexalTaskMenu::preferredEditAction() const
{
    return m_edit;
}

QList<QAction *> ZuVexalTaskMenu::taskActions() const
{
    return {m_edit};
}

void ZuVexalTaskMenu::editProperties()
{
    ui::PropertyPageDialog page(m_control);
    // The page edits this control only, the first of the selection; Apply
    // and OK both go through the form's cursor, so Designer records them
    // (and an Apply stays when Cancel follows).
    page.applied = [](QObject *control) {
        auto *widget = qobject_cast<QWidget *>(control);
        QDesignerFormWindowInterface *form = widget ? QDesignerFormWindowInterface::findFormWindow(widget) : nullptr;
        if (!form)
            return;
        for (const char *property : PublishedProperties)
            form->cursor()->setWidgetProperty(widget, QString::fromLatin1(property), control->property(property));
    };
    page.setControl(m_control);
    page.exec();
}

QObject *ZuVexalTaskMenuFactory::createExtension(QObject *object, const QString &iid, QObject *parent) const
{
    if (iid != Q_TYPEID(QDesignerTaskMenuExtension))
        return nullptr;
    if (auto *control = qobject_cast<ui::ZuVexalWidget *>(object))
        return new ZuVexalTaskMenu(control, parent);
    return nullptr;
}

} // namespace zuvexal::designer
