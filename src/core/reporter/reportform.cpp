#include "core/reporter/reportform_p.h"

#include "core/base/now.h"
#include "core/base/paths.h"
#include "core/base/sharedvalues.h"
#include "core/base/values_p.h"
#include "core/reporter/generationrun.h"
#include "core/settings/advancedsetform_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMetaObject>

namespace zuvexal {

const QStringList &reportTableColors()
{
    static const QStringList colors = {
        QStringLiteral("WHITE"),  QStringLiteral("RED"),    QStringLiteral("BLUE"),
        QStringLiteral("GREEN"),  QStringLiteral("YELLOW"), QStringLiteral("GRAY"),
        QStringLiteral("SILVER"), QStringLiteral("MAROON"), QStringLiteral("FUCHSIA"),
    };
    return colors;
}

namespace {

QString pageText(qint32 page, qint32 pages)
{
    return QCoreApplication::translate("ReportForm", "Page %1 of %2").arg(page).arg(pages);
}

} // namespace

ReportForm::ReportForm(SharedValues &values, AdvancedSetForm &settings, LinkState &links, const Messages &messages)
    : m_values(values), m_settings(settings), m_links(links), m_messages(messages)
{
}

ReportForm::~ReportForm() = default;

void ReportForm::setInput(ReportInput input)
{
    if (std::optional<QString> folder = pictureFolderPath(input.graphicFolder))
        m_graphicFolderPath = std::move(*folder);
    input.pictureFields = trimBlanks(input.pictureFields);
    m_input = std::move(input);
}

void ReportForm::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    static_cast<ReportControls &>(*this) = ReportControls{};
    caption = QCoreApplication::translate("ReportForm", "%1 Report Form").arg(m_values.OrganisationName);
    dtpInsert = reportDateTime().date();
    cboBGcolor = reportTableColors().front();
    BuildPages();
    ShowCurrentPage();
    Q_EMIT loaded();
}

void ReportForm::unload()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    m_curPageRecordset.reset();
    m_settings.SaveUserSettings();
    m_pageRecordsets.clear();
}

void ReportForm::BuildPages()
{
    const RecordSetPtr &source = m_input.records;
    m_pageRecordsets.clear();
    m_totalPage = 0;
    m_curPage = 0;
    if (!source)
        return;
    std::optional<qint32> perPage;
    if (m_input.hostControl) {
        bool ok = false;
        const qint32 asked = m_input.hostControl->property("MaxRecsPerPage").toInt(&ok);
        if (ok)
            perPage = asked;
    }
    ReportPages split = splitIntoPages(*source, m_input.totalRecords, perPage);
    m_pageRecordsets = std::move(split.pages);
    m_recsPerPage = split.recordsPerPage;
    m_totalPage = qint32(m_pageRecordsets.size());
    if (m_totalPage < 1)
        return;
    m_curPage = 1;
    m_curPageRecordset = m_pageRecordsets.front();
    if (m_totalPage > 1) {
        cmdPageEnabled[2] = true;
        cmdPageEnabled[3] = true;
    }
    lblPage = pageText(m_curPage, m_totalPage);
}

void ReportForm::ShowCurrentPage()
{
    if (!m_curPageRecordset)
        return;
    const RecordSet &page = *m_curPageRecordset;
    m_numRecsOnPage = qint32(page.recordCount());
    const int fields = page.fieldCount();

    // Column alignment for the grid: the first columns left, the last right.
    m_gridFormatText.clear();
    for (int i = 0; i < fields; ++i) {
        const QString &name = page.field(i).name;
        if (i == fields - 1)
            m_gridFormatText += QStringLiteral(">         ") + name + QString(12, QLatin1Char(' '));
        else if (i == 0)
            m_gridFormatText += QLatin1Char('<') + name + QStringLiteral("      |");
        else
            m_gridFormatText += QStringLiteral("<         ") + name + QString(11, QLatin1Char(' ')) + QLatin1Char('|');
    }

    if (lstAvailable.isEmpty()) {
        QStringList names;
        for (int i = 0; i < fields; ++i) {
            names << trimBlanks(page.field(i).name);
            lstAvailable.append({names.back(), true});
        }
        m_gridFieldNames = names;
        m_columnPictureFolders = pictureFoldersFor(names, m_graphicFolderPath, m_input.pictureFields);
    }
    Q_EMIT pageShown();
}

