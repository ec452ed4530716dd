#include "core/base/messages.h"
#include "core/base/sharedvalues.h"
#include "core/control/context_p.h"
#include "core/control/version_p.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"
#include "platform/clock.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <QMetaProperty>

using namespace zuvexal;

namespace {

QTimer &timer1(ZuVexal &control)
{
    return *control.findChild<QTimer *>(QStringLiteral("Timer1"));
}

class TestContainer final : public Container
{
public:
    bool userMode() const override { return runMode; }
    QString displayName() const override { return QStringLiteral("ZuVexal1"); }
    void propertyChanged(const QString &name) override { changed << name; }
    QObject *controlByName(const QString &) const override { return nullptr; }

    bool runMode = true;
    QStringList changed;
};

class RecordingPresenter final : public MessagePresenter
{
public:
    explicit RecordingPresenter(Messages &messages) : m_messages(messages) { messages.setPresenter(this); }
    ~RecordingPresenter() override { m_messages.setPresenter(nullptr); }
    void show(const QString &title, const QString &text, Icon icon) override
    {
        shown << text;
        lastTitle = title;
        lastIcon = icon;
    }
    Messages &m_messages;
    QStringList shown;
    QString lastTitle;
    Icon lastIcon = Icon::None;
};

class ControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        shared().AppFolder = QStringLiteral("/opt/host/");
        shared().OrganisationName = QStringLiteral("ACME");
    }
    SharedValues &shared() { return context->values; }

    // Every control of the test shares it; it goes with the test.
    std::shared_ptr<Context> context = Context::acquire();
    TestContainer container;
};

} // namespace

TEST_F(ControlTest, ApplicationPathAtRunTime)
{
    ZuVexal control(nullptr, &container);
    QString path = QStringLiteral("  /srv/app  ");
    control.setApplicationPath(path);
    EXPECT_EQ(path, QStringLiteral("/srv/app/")) << "trimmed and ended with '/', written back";
    EXPECT_EQ(shared().AppFolder, QStringLiteral("/srv/app/"));

    for (const char *ignored : {"relative/folder", "", "   "}) {
        QString value = QString::fromUtf8(ignored);
        control.setApplicationPath(value);
        EXPECT_EQ(shared().AppFolder, QStringLiteral("/srv/app/")) << "'" << ignored << "' stores nothing";
    }

    try {
        (void)control.ApplicationPath();
        ADD_FAILURE() << "reading at run time must fail";
    } catch (const ZuError &error) {
        EXPECT_EQ(error.number(), 393);
    }
    EXPECT_EQ(container.changed.count(QStringLiteral("ApplicationPath")), 1);
}

// Form loaders, property inspectors and script bindings read every property
// by name: the one a host may not read at run time gives nothing and says
// why, at run time and at design time alike nothing throws through Qt.
TEST_F(ControlTest, ApplicationPathReadByNameNeverThrows)
{
    ZuVexal control(nullptr, &container);
    control.setApplicationPath(QStringLiteral("/srv/app"));
    const QMetaObject &meta = *control.metaObject();
    const QMetaProperty path = meta.property(meta.indexOfProperty("ApplicationPath"));
    for (int i = 0; i < meta.propertyCount(); ++i) {
        const test::QtMessages qt;
        const QMetaProperty property = meta.property(i);
        const QVariant value = property.read(&control);
        if (property.propertyIndex() == path.propertyIndex()) {
            EXPECT_FALSE(value.isValid()) << "at run time";
            ASSERT_EQ(qt.messages().size(), 1) << qt.messages().join(QLatin1Char('\n')).toStdString();
            EXPECT_TRUE(qt.messages().front().contains(QStringLiteral("error 393"))) << qt.messages().front().toStdString();
        } else {
            EXPECT_TRUE(value.isValid()) << property.name();
            EXPECT_TRUE(qt.messages().isEmpty()) << property.name() << ": " << qt.messages().join(QLatin1Char('\n')).toStdString();
        }
    }
    EXPECT_TRUE(control.setProperty("ApplicationPath", QStringLiteral(" /srv/other ")));
    EXPECT_EQ(shared().AppFolder, QStringLiteral("/srv/other/")) << "written by name like the setter";
    EXPECT_THROW((void)control.ApplicationPath(), ZuError) << "the C++ getter keeps its error";

    container.runMode = false;
    EXPECT_EQ(control.property("ApplicationPath"), QVariant(QStringLiteral("/srv/other/"))) << "at design time";
}

