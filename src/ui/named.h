#pragma once

#include <QString>

namespace zuvexal::ui {

// A new widget with the control name the core and the tests know it by,
// and its tool tip.
template <typename W>
W *named(W *widget, const QString &name, const QString &tip = {})
{
    widget->setObjectName(name);
    widget->setToolTip(tip);
    return widget;
}

} // namespace zuvexal::ui
