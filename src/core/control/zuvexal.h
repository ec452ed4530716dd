#pragma once

#include <ZuVexal/container.h>
#include <ZuVexal/recordset.h>
#include <ZuVexal/runresult.h>
#include <ZuVexal/zuvexalcore_export.h>

#include <QColor>
#include <QLocale>
#include <QObject>
#include <QVariant>

#include <memory>
#include <optional>
#include <stdexcept>

/// \file zuvexal.h
/// The control, zuvexal::ZuVexal, and the error it raises. Included by
/// `<ZuVexal/ZuVexal>`.

/// Everything of ZuVexal: the control, its record sets, settings and results.
namespace zuvexal {

class ZuVexalPrivate;
struct PreparedReport;

/// An error the published interface raises to the host, with its number.
///
/// Only the ApplicationPath getter (of ZuVexal or its widget) throws it:
/// ErrPropertyGetNotSupportedAtRunTime.
/// \headerfile zuvexal.h <ZuVexal/ZuVexal>
class ZUVEXAL_CORE_EXPORT ZuError : public std::runtime_error
{
public:
    /// An error with its published \a number and message \a what.
    ZuError(int number, const char *what) : std::runtime_error(what), m_number(number) {}
    /// The published error number, such as 393.
    int number() const { return m_number; }

private:
    int m_number;
};

/// ZuError number of reading ZuVexal::ApplicationPath while the host runs.
inline constexpr int ErrPropertyGetNotSupportedAtRunTime = 393;

/// The control a host places on its window: a timer, a file dialog box, a
/// hyperlinker, a database reporter and a message log behind one object.
///
/// Properties, methods and signals carry their published names and are
/// reachable by name through Qt's meta-object system. By-reference
/// parameters are references (or pointers where they are optional) and are
/// written back as documented. Nothing throws into the host except the
/// ApplicationPath getter at run time; failures give false or an empty
/// text. Without a window the control runs headless; ui::ZuVexalWidget
/// places it on a window.
/// \headerfile zuvexal.h <ZuVexal/ZuVexal>
class ZUVEXAL_CORE_EXPORT ZuVexal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("DefaultProperty", "MaxRecsPerPage")
    Q_CLASSINFO("Description", "Quorvane Vexal Control")
    /// Free text the host keeps with the control; saved with it.
    Q_PROPERTY(QString Tag READ Tag WRITE setTag)
    /// The organisation named in the message log, in capitals. It can be set
    /// at design time only; a run-time set is ignored, as is a blank name.
    Q_PROPERTY(QString DeveloperCompany READ DeveloperCompany WRITE setDeveloperCompany)
    /// The colour of the control's surface; DefaultBackColor at first.
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    /// Whether the control's surface takes input; setting it restarts the
    /// count of timer ticks.
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    /// The host's folder, with a trailing '/': reports go to its `Reports/`,
    /// the log to `Reports/Log/`. Set from code at run time; readable at
    /// design time only. Read through the C++ getter at run time it throws
    /// ZuError 393; read by name (QObject::property(), QMetaProperty::read())
    /// it gives an invalid QVariant and a warning naming error 393, so
    /// nothing throws through Qt's meta-object code into a form loader or
    /// property inspector.
    Q_PROPERTY(QVariant ApplicationPath READ applicationPathProperty WRITE setApplicationPathProperty
               STORED false DESIGNABLE false)
    /// Whether Timer1 ticks (every 999 ms).
    Q_PROPERTY(bool DoTimer READ DoTimer WRITE setDoTimer)
    /// Timer ticks between two ZuTimer signals; 0 (the default) switches
    /// ZuTimer off. A negative value is ignored.
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    /// Records on a report page (one of MaxRecsOnPage); Zu_TenRecs by
    /// default. The default property of the control.
    Q_PROPERTY(qint32 MaxRecsPerPage READ MaxRecsPerPage WRITE setMaxRecsPerPage)
    /// The native window of the control's surface (an X11 window id); 0
    /// without a window and on Wayland. Read-only.
    Q_PROPERTY(quintptr hWnd READ hWnd STORED false DESIGNABLE false)
    /// The record set of the last report entry point, queried again when
    /// its connection is open; null before the first report. Read-only.
    Q_PROPERTY(zuvexal::RecordSetPtr CurrentRecordset READ CurrentRecordset STORED false DESIGNABLE false)

public:
    /// Page sizes a host can choose for MaxRecsPerPage.
    enum MaxRecsOnPage {
        Zu_FiveRecs = 5,      ///< 5 records a page.
        Zu_TenRecs = 10,      ///< 10 records a page (the default).
        Zu_TwentyRecs = 20,   ///< 20 records a page.
        Zu_HundredRecs = 100, ///< 100 records a page.
        Zu_TwoHunRecs = 200,  ///< 200 records a page.
        Zu_FiveHunRecs = 500, ///< 500 records a page.
        Zu_ThouRecs = 1000,   ///< 1000 records a page.
    };
    Q_ENUM(MaxRecsOnPage)

