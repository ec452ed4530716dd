#pragma once

#include "core/control/zuvexal.h"

#include <QWidget>

class QLabel;

namespace zuvexal::ui {

// The control as a host places it on a window: a small fixed square
// (345 × 345 twips) with a focus label, carrying the colour and enabled
// state of the control. Properties, methods and signals are those of the
// ZuVexal object it holds, published again under the same names, so hosts
// and designers reach them on the widget; all logic stays in ZuVexal.
class ZuVexalWidget : public QWidget, public ControlSurface, public Container
{
    Q_OBJECT
    Q_PROPERTY(QString Tag READ Tag WRITE setTag)
    Q_PROPERTY(QString DeveloperCompany READ DeveloperCompany WRITE setDeveloperCompany)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setControlBackColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setControlEnabled)
    Q_PROPERTY(bool DoTimer READ DoTimer WRITE setDoTimer)
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    Q_PROPERTY(qint32 MaxRecsPerPage READ MaxRecsPerPage WRITE setMaxRecsPerPage)
    Q_PROPERTY(QString ApplicationPath READ ApplicationPath WRITE setApplicationPath DESIGNABLE false)
    Q_PROPERTY(quintptr hWnd READ hWnd STORED false DESIGNABLE false)
    Q_PROPERTY(zuvexal::RecordSetPtr CurrentRecordset READ CurrentRecordset STORED false DESIGNABLE false)

public:
    static constexpr int SizeTwips = 345;

    explicit ZuVexalWidget(QWidget *parent = nullptr);

    ZuVexal &control() { return m_control; }

    // Design time (a designer hosts the widget) or run time.
    void setUserMode(bool userMode) { m_userMode = userMode; }

    QString Tag() const { return m_control.Tag(); }
    void setTag(const QString &value) { m_control.setTag(value); }
    QString DeveloperCompany() const { return m_control.DeveloperCompany(); }
    void setDeveloperCompany(const QString &value) { m_control.setDeveloperCompany(value); }
    QColor BackColor() const { return m_control.BackColor(); }
    void setControlBackColor(const QColor &value) { m_control.setBackColor(value); }
    bool Enabled() const { return m_control.Enabled(); }
    void setControlEnabled(bool value) { m_control.setEnabled(value); }
    bool DoTimer() const { return m_control.DoTimer(); }
    void setDoTimer(bool value) { m_control.setDoTimer(value); }
    qint32 Interval() const { return m_control.Interval(); }
    void setInterval(qint32 value) { m_control.setInterval(value); }
    qint32 MaxRecsPerPage() const { return m_control.MaxRecsPerPage(); }
    void setMaxRecsPerPage(qint32 value) { m_control.setMaxRecsPerPage(value); }
    QString ApplicationPath() const { return m_control.ApplicationPath(); }
    void setApplicationPath(QString &value) { m_control.setApplicationPath(value); }
    void setApplicationPath(const QString &value) { m_control.setApplicationPath(value); }
    quintptr hWnd() const { return m_control.hWnd(); }
    RecordSetPtr CurrentRecordset() const { return m_control.CurrentRecordset(); }

    // Reached by name by the report windows through their control reference.
    Q_INVOKABLE QString SupplyFileName(const QString &Dialog_Caption = QStringLiteral("Supply Filename"),
                                       QString *InitDir = nullptr, qint16 FileType = ZuVexal::Zu_All_Files,
                                       bool *VerifyFileExistence = nullptr,
                                       QObject *GraphicOrEditControl = nullptr,
                                       qint16 ShowInsertButton = ZuVexal::Zu_BDocument);
    Q_INVOKABLE QString LongFileName(const QString &Short_Name) const { return m_control.LongFileName(Short_Name); }
    Q_INVOKABLE QString justFileName(const QString &pathName) const { return m_control.justFileName(pathName); }
    Q_INVOKABLE QString ShortFileName(const QString &Long_Name) const { return m_control.ShortFileName(Long_Name); }
    Q_INVOKABLE QString FileFolder(const QString &FullFileName) const { return m_control.FileFolder(FullFileName); }
    Q_INVOKABLE bool OpenHyperlink(const QString &Destination, bool StartNewInstanceOfBrowser = false)
    {
        return m_control.OpenHyperlink(Destination, StartNewInstanceOfBrowser);
    }
    Q_INVOKABLE bool ShowZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, QVariant *forFutureUse = nullptr,
                                    QObject *ObjReserved = nullptr)
    {
        return m_control.ShowZuReporter(repRecordset, sPicFields, theGraphicFolder, forFutureUse, ObjReserved);
    }
    Q_INVOKABLE bool AutoZuReporter(zuvexal::RecordSetPtr &repRecordset, const QString &sPicFields = {},
                                    QString *theGraphicFolder = nullptr, const QString &fileName = {},
                                    const QString &FileTitle = {}, int AutoRepAction = ZuVexal::rYesNo,
                                    QVariant *forFutureUse = nullptr, QObject *ObjReserved = nullptr)
    {
        return m_control.AutoZuReporter(repRecordset, sPicFields, theGraphicFolder, fileName, FileTitle,
                                        AutoRepAction, forFutureUse, ObjReserved);
    }
    Q_INVOKABLE void RaiseZuReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                                         bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse);
    Q_INVOKABLE void LogMessage(const QVariant &strMessage, QObject *TextHandlingBox = nullptr)
    {
        m_control.LogMessage(strMessage, TextHandlingBox);
    }
    Q_INVOKABLE void AboutBox() { m_control.AboutBox(); }
    Q_INVOKABLE void ProgramDelayNSec(qint32 *N = nullptr) { m_control.ProgramDelayNSec(N); }

    // ControlSurface
    QColor backColor() const override;
    void setBackColor(const QColor &color) override;
    bool isEnabled() const override { return QWidget::isEnabled(); }
    void setEnabled(bool enabled) override { QWidget::setEnabled(enabled); }
    quintptr windowHandle() const override { return winId(); }

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
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool m_userMode = true;
    QLabel *m_label;
    ZuVexal m_control;
};

} // namespace zuvexal::ui
