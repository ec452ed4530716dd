#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include <ZuVexal/zuvexalcore_export.h>

#include "core/base/listitem.h"
#include "core/recordset/recordset.h"
#include "core/reporter/reportjob.h"
#include "core/reporter/runresult.h"

#include <QCoreApplication>
#include <QDate>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <optional>
#include <vector>

namespace zuvexal {

class AdvancedSetForm;
class Messages;
struct LinkState;
struct SharedValues;

// What a report entry point hands the report window before it loads: the
// records and how to read them, and the host's control, which the window
// reaches by name (MaxRecsPerPage, RaiseZuReportStatus, SupplyFileName).
struct ReportInput
{
    RecordSetPtr records{};
    qint32 totalRecords = 0;
    bool containPictureFields = false;
    QString pictureFields{};  // comma-separated field names
    QString graphicFolder{};  // used only when it is an absolute folder
    QPointer<QObject> hostControl{};
};

// The values of the report window's controls as each load of the window
// starts.
struct ReportControls
{
    QString caption;
    ListItems lstAvailable;
    ListItems lstOutput;
    int lstOutputIndex = -1;           // the current item, -1 for none
    QString txtTitle;
    QString txtFilename;
    int chkInsert = 1;
    QDate dtpInsert;
    QString cboBGcolor;
    int chkBrowser = 1;
    int chkPrinter = 0;
    int chkCancel = 0;
    int chkDeleteOnCancel = 0;
    bool Frame1Visible = true;
    bool Frame2Visible = true;
    bool Frame3Visible = false;
    QString lblPage = QCoreApplication::translate("ReportForm", "Preview Records");
    QString lblTotalPages = QStringLiteral("tp");
    QString lblCurPage = QStringLiteral("cp");
    QString lblElapsedSeconds = QStringLiteral("es");
    std::array<bool, 4> cmdPageEnabled{false, false, false, false};  // First, Previous, Next, Last
};

// The state and handlers of the report window, one per process: the report
// in progress (records, pages, picture fields) and the values of the
// window's controls. The window is a view over this object. Generate makes
// a report job of the controls and observes its run: the progress labels,
// and the abort boxes as cancel requests. Each load starts from the
// controls' initial values; the report's public properties keep theirs.
class ZUVEXAL_CORE_EXPORT ReportForm : public QObject, public ReportControls, private ReportObserver
{
    Q_OBJECT

public:
    // The form reads the process's shared values and opens links and
    // message boxes through its services; all of them outlive it.
    ReportForm(SharedValues &values, AdvancedSetForm &settings, LinkState &links, const Messages &messages);
    ~ReportForm() override;

    // The advanced settings window this report uses.
    AdvancedSetForm &settingsForm() { return m_settings; }

    // Set by the control before the window loads. A graphic folder that is
    // not absolute leaves the one before in place.
    void setInput(ReportInput input);
    const ReportInput &input() const { return m_input; }
    const QString &GraphicFolderPath() const { return m_graphicFolderPath; }
    const QString &thePicFields() const { return m_input.pictureFields; }

    qint32 CurPage() const { return m_curPage; }
    qint32 TotalPage() const { return m_totalPage; }
    qint32 NumRecsOnPage() const { return m_numRecsOnPage; }
    qint32 RecsPerPage() const { return m_recsPerPage; }
    const RecordSetPtr &CurPageRecordset() const { return m_curPageRecordset; }
    const std::vector<RecordSetPtr> &PageRecordsets() const { return m_pageRecordsets; }

    // One element per grid column: its field name, and its picture folder
    // ("" for a column that holds no picture file names).
    const QStringList &GridFieldNames() const { return m_gridFieldNames; }
    const QStringList &ColumnPictureFolders() const { return m_columnPictureFolders; }
    const QString &GridFormatText() const { return m_gridFormatText; }
    // The picture a cell of the preview shows: the file its value names in
    // its column's picture folder; a null image for other columns and for
    // files that are missing or no picture (the grid then shows the text).
    QImage cellPicture(int column, const QVariant &value) const;

    // Where the last run of this window is or ended.
    qint32 RunElapsedSeconds = 0;
    bool CancelRequested = false;
    bool DeleteOnCancel = false;
    bool isRunning() const { return m_running; }
    // What the last run did; nothing before the first.
    const std::optional<RunResult> &lastRun() const { return m_lastRun; }

    bool isLoaded() const { return m_loaded; }
    // Loads the window when needed: caption, date, colour, pages, page 1.
    void ensureLoaded();
    // Releases the pages and stores the advanced settings.
    void unload();

    void cmdPage_Click(int Index);
    void cmdDirection_Click(int Index);
    void cmdMoveUpDown_Click(int Index);
    void cmdAdvanced_Click();
    void cmdSaveAs_Click();
    void cmdClose_Click();
    void cmdGenerate_Click();
    // The close box or Esc: closes the window, or during a run asks for an
    // abort instead, since closing would release the pages under the run.
    // True when the window closed.
    bool requestClose();

Q_SIGNALS:
    // The window moves the input focus to this control ("lstOutput",
    // "txtFilename").
    void focusRequested(const QString &controlName);
    // The current page changed; the grid shows CurPageRecordset.
    void pageShown();
    // The run reported progress (labels, frames).
    void progress();
    // The window closes.
    void closeRequested();
    // The advanced settings window is to be shown modally.
    void advancedRequested();
    // The window has loaded: its controls hold their initial values.
    void loaded();

private:
    void started() override;
    void status(const RunStatus &status, RunRequests &requests) override;
    // The user sees the labels only.
    bool pagesOnDiskAtStatus() const override { return false; }
    void finished(const RunResult &result) override;
    ReportJob job();

    void BuildPages();
    void ShowCurrentPage();
    void showPage(qint32 page);
    void selectPage(qint32 page);

    SharedValues &m_values;
    AdvancedSetForm &m_settings;
    LinkState &m_links;
    const Messages &m_messages;

    QString m_graphicFolderPath;
    ReportInput m_input;
    qint32 m_curPage = 0;
    qint32 m_totalPage = 0;
    qint32 m_numRecsOnPage = 0;
    qint32 m_recsPerPage = 0;
    RecordSetPtr m_curPageRecordset;
    std::vector<RecordSetPtr> m_pageRecordsets;
    QStringList m_gridFieldNames;
    QStringList m_columnPictureFolders;
    QString m_gridFormatText;
    bool m_loaded = false;
    bool m_running = false;
    std::optional<RunResult> m_lastRun;
};

} // namespace zuvexal