    /// What AutoZuReporter does with the report: show in the browser (first
    /// letter pair), send to the printer (second).
    enum repDisplayAndPrint {
        rNoNo = 0,   ///< Neither shown nor printed.
        rNoYes = 1,  ///< Printed, not shown.
        rYesNo = 10, ///< Shown, not printed (the default).
        rYesYes = 11 ///< Shown and printed.
    };
    Q_ENUM(repDisplayAndPrint)

    /// The file types the file chooser offers (SupplyFileName's FileType).
    enum DirFileType {
        Zu_All_Files = 0,        ///< Every file.
        Zu_Document_Files = 1,   ///< Documents.
        Zu_Picture_Files = 2,    ///< Pictures.
        Zu_Executable_Files = 3, ///< Programs.
        Zu_Library_Files = 4,    ///< Libraries.
        Zu_Internet_Files = 5,   ///< Web pages.
        Zu_Sound_Files = 6,      ///< Sounds.
        Zu_Movie_Files = 7,      ///< Movies.
    };
    Q_ENUM(DirFileType)

    /// Which insert button the file chooser shows (SupplyFileName's
    /// ShowInsertButton).
    enum InsertButton {
        Zu_BDocument = 0,  ///< Insert the file into a document.
        Zu_BBackground = 1 ///< Insert the picture as a background.
    };
    Q_ENUM(InsertButton)

    /// Period of Timer1 in milliseconds.
    static constexpr int TimerPeriodMs = 999;
    /// BackColor of a new control, as 0x00BBGGRR (a pale cyan).
    static constexpr quint32 DefaultBackColor = 0x00FFFF80;

    /// Initialize. The \a container and the \a surface, when given, must
    /// outlive the control; without them the control runs headless in run
    /// mode (DefaultContainer, HeadlessSurface). Timer1 starts ticking.
    explicit ZuVexal(QObject *parent = nullptr, Container *container = nullptr,
                     ControlSurface *surface = nullptr);
    /// Terminate.
    ~ZuVexal() override;

    /// Makes \a container the control's container; null gives it a
    /// DefaultContainer. The container must outlive the control.
    void setContainer(Container *container);
    /// The control's container.
    Container &container() const;
    /// Moves the control to \a surface, which takes the current colour and
    /// enabled state; null gives it a HeadlessSurface. The surface must
    /// outlive the control.
    void setSurface(ControlSurface *surface);

    /// A newly placed control: Tag, DeveloperCompany, ApplicationPath,
    /// DoTimer, Interval and MaxRecsPerPage to their defaults. At design
    /// time the stored advanced settings are read as well.
    void InitProperties();
    /// A control restored from the host's saved window: each saved property
    /// read from \a bag. A value the bag does not hold gives the property's
    /// default; one it cannot read, or of the wrong kind, leaves the
    /// property as it was.
    void ReadProperties(const PropertyBag &bag);
    /// The container saves the control: each saved property is written to
    /// \a bag, which omits values equal to their defaults. A failing bag is
    /// ignored.
    void WriteProperties(PropertyBag &bag) const;

