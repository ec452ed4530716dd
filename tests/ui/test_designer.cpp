#include "ui/control/zuvexalwidget.h"

#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QBuffer>
#include <QFileInfo>
#include <QFormBuilder>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QWidget>

#include <gtest/gtest.h>

TEST(DesignerPlugin, LoadsAndCreatesTheControlInDesignMode)
{
    QPluginLoader loader(QStringLiteral(ZUVEXAL_DESIGNER_PLUGIN));
    QObject *instance = loader.instance();
    ASSERT_NE(instance, nullptr) << loader.errorString().toStdString();
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(instance);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->name(), QStringLiteral("zuvexal::ui::ZuVexalWidget"));
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("ZuVexal1")));
    std::unique_ptr<QWidget> widget(plugin->createWidget(nullptr));
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), "zuvexal::ui::ZuVexalWidget");
    // The published properties reach Designer's property editor.
    EXPECT_GE(widget->metaObject()->indexOfProperty("MaxRecsPerPage"), 0);
    // In design mode the organisation can be set (upper-cased).
    widget->setProperty("DeveloperCompany", QStringLiteral(" acme "));
    EXPECT_EQ(widget->property("DeveloperCompany").toString(), QStringLiteral("ACME"));
}

TEST(DesignerPlugin, ADesignedControlKeepsEveryPropertyThroughSaveAndLoad)
{
    QPluginLoader loader(QStringLiteral(ZUVEXAL_DESIGNER_PLUGIN));
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
    ASSERT_NE(plugin, nullptr);
    QWidget form;
    form.setObjectName(QStringLiteral("HostForm"));
    QWidget *designed = plugin->createWidget(&form);
    designed->setObjectName(QStringLiteral("ZuVexal1"));
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
    // Designer writes the designable properties only; QFormBuilder writes
    // every one, the run-time ApplicationPath too, whose design-time setter
    // would ask the user.
    QString ui = QString::fromUtf8(saved.data());
    ui.remove(QRegularExpression(QStringLiteral(R"(<property name="ApplicationPath">.*?</property>)"),
                                 QRegularExpression::DotMatchesEverythingOption));
    QByteArray uiFile = ui.toUtf8();
    QBuffer asDesignerSavesIt(&uiFile);
    asDesignerSavesIt.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> loaded(builder.load(&asDesignerSavesIt));
    ASSERT_NE(loaded, nullptr) << saved.data().toStdString();
    QWidget *restored = loaded->findChild<QWidget *>(QStringLiteral("ZuVexal1"));
    ASSERT_NE(restored, nullptr) << saved.data().toStdString();
    for (const auto &[name, value] : properties)
        EXPECT_EQ(restored->property(name), value) << name << " in\n" << saved.data().toStdString();
}
