#include "core/base/messages.h"
#include "core/base/sharedvalues.h"
#include "core/control/zuvexal.h"
#include "core/links/linkactivation_p.h"
#include "core/settings/advancedsetform_p.h"
#include "core/settings/advancedsettings_p.h"
#include "core/settings/registry.h"
#include "platform/desktop.h"

#include "stubdesktop.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

// One stub desktop for the whole program, without an X display: no browser
// window can be found, and nothing may reach a desktop outside the test.
class Desktop : public ::testing::Environment
{
public:
    void SetUp() override
    {
        stub = std::make_unique<test::StubDesktop>();
        qunsetenv("DISPLAY");
    }
    void TearDown() override { stub.reset(); }
    static inline std::unique_ptr<test::StubDesktop> stub;
};

const auto *const environment = ::testing::AddGlobalTestEnvironment(new Desktop);

using Call = test::StubDesktop::Call;

std::vector<Call> calls(int count)
{
    return Desktop::stub->calls(count);
}

class LinkActivation : public ::testing::Test
{
protected:
    void SetUp() override { Desktop::stub->forgetCalls(); }
    LinkState state;
};

} // namespace

TEST_F(LinkActivation, EachKindOfTargetReachesItsProgramAsOneArgument)
{
    test::TempFolder folder;
    const QString page = folder.file(QStringLiteral("My Page.html"));
    test::writeAll(page, "<html><body>hi</body></html>");

    // One at a time: programs start asynchronously and could record out of order.
    const std::tuple<qint16, QString, bool> links[] = {
        {0, QStringLiteral("https://example.org/a b?c=1"), false},
        {1, QStringLiteral("someone@example.org"), false},
        {1, QStringLiteral("mailto:boss@example.org"), false},
        {0, page, false},
        {0, QStringLiteral("https://example.org/"), true},
    };
    int count = 0;
    for (const auto &[kind, target, newWindow] : links) {
        EXPECT_TRUE(ActivateLink(state, kind, target, newWindow)) << target.toStdString();
        calls(++count);
    }
    const std::vector<Call> made = calls(5);
    ASSERT_EQ(made.size(), 5u);
    const QStringList &flags = test::StubDesktop::BrowserFlags;
    EXPECT_EQ(made[0].program, QStringLiteral("chromium"));
    EXPECT_EQ(made[0].args, flags + QStringList({QStringLiteral("https://example.org/a b?c=1")}))
        << "the entry's own flags come first";
    EXPECT_EQ(made[1].program, QStringLiteral("mailer"));
    EXPECT_EQ(made[1].args, QStringList{QStringLiteral("mailto:someone@example.org")}) << "mail prefix added";
    EXPECT_EQ(made[2].args, QStringList{QStringLiteral("mailto:boss@example.org")}) << "never prefixed twice";
    EXPECT_EQ(made[3].program, QStringLiteral("chromium")) << "a local web page opens in the browser";
    ASSERT_EQ(made[3].args.size(), flags.size() + 1);
    EXPECT_EQ(QUrl::fromUserInput(made[3].args.back()).toLocalFile(), page);
    EXPECT_EQ(made[4].args, flags + QStringList({QStringLiteral("--new-window"), QStringLiteral("https://example.org/")}))
        << "a known browser is asked for a new window, started from its entry's command line";
}

TEST_F(LinkActivation, ATargetLikeAnOptionArrivesAsAnAbsolutePath)
{
    test::TempFolder folder;
    test::writeAll(folder.file(QStringLiteral("-rf.html")), "<html></html>");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const bool opened = ActivateLink(state, 0, QStringLiteral("-rf.html"), false);
    QDir::setCurrent(previous);
    ASSERT_TRUE(opened);
    const std::vector<Call> made = calls(1);
    ASSERT_EQ(made.size(), 1u);
    ASSERT_EQ(made[0].args.size(), test::StubDesktop::BrowserFlags.size() + 1);
    EXPECT_FALSE(made[0].args.back().startsWith(QLatin1Char('-')));
    EXPECT_EQ(QUrl::fromUserInput(made[0].args.back()).toLocalFile(), folder.file(QStringLiteral("-rf.html")));
}

TEST_F(LinkActivation, WithoutAProgramForTheTargetTheHtmlProgramIsStartedOnceFoundAndReused)
{
    test::TempFolder folder;
    const QString blob = folder.file(QStringLiteral("data.zvxblob"));
    test::writeAll(blob, QByteArray("\x00\x01\x02\xff", 4));
    const QString type = platform::contentTypeOfFile(blob);
    ASSERT_FALSE(platform::defaultApplication(type)) << type.toStdString() << " must have no program here";

    EXPECT_TRUE(ActivateLink(state, 0, blob, false));
    calls(1);
    EXPECT_TRUE(state.BrowserKnown);
    EXPECT_TRUE(state.BrowserPath.endsWith(QLatin1String("/chromium")));
    EXPECT_TRUE(ActivateLink(state, 0, blob, false)) << "the program found before is started again";
    const std::vector<Call> made = calls(2);
    ASSERT_EQ(made.size(), 2u);
    for (const Call &call : made) {
        EXPECT_EQ(call.program, QStringLiteral("chromium"));
        EXPECT_EQ(call.args.size(), test::StubDesktop::BrowserFlags.size() + 1);
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("temphtm.HTM"))) << "no probe file in the working folder";
}

TEST_F(LinkActivation, OpenHyperlinkChoosesTheKindOfLink)
{
    ZuVexal control;
    EXPECT_FALSE(control.OpenHyperlink(QStringLiteral("   "))) << "a blank destination starts nothing";
    EXPECT_TRUE(control.OpenHyperlink(QStringLiteral(" sales@example.org "), true));
    const std::vector<Call> made = calls(1);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].program, QStringLiteral("mailer"));
    EXPECT_EQ(made[0].args, QStringList{QStringLiteral("mailto:sales@example.org")})
        << "e-mail never asks for a new window";
}

TEST_F(LinkActivation, AProgramThatCannotStartIsNoOpenedLink)
{
    const platform::Application gone{QStringLiteral("zv-missing.desktop"), QString()};
    EXPECT_FALSE(platform::launch(gone, QStringLiteral("https://example.org/")));
    EXPECT_FALSE(platform::launch(gone, QStringLiteral("https://example.org/"), {QStringLiteral("--new-window")}))
        << "nor with a new window asked for";
}

TEST_F(LinkActivation, F3InTheSettingsLinkBoxesOpensTheirAddress)
{
    // The website box opens in a new browser window, the e-mail box in the
    // mail program; a blank box and other boxes open nothing.
    test::TempFolder folder;
    SharedValues values;
    SettingsState settings;
    const Registry registry(folder.file(QStringLiteral("registry.db")), QString());
    const Messages messages;
    AdvancedSetForm form(values, settings, registry, state, messages);
    form.txtLink = {QStringLiteral(" https://acme.example.com "), QStringLiteral("sales@acme.example.com")};
    form.txtLink_F3(0);
    calls(1);
    form.txtLink_F3(1);
    const std::vector<Call> made = calls(2);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].args, test::StubDesktop::BrowserFlags
                                + QStringList({QStringLiteral("--new-window"), QStringLiteral("https://acme.example.com")}));
    EXPECT_EQ(made[1].args, QStringList{QStringLiteral("mailto:sales@acme.example.com")});
    form.txtLink = {QStringLiteral("   "), QString()};
    form.txtLink_F3(0);
    form.txtLink_F3(1);
    form.txtLink_F3(2);
    QThread::msleep(300);
    EXPECT_EQ(calls(2).size(), 2u) << "nothing more opened";
}
