#include "core/base/paths.h"
#include "core/base/sharedvalues.h"

#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zuvexal;
using zuvexal::test::TempFolder;

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

TEST(Paths, SetAppFolderPointsAtTheExecutablesFolder)
{
    SharedValues values;
    SetAppFolder(values);
    EXPECT_EQ(values.AppFolder, QCoreApplication::applicationDirPath() + QLatin1Char('/'))
        << "the host's folder, ending in '/', also when the library is shared";
}