QImage ReportForm::cellPicture(int column, const QVariant &value) const
{
    const QString folder = m_columnPictureFolders.value(column);
    const QString name = trimBlanks(valueText(value));
    if (folder.isEmpty() || name.isEmpty())
        return {};
    const QString path = folder + name;
    if (!QFileInfo(path).isFile())
        return {};
    return QImage(path);
}

void ReportForm::selectPage(qint32 page)
{
    m_curPage = page;
    if (m_curPage >= 1 && m_curPage <= qint32(m_pageRecordsets.size())) {
        m_curPageRecordset = m_pageRecordsets[size_t(m_curPage - 1)];
        m_numRecsOnPage = qint32(m_curPageRecordset->recordCount());
    }
}

void ReportForm::showPage(qint32 page)
{
    selectPage(page);
    ShowCurrentPage();
    lblPage = pageText(m_curPage, m_totalPage);
}

void ReportForm::cmdPage_Click(int Index)
{
    qint32 page = m_curPage;
    switch (Index) {
    case 0:
        page = 1;
        if (m_totalPage > 1) {
            cmdPageEnabled[2] = cmdPageEnabled[3] = true;
            cmdPageEnabled[0] = false;
        }
        cmdPageEnabled[1] = false;
        break;
    case 1:
        if (m_curPage >= 2) {
            page = m_curPage - 1;
            cmdPageEnabled[2] = cmdPageEnabled[3] = true;
            if (page == 1)
                cmdPageEnabled[0] = cmdPageEnabled[1] = false;
        }
        break;
    case 2:
        if (m_curPage < m_totalPage) {
            page = m_curPage + 1;
            cmdPageEnabled[0] = cmdPageEnabled[1] = true;
            if (page == m_totalPage)
                cmdPageEnabled[2] = cmdPageEnabled[3] = false;
        }
        break;
    case 3:
        page = m_totalPage;
        if (m_totalPage > 1) {
            cmdPageEnabled[0] = cmdPageEnabled[1] = true;
            cmdPageEnabled[3] = false;
        }
        cmdPageEnabled[2] = false;
        break;
    default:
        break;
    }
    showPage(page);
}

void ReportForm::cmdDirection_Click(int Index)
{
    if (Index == 0) {
        for (const ListItem &item : std::as_const(lstAvailable)) {
            if (!item.selected)
                continue;
            const bool present = std::any_of(lstOutput.begin(), lstOutput.end(),
                                             [&](const ListItem &out) { return out.text == item.text; });
            if (!present)
                lstOutput.append({item.text, false});
        }
    } else if (Index == 1) {
        for (qsizetype i = lstOutput.size() - 1; i >= 0; --i) {
            if (lstOutput[i].selected)
                lstOutput.removeAt(i);
        }
        if (lstOutputIndex >= lstOutput.size())
            lstOutputIndex = int(lstOutput.size()) - 1;
    }
}

void ReportForm::cmdMoveUpDown_Click(int Index)
{
    const int k = lstOutputIndex;
    if (k < 0 || k >= lstOutput.size())
        return;
    if (Index == 0 && k > 0) {
        lstOutput.move(k, k - 1);
        lstOutputIndex = k - 1;
    } else if (Index == 1 && k < lstOutput.size() - 1) {
        lstOutput.move(k, k + 1);
        lstOutputIndex = k + 1;
    }
}

void ReportForm::cmdAdvanced_Click()
{
    AdvancedSetForm &settings = m_settings;
    settings.ensureLoaded();
    if (settings.lstFields.isEmpty() && m_curPageRecordset)
        settings.lstFields = sumFieldCandidates(*m_curPageRecordset);
    Q_EMIT advancedRequested();
}

