#pragma once

#include <ZuVexal/container.h>
#include <ZuVexal/recordset.h>
#include <ZuVexal/runresult.h>
#include <ZuVexal/zuvexalcore_export.h>

#include <QColor>
#include <QObject>
#include <QVariant>

#include <memory>
#include <stdexcept>

namespace zuvexal {

class ZuVexalPrivate;
struct PreparedReport;

// An error the published interface raises to the host, with its number.
class ZUVEXAL_CORE_EXPORT ZuError : public std::runtime_error
{
public:
    ZuError(int number, const char *what) : std::runtime_error(what), m_number(number) {}
    int number() const { return m_number; }

private:
    int m_number;
};

// Reading ApplicationPath while the host runs.
inline constexpr int ErrPropertyGetNotSupportedAtRunTime = 393;

// The control a host places on its window: a timer, a file dialog box, a
// hyperlinker, a database reporter and a message log behind one object.
// Properties, methods and signals carry their published names; by-reference
// parameters are references (or pointers where they are optional) and are
// written back as documented. Nothing throws into the host except the
// ApplicationPath getter at run time.
class ZUVEXAL_CORE_EXPORT ZuVexal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("DefaultProperty", "MaxRecsPerPage")
    Q_CLASSINFO("Description", "Quorvane Vexal Control")
    Q_PROPERTY(QString Tag READ Tag WRITE setTag)
    Q_PROPERTY(QString DeveloperCompany READ DeveloperCompany WRITE setDeveloperCompany)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    // Read by name (QObject::property(), QMetaProperty::read()) at run time
    // it gives an invalid QVariant and a warning naming error 393: nothing
    // throws through Qt's meta-object code into a form loader or inspector.
    Q_PROPERTY(QVariant ApplicationPath READ applicationPathProperty WRITE setApplicationPathProperty
               STORED false DESIGNABLE false)
    Q_PROPERTY(bool DoTimer READ DoTimer WRITE setDoTimer)
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    Q_PROPERTY(qint32 MaxRecsPerPage READ MaxRecsPerPage WRITE setMaxRecsPerPage)
    Q_PROPERTY(quintptr hWnd READ hWnd STORED false DESIGNABLE false)
    Q_PROPERTY(zuvexal::RecordSetPtr CurrentRecordset READ CurrentRecordset STORED false DESIGNABLE false)

public:
    enum MaxRecsOnPage {
        Zu_FiveRecs = 5,
        Zu_TenRecs = 10,
        Zu_TwentyRecs = 20,
        Zu_HundredRecs = 100,
        Zu_TwoHunRecs = 200,
        Zu_FiveHunRecs = 500,
        Zu_ThouRecs = 1000,
    };
    Q_ENUM(MaxRecsOnPage)

    // What AutoZuReporter does with the report: show in the browser (first
    // letter pair), send to the printer (second).
    enum repDisplayAndPrint { rNoNo = 0, rNoYes = 1, rYesNo = 10, rYesYes = 11 };
    Q_ENUM(repDisplayAndPrint)

    enum DirFileType {
        Zu_All_Files = 0,
        Zu_Document_Files = 1,
        Zu_Picture_Files = 2,
        Zu_Executable_Files = 3,
        Zu_Library_Files = 4,
        Zu_Internet_Files = 5,
        Zu_Sound_Files = 6,
        Zu_Movie_Files = 7,
    };
    Q_ENUM(DirFileType)

    enum InsertButton { Zu_BDocument = 0, Zu_BBackground = 1 };
    Q_ENUM(InsertButton)

    static constexpr int TimerPeriodMs = 999;
    static constexpr quint32 DefaultBackColor = 0x00FFFF80;

    // Initialize. The container and the surface, when given, must outlive
    // the control; without them the control runs headless in run mode.
    explicit ZuVexal(QObject *parent = nullptr, Container *container = nullptr,
                     ControlSurface *surface = nullptr);
    // Terminate.
    ~ZuVexal() override;

