#pragma once

#include <ZuVexal/zuvexal.h>
#include <ZuVexal/zuvexalwidgets_export.h>

#include <QWidget>

#include <optional>

class QLabel;

namespace zuvexal::ui {

// The control as a host places it on a window: a small fixed square
// (345 × 345 twips) with a focus label, carrying the colour and enabled
// state of the control. Properties, methods and signals are those of the
// ZuVexal object it holds, published again under the same names, so hosts
// and designers reach them on the widget; all logic stays in ZuVexal.
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
    Q_PROPERTY(QString ApplicationPath READ ApplicationPath WRITE setApplicationPath STORED false DESIGNABLE false)
    Q_PROPERTY(quintptr hWnd READ hWnd STORED false DESIGNABLE false)
    Q_PROPERTY(zuvexal::RecordSetPtr CurrentRecordset READ CurrentRecordset STORED false DESIGNABLE false)

public:
    static constexpr int SizeTwips = 345;

    explicit ZuVexalWidget(QWidget *parent = nullptr);

    // The control itself; saved properties not yet restored are restored
    // first.
    ZuVexal &control() { return live(); }

    // Design time (Qt Designer hosts the widget) or run time. At design
    // time properties are set as the designer sets them, never restored.
    void setUserMode(bool userMode);

    // The dynamic property that marks a control of a form: Designer saves
    // it with every form that holds the control, and uic's setupUi() or
    // QUiLoader set it with the form's other properties.
    static constexpr const char *FormMark = "zuvexalSavedForm";

    QString Tag() const { return live().Tag(); }
    void setTag(const QString &value) { if (!heldBack("Tag", value)) live().setTag(value); }
    QString DeveloperCompany() const { return live().DeveloperCompany(); }
    void setDeveloperCompany(const QString &value)
    {
        if (!heldBack("DeveloperCompany", value))
            live().setDeveloperCompany(value);
    }
    QColor BackColor() const { return live().BackColor(); }
    void setControlBackColor(const QColor &value)
    {
        if (!heldBack("BackColor", toOleColor(value)))
            live().setBackColor(value);
    }
    bool Enabled() const { return live().Enabled(); }
    void setControlEnabled(bool value) { if (!heldBack("Enabled", value)) live().setEnabled(value); }
    bool DoTimer() const { return live().DoTimer(); }
    void setDoTimer(bool value) { if (!heldBack("DoTimer", value)) live().setDoTimer(value); }
    qint32 Interval() const { return live().Interval(); }
    void setInterval(qint32 value) { if (!heldBack("Interval", value)) live().setInterval(value); }
    qint32 MaxRecsPerPage() const { return live().MaxRecsPerPage(); }
    void setMaxRecsPerPage(qint32 value) { if (!heldBack("MaxRecsPerPage", value)) live().setMaxRecsPerPage(value); }
    QString ApplicationPath() const { return live().ApplicationPath(); }
    void setApplicationPath(QString &value) { live().setApplicationPath(value); }
    void setApplicationPath(const QString &value) { live().setApplicationPath(value); }
    quintptr hWnd() const { return live().hWnd(); }
    RecordSetPtr CurrentRecordset() const { return live().CurrentRecordset(); }

    // Reached by name by the report windows through their control reference.
    Q_INVOKABLE QString SupplyFileName(const QString &Dialog_Caption = QStringLiteral("Supply Filename"),
                                       QString *InitDir = nullptr, qint16 FileType = ZuVexal::Zu_All_Files,
                                       bool *VerifyFileExistence = nullptr,
                                       QObject *GraphicOrEditControl = nullptr,
                                       qint16 ShowInsertButton = ZuVexal::Zu_BDocument);
    Q_INVOKABLE QString LongFileName(const QString &Short_Name) const { return live().LongFileName(Short_Name); }
    Q_INVOKABLE QString justFileName(const QString &pathName) const { return live().justFileName(pathName); }
    Q_INVOKABLE QString ShortFileName(const QString &Long_Name) const { return live().ShortFileName(Long_Name); }
    Q_INVOKABLE QString FileFolder(const QString &FullFileName) const { return live().FileFolder(FullFileName); }
    Q_INVOKABLE bool OpenHyperlink(const QString &Destination, bool StartNewInstanceOfBrowser = false)
    {
        return live().OpenHyperlink(Destination, StartNewInstanceOfBrowser);
    }
    Q_INVOKABLE bool ShowZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, QVariant *forFutureUse = nullptr,
                                    QObject *ObjReserved = nullptr)
    {
        return live().ShowZuReporter(repRecordset, sPicFields, theGraphicFolder, forFutureUse, ObjReserved);
    }
    Q_INVOKABLE bool AutoZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, const QString &fileName = {},
                                    const QString &FileTitle = {}, int AutoRepAction = ZuVexal::rYesNo,
                                    QVariant *forFutureUse = nullptr, QObject *ObjReserved = nullptr)
    {
        return live().AutoZuReporter(repRecordset, sPicFields, theGraphicFolder, fileName, FileTitle,
                                        AutoRepAction, forFutureUse, ObjReserved);
    }
    Q_INVOKABLE void RaiseZuReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                                         bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse);
    Q_INVOKABLE void LogMessage(const QVariant &strMessage, QObject *TextHandlingBox = nullptr)
    {
        live().LogMessage(strMessage, TextHandlingBox);
    }
    Q_INVOKABLE void AboutBox() { live().AboutBox(); }
    Q_INVOKABLE void ProgramDelayNSec(qint32 *N = nullptr) { live().ProgramDelayNSec(N); }

    // ControlSurface
    QColor backColor() const override;
    void setBackColor(const QColor &color) override;
    bool isEnabled() const override { return QWidget::isEnabled(); }
    void setEnabled(bool enabled) override;
    quintptr windowHandle() const override;

    // Container
    bool userMode() const override { return m_userMode; }
    QString displayName() const override { return objectName(); }
    void propertyChanged(const QString &) override {}
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
    // Until the widget is first polished or used, its designable properties
    // are held back in the order set. A form (uic's setupUi(), QUiLoader)
    // sets them right after construction, with FormMark among them: its
    // values are then restored the way a saved control is loaded
    // (ReadProperties), so design-time-only rules hold. Without the mark
    // the host's own code set them, and each is applied as a run-time set.
    bool heldBack(const char *key, const QVariant &value);
    void restoreSaved();
    ZuVexal &live() const;

    struct HeldBack
    {
        QList<std::pair<QString, QVariant>> values;
        bool fromForm = false;
    };
    std::optional<HeldBack> m_heldBack;
    bool m_userMode = true;
    QLabel *m_label;
    ZuVexal m_control;
};

} // namespace zuvexal::ui
