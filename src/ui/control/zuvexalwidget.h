#pragma once

#include <ZuVexal/zuvexal.h>
#include <ZuVexal/zuvexalwidgets_export.h>

#include <QWidget>

#include <memory>

namespace zuvexal::ui {

class ZuVexalWidgetPrivate;

// The control as a host places it on a window: a small fixed square
// (345 × 345 twips) with a focus label, carrying the colour and enabled
// state of the control. Properties, methods and signals are those of the
// ZuVexal object it holds, published again under the same names, so hosts
// and designers reach them on the widget; all logic stays in ZuVexal.
// Its members live behind a private part, so it can change within the
// SONAME.
class ZUVEXAL_WIDGETS_EXPORT ZuVexalWidget : public QWidget, public ControlSurface, public Container
{
    Q_OBJECT
    Q_PROPERTY(QString Tag READ Tag WRITE setTag)
    Q_PROPERTY(QString DeveloperCompany READ DeveloperCompany WRITE setDeveloperCompany)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setControlBackColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setControlEnabled)
    Q_PROPERTY(bool DoTimer READ DoTimer WRITE setDoTimer)
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    Q_PROPERTY(qint32 MaxRecsPerPage READ MaxRecsPerPage WRITE setMaxRecsPerPage)
    Q_PROPERTY(QVariant ApplicationPath READ applicationPathProperty WRITE setApplicationPathProperty
               STORED false DESIGNABLE false)
    Q_PROPERTY(quintptr hWnd READ hWnd STORED false DESIGNABLE false)
    Q_PROPERTY(zuvexal::RecordSetPtr CurrentRecordset READ CurrentRecordset STORED false DESIGNABLE false)

public:
    static constexpr int SizeTwips = 345;

    explicit ZuVexalWidget(QWidget *parent = nullptr);
    ~ZuVexalWidget() override;

    // The control itself; saved properties not yet restored are restored
    // first.
    ZuVexal &control();

    // Design time (Qt Designer hosts the widget) or run time. At design
    // time properties are set as the designer sets them, never restored.
    void setUserMode(bool userMode);

    // The dynamic property that marks a control of a form: Designer saves
    // it with every form that holds the control, and uic's setupUi() or
    // QUiLoader set it with the form's other properties.
    static constexpr const char *FormMark = "zuvexalSavedForm";

    QString Tag() const;
    void setTag(const QString &value);
    QString DeveloperCompany() const;
    void setDeveloperCompany(const QString &value);
    QColor BackColor() const;
    void setControlBackColor(const QColor &value);
    bool Enabled() const;
    void setControlEnabled(bool value);
    bool DoTimer() const;
    void setDoTimer(bool value);
    qint32 Interval() const;
    void setInterval(qint32 value);
    qint32 MaxRecsPerPage() const;
    void setMaxRecsPerPage(qint32 value);
    QString ApplicationPath() const;
    void setApplicationPath(QString &value);
    void setApplicationPath(const QString &value);
    quintptr hWnd() const;
    RecordSetPtr CurrentRecordset() const;

    // Reached by name by the report windows through their control reference.
    Q_INVOKABLE QString SupplyFileName(const QString &Dialog_Caption = QStringLiteral("Supply Filename"),
                                       QString *InitDir = nullptr, qint16 FileType = ZuVexal::Zu_All_Files,
                                       bool *VerifyFileExistence = nullptr,
                                       QObject *GraphicOrEditControl = nullptr,
                                       qint16 ShowInsertButton = ZuVexal::Zu_BDocument);
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
                                    const QString &FileTitle = {}, int AutoRepAction = ZuVexal::rYesNo,
                                    QVariant *forFutureUse = nullptr, QObject *ObjReserved = nullptr);
    Q_INVOKABLE void RaiseZuReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                                         bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse);
    Q_INVOKABLE void LogMessage(const QVariant &strMessage, QObject *TextHandlingBox = nullptr);
    Q_INVOKABLE void AboutBox();
    Q_INVOKABLE void ProgramDelayNSec(qint32 *N = nullptr);

    // ControlSurface
    QColor backColor() const override;
    void setBackColor(const QColor &color) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    quintptr windowHandle() const override;

    // Container
    bool userMode() const override;
    QString displayName() const override;
    void propertyChanged(const QString &) override;
    QObject *controlByName(const QString &name) const override;

    QSize sizeHint() const override;

Q_SIGNALS:
    void ZuTimer();
    void Click();
    void ReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                      bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ZuVexal &live() const;
    QVariant applicationPathProperty() const;
    void setApplicationPathProperty(const QVariant &path);

    std::unique_ptr<ZuVexalWidgetPrivate> d;
};

} // namespace zuvexal::ui
