#pragma once

#include <ZuVexal/zuvexalwidgets_export.h>

class QObject;
class QWidget;

namespace zuvexal {
class ZuVexal;
}

namespace zuvexal::ui {

// Makes the control's context show real windows: the report window for
// ShowZuReporter (and from it the advanced settings window), the file
// chooser for SupplyFileName, the about box and message boxes. The
// control's widget calls it for its own control; a host that uses the
// headless control with windows calls it for that control. The windows
// belong to the process's context, which goes with the last control: a
// control created after every other one has ended needs the call again.
ZUVEXAL_WIDGETS_EXPORT void installWindows(ZuVexal &control);

// Shows the property page of a control (the control object or its widget)
// as a modal dialog; true when the user applied a change.
ZUVEXAL_WIDGETS_EXPORT bool showPropertyPage(QObject *control, QWidget *parent = nullptr);

} // namespace zuvexal::ui
