#include "ui/control/zuvexalwidget.h"

#include "ui/windows.h"

#include <QApplication>
#include <QDynamicPropertyChangeEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <optional>

namespace zuvexal::ui {

// Until the widget is first polished or used, its designable properties
// are held back in the order set. A form (uic's setupUi(), QUiLoader) sets
// them right after construction, with FormMark among them: its values are
// then restored the way a saved control is loaded (ReadProperties), so
// design-time-only rules hold. Without the mark the host's own code set
// them, and each is applied as a run-time set.
class ZuVexalWidgetPrivate
{
public:
    bool heldBack(const char *key, const QVariant &value)
    {
        if (!held)
            return false;
        held->values.append({QString::fromLatin1(key), value});
        return true;
    }

    void restoreSaved()
    {
        if (!held)
            return;
        const HeldBack values = std::move(*held);
        held.reset();
        if (values.fromForm) {
            MemoryPropertyBag bag;
            for (const auto &[key, value] : values.values)
                bag.set(key, value);
            control.ReadProperties(bag);
            return;
        }
        for (const auto &[key, value] : values.values) {
            if (key == QLatin1String("BackColor"))
                control.setBackColor(fromOleColor(value.toUInt()));
            else
                control.setProperty(key.toLatin1().constData(), value);
        }
    }

    struct HeldBack
    {
        QList<std::pair<QString, QVariant>> values;
        bool fromForm = false;
    };
    std::optional<HeldBack> held{std::in_place};
    bool userMode = true;
    QLabel *label = nullptr;
    ZuVexal control;
};

ZuVexalWidget::ZuVexalWidget(QWidget *parent) : QWidget(parent), d(std::make_unique<ZuVexalWidgetPrivate>())
{
    d->label = new QLabel(this);
    d->label->setObjectName(QStringLiteral("Label1"));
    d->label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    d->control.setContainer(this);
    d->control.setSurface(this);
    installWindows(d->control);
    setFixedSize(sizeHint());
    connect(&d->control, &ZuVexal::ZuTimer, this, &ZuVexalWidget::ZuTimer);
    connect(&d->control, &ZuVexal::Click, this, &ZuVexalWidget::Click);
    // A direct signal-to-signal connection: what the host's handler writes
    // into the by-reference arguments reaches the run.
    connect(&d->control, &ZuVexal::ReportStatus, this, &ZuVexalWidget::ReportStatus, Qt::DirectConnection);
    QTimer::singleShot(0, this, [this] { d->restoreSaved(); });
}

ZuVexalWidget::~ZuVexalWidget() = default;

void ZuVexalWidget::setUserMode(bool userMode)
{
    d->userMode = userMode;
    if (!userMode)
        d->held.reset();
}

bool ZuVexalWidget::userMode() const
{
    return d->userMode;
}

ZuVexal &ZuVexalWidget::live() const
{
    d->restoreSaved();
    return d->control;
}

ZuVexal &ZuVexalWidget::control()
{
    return live();
}

QString ZuVexalWidget::Tag() const { return live().Tag(); }
void ZuVexalWidget::setTag(const QString &value) { if (!d->heldBack("Tag", value)) live().setTag(value); }
QString ZuVexalWidget::DeveloperCompany() const { return live().DeveloperCompany(); }
void ZuVexalWidget::setDeveloperCompany(const QString &value)
{
    if (!d->heldBack("DeveloperCompany", value))
        live().setDeveloperCompany(value);
}
QColor ZuVexalWidget::BackColor() const { return live().BackColor(); }
void ZuVexalWidget::setControlBackColor(const QColor &value)
{
    if (!d->heldBack("BackColor", toOleColor(value)))
        live().setBackColor(value);
}
bool ZuVexalWidget::Enabled() const { return live().Enabled(); }
void ZuVexalWidget::setControlEnabled(bool value) { if (!d->heldBack("Enabled", value)) live().setEnabled(value); }
bool ZuVexalWidget::DoTimer() const { return live().DoTimer(); }
void ZuVexalWidget::setDoTimer(bool value) { if (!d->heldBack("DoTimer", value)) live().setDoTimer(value); }
qint32 ZuVexalWidget::Interval() const { return live().Interval(); }
void ZuVexalWidget::setInterval(qint32 value) { if (!d->heldBack("Interval", value)) live().setInterval(value); }
qint32 ZuVexalWidget::MaxRecsPerPage() const { return live().MaxRecsPerPage(); }
void ZuVexalWidget::setMaxRecsPerPage(qint32 value)
{
    if (!d->heldBack("MaxRecsPerPage", value))
        live().setMaxRecsPerPage(value);
}
QString ZuVexalWidget::ApplicationPath() const { return live().ApplicationPath(); }
void ZuVexalWidget::setApplicationPath(QString &value) { live().setApplicationPath(value); }
void ZuVexalWidget::setApplicationPath(const QString &value) { live().setApplicationPath(value); }
// The control's own property: at run time an invalid QVariant and a
// warning, never an exception through the meta-object code.
QVariant ZuVexalWidget::applicationPathProperty() const { return live().property("ApplicationPath"); }
void ZuVexalWidget::setApplicationPathProperty(const QVariant &path) { live().setApplicationPath(path.toString()); }
quintptr ZuVexalWidget::hWnd() const { return live().hWnd(); }
RecordSetPtr ZuVexalWidget::CurrentRecordset() const { return live().CurrentRecordset(); }

QString ZuVexalWidget::LongFileName(const QString &Short_Name) const { return live().LongFileName(Short_Name); }
QString ZuVexalWidget::justFileName(const QString &pathName) const { return live().justFileName(pathName); }
QString ZuVexalWidget::ShortFileName(const QString &Long_Name) const { return live().ShortFileName(Long_Name); }
QString ZuVexalWidget::FileFolder(const QString &FullFileName) const { return live().FileFolder(FullFileName); }

bool ZuVexalWidget::OpenHyperlink(const QString &Destination, bool StartNewInstanceOfBrowser)
{
    return live().OpenHyperlink(Destination, StartNewInstanceOfBrowser);
}

bool ZuVexalWidget::ShowZuReporter(RecordSetPtr &repRecordset, const QString &sPicFields, QString *theGraphicFolder,
                                   QVariant *forFutureUse, QObject *ObjReserved)
{
    return live().ShowZuReporter(repRecordset, sPicFields, theGraphicFolder, forFutureUse, ObjReserved);
}

bool ZuVexalWidget::AutoZuReporter(RecordSetPtr &repRecordset, const QString &sPicFields, QString *theGraphicFolder,
                                   const QString &fileName, const QString &FileTitle, int AutoRepAction,
                                   QVariant *forFutureUse, QObject *ObjReserved)
{
    return live().AutoZuReporter(repRecordset, sPicFields, theGraphicFolder, fileName, FileTitle, AutoRepAction,
                                 forFutureUse, ObjReserved);
}

void ZuVexalWidget::LogMessage(const QVariant &strMessage, QObject *TextHandlingBox)
{
    live().LogMessage(strMessage, TextHandlingBox);
}

void ZuVexalWidget::AboutBox() { live().AboutBox(); }
void ZuVexalWidget::ProgramDelayNSec(qint32 *N) { live().ProgramDelayNSec(N); }

bool ZuVexalWidget::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        d->restoreSaved();
    else if (event->type() == QEvent::DynamicPropertyChange && d->held
             && static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName() == FormMark)
        d->held->fromForm = property(FormMark).toBool();
    return QWidget::event(event);
}