TEST_F(ControlTest, ApplicationPathAtDesignTimeOnlyShowsTheMessage)
{
    container.runMode = false;
    RecordingPresenter presenter(context->messages);
    ZuVexal control(nullptr, &container);
    control.setApplicationPath(QStringLiteral("/srv/other"));
    EXPECT_EQ(presenter.shown, QStringList{QStringLiteral("Set as your app path\r\nwith code for run-time usage.")});
    EXPECT_EQ(presenter.lastIcon, MessagePresenter::Icon::Information);
    EXPECT_EQ(control.ApplicationPath(), QStringLiteral("/opt/host/")) << "readable at design time, unchanged";
    EXPECT_EQ(shared().AppFolder, QStringLiteral("/opt/host/"));
}

TEST_F(ControlTest, DeveloperCompanyIsSetOnlyAtDesignTime)
{
    container.runMode = false;
    ZuVexal control(nullptr, &container);
    control.setDeveloperCompany(QStringLiteral("  quorvane ltd  "));
    EXPECT_EQ(control.DeveloperCompany(), QStringLiteral("QUORVANE LTD"));
    control.setDeveloperCompany(QStringLiteral("   "));
    EXPECT_EQ(control.DeveloperCompany(), QStringLiteral("QUORVANE LTD")) << "blank keeps the old name";
    container.runMode = true;
    control.setDeveloperCompany(QStringLiteral("other"));
    EXPECT_EQ(control.DeveloperCompany(), QStringLiteral("QUORVANE LTD")) << "ignored at run time";
    EXPECT_EQ(container.changed, QStringList{QStringLiteral("DeveloperCompany")});
}

TEST_F(ControlTest, SettersStoreAndNotifyUnderTheirOwnNames)
{
    ZuVexal control(nullptr, &container);
    control.setInterval(-1);
    EXPECT_EQ(control.Interval(), 0) << "a negative interval is ignored";
    control.setInterval(0);
    control.setMaxRecsPerPage(7);
    EXPECT_EQ(control.MaxRecsPerPage(), 7) << "values outside the enumeration are kept";
    control.setTag(QStringLiteral("extra"));
    control.setBackColor(QColor(1, 2, 3));
    EXPECT_EQ(toOleColor(control.BackColor()), 0x030201u);
    control.setEnabled(false);
    EXPECT_FALSE(control.Enabled());
    control.setDoTimer(true);
    EXPECT_TRUE(timer1(control).isActive());
    control.setDoTimer(false);
    EXPECT_FALSE(timer1(control).isActive());
    EXPECT_EQ(container.changed, (QStringList{QStringLiteral("Interval"), QStringLiteral("MaxRecsPerPage"),
                                              QStringLiteral("Tag"), QStringLiteral("BackColor"),
                                              QStringLiteral("Enabled"), QStringLiteral("DoTimer"),
                                              QStringLiteral("DoTimer")}));
    EXPECT_EQ(control.CurrentRecordset(), nullptr) << "no report yet";

    // Late binding by name reaches the same setters.
    EXPECT_TRUE(control.setProperty("MaxRecsPerPage", 20));
    EXPECT_EQ(control.property("MaxRecsPerPage").toInt(), 20);
}

