// The generation run of the report window: the pages, cut into sections of
// five records, written as linked HTML files under Reports/.
#include "core/reporter/reportform.h"

#include "core/base/messages.h"
#include "core/base/now.h"
#include "core/base/values.h"
#include "core/control/shared.h"
#include "core/filedialog/paths.h"
#include "core/links/linkactivation.h"
#include "core/reporter/forms.h"
#include "core/reporter/printing.h"
#include "core/settings/advancedsetform.h"
#include "core/settings/advancedsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMetaMethod>

#include <cmath>
#include <limits>

namespace zuvexal {

namespace {

constexpr int SectionSize = 5;
constexpr qint32 MaxOutputFields = 32000;

// The base name of the page files, or nothing when there is none.
std::optional<QString> baseFileName(const QString &typed, bool unattended)
{
    QString name = trimBlanks(typed);
    if (name.contains(QLatin1Char('/')))
        name = FileNamePart(name);
    // Linux file names may hold blanks: the name stays as typed. "." and
    // ".." name folders, not files.
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        name.clear();
    if (!name.isEmpty() && !name.contains(QLatin1String(".htm")) && !name.contains(QLatin1String(".asp")))
        name += QStringLiteral(".htm");
    if (name.isEmpty() || name == QLatin1String(".htm")) {
        if (!unattended)
            return std::nullopt;
        name = QStringLiteral("ZuReport.htm");
    }
    return name.toLower();
}

// "hh:mm:ss AM" on a 12-hour clock with the locale's designators.
QString timeOfDay(const QTime &time)
{
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QLocale locale;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? locale.amText() : locale.pmText());
}

qint16 clamp16(qint32 value)
{
    return qint16(std::clamp<qint32>(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

// The page files of one page name per page: "sales.htm" gives sales1.htm,
// sales2.htm, ...
QString numberedPageName(const QString &base, qint32 page)
{
    const QString extension = base.contains(QLatin1String(".htm")) ? QStringLiteral(".htm") : QStringLiteral(".asp");
    return QString(base).replace(extension, QString::number(page) + extension);
}

} // namespace

void ReportForm::reportStatus()
{
    RunElapsedSeconds = qint32(std::nearbyint(double(QDateTime::currentMSecsSinceEpoch() - m_runStartMs) / 1000.0));
    if (AutoReporting) {
        if (QObject *control = advancedSet().myfControl; control && m_raiseStatus.isValid()) {
            m_raiseStatus.invoke(control, Qt::DirectConnection, Q_ARG(qint16, clamp16(m_totalPage)),
                                 Q_ARG(qint32, RunElapsedSeconds), Q_ARG(qint16, clamp16(m_curPage)),
                                 Q_ARG(bool &, CancelRequested), Q_ARG(bool &, DeleteOnCancel),
                                 Q_ARG(QVariant &, StatusReserved));
        }
    } else {
        CancelRequested = chkCancel != 0;
        DeleteOnCancel = chkDeleteOnCancel != 0;
        lblTotalPages = QString::number(m_totalPage);
        lblCurPage = QString::number(m_curPage);
        lblElapsedSeconds = QString::number(RunElapsedSeconds);
    }
    Q_EMIT progress();
}

void ReportForm::writePage(const QString &pageName, const QString &pageHeading)
{
    const QString folder = shared().AppFolder + QStringLiteral("Reports");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + pageName;
    if (m_curPage >= 1 && m_curPage <= m_pageFiles.size()) {
        m_pageFiles[m_curPage - 1] = path;
        const QFileInfo existing(path);
        m_sizesBeforeRun[size_t(m_curPage - 1)] =
            existing.exists() ? std::optional<qint64>(existing.size()) : std::nullopt;
    }
    if (!m_curPageRecordset)
        return;
    RecordSet &page = *m_curPageRecordset;
    const qint64 records = std::max<qint64>(page.recordCount(), 0);
    const qint32 sectionCount = qint32(records / SectionSize);

    // One status report (and one chance to cancel) per section to come,
    // before any record of the page is written.
    for (qint32 k = 0; k <= sectionCount; ++k) {
        QCoreApplication::processEvents();
        reportStatus();
        if (CancelRequested)
            return;
    }

    m_page.CurPage = m_curPage;
    m_page.TotalPage = m_totalPage;
    m_page.NumRecsOnPage = m_numRecsOnPage;
    for (qint32 k = 0; qint64(k) * SectionSize < records; ++k) {
        RecordSet section = page.slice(qint64(k) * SectionSize, SectionSize);
        const QString name = k == 0 ? pageHeading : QStringLiteral("Section%1").arg(k);
        if (!m_writer.WriteReportSection(path, section, qint32(m_outputFieldNames.size()), m_outputFieldNames, name,
                                         sectionCount, cboBGcolor, m_page))
            ++m_failedSections;
    }
}

void ReportForm::cmdGenerate_Click()
{
    if (lstOutput.isEmpty()) {
        Q_EMIT focusRequested(QStringLiteral("lstOutput"));
        return;
    }
    QString title = trimBlanks(txtTitle);
    if (title.isEmpty())
        title = QStringLiteral(" Records ");
    const std::optional<QString> baseName = baseFileName(txtFilename, AutoReporting);
    if (!baseName) {
        Q_EMIT focusRequested(QStringLiteral("txtFilename"));
        return;
    }
    if (lstOutput.size() > MaxOutputFields) {
        showMessage(QStringLiteral("ZuVexal"), QStringLiteral("Too many fields!"));
        return;
    }

    // The running state.
    m_running = true;
    Frame1Visible = false;
    Frame2Visible = false;
    Frame3Visible = true;
    m_runStartMs = QDateTime::currentMSecsSinceEpoch();
    RunElapsedSeconds = 0;
    chkCancel = 0;
    chkDeleteOnCancel = 0;
    CancelRequested = false;
    DeleteOnCancel = false;
    lblTotalPages.clear();
    lblCurPage.clear();
    lblElapsedSeconds.clear();
    m_failedSections = 0;
    // The host's status method, looked up by name once per run.
    m_raiseStatus = QMetaMethod();
    if (QObject *control = advancedSet().myfControl) {
        const QMetaObject *meta = control->metaObject();
        const int index = meta->indexOfMethod(
            QMetaObject::normalizedSignature("RaiseZuReportStatus(qint16,qint32,qint16,bool&,bool&,QVariant&)"));
        if (index >= 0)
            m_raiseStatus = meta->method(index);
    }
    // Every run starts its sums, totals and extremes afresh.
    m_writer.reset();
    Q_EMIT progress();

    m_outputFieldNames.clear();
    for (const ListItem &item : std::as_const(lstOutput))
        m_outputFieldNames << item.text;

    QString dateLine = title;
    if (chkInsert == 1) {
        dateLine = QLocale().toString(dtpInsert, QLocale::LongFormat) + QStringLiteral(" <Br> ");
        if (AutoReporting)
            dateLine = timeOfDay(reportDateTime().time()) + QStringLiteral(" of ") + dateLine;
    }

    const qint32 savedPage = m_curPage;
    m_pageFiles = QStringList(std::max<qint32>(m_totalPage, 0), QString());
    m_sizesBeforeRun.assign(size_t(std::max<qint32>(m_totalPage, 0)), std::nullopt);

    AdvancedSetForm &settings = advancedSet();
    settings.ensureLoaded();
    m_page = PageContext{};
    m_page.CumTotalRecs = CumTotalRecs;
    m_page.ContainPictureFilenameField = ContainPictureFilenameField;
    m_page.GridFieldNames = m_gridFieldNames;
    m_page.ColumnPictureFolders = m_columnPictureFolders;
    m_page.AdvSettings = settings.AdvSettings();
    m_page.settings = settingsShared().Settings;
    m_page.lstFields = settings.lstFields;
    m_page.SourceRecordset = shared().SourceRecordset.get();

    auto heading = [&](qint32 page) {
        return QStringLiteral("Vol %1 of ").arg(page) + title + QStringLiteral("<Br>") + dateLine;
    };
    if (settings.OptPages == 0) {
        const qint32 pages = m_totalPage;
        for (qint32 p = 1; p <= pages; ++p) {
            m_curPage = p;
            m_curPageRecordset = m_pageRecordsets[size_t(p - 1)];
            m_numRecsOnPage = qint32(m_curPageRecordset->recordCount());
            writePage(pages == 1 ? *baseName : numberedPageName(*baseName, p), heading(p));
            if (CancelRequested)
                break;
        }
    } else if (savedPage >= 1 && savedPage <= qint32(m_pageRecordsets.size())) {
        const qint32 pages = m_totalPage;
        m_totalPage = 1;
        m_curPage = 1;
        m_curPageRecordset = m_pageRecordsets[size_t(savedPage - 1)];
        m_numRecsOnPage = qint32(m_curPageRecordset->recordCount());
        m_pageFiles = QStringList{QString()};
        m_sizesBeforeRun.assign(1, std::nullopt);
        writePage(*baseName, heading(savedPage));
        m_totalPage = pages;
    }

    // Back to the page shown before the run.
    m_curPage = savedPage;
    if (savedPage >= 1 && savedPage <= qint32(m_pageRecordsets.size())) {
        m_curPageRecordset = m_pageRecordsets[size_t(savedPage - 1)];
        m_numRecsOnPage = qint32(m_curPageRecordset->recordCount());
    }

    if (!CancelRequested) {
        DeleteOnCancel = false;
    } else if (DeleteOnCancel) {
        // Files this run created go; files that existed before it are cut
        // back to what they held, so earlier reports survive an abort.
        for (qsizetype i = 0; i < m_pageFiles.size(); ++i) {
            const QString &file = m_pageFiles[i];
            if (file.isEmpty() || !QFileInfo::exists(file))
                continue;
            if (const std::optional<qint64> before = m_sizesBeforeRun[size_t(i)])
                QFile::resize(file, *before);
            else
                QFile::remove(file);
        }
    }

    if (chkBrowser == 1 && !DeleteOnCancel && !m_pageFiles.isEmpty() && !m_pageFiles.front().isEmpty())
        ActivateLink(0, m_pageFiles.front(), false);
    if (chkPrinter == 1 && !DeleteOnCancel) {
        for (const QString &file : std::as_const(m_pageFiles)) {
            if (!file.isEmpty() && QFileInfo::exists(file))
                PrintShownPage(file, chkBrowser != 0);
        }
    }

    Frame1Visible = true;
    Frame2Visible = true;
    Frame3Visible = false;
    m_running = false;
    Q_EMIT progress();
}

} // namespace zuvexal