// An X11 window id names the window to other programs. A Wayland window
// has no name outside its own program, so there the handle is 0.
quintptr ZuVexalWidget::windowHandle() const
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return 0;
    return winId();
}

bool ZuVexalWidget::isEnabled() const
{
    return QWidget::isEnabled();
}

void ZuVexalWidget::setEnabled(bool enabled)
{
    if (!d->heldBack("Enabled", enabled))
        QWidget::setEnabled(enabled);
}

QString ZuVexalWidget::SupplyFileName(const QString &Dialog_Caption, QString *InitDir, qint16 FileType,
                                      bool *VerifyFileExistence, QObject *GraphicOrEditControl, qint16 ShowInsertButton)
{
    return live().SupplyFileName(Dialog_Caption, InitDir, FileType, VerifyFileExistence, GraphicOrEditControl,
                                    ShowInsertButton);
}

void ZuVexalWidget::RaiseZuReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                                        bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse)
{
    live().RaiseZuReportStatus(TotalPages, ElapsedSeconds, CurrentPage, Cancel, DeleteGeneratedPagesOnCancel,
                                  forFututeUse);
}

QColor ZuVexalWidget::backColor() const
{
    return palette().color(QPalette::Window);
}

void ZuVexalWidget::setBackColor(const QColor &color)
{
    if (d->heldBack("BackColor", toOleColor(color)))
        return;
    QPalette colors = palette();
    colors.setColor(QPalette::Window, color);
    setPalette(colors);
}

QString ZuVexalWidget::displayName() const
{
    return objectName();
}

void ZuVexalWidget::propertyChanged(const QString &) {}

QObject *ZuVexalWidget::controlByName(const QString &name) const
{
    if (name == objectName())
        return const_cast<ZuVexalWidget *>(this);
    const QWidget *top = window();
    return top->findChild<QObject *>(name);
}

QSize ZuVexalWidget::sizeHint() const
{
    const int pixels = qRound(SizeTwips * logicalDpiX() / 1440.0);
    return {pixels, pixels};
}

void ZuVexalWidget::focusInEvent(QFocusEvent *event)
{
    //: The control's mark while it has the input focus.
    d->label->setText(tr(" Zu"));
    QFont bold = d->label->font();
    bold.setBold(true);
    d->label->setFont(bold);
    QWidget::focusInEvent(event);
}

void ZuVexalWidget::focusOutEvent(QFocusEvent *event)
{
    d->label->clear();
    QFont plain = d->label->font();
    plain.setBold(false);
    d->label->setFont(plain);
    QWidget::focusOutEvent(event);
}

void ZuVexalWidget::mouseReleaseEvent(QMouseEvent *event)
{
    // The host's handler may delete this control.
    const QPointer<ZuVexalWidget> self(this);
    if (rect().contains(event->position().toPoint()))
        Q_EMIT d->control.Click();
    if (self)
        QWidget::mouseReleaseEvent(event);
}

void ZuVexalWidget::resizeEvent(QResizeEvent *event)
{
    // The host cannot change the size: it always comes back to 345 twips.
    if (size() != sizeHint())
        resize(sizeHint());
    d->label->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace zuvexal::ui
