#include "core/control/context_p.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"
#include "core/filedialog/filechooser_p.h"
#include "core/reporter/reportform_p.h"
#include "core/settings/advancedsetform_p.h"

#include "reportfixture.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zuvexal;
using zuvexal::test::ReportTest;

namespace {

// A host container that fails when the control looks itself up.
class FailingContainer final : public Container
{
public:
    bool userMode() const override { return true; }
    QString displayName() const override { return QStringLiteral("ZuVexal1"); }
    void propertyChanged(const QString &) override {}
    QObject *controlByName(const QString &) const override { throw std::runtime_error("container gone"); }
};

} // namespace

TEST(Context, OneForEveryControlOfTheProcessAndGoneWithTheLast)
{
    std::weak_ptr<Context> seen;
    {
        ZuVexal first;
        ZuVexal second;
        EXPECT_EQ(&contextOf(first), &contextOf(second));
        EXPECT_EQ(&contextOf(first).reportForm(), &contextOf(second).reportForm()) << "the windows are shared";
        EXPECT_EQ(&contextOf(first).fileChooser(), &contextOf(second).fileChooser());
        contextOf(first).settings.Settings.HeaderText = QStringLiteral("shared");
        EXPECT_EQ(contextOf(second).settings.Settings.HeaderText, QStringLiteral("shared")) << "so is the record";
        seen = contextOf(first).weak_from_this();
    }
    EXPECT_TRUE(seen.expired()) << "released with the last control";
    ZuVexal next;
    EXPECT_EQ(contextOf(next).settings.Settings.HeaderText, QString()) << "a new context starts afresh";
    EXPECT_TRUE(contextOf(next).values.AppFolder.endsWith(QLatin1Char('/'))) << "the component's folder, set at load";
}

TEST(Context, ATerminatingControlReleasesTheWindowsOnlyWhenNoneIsInUse)
{
    ZuVexal stays;
    Context &context = contextOf(stays);
    context.reportForm();
    { ZuVexal leaves; }
    EXPECT_FALSE(context.reportFormExists()) << "nothing used them: released at once";

    context.reportForm().txtTitle = QStringLiteral("in use");
    {
        const Context::Use window = context.use();
        { ZuVexal leaves; }
        ASSERT_TRUE(context.reportFormExists()) << "kept while a window uses them";
        EXPECT_EQ(context.reportForm().txtTitle, QStringLiteral("in use"));
    }
    EXPECT_FALSE(context.reportFormExists()) << "released when the last use ends";
}

TEST(Context, TheBusyGuardAdmitsOneReportAndIsReleasedOnEveryPath)
{
    ZuVexal control;
    Context &context = contextOf(control);
    {
        const std::optional<Context::ReportGuard> first = context.beginReport();
        ASSERT_TRUE(first);
        EXPECT_TRUE(control.ReportBusy());
        EXPECT_FALSE(context.beginReport()) << "one report at a time in the process";
    }
    EXPECT_FALSE(control.ReportBusy()) << "released when the guard goes";
    try {
        const std::optional<Context::ReportGuard> guard = context.beginReport();
        throw std::runtime_error("host failure");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(control.ReportBusy()) << "released when an exception leaves the report";
}

TEST_F(ReportTest, TwoControlsShareTheBusyGuardAndAFailingHostObjectEndsTheReportCleanly)
{
    ZuVexal second;
    test::ScriptedWindows windows;
    windows.installOn(context());
    QStringList messages;
    windows.onMessage = [&](const QString &, const QString &text) { messages << text; };
    std::optional<bool> secondAuto;
    std::optional<bool> secondShown;
    QObject::connect(control.get(), &ZuVexal::ReportStatus, [&](qint16, qint32, qint16, bool &, bool &, QVariant &) {
        if (secondAuto)
            return;
        RecordSetPtr other = test::makeOrders(2);
        secondAuto = second.AutoZuReporter(other, {}, nullptr, {}, {}, ZuVexal::rNoNo);
        secondShown = second.ShowZuReporter(other);
    });
    RecordSetPtr records = test::makeOrders(6);
    EXPECT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("first"), {}, ZuVexal::rNoNo));
    EXPECT_EQ(secondAuto, std::optional<bool>(false)) << "turned away silently";
    EXPECT_EQ(secondShown, std::optional<bool>(false));
    EXPECT_EQ(messages.size(), 1) << "the interactive entry point says why";
    EXPECT_FALSE(second.ReportBusy());

    FailingContainer failing;
    second.setContainer(&failing);
    EXPECT_FALSE(second.AutoZuReporter(records, {}, nullptr, {}, {}, ZuVexal::rNoNo))
        << "the failure ends the report without reaching the host";
    EXPECT_FALSE(second.ReportBusy()) << "and the guard is released";
    second.setContainer(nullptr);
    EXPECT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("again"), {}, ZuVexal::rNoNo));
}
