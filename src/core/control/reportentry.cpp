// The report entry points of the control: the record set is prepared and
// handed to the report window, shown to the user or driven unattended.
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"

#include "core/base/attempt.h"
#include "core/base/now.h"
#include "core/base/values_p.h"
#include "core/control/context_p.h"
#include "core/control/windowpresenter.h"
#include "core/reporter/generationrun.h"
#include "core/reporter/reportform_p.h"
#include "core/reporter/reportjob.h"
#include "core/settings/advancedsetform_p.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLocale>
#include <QMetaMethod>
#include <QPointer>

#include <algorithm>
#include <limits>

#include <functional>

namespace zuvexal {

// A record set handed to an entry point, ready for a report.
struct PreparedReport
{
    RecordSetPtr records;
    qint32 totalRecords = 0;
    bool containPictureFields = false;
    QString pictureFields; // comma-separated field names
    QString graphicFolder; // comma-separated folders, as the host gave them
    QObject *hostControl = nullptr; // the control as its host sees it
};

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

qint16 clamp16(qint32 value)
{
    return qint16(std::clamp<qint32>(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

// The host's side of an unattended run: each status report goes to the
// control as its host sees it, through its RaiseZuReportStatus by name, and
// what the host's handler writes back comes back. The control may go
// during the run; no report reaches it then.
class HostObserver final : public ReportObserver
{
public:
    HostObserver(QObject *hostControl, ZuVexal &control, bool hostHandlesStatus)
        : m_hostControl(hostControl), m_control(&control), m_hostHandlesStatus(hostHandlesStatus)
    {
        if (hostControl) {
            const QMetaObject *meta = hostControl->metaObject();
            const int index = meta->indexOfMethod(
                QMetaObject::normalizedSignature("RaiseZuReportStatus(qint16,qint32,qint16,bool&,bool&,QVariant&)"));
            if (index >= 0)
                m_raiseStatus = meta->method(index);
        }
    }

    void status(const RunStatus &status, RunRequests &requests) override
    {
        if (!m_hostControl || !m_raiseStatus.isValid())
            return;
        m_raiseStatus.invoke(m_hostControl, Qt::DirectConnection, Q_ARG(qint16, clamp16(status.totalPages)),
                             Q_ARG(qint32, status.elapsedSeconds), Q_ARG(qint16, clamp16(status.currentPage)),
                             Q_ARG(bool &, requests.cancel), Q_ARG(bool &, requests.deleteOnCancel),
                             Q_ARG(QVariant &, m_reserved));
        // A colour the handler chose reaches the sections still to come.
        if (m_control && m_control->reportChoices().tableColor)
            requests.tableColor = *m_control->reportChoices().tableColor;
    }

    // A host without a status handler sees nothing until the run ends.
    bool pagesOnDiskAtStatus() const override { return m_hostHandlesStatus; }

private:
    QPointer<QObject> m_hostControl;
    QPointer<ZuVexal> m_control;
    bool m_hostHandlesStatus;
    QMetaMethod m_raiseStatus;
    QVariant m_reserved;
};

// The settings of an unattended run, as one operation that takes itself
// back. Made, it does in the advanced settings window what an end user
// would: every offered numeric field selected for summing, notes off, sums
// over all pages, Apply; nobody is asked, even when the stored text cannot
// hold the record. Gone, it gives notes and sums the values they had, in
// the record and in the window's boxes, and stores the record as closing
// the report window does; the sum-field selection stays.
class UnattendedSettings
{
public:
    UnattendedSettings(AdvancedSetForm &form, ListItems sumFields) : m_form(form)
    {
        m_form.ensureLoaded();
        const AdvancedSettings &record = m_form.state().Settings;
        m_includeNotes = record.IncludeNotes;
        m_sumCurrentPageOnly = record.SumCurrentPageOnly;
        for (ListItem &item : sumFields)
            item.selected = true;
        m_form.lstFields = std::move(sumFields);
        m_form.chkNotes = 0;
        m_form.OptPages = 0;
        m_form.applyWithoutAsking();
    }
    ~UnattendedSettings()
    {
        AdvancedSettings &record = m_form.state().Settings;
        record.IncludeNotes = m_includeNotes;
        record.SumCurrentPageOnly = m_sumCurrentPageOnly;
        m_form.chkNotes = m_includeNotes;
        m_form.OptPages = m_sumCurrentPageOnly;
        attempt([this] { m_form.SaveUserSettings(); });
    }
    UnattendedSettings(const UnattendedSettings &) = delete;
    UnattendedSettings &operator=(const UnattendedSettings &) = delete;

private:
    AdvancedSetForm &m_form;
    qint16 m_includeNotes = 0;
    qint16 m_sumCurrentPageOnly = 0;
};

// The report an unattended run makes of a prepared record set, as an end
// user would make it in a fresh report window: every field in output, the
// unattended settings, the caller's choices. What the run did, or nothing
// when the split made no page.
std::optional<RunResult> runUnattended(Context &context, const PreparedReport &prepared, HostObserver &observer,
                                       const ReportChoices &choices, const QLocale &locale, const QString &fileName,
                                       const QString &FileTitle, int AutoRepAction)
{
    std::optional<qint32> perPage;
    if (prepared.hostControl) {
        bool ok = false;
        const qint32 asked = prepared.hostControl->property("MaxRecsPerPage").toInt(&ok);
        if (ok)
            perPage = asked;
    }
    ReportPages split = splitIntoPages(*prepared.records, prepared.totalRecords, perPage);
    if (split.pages.empty())
        return std::nullopt;
    ReportJob job;
    RecordSet &first = *split.pages.front();
    for (int i = 0; i < first.fieldCount(); ++i) {
        const QString name = trimBlanks(first.field(i).name);
        job.gridFieldNames << name;
        if (!job.outputFields.contains(name))
            job.outputFields << name;
    }
    job.columnPictureFolders = pictureFoldersFor(
        job.gridFieldNames, pictureFolderPath(prepared.graphicFolder).value_or(QString()), prepared.pictureFields);
    AdvancedSetForm &settings = context.advancedSet();
    const UnattendedSettings applied(settings, sumFieldCandidates(first));

    for (RecordSetPtr &page : split.pages)
        job.pages.push_back(std::move(*page));
    job.sourceFields = fieldsOf(*prepared.records);
    job.totalRecords = prepared.totalRecords;
    const QString name = trimBlanks(fileName);
    const QString title = trimBlanks(FileTitle);
    job.fileName = name.isEmpty() ? QStringLiteral("AutoGenRep") : name;
    job.title = title.isEmpty() ? QStringLiteral("Auto-Generated Report") : title;
    job.insertDate = choices.insertDate.value_or(true);
    job.date = choices.date.value_or(reportDateTime().date());
    job.tableColor = choices.tableColor.value_or(reportTableColors().front());
    switch (AutoRepAction) {
    case ZuVexal::rNoNo: job.showInBrowser = false; job.print = false; break;
    case ZuVexal::rNoYes: job.showInBrowser = false; job.print = true; break;
    case ZuVexal::rYesNo: job.showInBrowser = true; job.print = false; break;
    case ZuVexal::rYesYes: job.showInBrowser = true; job.print = true; break;
    default: break;
    }
    job.unattended = true;
    job.appFolder = context.values.AppFolder;
    job.containPictureFields = prepared.containPictureFields;
    job.settings = settings.state().Settings;
    job.advancedSettingsInForce = settings.AdvSettings();
    job.sumFields = settings.lstFields;
    job.locale = locale;

    GenerationRun run(std::move(job), observer, context.links, context.messages);
    if (run.refusal())
        return std::nullopt;
    return run.run();
}

} // namespace

bool ZuVexal::ReportBusy() const
{
    return d->context->reportBusy();
}

bool ZuVexal::prepareReport(RecordSetPtr &repRecordset, const QString &sPicFields, QString *theGraphicFolder,
                            bool unattended, PreparedReport &prepared)
{
    QString folder = theGraphicFolder ? *theGraphicFolder : QString();
    if (!theGraphicFolder || folder.isEmpty())
        folder = d->context->values.AppFolder;
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

    d->currentRecordsetRef = repRecordset;
    AdvancedSetForm &settings = d->context->advancedSet();
    settings.lstFields.clear();
    settings.myfControl = d->container->controlByName(displayName());
    if (!settings.myfControl)
        return false;
    prepared.hostControl = settings.myfControl;
    prepared.records = repRecordset;
    prepared.totalRecords = qint32(std::min<qint64>(records, std::numeric_limits<qint32>::max()));
    prepared.containPictureFields = !trimBlanks(sPicFields).isEmpty();
    prepared.pictureFields = trimBlanks(sPicFields);
    prepared.graphicFolder = folder;
    return true;
}

bool ZuVexal::ShowZuReporter(RecordSetPtr &repRecordset, const QString &sPicFields, QString *theGraphicFolder,
                             QVariant *, QObject *)
{
    // The host may delete this control while the window is open: after the
    // window only locals are used.
    const std::shared_ptr<Context> context = d->context;
    // Nothing is prepared for a window that cannot be shown.
    WindowPresenter *presenter = context->windowsFor("ShowZuReporter");
    if (!presenter)
        return false;
    std::optional<Context::ReportGuard> busy = context->beginReport();
    if (!busy) {
        context->messages.show(displayName(),
                               QCoreApplication::translate("ReportForm", "A report is currently being generated\r\n"
                                                                         "please try again in a few seconds"));
        return false;
    }
    return betweenCommonStartAndEnd(std::move(*busy), repRecordset, [&](WaitCursor &cursor) {
        PreparedReport prepared;
        if (!prepareReport(repRecordset, sPicFields, theGraphicFolder, false, prepared))
            return false;
        context->reportForm().setInput(ReportInput{prepared.records, prepared.totalRecords,
                                                   prepared.containPictureFields, prepared.pictureFields,
                                                   prepared.graphicFolder, prepared.hostControl});
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
    const std::shared_ptr<Context> context = d->context;
    const QPointer<ZuVexal> self(this);
    std::optional<Context::ReportGuard> busy = context->beginReport();
    if (!busy)
        return false;
    const ReportChoices choices = d->reportChoices;
    const QLocale locale = d->reportLocale.value_or(QLocale());
    return betweenCommonStartAndEnd(std::move(*busy), repRecordset, [&](WaitCursor &) {
        PreparedReport prepared;
        if (!prepareReport(repRecordset, sPicFields, theGraphicFolder, true, prepared))
            return false;
        HostObserver observer(prepared.hostControl, *this,
                              isSignalConnected(QMetaMethod::fromSignal(&ZuVexal::ReportStatus)));
        const std::optional<RunResult> run =
            runUnattended(*context, prepared, observer, choices, locale, fileName, FileTitle, AutoRepAction);
        if (self)
            self->d->lastRun = run;
        // A section that could not be written is a failed report.
        return run && run->sectionsFailed == 0;
    });
}

} // namespace zuvexal
