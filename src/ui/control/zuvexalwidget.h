#pragma once

#include <ZuVexal/zuvexal.h>
#include <ZuVexal/zuvexalwidgets_export.h>

#include <QWidget>

#include <memory>

/// \file zuvexalwidget.h
/// The control's widget, zuvexal::ui::ZuVexalWidget. Included by
/// `<ZuVexal/ZuVexalWidget>`.

/// The windows of ZuVexal and the control's widget (library ZuVexalWidgets).
namespace zuvexal::ui {

class ZuVexalWidgetPrivate;

/// The control as a host places it on a window: a small fixed square
/// (345 × 345 twips) with a focus label, carrying the colour and enabled
/// state of the control.
///
/// Properties, methods and signals are those of the ZuVexal object it
/// holds, published again under the same names, so hosts and designers
/// reach them on the widget; all logic stays in ZuVexal. The widget is its
/// control's container (its objectName is the control's name) and surface,
/// and makes the process show real windows (installWindows()). Properties
/// set right after construction are held back until the widget is polished
/// or first used: a form's (marked with FormMark) are restored as saved
/// ones, others applied as run-time sets. Its members live behind a private
/// part, so it can change within the SONAME.
/// \headerfile zuvexalwidget.h <ZuVexal/ZuVexalWidget>
class ZUVEXAL_WIDGETS_EXPORT ZuVexalWidget : public QWidget, public ControlSurface, public Container
{
    Q_OBJECT
    /// ZuVexal::Tag of the control.
    Q_PROPERTY(QString Tag READ Tag WRITE setTag)
    /// ZuVexal::DeveloperCompany of the control: set in Qt Designer only.
    Q_PROPERTY(QString DeveloperCompany READ DeveloperCompany WRITE setDeveloperCompany)
    /// ZuVexal::BackColor of the control: the widget's background.
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setControlBackColor)
    /// ZuVexal::Enabled of the control: whether the widget is enabled.
    Q_PROPERTY(bool Enabled READ Enabled WRITE setControlEnabled)
    /// ZuVexal::DoTimer of the control.
    Q_PROPERTY(bool DoTimer READ DoTimer WRITE setDoTimer)
    /// ZuVexal::Interval of the control.
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    /// ZuVexal::MaxRecsPerPage of the control.
    Q_PROPERTY(qint32 MaxRecsPerPage READ MaxRecsPerPage WRITE setMaxRecsPerPage)
    /// ZuVexal::ApplicationPath of the control: set from code at run time;
    /// the C++ getter throws ZuError 393 at run time, a read by name gives an
    /// invalid QVariant and a warning.
    Q_PROPERTY(QVariant ApplicationPath READ applicationPathProperty WRITE setApplicationPathProperty
               STORED false DESIGNABLE false)
    /// ZuVexal::hWnd of the control: the widget's X11 window id; 0 on Wayland.
    Q_PROPERTY(quintptr hWnd READ hWnd STORED false DESIGNABLE false)
    /// ZuVexal::CurrentRecordset of the control.
    Q_PROPERTY(zuvexal::RecordSetPtr CurrentRecordset READ CurrentRecordset STORED false DESIGNABLE false)

public:
    /// Width and height of the widget in twips (1/1440 inch); the widget
    /// keeps this size.
    static constexpr int SizeTwips = 345;

    /// The widget with a new control, in run mode, a child of \a parent.
    explicit ZuVexalWidget(QWidget *parent = nullptr);
    ~ZuVexalWidget() override;

    /// The control itself; saved properties not yet restored are restored
    /// first.
    ZuVexal &control();

    /// Design time (\a userMode false: Qt Designer hosts the widget) or run
    /// time (true, the default). At design time properties are set as the
    /// designer sets them, never restored.
    void setUserMode(bool userMode);

    /// The dynamic property that marks a control of a form: Designer saves
    /// it with every form that holds the control, and uic's setupUi() or
    /// QUiLoader set it with the form's other properties.
    static constexpr const char *FormMark = "zuvexalSavedForm";

    /// The Tag property.
    QString Tag() const;
    /// Sets the Tag property to \a value.
    void setTag(const QString &value);
    /// The DeveloperCompany property.
    QString DeveloperCompany() const;
    /// Sets the DeveloperCompany property to \a value (ignored at run time).
    void setDeveloperCompany(const QString &value);
    /// The BackColor property.
    QColor BackColor() const;
    /// Sets the BackColor property to \a value.
    void setControlBackColor(const QColor &value);
    /// The Enabled property.
    bool Enabled() const;
    /// Sets the Enabled property to \a value.
    void setControlEnabled(bool value);
    /// The DoTimer property.
    bool DoTimer() const;
    /// Sets the DoTimer property to \a value.
    void setDoTimer(bool value);
    /// The Interval property.
    qint32 Interval() const;
    /// Sets the Interval property to \a value; a negative value is ignored.
    void setInterval(qint32 value);
    /// The MaxRecsPerPage property.
    qint32 MaxRecsPerPage() const;
    /// Sets the MaxRecsPerPage property to \a value.
    void setMaxRecsPerPage(qint32 value);
    /// The ApplicationPath property.
    /// \throws ZuError 393 (ErrPropertyGetNotSupportedAtRunTime) while the host runs.
    QString ApplicationPath() const;
    /// Sets the ApplicationPath property, as ZuVexal::setApplicationPath().
    /// \param[in,out] value the folder; at run time the trimmed text, '/'
    ///        appended where it was taken, is written back.
    void setApplicationPath(QString &value);
    /// Sets the ApplicationPath property from a copy of \a value.
    void setApplicationPath(const QString &value);
    /// The hWnd property.
    quintptr hWnd() const;
    /// The CurrentRecordset property.
    RecordSetPtr CurrentRecordset() const;

