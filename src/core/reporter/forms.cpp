#include "core/reporter/forms.h"

#include "core/control/shared.h"
#include "core/reporter/reportform.h"
#include "core/settings/advancedsetform.h"

#include <memory>

namespace zuvexal {

namespace {

std::unique_ptr<ReportForm> &reportInstance()
{
    static std::unique_ptr<ReportForm> form;
    return form;
}

std::unique_ptr<AdvancedSetForm> &advancedInstance()
{
    static std::unique_ptr<AdvancedSetForm> form;
    return form;
}

bool releasePending = false;

void releaseNow()
{
    shared().SourceRecordset.reset();
    reportInstance().reset();
    advancedInstance().reset();
    releasePending = false;
}

} // namespace

ReportForm &reportForm()
{
    if (!reportInstance())
        reportInstance() = std::make_unique<ReportForm>();
    return *reportInstance();
}

AdvancedSetForm &advancedSet()
{
    if (!advancedInstance()) {
        advancedInstance() = std::make_unique<AdvancedSetForm>();
        advancedInstance()->autoReporting = [] { return reportForm().AutoReporting; };
    }
    return *advancedInstance();
}

namespace {

ReportWindowPresenter &presenter()
{
    static ReportWindowPresenter current;
    return current;
}

} // namespace

void setReportWindowPresenter(ReportWindowPresenter show)
{
    presenter() = std::move(show);
}

void showReportWindow()
{
    ReportForm &form = reportForm();
    if (presenter()) {
        presenter()(form);
        return;
    }
    form.ensureLoaded();
    form.cmdClose_Click();
}

bool reportFormExists()
{
    return reportInstance() != nullptr;
}

namespace {
bool busy = false;
}

void releaseSharedWindows()
{
    if (busy)
        releasePending = true;
    else
        releaseNow();
}

bool reportBusy()
{
    return busy;
}

bool beginReport()
{
    if (busy)
        return false;
    busy = true;
    return true;
}

void endReport()
{
    busy = false;
    if (releasePending)
        releaseNow();
}

} // namespace zuvexal
