#include "ui/control/zuvexalwidget.h"

#include "ui/windows.h"

#include <QApplication>
#include <QDynamicPropertyChangeEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

namespace zuvexal::ui {

ZuVexalWidget::ZuVexalWidget(QWidget *parent) : QWidget(parent), m_label(new QLabel(this))
{
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    m_control.setContainer(this);
    m_control.setSurface(this);
    installWindows(m_control);
    setFixedSize(sizeHint());
    connect(&m_control, &ZuVexal::ZuTimer, this, &ZuVexalWidget::ZuTimer);
    connect(&m_control, &ZuVexal::Click, this, &ZuVexalWidget::Click);
    // A direct signal-to-signal connection: what the host's handler writes
    // into the by-reference arguments reaches the run.
    connect(&m_control, &ZuVexal::ReportStatus, this, &ZuVexalWidget::ReportStatus, Qt::DirectConnection);
    m_heldBack.emplace();
    QTimer::singleShot(0, this, &ZuVexalWidget::restoreSaved);
}

void ZuVexalWidget::setUserMode(bool userMode)
{
    m_userMode = userMode;
    if (!userMode)
        m_heldBack.reset();
}

bool ZuVexalWidget::heldBack(const char *key, const QVariant &value)
{
    if (!m_heldBack)
        return false;
    m_heldBack->values.append({QString::fromLatin1(key), value});
    return true;
}

void ZuVexalWidget::restoreSaved()
{
    if (!m_heldBack)
        return;
    const HeldBack held = std::move(*m_heldBack);
    m_heldBack.reset();
    if (held.fromForm) {
        MemoryPropertyBag bag;
        for (const auto &[key, value] : held.values)
            bag.set(key, value);
        m_control.ReadProperties(bag);
        return;
    }
    for (const auto &[key, value] : held.values) {
        if (key == QLatin1String("BackColor"))
            m_control.setBackColor(fromOleColor(value.toUInt()));
        else
            m_control.setProperty(key.toLatin1().constData(), value);
    }
}

ZuVexal &ZuVexalWidget::live() const
{
    auto *self = const_cast<ZuVexalWidget *>(this);
    self->restoreSaved();
    return self->m_control;
}

bool ZuVexalWidget::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        restoreSaved();
    else if (event->type() == QEvent::DynamicPropertyChange && m_heldBack
             && static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName() == FormMark)
        m_heldBack->fromForm = property(FormMark).toBool();
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

void ZuVexalWidget::setEnabled(bool enabled)
{
    if (!heldBack("Enabled", enabled))
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
    if (heldBack("BackColor", toOleColor(color)))
        return;
    QPalette colors = palette();
    colors.setColor(QPalette::Window, color);
    setPalette(colors);
}

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
    m_label->setText(tr(" Zu"));
    QFont bold = m_label->font();
    bold.setBold(true);
    m_label->setFont(bold);
    QWidget::focusInEvent(event);
}

void ZuVexalWidget::focusOutEvent(QFocusEvent *event)
{
    m_label->clear();
    QFont plain = m_label->font();
    plain.setBold(false);
    m_label->setFont(plain);
    QWidget::focusOutEvent(event);
}

void ZuVexalWidget::mouseReleaseEvent(QMouseEvent *event)
{
    // The host's handler may delete this control.
    const QPointer<ZuVexalWidget> self(this);
    if (rect().contains(event->position().toPoint()))
        Q_EMIT m_control.Click();
    if (self)
        QWidget::mouseReleaseEvent(event);
}

void ZuVexalWidget::resizeEvent(QResizeEvent *event)
{
    // The host cannot change the size: it always comes back to 345 twips.
    if (size() != sizeHint())
        resize(sizeHint());
    m_label->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace zuvexal::ui
