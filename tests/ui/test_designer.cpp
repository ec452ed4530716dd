#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QPluginLoader>
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
