#pragma once

#include "core/base/listitem.h"
#include "core/recordset/recordset.h"
#include "core/reporter/runresult.h"
#include "core/settings/advancedsettings.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace zuvexal {

// Everything one generation run reads, taken when it starts. The report
// window makes one from its controls, AutoZuReporter from its arguments;
// the run reads nothing else, so a host that changes the window, the
// control, its record set or Qt's default locale during a run changes only
// what it hands back through the observer. Pages are made on other threads
// from this value alone: it holds copies, never an object the host can
// close, re-query or replace under them.
struct ReportJob
{
    // The records of each page, 1..TotalPage, as the split made them. The
    // copies share their rows with the host's set, which copies a column
    // before it writes to it.
    std::vector<RecordSet> pages;
    // The page shown when the run starts (1-based); with allPages false
    // the run writes it alone, as page 1 of 1 under the base name.
    qint32 shownPage = 1;
    bool allPages = true;
    // The fields of the record set the pages were cut from: the pages'
    // fields carry the attributes of their type only, these say which
    // columns hold links.
    std::vector<Field> sourceFields;
    qint32 totalRecords = 0;

    QStringList outputFields;  // the report's columns, in order
    QString title;             // as typed
    QString fileName;          // as typed
    bool insertDate = true;
    QDate date;
    QString tableColor = QStringLiteral("WHITE");
    bool showInBrowser = true;
    bool print = false;
    // Unattended: a missing file name gets a default, the date line the
    // time of day.
    bool unattended = false;
    QString appFolder; // ends in '/'

    // Picture columns: one entry per grid column, its field name and its
    // folder ("" for a column that holds no picture file names).
    bool containPictureFields = false;
    QStringList gridFieldNames;
    QStringList columnPictureFolders;

    // The advanced settings: the record, whether it is in force, and the
    // sum fields (selected items are summed).
    AdvancedSettings settings;
    bool advancedSettingsInForce = false;
    ListItems sumFields;

    // Dates, the decimal point and the AM/PM designators of the pages.
    QLocale locale;
};

// Where the run is, once per section to come.
struct RunStatus
{
    qint32 totalPages = 0;
    qint32 elapsedSeconds = 0;
    qint32 currentPage = 0;
};

// What an observer hands back with each status report. It starts from the
// values of the report before; the run reads it right after the call.
struct RunRequests
{
    bool cancel = false;
    bool deleteOnCancel = false;
    QVariant reserved;    // the host's own value, kept between reports
    QString tableColor;   // the colour of the sections still to be written
};

// The way back from a run to whoever started it. All calls come on the
// thread that runs the report.
class ReportObserver
{
public:
    virtual ~ReportObserver() = default;

    // The run enters its running state.
    virtual void started() {}
    // Once per section to come, before any record of its page is written.
    // The pages before the current one are whole on disk when
    // pagesOnDiskAtStatus() says so.
    virtual void status(const RunStatus &status, RunRequests &requests) = 0;
    // True when whoever handles status() may look at the files; the run
    // then has every earlier page written before it reports, at the cost
    // of making and writing pages one after the other.
    virtual bool pagesOnDiskAtStatus() const { return true; }
    // The run left its running state.
    virtual void finished(const RunResult &) {}
};

// The pages a record set is cut into.
struct ReportPages
{
    std::vector<RecordSetPtr> pages;
    qint32 recordsPerPage = 0;
};

// Cuts the first totalRecords records of source into pages of
// recordsPerPage (10 when it is below 1; 200 when that would give more
// than 100 pages of fewer records). Pages share the rows of the source.
ReportPages splitIntoPages(const RecordSet &source, qint32 totalRecords, std::optional<qint32> recordsPerPage);

// The fields of a record set, in order.
std::vector<Field> fieldsOf(const RecordSet &records);

// The numeric fields of a page whose first value is a number, offered
// for sums; none past a field whose trimmed name the page does not know.
ListItems sumFieldCandidates(RecordSet &page);

// A picture folder as a report keeps it: trimmed, ending in '/'; nothing
// unless it is absolute (only a full path says where the pictures are).
std::optional<QString> pictureFolderPath(const QString &folder);

// For each grid column, the picture folder of its field, "" when it holds
// no picture file names. folders and pictureFields are comma-separated
// lists in step; a picture field without a folder of its own takes the
// last one.
QStringList pictureFoldersFor(const QStringList &columns, const QString &folders, const QString &pictureFields);

} // namespace zuvexal