TEST_F(ControlTest, PropertiesPersistThroughTheBag)
{
    MemoryPropertyBag empty;
    ZuVexal fresh(nullptr, &container);
    fresh.setTag(QStringLiteral("old"));
    fresh.ReadProperties(empty);
    container.runMode = false;
    EXPECT_TRUE(fresh.Enabled());
    EXPECT_EQ(toOleColor(fresh.BackColor()), 0x00FFFF80u);
    EXPECT_EQ(fresh.ApplicationPath(), QStringLiteral("/opt/host/"));
    EXPECT_FALSE(fresh.DoTimer());
    EXPECT_EQ(fresh.Interval(), 0);
    EXPECT_EQ(fresh.MaxRecsPerPage(), 10);
    EXPECT_EQ(fresh.Tag(), QString());
    EXPECT_EQ(fresh.DeveloperCompany(), QString());
    EXPECT_EQ(shared().OrganisationName, QString()) << "the organisation follows the loaded company";

    // Only values that differ from their defaults are saved.
    fresh.setTag(QStringLiteral("T"));
    fresh.setInterval(3);
    fresh.setDeveloperCompany(QStringLiteral("acme"));
    test::TempFolder folder;
    FilePropertyBag file(folder.file(QStringLiteral("host.ini")), QStringLiteral("ZuVexal1"));
    fresh.WriteProperties(file);
    MemoryPropertyBag memory;
    fresh.WriteProperties(memory);
    EXPECT_EQ(memory.values().keys(),
              (QStringList{QStringLiteral("DeveloperCompany"), QStringLiteral("Interval"), QStringLiteral("Tag")}));

    ZuVexal restored(nullptr, &container);
    restored.ReadProperties(file);
    EXPECT_EQ(restored.Tag(), QStringLiteral("T"));
    EXPECT_EQ(restored.Interval(), 3);
    EXPECT_EQ(restored.DeveloperCompany(), QStringLiteral("ACME"));
    EXPECT_EQ(shared().OrganisationName, QStringLiteral("ACME"));

    // A value that cannot be converted leaves its property as it was.
    MemoryPropertyBag bad;
    bad.set(QStringLiteral("Interval"), QStringLiteral("soon"));
    bad.set(QStringLiteral("Enabled"), QStringLiteral("perhaps"));
    restored.ReadProperties(bad);
    EXPECT_EQ(restored.Interval(), 3);
    EXPECT_TRUE(restored.Enabled());
}

TEST_F(ControlTest, InitPropertiesSetsTheDefaults)
{
    ZuVexal control(nullptr, &container);
    control.setInterval(9);
    control.setTag(QStringLiteral("x"));
    control.InitProperties();
    EXPECT_EQ(control.Interval(), 0);
    EXPECT_EQ(control.Tag(), QString());
    EXPECT_EQ(control.MaxRecsPerPage(), 10);
    EXPECT_EQ(control.DeveloperCompany(), QStringLiteral("ACME"));
}

TEST_F(ControlTest, TimerRaisesZuTimerEveryIntervalTicks)
{
    ZuVexal control(nullptr, &container);
    int raised = 0;
    QObject::connect(&control, &ZuVexal::ZuTimer, [&] { ++raised; });
    control.setInterval(3);
    for (int tick = 1; tick <= 9; ++tick)
        control.Timer1_Timer();
    EXPECT_EQ(raised, 3) << "after ticks 3, 6 and 9";

    control.setInterval(0);
    control.Timer1_Timer();
    EXPECT_EQ(tickCountOf(control), 0) << "Interval 0 stops the count";

    control.setInterval(5);
    for (int tick = 0; tick < 4; ++tick)
        control.Timer1_Timer();
    control.setInterval(2);
    control.Timer1_Timer();
    EXPECT_EQ(raised, 4) << "a lowered interval fires at once instead of never";

    control.setInterval(3);
    control.Timer1_Timer();
    control.Timer1_Timer();
    control.setEnabled(true);
    EXPECT_EQ(tickCountOf(control), 0) << "Enabled restarts the period";
}

TEST_F(ControlTest, ZuTimerIsNotRaisedAgainWhileTheHandlerRuns)
{
    ZuVexal control(nullptr, &container);
    control.setInterval(1);
    int raised = 0;
    QObject::connect(&control, &ZuVexal::ZuTimer, [&] {
        ++raised;
        // Ticks that arrive while the handler runs a modal loop.
        control.Timer1_Timer();
        control.Timer1_Timer();
    });
    control.Timer1_Timer();
    EXPECT_EQ(raised, 1);
    control.Timer1_Timer();
    EXPECT_EQ(raised, 2) << "events continue once the handler returned";
}

