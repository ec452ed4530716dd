// The report entry points of the control: the record set is prepared and
// handed to the report window, shown to the user or driven unattended.
#include "core/control/zuvexal.h"

#include "core/base/values.h"
#include "core/control/context.h"
#include "core/control/windowpresenter.h"
#include "core/reporter/reportform.h"
#include "core/settings/advancedsetform.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPointer>

#include <functional>

namespace zuvexal {

namespace {

// The hourglass pointer while a report is prepared, when there is a screen.
class WaitCursor
{
public:
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            m_set = true;
        }
    }
    ~WaitCursor() { restore(); }
    void restore()
    {
        if (m_set)
            QGuiApplication::restoreOverrideCursor();
        m_set = false;
    }

private:
    bool m_set = false;
};

// A static in-memory copy of a forward-only record set, or nothing when
// any step fails (the host's record set is then left as it was).
std::optional<RecordSet> staticCopy(RecordSet &source, bool yield)
{
    RecordSet copy;
    for (int i = 0; i < source.fieldCount(); ++i) {
        const Field &field = source.field(i);
        if (!copy.appendField(field.name, field.type, field.definedSize, Ado::adFldUnspecified))
            return std::nullopt;
        if (yield)
            QCoreApplication::processEvents();
    }
    if (!copy.setCursorType(Ado::adOpenStatic) || !copy.setLockType(Ado::adLockOptimistic) || !copy.open()
        || !source.moveFirst())
        return std::nullopt;
    while (!source.eof()) {
        if (!copy.addNew())
            return std::nullopt;
        for (int i = 0; i < source.fieldCount(); ++i) {
            const std::optional<QVariant> value = source.value(i);
            if (!value || !copy.setValue(i, *value))
                return std::nullopt;
        }
        if (!copy.update() || !source.moveNext())
            return std::nullopt;
        if (yield)
            QCoreApplication::processEvents();
    }
    source.close();
    copy.moveFirst();
    return copy;
}

// The window's choices a caller made for an unattended run.
void applyChoices(ReportForm &form, const ReportChoices &choices)
{
    if (choices.tableColor)
        form.cboBGcolor = *choices.tableColor;
    if (choices.insertDate)
        form.chkInsert = *choices.insertDate ? 1 : 0;
    if (choices.date)
        form.dtpInsert = *choices.date;
}

// The common start and end of both entry points around their own steps:
// the hourglass, the record set's bookmark kept, and the busy guard let go
// on every path. A failure of a host object inside the steps ends the
// report with false, as any failed step does.
bool betweenCommonStartAndEnd([[maybe_unused]] Context::ReportGuard busy, RecordSetPtr &repRecordset,
                              const std::function<bool(WaitCursor &)> &steps)
{
    WaitCursor cursor;
    const std::optional<qint64> bookmark = repRecordset ? repRecordset->bookmark() : std::nullopt;
    bool result = false;
    try {
        result = steps(cursor);
    } catch (...) {
        result = false;
    }
    if (bookmark && repRecordset)
        repRecordset->setBookmark(*bookmark);
    return result;
}

// The unattended run over a prepared report (AutoZuReporter's steps 9 to
// 19): the window is filled and its buttons pressed as a user would, the
// two settings the run changes are restored afterwards. What the run did,
// or nothing when the split made no page.
std::optional<RunResult> runUnattended(Context &context, const ReportChoices &choices, const QString &fileName,
                                       const QString &FileTitle, int AutoRepAction)
{
    ReportForm &form = context.reportForm();
    AdvancedSetForm &settings = context.advancedSet();
    AdvancedSettings &record = context.settings.Settings;
    settings.ensureLoaded();
    form.AutoReporting = true;
    const qint16 includeNotes = record.IncludeNotes;
    const qint16 sumCurrentPageOnly = record.SumCurrentPageOnly;
    settings.chkNotes = 0;
    settings.OptPages = 0;

    form.ensureLoaded();
    std::optional<RunResult> run;
    if (form.TotalPage() >= 1) {
        applyChoices(form, choices);
        const QString name = trimBlanks(fileName);
        const QString title = trimBlanks(FileTitle);
        form.txtFilename = name.isEmpty() ? QStringLiteral("AutoGenRep") : name;
        form.txtTitle = title.isEmpty() ? QStringLiteral("Auto-Generated Report") : title;
        switch (AutoRepAction) {
        case ZuVexal::rNoNo: form.chkBrowser = 0; form.chkPrinter = 0; break;
        case ZuVexal::rNoYes: form.chkBrowser = 0; form.chkPrinter = 1; break;
        case ZuVexal::rYesNo: form.chkBrowser = 1; form.chkPrinter = 0; break;
        case ZuVexal::rYesYes: form.chkBrowser = 1; form.chkPrinter = 1; break;
        default: break;
        }
        form.cmdDirection_Click(0);
        form.cmdAdvanced_Click();
        for (ListItem &item : settings.lstFields)
            item.selected = true;
        settings.chkNotes = 0;
        settings.OptPages = 0;
        settings.cmdApply_Click();
        form.cmdGenerate_Click();
        run = form.lastRun();
    }
    record.IncludeNotes = includeNotes;
    record.SumCurrentPageOnly = sumCurrentPageOnly;
    settings.chkNotes = includeNotes;
    settings.OptPages = sumCurrentPageOnly;
    form.AutoReporting = false;
    form.cmdClose_Click();
    return run;
}

} // namespace

