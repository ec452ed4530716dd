#pragma once

namespace zuvexal::ui {

// Makes the core show real windows: the report window for ShowZuReporter,
// the advanced settings window from its Advanced button, message boxes,
// and a file dialog for SupplyFileName. Called by the control's widget;
// hosts that use the headless control with windows call it once.
void installWindows();

} // namespace zuvexal::ui