    /// The Tag property.
    QString Tag() const;
    /// Sets the Tag property to \a Tag.
    void setTag(const QString &Tag);
    /// The DeveloperCompany property.
    QString DeveloperCompany() const;
    /// Sets the DeveloperCompany property: \a DeveloperCompany trimmed, in
    /// capitals. Ignored at run time and when blank.
    void setDeveloperCompany(const QString &DeveloperCompany);
    /// The BackColor property.
    QColor BackColor() const;
    /// Sets the BackColor property to \a BackColor.
    void setBackColor(const QColor &BackColor);
    /// The Enabled property.
    bool Enabled() const;
    /// Sets the Enabled property to \a Enabled.
    void setEnabled(bool Enabled);
    /// The ApplicationPath property.
    /// \throws ZuError 393 (ErrPropertyGetNotSupportedAtRunTime) while the host runs.
    QString ApplicationPath() const;
    /// Sets the ApplicationPath property. At run time the folder is trimmed
    /// and gets a trailing '/'; an empty or relative folder is ignored. At
    /// design time a message box says to set it from code, and nothing
    /// changes.
    /// \param[in,out] ApplicationPath the folder; at run time the trimmed
    ///                text, '/' appended where it was taken, is written back.
    void setApplicationPath(QString &ApplicationPath);
    /// Sets the ApplicationPath property from a copy of \a ApplicationPath,
    /// as the by-reference overload does.
    void setApplicationPath(const QString &ApplicationPath);
    /// The DoTimer property.
    bool DoTimer() const;
    /// Sets the DoTimer property to \a DoTimer: starts or stops Timer1.
    void setDoTimer(bool DoTimer);
    /// The Interval property.
    qint32 Interval() const;
    /// Sets the Interval property to \a Interval; a negative value is ignored.
    void setInterval(qint32 Interval);
    /// The MaxRecsPerPage property.
    qint32 MaxRecsPerPage() const;
    /// Sets the MaxRecsPerPage property to \a MaxRecsPerPage; when the
    /// container fails to take the change, Zu_TenRecs.
    void setMaxRecsPerPage(qint32 MaxRecsPerPage);
    /// The hWnd property.
    quintptr hWnd() const;
    /// The CurrentRecordset property.
    RecordSetPtr CurrentRecordset() const;