TEST_F(ControlTest, ReportStatusArgumentsComeBackByReference)
{
    ZuVexal control(nullptr, &container);
    QObject::connect(&control, &ZuVexal::ReportStatus,
                     [](qint16 total, qint32, qint16 current, bool &cancel, bool &deletePages, QVariant &reserved) {
                         cancel = current == total;
                         deletePages = true;
                         reserved = QStringLiteral("seen");
                     });
    bool cancel = false;
    bool deletePages = false;
    QVariant reserved;
    // Called by name, as the generation run does through its control reference.
    ASSERT_TRUE(QMetaObject::invokeMethod(&control, "RaiseZuReportStatus", Qt::DirectConnection,
                                          Q_ARG(qint16, 3), Q_ARG(qint32, 12), Q_ARG(qint16, 3),
                                          Q_ARG(bool &, cancel), Q_ARG(bool &, deletePages),
                                          Q_ARG(QVariant &, reserved)));
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(deletePages);
    EXPECT_EQ(reserved.toString(), QStringLiteral("seen"));
}

TEST_F(ControlTest, FileMethodsWrapThePathHelpers)
{
    ZuVexal control(nullptr, &container);
    const QString path = QStringLiteral("/opt/host/Reports/zureport1.htm");
    EXPECT_EQ(control.justFileName(path), QStringLiteral("ZUREPORT1.HTM"));
    EXPECT_EQ(control.FileFolder(path), QStringLiteral("/opt/host/Reports/"));
    EXPECT_EQ(control.ShortFileName(path), QString()) << "missing paths have no short form";
}

TEST_F(ControlTest, ProgramDelayClampsAndWritesBack)
{
    struct InstantClock final : platform::Clock
    {
        TimePoint now() const override { return t; }
        void sleepFor(std::chrono::milliseconds d) override { t += d; }
        TimePoint t{};
    } clock;
    ZuVexal control(nullptr, &container);
    context->clock = &clock;
    for (auto [given, expected] : {std::pair{0, 5}, {-3, 5}, {100000, 86399}, {2, 2}}) {
        const auto start = clock.t;
        qint32 n = given;
        control.ProgramDelayNSec(&n);
        EXPECT_EQ(n, expected);
        EXPECT_GE(clock.t - start, std::chrono::seconds(expected));
    }
    context->clock = &platform::systemClock();
}

TEST(Version, AboutBoxVersionTextHasNoPadding)
{
    EXPECT_EQ(versionText(2, 4), QStringLiteral("Version 2.4"));
    EXPECT_EQ(versionText(2, 10), QStringLiteral("Version 2.10")) << "a two-digit minor number as it is";
    EXPECT_EQ(componentVersionText(), QStringLiteral("Version 2.0"));
}

TEST(DefaultContainer, FindsTheHostsControlsByNameFromTheTopOfTheControlsTree)
{
    // A headless control on a host's object tree: the report window reaches
    // the host's other objects (and the control itself) by name.
    QObject window;
    window.setObjectName(QStringLiteral("MainWindow"));
    QObject panel(&window);
    auto *box = new QObject(&window);
    box->setObjectName(QStringLiteral("Text1"));
    ZuVexal control(&panel);
    control.setObjectName(QStringLiteral("ZuVexal1"));
    const Container &container = control.container();
    EXPECT_EQ(container.displayName(), QStringLiteral("ZuVexal1"));
    EXPECT_EQ(container.controlByName(QStringLiteral("ZuVexal1")), &control);
    EXPECT_EQ(container.controlByName(QStringLiteral("MainWindow")), &window) << "the top of the tree";
    EXPECT_EQ(container.controlByName(QStringLiteral("Text1")), box) << "a sibling of the control's parent";
    EXPECT_EQ(container.controlByName(QStringLiteral("Missing")), nullptr);
    EXPECT_EQ(container.controlByName(QString()), nullptr);
    EXPECT_TRUE(container.userMode());
}