bool ZuVexal::ReportBusy() const
{
    return m_context->reportBusy();
}

bool ZuVexal::prepareReport(RecordSetPtr &repRecordset, const QString &sPicFields, QString *theGraphicFolder,
                            bool unattended)
{
    QString folder = theGraphicFolder ? *theGraphicFolder : QString();
    if (!theGraphicFolder || folder.isEmpty())
        folder = m_context->values.AppFolder;
    if (theGraphicFolder)
        *theGraphicFolder = folder;
    if (!repRecordset)
        return false;

    if (repRecordset->cursorType() == Ado::adOpenForwardOnly) {
        std::optional<RecordSet> copy = staticCopy(*repRecordset, unattended);
        if (!copy)
            return false;
        repRecordset = std::make_shared<RecordSet>(std::move(*copy));
    }
    repRecordset->moveFirst();
    const qint64 records = repRecordset->eof() ? 0 : repRecordset->recordCount();
    if (records <= 0)
        return false;

    m_currentRecordsetRef = repRecordset;
    m_context->values.SourceRecordset = repRecordset;
    AdvancedSetForm &settings = m_context->advancedSet();
    settings.lstFields.clear();
    settings.myfControl = m_container->controlByName(displayName());
    if (!settings.myfControl)
        return false;
    ReportForm &form = m_context->reportForm();
    form.CumTotalRecs = qint32(std::min<qint64>(records, std::numeric_limits<qint32>::max()));
    form.ContainPictureFilenameField = !trimBlanks(sPicFields).isEmpty();
    form.setThePicFields(sPicFields);
    form.setGraphicFolderPath(folder);
    return true;
}

bool ZuVexal::ShowZuReporter(RecordSetPtr &repRecordset, const QString &sPicFields, QString *theGraphicFolder,
                             QVariant *, QObject *)
{
    // The host may delete this control while the window is open: after the
    // window only locals are used.
    const std::shared_ptr<Context> context = m_context;
    // Nothing is prepared for a window that cannot be shown.
    WindowPresenter *presenter = context->windowsFor("ShowZuReporter");
    if (!presenter)
        return false;
    std::optional<Context::ReportGuard> busy = context->beginReport();
    if (!busy) {
        context->messages.show(displayName(),
                               QStringLiteral("A report is currently being generated\r\nplease try again in a few seconds"));
        return false;
    }
    return betweenCommonStartAndEnd(std::move(*busy), repRecordset, [&](WaitCursor &cursor) {
        if (!prepareReport(repRecordset, sPicFields, theGraphicFolder, false))
            return false;
        cursor.restore();
        presenter->showReportWindow(context->reportForm());
        // A split that made no page has shown nothing.
        return context->reportForm().TotalPage() >= 1;
    });
}

bool ZuVexal::AutoZuReporter(RecordSetPtr &repRecordset, const QString &sPicFields, QString *theGraphicFolder,
                             const QString &fileName, const QString &FileTitle, int AutoRepAction, QVariant *,
                             QObject *)
{
    // A ReportStatus handler may delete this control mid-run: after the run
    // only locals are used, and the result reaches the control only if it
    // is still there.
    const std::shared_ptr<Context> context = m_context;
    const QPointer<ZuVexal> self(this);
    std::optional<Context::ReportGuard> busy = context->beginReport();
    if (!busy)
        return false;
    const ReportChoices choices = m_reportChoices;
    return betweenCommonStartAndEnd(std::move(*busy), repRecordset, [&](WaitCursor &) {
        if (!prepareReport(repRecordset, sPicFields, theGraphicFolder, true))
            return false;
        const std::optional<RunResult> run = runUnattended(*context, choices, fileName, FileTitle, AutoRepAction);
        if (self)
            self->m_lastRun = run;
        // A section that could not be written is a failed report.
        return run && run->sectionsFailed == 0;
    });
}

} // namespace zuvexal
