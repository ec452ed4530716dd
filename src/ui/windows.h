#pragma once

#include <ZuVexal/zuvexalwidgets_export.h>

class QObject;
class QWidget;

namespace zuvexal {
class ZuVexal;
}

/// \file windows.h
/// The windows of a headless control and the property page. Included by
/// `<ZuVexal/ZuVexalWidget>`.

namespace zuvexal::ui {

/// Makes the control's context show real windows: the report window for
/// ShowZuReporter (and from it the advanced settings window), the file
/// chooser for SupplyFileName, the about box and message boxes.
///
/// The control's widget calls it for its own control; a host that uses the
/// headless \a control with windows calls it for that control. The windows
/// belong to the process's context, which goes with the last control: a
/// control created after every other one has ended needs the call again.
/// Windows show only in a QApplication; elsewhere the entry points give
/// their failure values.
ZUVEXAL_WIDGETS_EXPORT void installWindows(ZuVexal &control);

/// Shows the property page of a control as a modal dialog.
/// \param control the control object (ZuVexal) or its widget (ZuVexalWidget).
/// \param parent the dialog's parent, or null.
/// \return true when the user applied a change; false otherwise, and
///         without a window when the host made no QApplication.
ZUVEXAL_WIDGETS_EXPORT bool showPropertyPage(QObject *control, QWidget *parent = nullptr);

} // namespace zuvexal::ui