    void setContainer(Container *container);
    Container &container() const;
    void setSurface(ControlSurface *surface);

    // A newly placed control.
    void InitProperties();
    // A control restored from the host's saved window.
    void ReadProperties(const PropertyBag &bag);
    // The container saves the control.
    void WriteProperties(PropertyBag &bag) const;

    QString Tag() const;
    void setTag(const QString &Tag);
    QString DeveloperCompany() const;
    void setDeveloperCompany(const QString &DeveloperCompany);
    QColor BackColor() const;
    void setBackColor(const QColor &BackColor);
    bool Enabled() const;
    void setEnabled(bool Enabled);
    // Throws ZuError 393 while the host runs.
    QString ApplicationPath() const;
    // At run time: trimmed, '/' appended, written back to the caller.
    void setApplicationPath(QString &ApplicationPath);
    void setApplicationPath(const QString &ApplicationPath);
    bool DoTimer() const;
    void setDoTimer(bool DoTimer);
    qint32 Interval() const;
    void setInterval(qint32 Interval);
    qint32 MaxRecsPerPage() const;
    void setMaxRecsPerPage(qint32 MaxRecsPerPage);
    quintptr hWnd() const;
    RecordSetPtr CurrentRecordset() const;

    // The default caption is translated when the chooser shows it; a host's
    // own caption is shown as given.
    Q_INVOKABLE QString SupplyFileName(const QString &Dialog_Caption
                                       = QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Supply Filename")),
                                       QString *InitDir = nullptr, qint16 FileType = Zu_All_Files,
                                       bool *VerifyFileExistence = nullptr,
                                       QObject *GraphicOrEditControl = nullptr,
                                       qint16 ShowInsertButton = Zu_BDocument);
    Q_INVOKABLE QString LongFileName(const QString &Short_Name) const;
    Q_INVOKABLE QString justFileName(const QString &pathName) const;
    Q_INVOKABLE QString ShortFileName(const QString &Long_Name) const;
    Q_INVOKABLE QString FileFolder(const QString &FullFileName) const;
    Q_INVOKABLE bool OpenHyperlink(const QString &Destination, bool StartNewInstanceOfBrowser = false);
    Q_INVOKABLE bool ShowZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, QVariant *forFutureUse = nullptr,
                                    QObject *ObjReserved = nullptr);
    Q_INVOKABLE bool AutoZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, const QString &fileName = {},
                                    const QString &FileTitle = {}, int AutoRepAction = rYesNo,
                                    QVariant *forFutureUse = nullptr, QObject *ObjReserved = nullptr);
    // The generation run's way back to the host: raises ReportStatus; what
    // the host's handler writes into the by-reference arguments comes back.
    Q_INVOKABLE void RaiseZuReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage,
                                         bool &Cancel, bool &DeleteGeneratedPagesOnCancel,
                                         QVariant &forFututeUse);
    Q_INVOKABLE void LogMessage(const QVariant &strMessage, QObject *TextHandlingBox = nullptr);
    Q_INVOKABLE void AboutBox();
    // Blocks for N seconds (N < 1 gives 5, N > 86399 gives 86399; the
    // clamped value is written back).
    Q_INVOKABLE void ProgramDelayNSec(qint32 *N = nullptr);

    // A tick of Timer1, the control's child timer of that name, which calls
    // it every 999 ms.
    void Timer1_Timer();
    // A report entry point is in progress (in any control of the process).
    bool ReportBusy() const;

    // Choices of the report window that AutoZuReporter makes instead of the
    // window's defaults (table colour, date line); none by default. A table
    // colour set from a ReportStatus handler reaches the sections still to
    // be written.
    void setReportChoices(const ReportChoices &choices);
    const ReportChoices &reportChoices() const;
    // What the last generation run of this control's reports did.
    const std::optional<RunResult> &lastRun() const;

Q_SIGNALS:
    void ZuTimer();
    void Click();
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