    // Reached by name by the report windows through their control reference.
    /// \copydoc ZuVexal::SupplyFileName
    Q_INVOKABLE QString SupplyFileName(const QString &Dialog_Caption = QStringLiteral("Supply Filename"),
                                       QString *InitDir = nullptr, qint16 FileType = ZuVexal::Zu_All_Files,
                                       bool *VerifyFileExistence = nullptr,
                                       QObject *GraphicOrEditControl = nullptr,
                                       qint16 ShowInsertButton = ZuVexal::Zu_BDocument);
    /// \copydoc ZuVexal::LongFileName
    Q_INVOKABLE QString LongFileName(const QString &Short_Name) const;
    /// \copydoc ZuVexal::justFileName
    Q_INVOKABLE QString justFileName(const QString &pathName) const;
    /// \copydoc ZuVexal::ShortFileName
    Q_INVOKABLE QString ShortFileName(const QString &Long_Name) const;
    /// \copydoc ZuVexal::FileFolder
    Q_INVOKABLE QString FileFolder(const QString &FullFileName) const;
    /// \copydoc ZuVexal::OpenHyperlink
    Q_INVOKABLE bool OpenHyperlink(const QString &Destination, bool StartNewInstanceOfBrowser = false);
    /// \copydoc ZuVexal::ShowZuReporter
    Q_INVOKABLE bool ShowZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, QVariant *forFutureUse = nullptr,
                                    QObject *ObjReserved = nullptr);
    /// \copydoc ZuVexal::AutoZuReporter
    Q_INVOKABLE bool AutoZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, const QString &fileName = {},
                                    const QString &FileTitle = {}, int AutoRepAction = ZuVexal::rYesNo,
                                    QVariant *forFutureUse = nullptr, QObject *ObjReserved = nullptr);
    /// \copydoc ZuVexal::RaiseZuReportStatus
    Q_INVOKABLE void RaiseZuReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                                         bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse);
    /// \copydoc ZuVexal::LogMessage
    Q_INVOKABLE void LogMessage(const QVariant &strMessage, QObject *TextHandlingBox = nullptr);
    /// \copydoc ZuVexal::AboutBox
    Q_INVOKABLE void AboutBox();
    /// \copydoc ZuVexal::ProgramDelayNSec
    Q_INVOKABLE void ProgramDelayNSec(qint32 *N = nullptr);

    // ControlSurface
    /// The widget's background colour (its palette's Window colour).
    QColor backColor() const override;
    /// Paints the widget's background in \a color.
    void setBackColor(const QColor &color) override;
    /// Whether the widget is enabled.
    bool isEnabled() const override;
    /// Enables or disables the widget, as \a enabled says.
    void setEnabled(bool enabled) override;
    /// The widget's X11 window id; 0 on Wayland, where a window has no id
    /// other programs could use.
    quintptr windowHandle() const override;

    // Container
    /// As set with setUserMode(); true unless Qt Designer hosts the widget.
    bool userMode() const override;
    /// The widget's objectName.
    QString displayName() const override;
    /// Nothing: the form the widget is on saves its properties.
    void propertyChanged(const QString &) override;
    /// The widget itself for its own name, else the first descendant of
    /// its window named \a name; null when there is none.
    QObject *controlByName(const QString &name) const override;

    /// The fixed size: SizeTwips at the screen's logical resolution.
    QSize sizeHint() const override;

Q_SIGNALS:
    /// \copydoc ZuVexal::ZuTimer
    void ZuTimer();
    /// \copydoc ZuVexal::Click
    void Click();
    /// \copydoc ZuVexal::ReportStatus
    void ReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                      bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse);

protected:
    /// Restores held-back properties when the widget is polished, and notes
    /// the FormMark of a form.
    bool event(QEvent *event) override;
    /// Shows the focus label " Zu" in bold.
    void focusInEvent(QFocusEvent *event) override;
    /// Clears the focus label.
    void focusOutEvent(QFocusEvent *event) override;
    /// Emits Click when the button is released over the widget.
    void mouseReleaseEvent(QMouseEvent *event) override;
    /// Keeps the widget at its fixed size.
    void resizeEvent(QResizeEvent *event) override;

private:
    ZuVexal &live() const;
    QVariant applicationPathProperty() const;
    void setApplicationPathProperty(const QVariant &path);

    std::unique_ptr<ZuVexalWidgetPrivate> d;
};

} // namespace zuvexal::ui
