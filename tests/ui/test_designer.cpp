// The Designer plugin outside Designer: form loaders of running hosts
// (QUiLoader, QFormBuilder) create the control through it. Inside Designer
// it is tested by tests/designer.
#include <ZuVexal/ZuVexalWidget>

#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QBuffer>
#include <QFileInfo>
#include <QFormBuilder>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QDesignerCustomWidgetInterface *plugin()
{
    static QPluginLoader loader(QStringLiteral(ZUVEXAL_DESIGNER_PLUGIN));
    return qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
}

} // namespace

TEST(DesignerPlugin, OutsideDesignerCreatesARunModeControl)
{
    QDesignerCustomWidgetInterface *factory = plugin();
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->name(), QStringLiteral("zuvexal::ui::ZuVexalWidget"));
    EXPECT_TRUE(factory->domXml().contains(QStringLiteral("zuvexalSavedForm"))) << "a dropped control carries the mark";
    // A form loader initialises plugins without a form editor.
    factory->initialize(nullptr);
    std::unique_ptr<QWidget> widget(factory->createWidget(nullptr));
    ASSERT_NE(widget, nullptr);
    auto *control = qobject_cast<zuvexal::ui::ZuVexalWidget *>(widget.get());
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->userMode());
    // In run mode the organisation cannot be set.
    control->setProperty("DeveloperCompany", QStringLiteral(" acme "));
    EXPECT_NE(control->property("DeveloperCompany").toString(), QStringLiteral("ACME"));
}

TEST(DesignerPlugin, ADesignedControlKeepsEveryPropertyThroughSaveAndLoad)
{
    ASSERT_NE(plugin(), nullptr);
    // The designed side, as Designer holds it: design mode, with the mark.
    QWidget form;
    form.setObjectName(QStringLiteral("HostForm"));
    auto *designed = new zuvexal::ui::ZuVexalWidget(&form);
    designed->setUserMode(false);
    designed->setObjectName(QStringLiteral("ZuVexal1"));
    designed->setProperty(zuvexal::ui::ZuVexalWidget::FormMark, true);
    const QList<std::pair<const char *, QVariant>> properties = {
        {"Tag", QStringLiteral("orders")},        {"DeveloperCompany", QStringLiteral("QUORVANE LTD")},
        {"BackColor", QColor(10, 20, 30)},        {"Enabled", false},
        {"DoTimer", true},                         {"Interval", 30},
        {"MaxRecsPerPage", 20},
    };
    for (const auto &[name, value] : properties)
        ASSERT_TRUE(designed->setProperty(name, value)) << name;

    QFormBuilder builder;
    builder.addPluginPath(QFileInfo(QStringLiteral(ZUVEXAL_DESIGNER_PLUGIN)).absolutePath());
    QBuffer saved;
    saved.open(QIODevice::ReadWrite);
    builder.save(&saved, &form);
    // Designer writes the designable properties and the dynamic ones (the
    // mark); QFormBuilder writes every static one, the run-time
    // ApplicationPath too, and no dynamic one.
    QString ui = QString::fromUtf8(saved.data());
    ui.remove(QRegularExpression(QStringLiteral(R"re(<property name="(ApplicationPath|hWnd)"[^>]*>.*?</property>)re"),
                                 QRegularExpression::DotMatchesEverythingOption));
    const QString control = QStringLiteral(R"(<widget class="zuvexal::ui::ZuVexalWidget" name="ZuVexal1">)");
    ASSERT_TRUE(ui.contains(control)) << ui.toStdString();
    ui.replace(control, control + QStringLiteral(R"(<property name="zuvexalSavedForm" stdset="0"><bool>true</bool></property>)"));
    QByteArray uiFile = ui.toUtf8();
    QBuffer asDesignerSavesIt(&uiFile);
    asDesignerSavesIt.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> loaded(builder.load(&asDesignerSavesIt));
    ASSERT_NE(loaded, nullptr) << ui.toStdString();
    auto *restored = loaded->findChild<zuvexal::ui::ZuVexalWidget *>(QStringLiteral("ZuVexal1"));
    ASSERT_NE(restored, nullptr) << ui.toStdString();
    EXPECT_TRUE(restored->userMode()) << "a loaded form runs";
    for (const auto &[name, value] : properties)
        EXPECT_EQ(restored->property(name), value) << name << " in\n" << ui.toStdString();
}
