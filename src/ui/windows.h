#pragma once

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
void installWindows(ZuVexal &control);

} // namespace zuvexal::ui
