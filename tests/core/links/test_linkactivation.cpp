#include "core/control/zuvexal.h"
#include "core/links/linkactivation.h"
#include "platform/desktop.h"

#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

// Programs registered the freedesktop way in private XDG folders: a browser
// named "chromium" (so it gets a new-window option) and a mail program. Each
// records its name and arguments, one call per block, into calls.txt.
class StubDesktop : public ::testing::Environment
{
public:
    void SetUp() override
    {
        root = std::make_unique<test::TempFolder>();
        const QString bin = root->file(QStringLiteral("bin/"));
        const QString apps = root->file(QStringLiteral("data/applications/"));
        QDir().mkpath(bin);
        QDir().mkpath(apps);
        QDir().mkpath(root->file(QStringLiteral("config")));
        const QByteArray recorder = "#!/bin/sh\n"
                                    "{ printf 'program:%s\\n' \"$(basename \"$0\")\"\n"
                                    "  for a in \"$@\"; do printf 'arg:%s\\n' \"$a\"; done\n"
                                    "  printf 'end\\n'; } >> \"" + root->file(QStringLiteral("calls.txt")).toUtf8() + "\"\n";
        for (const char *name : {"chromium", "mailer"}) {
            const QString program = bin + QString::fromLatin1(name);
            test::writeAll(program, recorder);
            QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        test::writeAll(apps + QStringLiteral("zv-browser.desktop"),
                       "[Desktop Entry]\nType=Application\nName=Stub browser\nExec=" + bin.toUtf8()
                           + "chromium %u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n");
        test::writeAll(apps + QStringLiteral("zv-mail.desktop"),
                       "[Desktop Entry]\nType=Application\nName=Stub mail\nExec=" + bin.toUtf8()
                           + "mailer %u\nMimeType=x-scheme-handler/mailto;\n");
        test::writeAll(root->file(QStringLiteral("config/mimeapps.list")),
                       "[Default Applications]\ntext/html=zv-browser.desktop\n"
                       "x-scheme-handler/http=zv-browser.desktop\nx-scheme-handler/https=zv-browser.desktop\n"
                       "x-scheme-handler/mailto=zv-mail.desktop\n");
        qputenv("XDG_DATA_HOME", root->file(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", root->file(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_DIRS", "/usr/share");
        // No X display: no browser window can be found, and nothing may
        // reach a desktop outside the test.
        qunsetenv("DISPLAY");
    }
    void TearDown() override { root.reset(); }

    static inline std::unique_ptr<test::TempFolder> root;
};

const auto *const environment = ::testing::AddGlobalTestEnvironment(new StubDesktop);

struct Call
{
    QString program;
    QStringList args;
};

// Waits (bounded) until `count` calls were recorded, then returns them all.
std::vector<Call> calls(int count)
{
    const QString file = StubDesktop::root->file(QStringLiteral("calls.txt"));
    QElapsedTimer clock;
    clock.start();
    std::vector<Call> result;
    do {
        result.clear();
        for (const QString &line : QString::fromUtf8(test::readAll(file)).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("program:")))
                result.push_back({line.mid(8), {}});
            else if (line.startsWith(QLatin1String("arg:")) && !result.empty())
                result.back().args << line.mid(4);
        }
        if (int(result.size()) >= count && test::readAll(file).count("end\n") >= count)
            break;
        QThread::msleep(20);
    } while (clock.elapsed() < 10000);
    return result;
}

class LinkActivation : public ::testing::Test
{
protected:
    void SetUp() override { QFile::remove(StubDesktop::root->file(QStringLiteral("calls.txt"))); }
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
    EXPECT_EQ(made[0].program, QStringLiteral("chromium"));
    EXPECT_EQ(made[0].args, QStringList{QStringLiteral("https://example.org/a b?c=1")});
    EXPECT_EQ(made[1].program, QStringLiteral("mailer"));
    EXPECT_EQ(made[1].args, QStringList{QStringLiteral("mailto:someone@example.org")}) << "mail prefix added";
    EXPECT_EQ(made[2].args, QStringList{QStringLiteral("mailto:boss@example.org")}) << "never prefixed twice";
    EXPECT_EQ(made[3].program, QStringLiteral("chromium")) << "a local web page opens in the browser";
    ASSERT_EQ(made[3].args.size(), 1);
    EXPECT_EQ(QUrl::fromUserInput(made[3].args[0]).toLocalFile(), page);
    EXPECT_EQ(made[4].args, (QStringList{QStringLiteral("--new-window"), QStringLiteral("https://example.org/")}))
        << "a known browser is asked for a new window";
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
    ASSERT_EQ(made[0].args.size(), 1);
    EXPECT_FALSE(made[0].args[0].startsWith(QLatin1Char('-')));
    EXPECT_EQ(QUrl::fromUserInput(made[0].args[0]).toLocalFile(), folder.file(QStringLiteral("-rf.html")));
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
        EXPECT_EQ(call.args.size(), 1);
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