    /// Shows the file chooser and returns the chosen file's path.
    ///
    /// The default caption is translated when the chooser shows it; a host's
    /// own caption is shown as given.
    /// \param Dialog_Caption the chooser's caption, trimmed; one starting with
    ///        "Save As" never verifies that the file exists.
    /// \param[in,out] InitDir the folder to start in, or null; the trimmed
    ///        folder, with a trailing '/' unless empty, is written back.
    /// \param FileType the file types offered, one of DirFileType.
    /// \param[in,out] VerifyFileExistence whether the chosen file must exist
    ///        (null: it must); the value used is written back.
    /// \param GraphicOrEditControl a host control the chooser's insert
    ///        button fills, or null.
    /// \param ShowInsertButton which insert button shows, one of
    ///        InsertButton; another value counts as Zu_BDocument.
    /// \return the chosen path; empty when the user cancelled or no window
    ///         can be shown (the windows need a QApplication and
    ///         ui::installWindows()).
    Q_INVOKABLE QString SupplyFileName(const QString &Dialog_Caption
                                       = QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Supply Filename")),
                                       QString *InitDir = nullptr, qint16 FileType = Zu_All_Files,
                                       bool *VerifyFileExistence = nullptr,
                                       QObject *GraphicOrEditControl = nullptr,
                                       qint16 ShowInsertButton = Zu_BDocument);
    /// The path \a Short_Name with each part spelled as stored on disk.
    Q_INVOKABLE QString LongFileName(const QString &Short_Name) const;
    /// The file name part of \a pathName, in capitals.
    Q_INVOKABLE QString justFileName(const QString &pathName) const;
    /// The short form of \a Long_Name: Linux has no 8.3 names, so an
    /// existing path is its own short form.
    Q_INVOKABLE QString ShortFileName(const QString &Long_Name) const;
    /// The folder of \a FullFileName, with its trailing '/'.
    Q_INVOKABLE QString FileFolder(const QString &FullFileName) const;
    /// Opens a web address, a file or an e-mail address with the desktop's
    /// default program; an open browser window is reused where the desktop
    /// allows.
    /// \param Destination the target, trimmed; one holding '@' is an e-mail
    ///        address for the mail program.
    /// \param StartNewInstanceOfBrowser ask a known browser for a new window.
    /// \return true when a program started and did not fail at once; false
    ///         for an empty target or when no program took it.
    Q_INVOKABLE bool OpenHyperlink(const QString &Destination, bool StartNewInstanceOfBrowser = false);
    /// Shows the report window (modal) for a record set, where the user
    /// picks fields and options and generates the report.
    /// \param[in,out] repRecordset the records; a forward-only set is
    ///        replaced by a static copy (the original is closed). Its
    ///        bookmark is kept.
    /// \param sPicFields comma-separated names of the fields that hold
    ///        picture file names; empty for none.
    /// \param[in,out] theGraphicFolder comma-separated folders of the
    ///        pictures, or null; when null or empty ApplicationPath is used,
    ///        and written back.
    /// \param forFutureUse reserved; not read.
    /// \param ObjReserved reserved; not read.
    /// \return false when no window can be shown, another report is in
    ///         progress, the set is null or has no records, the container
    ///         does not know the control by its name, or the window made no
    ///         page.
    Q_INVOKABLE bool ShowZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, QVariant *forFutureUse = nullptr,
                                    QObject *ObjReserved = nullptr);
    /// Writes a report of every field of a record set without asking
    /// anyone, MaxRecsPerPage records a page, every numeric field summed.
    /// The pages go to `ApplicationPath` `Reports/`; lastRun() tells what
    /// the run did. The ReportStatus signal reports each page.
    /// \param[in,out] repRecordset the records, as for ShowZuReporter().
    /// \param sPicFields comma-separated picture fields, as for ShowZuReporter().
    /// \param[in,out] theGraphicFolder picture folders, as for ShowZuReporter().
    /// \param fileName the base name of the page files, trimmed;
    ///        "AutoGenRep" when empty.
    /// \param FileTitle the report's title, trimmed; "Auto-Generated Report"
    ///        when empty.
    /// \param AutoRepAction show and print, one of repDisplayAndPrint.
    /// \param forFutureUse reserved; not read.
    /// \param ObjReserved reserved; not read.
    /// \return true when every section was written; false when another
    ///         report is in progress, the set is null or empty, the
    ///         container does not know the control by its name, no page was
    ///         made or a section could not be written.
    Q_INVOKABLE bool AutoZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, const QString &fileName = {},
                                    const QString &FileTitle = {}, int AutoRepAction = rYesNo,
                                    QVariant *forFutureUse = nullptr, QObject *ObjReserved = nullptr);
    /// The generation run's way back to the host: raises ReportStatus; what
    /// the host's handler writes into the by-reference arguments comes back.
    /// An exception of the handler is swallowed.
    /// \param TotalPages pages of the report.
    /// \param ElapsedSeconds seconds since the run started.
    /// \param CurrentPage the page just written.
    /// \param[in,out] Cancel set to true to stop the run.
    /// \param[in,out] DeleteGeneratedPagesOnCancel set to true to take back
    ///        the pages written when the run stops.
    /// \param[in,out] forFututeUse reserved; passed to the handler.
    Q_INVOKABLE void RaiseZuReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage,
                                         bool &Cancel, bool &DeleteGeneratedPagesOnCancel,
                                         QVariant &forFututeUse);
    /// Appends \a strMessage, with the organisation and the time, to
    /// `<ApplicationPath>Reports/Log/ZuMessages.htm` (folders are created;
    /// a log over 1,380,000 bytes rolls over first).
    /// \param strMessage the message, HTML allowed; any value is shown as text.
    /// \param TextHandlingBox a text box (QLineEdit, QTextEdit,
    ///        QPlainTextEdit, or any object with Locked, Enabled, Visible,
    ///        SetFocus and SelText) that gets the message on a new line, or
    ///        null. Its read-only and enabled states are restored.
    Q_INVOKABLE void LogMessage(const QVariant &strMessage, QObject *TextHandlingBox = nullptr);
    /// Shows the about box (modal); nothing where no window can be shown.
    Q_INVOKABLE void AboutBox();
    /// Blocks for N seconds on a monotonic clock, processing no events.
    /// \param[in,out] N the seconds, or null for 5: below 1 gives 5, above
    ///        86399 gives 86399; the clamped value is written back.
    Q_INVOKABLE void ProgramDelayNSec(qint32 *N = nullptr);

    /// A tick of Timer1, the control's child timer of that name, which calls
    /// it every 999 ms: every Interval ticks it emits ZuTimer, never again
    /// while a ZuTimer handler still runs.
    void Timer1_Timer();
    /// True while a report entry point is in progress (in any control of
    /// the process).
    bool ReportBusy() const;

    /// Choices of the report window that AutoZuReporter makes instead of the
    /// window's defaults (table colour, date line); none by default. A table
    /// colour set from a ReportStatus handler reaches the sections still to
    /// be written.
    void setReportChoices(const ReportChoices &choices);
    /// The choices set with setReportChoices().
    const ReportChoices &reportChoices() const;
    /// The locale of the pages AutoZuReporter writes: their dates, decimal
    /// point and AM/PM texts. Without one (the default) the pages follow
    /// QLocale(), the process's default locale when the run starts.
    void setReportLocale(const std::optional<QLocale> &locale);
    /// The locale set with setReportLocale(); nothing when none is.
    std::optional<QLocale> reportLocale() const;
    /// Reads and stores the advanced report settings in the registry file
    /// \a registryFile (SQLite; made when missing) instead of the file that
    /// `ZUVEXAL_REGISTRY` or the machine names. Every control of the process
    /// shares the settings, so this holds for all of them.
    void setSettingsFile(const QString &registryFile);
    /// What the last generation run of this control's AutoZuReporter did;
    /// nothing before the first run and when the last one made no page.
    const std::optional<RunResult> &lastRun() const;

Q_SIGNALS:
    /// Every Interval ticks of Timer1 while DoTimer is true.
    void ZuTimer();
    /// The user clicked the control's surface.
    void Click();
    /// A report run wrote a page. Connect directly (the default within a
    /// thread): a queued connection drops the by-reference arguments.
    /// \param TotalPages pages of the report.
    /// \param ElapsedSeconds seconds since the run started.
    /// \param CurrentPage the page just written.
    /// \param[out] Cancel set to true to stop the run.
    /// \param[out] DeleteGeneratedPagesOnCancel set to true to take back the
    ///        pages written when the run stops.
    /// \param[in,out] forFututeUse reserved.
    void ReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                      bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse);

private:
    QVariant applicationPathProperty() const;
    void setApplicationPathProperty(const QVariant &path);
    // False when the container failed to take the notification.
    bool notify(const char *propertyName);
    // The container's UserMode; run mode when it cannot say.
    bool runMode() const;
    QString displayName() const;
    bool prepareReport(RecordSetPtr &repRecordset, const QString &sPicFields, QString *theGraphicFolder,
                       bool unattended, PreparedReport &prepared);

    friend class ZuVexalPrivate;
    std::unique_ptr<ZuVexalPrivate> d;
};

} // namespace zuvexal
