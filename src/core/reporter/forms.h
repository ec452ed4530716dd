#pragma once

#include <functional>

namespace zuvexal {

class AdvancedSetForm;
class ReportForm;

// The report window and the advanced settings window exist at most once per
// process, are created on first use and are shared by every control.
ReportForm &reportForm();
AdvancedSetForm &advancedSet();
bool reportFormExists();

// Shows the report window modally and returns when it has closed; the
// window layer installs it. Without one the window loads and closes at once.
using ReportWindowPresenter = std::function<void(ReportForm &)>;
void setReportWindowPresenter(ReportWindowPresenter presenter);
void showReportWindow();

// A control terminates: the shared windows and the source record set are
// released, at once or, while a report is in progress (releasing them would
// pull the pages from under its run), when that report ends.
void releaseSharedWindows();

// The busy guard of the report entry points. It is process-wide because the
// windows and the report state are shared by every control.
bool reportBusy();
bool beginReport();  // false when a report is already in progress
void endReport();    // also carries out a release asked for meanwhile

} // namespace zuvexal
