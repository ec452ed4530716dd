// The widget publishes the control again; nothing may drift between them.
#include "core/control/zuvexal.h"
#include "ui/control/zuvexalwidget.h"

#include "testsupport.h"

#include <QMetaMethod>
#include <QMetaProperty>

#include <gtest/gtest.h>

using namespace zuvexal;
using ui::ZuVexalWidget;

namespace {

// By-reference setters are no meta-object members; their signatures must
// exist on the widget all the same (this fails to compile otherwise).
[[maybe_unused]] constexpr auto applicationPathWriteBack =
    static_cast<void (ZuVexalWidget::*)(QString &)>(&ZuVexalWidget::setApplicationPath);

QString methodKind(const QMetaMethod &method)
{
    return method.methodType() == QMetaMethod::Signal ? QStringLiteral("signal") : QStringLiteral("method");
}

} // namespace

TEST(ControlWidget, PublishesEveryPropertyMethodAndSignalOfTheControl)
{
    const QMetaObject &control = ZuVexal::staticMetaObject;
    const QMetaObject &widget = ZuVexalWidget::staticMetaObject;

    for (int i = control.propertyOffset(); i < control.propertyCount(); ++i) {
        const QMetaProperty expected = control.property(i);
        const int index = widget.indexOfProperty(expected.name());
        ASSERT_GE(index, 0) << "property " << expected.name();
        const QMetaProperty found = widget.property(index);
        EXPECT_EQ(found.metaType(), expected.metaType()) << expected.name();
        EXPECT_EQ(found.isWritable(), expected.isWritable()) << expected.name();
        EXPECT_EQ(found.isStored(), expected.isStored()) << expected.name();
        EXPECT_EQ(found.isDesignable(), expected.isDesignable()) << expected.name();
    }
    for (int i = control.methodOffset(); i < control.methodCount(); ++i) {
        const QMetaMethod expected = control.method(i);
        if (expected.access() != QMetaMethod::Public)
            continue;
        const int index = widget.indexOfMethod(expected.methodSignature().constData());
        ASSERT_GE(index, 0) << methodKind(expected).toStdString() << ' ' << expected.methodSignature().constData();
        const QMetaMethod found = widget.method(index);
        EXPECT_EQ(found.methodType(), expected.methodType()) << expected.methodSignature().constData();
        EXPECT_EQ(found.returnMetaType(), expected.returnMetaType()) << expected.methodSignature().constData();
        EXPECT_EQ(found.parameterNames(), expected.parameterNames()) << expected.methodSignature().constData();
    }
}

TEST(ControlWidget, ForwardsToItsOwnControl)
{
    ZuVexalWidget widget;
    QString path = QStringLiteral("  /srv/host  ");
    widget.setApplicationPath(path);
    EXPECT_EQ(path, QStringLiteral("/srv/host/")) << "written back through the widget";
    widget.setProperty("MaxRecsPerPage", 20);
    EXPECT_EQ(widget.control().MaxRecsPerPage(), 20);
    int timers = 0;
    QObject::connect(&widget, &ZuVexalWidget::ZuTimer, [&] { ++timers; });
    Q_EMIT widget.control().ZuTimer();
    EXPECT_EQ(timers, 1) << "the control's signals reach the widget's";
}