void ReportForm::cmdSaveAs_Click()
{
    // Linux folders are case-sensitive: the start folder keeps its case.
    QString folder = m_values.AppFolder + QStringLiteral("Reports/");
    bool verify = false;
    QString chosen;
    if (QObject *control = m_input.hostControl) {
        QMetaObject::invokeMethod(control, "SupplyFileName", Qt::DirectConnection, Q_RETURN_ARG(QString, chosen),
                                  Q_ARG(QString,
                                        QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Save As (Htm or Asp file)"))),
                                  Q_ARG(QString *, &folder), Q_ARG(qint16, 5), Q_ARG(bool *, &verify));
    }
    if (!chosen.isEmpty()) {
        if (chosen.indexOf(QLatin1String(".htm"), 1) < 0 && chosen.indexOf(QLatin1String(".asp"), 1) < 0)
            chosen += QStringLiteral(".htm");
        const bool page = chosen.indexOf(QLatin1String(".htm"), 1, Qt::CaseInsensitive) >= 0
            || chosen.indexOf(QLatin1String(".asp"), 1, Qt::CaseInsensitive) >= 0;
        chosen = page ? FileNamePart(chosen) : QString();
    }
    txtFilename = chosen.toLower();
}

void ReportForm::cmdClose_Click()
{
    unload();
    Q_EMIT closeRequested();
}

bool ReportForm::requestClose()
{
    if (m_running) {
        chkCancel = 1;
        Q_EMIT progress();
        return false;
    }
    cmdClose_Click();
    return true;
}

ReportJob ReportForm::job()
{
    m_settings.ensureLoaded();
    ReportJob job;
    for (const RecordSetPtr &page : m_pageRecordsets)
        job.pages.push_back(*page);
    job.shownPage = m_curPage;
    job.allPages = m_settings.OptPages == 0;
    if (m_input.records)
        job.sourceFields = fieldsOf(*m_input.records);
    job.totalRecords = m_input.totalRecords;
    for (const ListItem &item : std::as_const(lstOutput))
        job.outputFields << item.text;
    job.title = txtTitle;
    job.fileName = txtFilename;
    job.insertDate = chkInsert == 1;
    job.date = dtpInsert;
    job.tableColor = cboBGcolor;
    job.showInBrowser = chkBrowser == 1;
    job.print = chkPrinter == 1;
    job.appFolder = m_values.AppFolder;
    job.containPictureFields = m_input.containPictureFields;
    job.gridFieldNames = m_gridFieldNames;
    job.columnPictureFolders = m_columnPictureFolders;
    job.settings = m_settings.state().Settings;
    job.advancedSettingsInForce = m_settings.AdvSettings();
    job.sumFields = m_settings.lstFields;
    job.locale = QLocale();
    return job;
}

void ReportForm::cmdGenerate_Click()
{
    // A click that reaches the window while it yields during a run.
    if (m_running)
        return;
    m_lastRun.reset();
    GenerationRun run(job(), *this, m_links, m_messages);
    if (const std::optional<RunRefusal> refused = run.refusal()) {
        if (*refused == RunRefusal::NoOutputFields)
            Q_EMIT focusRequested(QStringLiteral("lstOutput"));
        else if (*refused == RunRefusal::NoFileName)
            Q_EMIT focusRequested(QStringLiteral("txtFilename"));
        return;
    }
    m_lastRun = run.run();
}

void ReportForm::started()
{
    m_running = true;
    Frame1Visible = false;
    Frame2Visible = false;
    Frame3Visible = true;
    RunElapsedSeconds = 0;
    chkCancel = 0;
    chkDeleteOnCancel = 0;
    CancelRequested = false;
    DeleteOnCancel = false;
    lblTotalPages.clear();
    lblCurPage.clear();
    lblElapsedSeconds.clear();
    Q_EMIT progress();
}

void ReportForm::status(const RunStatus &status, RunRequests &requests)
{
    RunElapsedSeconds = status.elapsedSeconds;
    CancelRequested = chkCancel != 0;
    DeleteOnCancel = chkDeleteOnCancel != 0;
    requests.cancel = CancelRequested;
    requests.deleteOnCancel = DeleteOnCancel;
    // The colour box is read before each section.
    requests.tableColor = cboBGcolor;
    lblTotalPages = QString::number(status.totalPages);
    lblCurPage = QString::number(status.currentPage);
    lblElapsedSeconds = QString::number(status.elapsedSeconds);
    Q_EMIT progress();
}

void ReportForm::finished(const RunResult &result)
{
    CancelRequested = result.cancelled;
    DeleteOnCancel = result.deletedOnCancel;
    Frame1Visible = true;
    Frame2Visible = true;
    Frame3Visible = false;
    m_running = false;
    Q_EMIT progress();
}

} // namespace zuvexal
