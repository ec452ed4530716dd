#include "core/settings/advancedsettings_p.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"

#include "core/base/attempt.h"
#include "core/base/paths.h"
#include "core/base/values_p.h"
#include "core/control/context_p.h"
#include "core/control/delay.h"
#include "core/control/messagelog.h"
#include "core/control/windowpresenter.h"
#include "core/filedialog/filechooser_p.h"
#include "core/links/linkactivation_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>

#include <algorithm>

namespace zuvexal {

namespace {

const QString TagKey = QStringLiteral("Tag");
const QString DeveloperCompanyKey = QStringLiteral("DeveloperCompany");
const QString BackColorKey = QStringLiteral("BackColor");
const QString EnabledKey = QStringLiteral("Enabled");
const QString ApplicationPathKey = QStringLiteral("ApplicationPath");
const QString DoTimerKey = QStringLiteral("DoTimer");
const QString IntervalKey = QStringLiteral("Interval");
const QString MaxRecsPerPageKey = QStringLiteral("MaxRecsPerPage");

// Strict conversions of stored values: a value of the wrong kind counts as
// unreadable, so the property keeps what it had.
std::optional<bool> toBool(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    const QString text = v.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("-1") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<qint64> toInteger(const QVariant &v)
{
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

std::optional<qint32> toLong(const QVariant &v)
{
    const std::optional<qint64> n = toInteger(v);
    if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(*n);
}

} // namespace

ZuVexalPrivate::ZuVexalPrivate(ZuVexal *control) : context(Context::acquire())
{
    timer.setParent(control);
    timer.setObjectName(QStringLiteral("Timer1"));
}

Context &contextOf(const ZuVexal &control)
{
    return *ZuVexalPrivate::get(control).context;
}

qint32 tickCountOf(const ZuVexal &control)
{
    return ZuVexalPrivate::get(control).tickCount;
}

ZuVexal::ZuVexal(QObject *parent, Container *container, ControlSurface *surface)
    : QObject(parent), d(std::make_unique<ZuVexalPrivate>(this))
{
    setContainer(container);
    setSurface(surface);
    d->surface->setBackColor(fromOleColor(DefaultBackColor));
    d->defaultAppPath = d->context->values.AppFolder;
    d->applicationPath = d->defaultAppPath;
    d->developerCompany = d->context->values.OrganisationName;
    d->timer.setInterval(TimerPeriodMs);
    connect(&d->timer, &QTimer::timeout, this, &ZuVexal::Timer1_Timer);
    d->timer.start();
}

ZuVexal::~ZuVexal()
{
    d->context->releaseWindows();
}

QString ZuVexal::Tag() const
{
    return d->tag;
}

QString ZuVexal::DeveloperCompany() const
{
    return d->developerCompany;
}

bool ZuVexal::DoTimer() const
{
    return d->doTimer;
}

qint32 ZuVexal::Interval() const
{
    return d->interval;
}

qint32 ZuVexal::MaxRecsPerPage() const
{
    return d->maxRecsPerPage;
}

void ZuVexal::setReportChoices(const ReportChoices &choices)
{
    d->reportChoices = choices;
}

const ReportChoices &ZuVexal::reportChoices() const
{
    return d->reportChoices;
}

void ZuVexal::setReportLocale(const std::optional<QLocale> &locale)
{
    d->reportLocale = locale;
}

std::optional<QLocale> ZuVexal::reportLocale() const
{
    return d->reportLocale;
}

void ZuVexal::setSettingsFile(const QString &registryFile)
{
    d->context->registry = Registry(registryFile, QString());
}

const std::optional<RunResult> &ZuVexal::lastRun() const
{
    return d->lastRun;
}

void ZuVexal::setContainer(Container *container)
{
    if (container) {
        d->container = container;
        d->defaultContainer.reset();
    } else {
        d->defaultContainer = std::make_unique<DefaultContainer>(this);
        d->container = d->defaultContainer.get();
    }
}

Container &ZuVexal::container() const
{
    return *d->container;
}

void ZuVexal::setSurface(ControlSurface *surface)
{
    ControlSurface *next = surface ? surface : &d->headlessSurface;
    if (next == d->surface)
        return;
    next->setBackColor(d->surface->backColor());
    next->setEnabled(d->surface->isEnabled());
    d->surface = next;
}

bool ZuVexal::notify(const char *propertyName)
{
    return attempt([&] { d->container->propertyChanged(QString::fromLatin1(propertyName)); });
}

bool ZuVexal::runMode() const
{
    bool userMode = true;
    attempt([&] { userMode = d->container->userMode(); });
    return userMode;
}

QString ZuVexal::displayName() const
{
    QString name;
    attempt([&] { name = d->container->displayName(); });
    return name;
}

void ZuVexal::InitProperties()
{
    if (!runMode())
        LoadStoredSettings(d->context->registry, d->context->settings);
    d->defaultAppPath = d->context->values.AppFolder;
    d->applicationPath = d->defaultAppPath;
    d->doTimer = false;
    d->interval = 0;
    d->maxRecsPerPage = Zu_TenRecs;
    d->tag.clear();
    d->developerCompany = d->context->values.OrganisationName;
}

void ZuVexal::ReadProperties(const PropertyBag &bag)
{
    // A value the bag cannot give leaves its property as it was.
    const auto read = [&bag](const QString &key, const QVariant &defaultValue) {
        std::optional<QVariant> value;
        attempt([&] { value = bag.read(key, defaultValue); });
        return value;
    };
    if (auto v = read(EnabledKey, true); v && toBool(*v))
        d->surface->setEnabled(*toBool(*v));
    if (auto v = read(BackColorKey, DefaultBackColor); v && toInteger(*v))
        d->surface->setBackColor(fromOleColor(quint32(*toInteger(*v))));
    if (auto v = read(ApplicationPathKey, d->context->values.AppFolder); v && v->canConvert<QString>())
        d->applicationPath = v->toString();
    if (auto v = read(DoTimerKey, false); v && toBool(*v))
        d->doTimer = *toBool(*v);
    if (auto v = read(IntervalKey, 0); v && toLong(*v) && *toLong(*v) >= 0)
        d->interval = *toLong(*v);
    if (auto v = read(MaxRecsPerPageKey, qint32(Zu_TenRecs)); v && toLong(*v))
        d->maxRecsPerPage = *toLong(*v);
    if (auto v = read(TagKey, QString()); v && v->canConvert<QString>())
        d->tag = v->toString();
    if (auto v = read(DeveloperCompanyKey, QString()); v && v->canConvert<QString>())
        d->developerCompany = v->toString();
    d->context->values.OrganisationName = d->developerCompany;
}

void ZuVexal::WriteProperties(PropertyBag &bag) const
{
    const auto write = [&bag](const QString &key, const QVariant &value, const QVariant &defaultValue) {
        attempt([&] { bag.write(key, value, defaultValue); });
    };
    write(EnabledKey, d->surface->isEnabled(), true);
    write(BackColorKey, toOleColor(d->surface->backColor()), DefaultBackColor);
    write(ApplicationPathKey, d->applicationPath, d->context->values.AppFolder);
    write(DoTimerKey, d->doTimer, false);
    write(IntervalKey, d->interval, 0);
    write(MaxRecsPerPageKey, d->maxRecsPerPage, qint32(Zu_TenRecs));
    write(TagKey, d->tag, QString());
    write(DeveloperCompanyKey, d->developerCompany, QString());
}

void ZuVexal::setTag(const QString &Tag)
{
    d->tag = Tag;
    notify("Tag");
}

void ZuVexal::setDeveloperCompany(const QString &DeveloperCompany)
{
    if (runMode())
        return;
    const QString name = trimBlanks(DeveloperCompany);
    if (name.isEmpty())
        return;
    d->developerCompany = name.toUpper();
    notify("DeveloperCompany");
}

QColor ZuVexal::BackColor() const
{
    return d->surface->backColor();
}

void ZuVexal::setBackColor(const QColor &BackColor)
{
    d->surface->setBackColor(BackColor);
    notify("BackColor");
}

bool ZuVexal::Enabled() const
{
    return d->surface->isEnabled();
}

void ZuVexal::setEnabled(bool Enabled)
{
    d->tickCount = 0;
    d->surface->setEnabled(Enabled);
    notify("Enabled");
}

QString ZuVexal::ApplicationPath() const
{
    if (runMode())
        throw ZuError(ErrPropertyGetNotSupportedAtRunTime, "Property Get can't be executed at run time");
    return d->applicationPath;
}

void ZuVexal::setApplicationPath(QString &ApplicationPath)
{
    if (!runMode()) {
        d->context->messages.show(QStringLiteral("ZuVexal"),
                    QCoreApplication::translate("ZuVexal", "Set as your app path\r\nwith code for run-time usage."),
                    MessagePresenter::Icon::Information);
        return;
    }
    ApplicationPath = trimBlanks(ApplicationPath);
    // A relative folder would follow the host's working folder around.
    if (ApplicationPath.isEmpty() || !QDir::isAbsolutePath(ApplicationPath))
        return;
    if (!ApplicationPath.endsWith(QLatin1Char('/')))
        ApplicationPath += QLatin1Char('/');
    d->applicationPath = ApplicationPath;
    d->context->values.AppFolder = ApplicationPath;
    notify("ApplicationPath");
}

void ZuVexal::setApplicationPath(const QString &ApplicationPath)
{
    QString copy = ApplicationPath;
    setApplicationPath(copy);
}

QVariant ZuVexal::applicationPathProperty() const
{
    if (runMode()) {
        qWarning("ZuVexal: ApplicationPath: error %d, Property Get can't be executed at run time",
                 ErrPropertyGetNotSupportedAtRunTime);
        return {};
    }
    return d->applicationPath;
}

void ZuVexal::setApplicationPathProperty(const QVariant &path)
{
    setApplicationPath(path.toString());
}

void ZuVexal::setDoTimer(bool DoTimer)
{
    d->doTimer = DoTimer;
    if (DoTimer)
        d->timer.start();
    else
        d->timer.stop();
    notify("DoTimer");
}

void ZuVexal::setInterval(qint32 Interval)
{
    if (Interval < 0)
        return;
    d->interval = Interval;
    notify("Interval");
}

void ZuVexal::setMaxRecsPerPage(qint32 MaxRecsPerPage)
{
    d->maxRecsPerPage = MaxRecsPerPage;
    if (!notify("MaxRecsPerPage"))
        d->maxRecsPerPage = Zu_TenRecs;
}

quintptr ZuVexal::hWnd() const
{
    return d->surface->windowHandle();
}

RecordSetPtr ZuVexal::CurrentRecordset() const
{
    if (d->currentRecordsetRef && d->currentRecordsetRef->hasActiveConnection())
        d->currentRecordsetRef->requery();
    return d->currentRecordsetRef;
}

void ZuVexal::Timer1_Timer()
{
    if (d->interval < 1)
        return;
    ++d->tickCount;
    // At or past the interval (a lowered Interval must not stop the events),
    // and never again while the host's handler still runs a modal loop.
    if (d->tickCount >= d->interval && !d->inZuTimer) {
        d->inZuTimer = true;
        // The host's handler may delete this control (from a window it opens).
        const QPointer<ZuVexal> self(this);
        try {
            Q_EMIT ZuTimer();
        } catch (...) {
            // A failing handler of the host does not stop the timer.
        }
        if (!self)
            return;
        d->inZuTimer = false;
        d->tickCount = 0;
    }
}

QString ZuVexal::SupplyFileName(const QString &Dialog_Caption, QString *InitDir, qint16 FileType,
                               bool *VerifyFileExistence, QObject *GraphicOrEditControl, qint16 ShowInsertButton)
{
    // The window may outlive this control (a host can delete it from a
    // timer while the window is open): from here on only locals are used.
    const std::shared_ptr<Context> context = d->context;
    // Without a window to show, the chooser is not even loaded: a loaded
    // chooser that no window closes would keep its state for the next use.
    WindowPresenter *presenter = context->windowsFor("SupplyFileName");
    if (!presenter)
        return {};
    const Context::Use use = context->use();
    FileChooser &chooser = context->fileChooser();
    chooser.GraphicControl = GraphicOrEditControl;
    chooser.ensureLoaded();

    bool verify = VerifyFileExistence ? *VerifyFileExistence : true;
    // A file being saved need not exist.
    if (Dialog_Caption.left(7).toLower() == QLatin1String("save as"))
        verify = false;
    if (VerifyFileExistence)
        *VerifyFileExistence = verify;

    QString folder = trimBlanks(InitDir ? *InitDir : QString());
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (InitDir)
        *InitDir = folder;
    if (chooser.setDir1Path(folder))
        chooser.setDrive1(folder);

    if (verify)
        chooser.chkVerify = 1;
    chooser.chkVerifyVisible = false;
    if (ShowInsertButton < 0 || ShowInsertButton > 1)
        ShowInsertButton = Zu_BDocument;
    chooser.cmdInsertVisible = {true, true};
    chooser.cmdInsertVisible[size_t(1 - ShowInsertButton)] = false;
    chooser.setCombo1Index(FileType);
    chooser.caption = trimBlanks(Dialog_Caption);

    if (!presenter->showFileChooser(chooser))
        return {};
    return chooser.chosenFileName();
}

QString ZuVexal::LongFileName(const QString &Short_Name) const
{
    return LongPathName(Short_Name);
}

QString ZuVexal::justFileName(const QString &pathName) const
{
    return FileNamePart(pathName);
}

QString ZuVexal::ShortFileName(const QString &Long_Name) const
{
    return ShortPathName(Long_Name);
}

QString ZuVexal::FileFolder(const QString &FullFileName) const
{
    return PathFolder(FullFileName);
}

bool ZuVexal::OpenHyperlink(const QString &Destination, bool StartNewInstanceOfBrowser)
{
    const QString destination = trimBlanks(Destination);
    if (destination.isEmpty())
        return false;
    if (destination.contains(QLatin1Char('@')))
        return ActivateLink(d->context->links, 1, destination, false);
    return ActivateLink(d->context->links, 0, destination, StartNewInstanceOfBrowser);
}

void ZuVexal::RaiseZuReportStatus(qint16 TotalPages, qint32 ElapsedSeconds, qint16 CurrentPage, bool &Cancel,
                                  bool &DeleteGeneratedPagesOnCancel, QVariant &forFututeUse)
{
    try {
        Q_EMIT ReportStatus(TotalPages, ElapsedSeconds, CurrentPage, Cancel, DeleteGeneratedPagesOnCancel,
                            forFututeUse);
    } catch (...) {
        // A failing handler of the host does not stop the report.
    }
}

void ZuVexal::LogMessage(const QVariant &strMessage, QObject *TextHandlingBox)
{
    const QString message = valueText(strMessage);
    appendLogEntry(d->applicationPath,
                   logEntryText(d->context->values.OrganisationName, message, QDateTime::currentDateTime()));
    if (TextHandlingBox)
        attempt([&] { appendToTextBox(TextHandlingBox, message); });
}

void ZuVexal::AboutBox()
{
    // The box may outlive this control: only locals from here on.
    const std::shared_ptr<Context> context = d->context;
    const Context::Use use = context->use();
    if (WindowPresenter *presenter = context->windowsFor("AboutBox"))
        presenter->showAboutBox(context->links);
}

void ZuVexal::ProgramDelayNSec(qint32 *N)
{
    qint32 seconds = N ? *N : 5;
    if (seconds < 1)
        seconds = 5;
    seconds = std::min<qint32>(seconds, 86399);
    if (N)
        *N = seconds;
    WaitSeconds(seconds, *d->context->clock);
}

} // namespace zuvexal
