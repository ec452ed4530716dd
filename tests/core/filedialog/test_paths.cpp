#include "core/control/shared.h"
#include "core/filedialog/paths.h"
#include "platform/clock.h"

#include "testsupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zuvexal;
using zuvexal::test::TempFolder;

namespace {

// A clock that moves only when slept on, and can be stepped by hand.
class FakeClock final : public platform::Clock
{
public:
    FakeClock() { platform::setClock(this); }
    ~FakeClock() override { platform::setClock(nullptr); }
    TimePoint now() const override { return m_now; }
    void sleepFor(std::chrono::milliseconds d) override
    {
        m_now += d;
        slept += d;
        ++sleeps;
    }
    TimePoint m_now{};
    std::chrono::milliseconds slept{0};
    int sleeps = 0;
};

} // namespace

TEST(Paths, FileTypeFilterGivesThePatternsOfEachType)
{
    EXPECT_EQ(FileTypeFilter(0), QStringLiteral("*.*"));
    EXPECT_EQ(FileTypeFilter(2),
              QStringLiteral("*.bmp;*.gif;*.jpeg;*.jpg;*.ico;*.wmf;*.emf;*.dib;*.pcx;*.pct;*.xbm;*.tiff"));
    EXPECT_EQ(FileTypeFilter(3), QStringLiteral("*.exe;*.com;*.bat;*.bin"));
    EXPECT_EQ(FileTypeFilter(7),
              QStringLiteral("*.avi;*.dat;*.mov;*.mpeg;*.mpg;*.mvp;*.vbs;*.mpa;*.mp2;*.aif;*.qt"));
    EXPECT_EQ(FileTypeFilter(8), QStringLiteral("*.*")) << "unknown types show everything";
    EXPECT_EQ(FileTypeFilter(-1), QStringLiteral("*.*"));
}

TEST(Paths, FileNameAndFolderParts)
{
    struct Case { const char *path; const char *name; const char *folder; const char *why; };
    const Case cases[] = {
        {"/app/Reports/report.htm", "REPORT.HTM", "/app/Reports/", "the name in capitals, the folder with its '/'"},
        {"file.txt", "file.txt", "", "no folder: the name comes back in its own case"},
        {"/app/Reports/", "", "/app/Reports/", "a folder path has an empty name"},
        {"/zureport1.htm", "ZUREPORT1.HTM", "/", "a file in the root folder"},
        {"c:file.txt", "c:file.txt", "", "a colon is an ordinary character on Linux"},
    };
    for (const Case &c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(FileNamePart(path), QString::fromUtf8(c.name)) << c.why;
        EXPECT_EQ(PathFolder(path), QString::fromUtf8(c.folder)) << c.why;
    }
}

TEST(Paths, ShortAndLongForms)
{
    TempFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("My Reports")));
    test::writeAll(folder.file(QStringLiteral("My Reports/Report One.htm")), "x");

    const QString existing = folder.file(QStringLiteral("My Reports/Report One.htm"));
    EXPECT_EQ(ShortPathName(existing), existing) << "no 8.3 names: an existing path is its own short form";
    EXPECT_EQ(ShortPathName(folder.file(QStringLiteral("missing.htm"))), QString());
    EXPECT_EQ(ShortPathName(QString()), QString());

    EXPECT_EQ(LongPathName(existing), existing);
    EXPECT_EQ(LongPathName(folder.file(QStringLiteral("my reports/REPORT ONE.HTM"))), existing)
        << "each part takes the name stored on disk";
    EXPECT_EQ(LongPathName(folder.file(QStringLiteral("My Reports/"))), folder.file(QStringLiteral("My Reports/")))
        << "a trailing '/' stays";
    EXPECT_EQ(LongPathName(folder.file(QStringLiteral("gone/Report One.htm"))), folder.path() + QStringLiteral("/"))
        << "missing parts contribute empty names";
}

TEST(Paths, WaitSecondsClampsAndUsesTheMonotonicClock)
{
    using namespace std::chrono;
    struct Case { qint32 n; seconds expected; const char *why; };
    const Case cases[] = {
        {3, 3s, "waits the seconds asked for"},
        {0, 1s, "at least one second"},
        {-7, 1s, "negative counts as one"},
        {100000, 86399s, "at most a day less one second, so it always returns"},
    };
    for (const Case &c : cases) {
        FakeClock clock;
        WaitSeconds(c.n);
        EXPECT_GE(clock.slept, milliseconds(c.expected)) << c.why;
        EXPECT_LT(clock.slept, milliseconds(c.expected) + 2ms) << c.why;
        EXPECT_LE(milliseconds(100) * (clock.sleeps - 1), clock.slept) << "sleeps in short steps";
    }
}

TEST(Paths, GetFontNamesKeepsAtMost513)
{
    QStringList many;
    for (int i = 0; i < 600; ++i)
        many << QStringLiteral("Font %1").arg(i);
    const QStringList names = GetFontNames(many);
    ASSERT_EQ(names.size(), 513);
    EXPECT_EQ(names.front(), QStringLiteral("Font 0"));
    EXPECT_EQ(names.back(), QStringLiteral("Font 512"));
    EXPECT_FALSE(GetFontNames().isEmpty()) << "fontconfig's families on the offscreen platform";
}

TEST(Paths, SetAppFolderPointsAtTheComponentsFolder)
{
    SetAppFolder();
    const QString folder = shared().AppFolder;
    EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
