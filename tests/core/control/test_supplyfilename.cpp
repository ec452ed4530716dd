#include "core/base/sharedvalues.h"
#include "core/control/context_p.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"
#include "core/filedialog/filechooser_p.h"

#include "testsupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

// Stands in for the chooser window: records what it was shown with and
// picks a file, as a user pressing Enter would.
struct FakeWindow
{
    explicit FakeWindow(ZuVexal &control)
    {
        windows.installOn(contextOf(control));
        windows.onFileChooser = [this](FileChooser &chooser) {
            seen.push_back(chooser);
            chooser.chosenName = pick;
            chooser.chosenPath = pick.isEmpty() ? QString() : chooser.dir1Path() + pick;
            chooser.unload();
            return true;
        };
    }
    test::ScriptedWindows windows;
    QString pick;
    std::vector<FileChooser> seen;
};

} // namespace

TEST(SupplyFileName, PreparesTheChooserAndWritesBack)
{
    test::TempFolder app;
    test::TempFolder photos;
    ZuVexal control;
    contextOf(control).values.AppFolder = app.path();
    QObject target;
    FakeWindow window(control);
    window.pick = QStringLiteral("report.htm");

    QString initDir = QStringLiteral("  ") + photos.path().chopped(1) + QStringLiteral("  ");
    bool verify = true;
    const QString chosen = control.SupplyFileName(QStringLiteral("Save As (Htm or Asp file)  "), &initDir,
                                                  ZuVexal::Zu_Picture_Files, &verify, &target, 7);
    EXPECT_EQ(chosen, photos.path() + QStringLiteral("report.htm"));
    EXPECT_EQ(initDir, photos.path()) << "trimmed, '/' appended, written back";
    EXPECT_FALSE(verify) << "a file being saved need not exist; written back";

    ASSERT_EQ(window.seen.size(), 1u);
    const FileChooser &shown = window.seen[0];
    EXPECT_EQ(shown.dir1Path(), photos.path());
    EXPECT_FALSE(shown.drive1().isEmpty());
    EXPECT_EQ(shown.chkVerify, 0);
    EXPECT_FALSE(shown.chkVerifyVisible);
    EXPECT_EQ(shown.cmdInsertVisible, (std::array<bool, 2>{true, false})) << "7 counts as the Document button";
    EXPECT_EQ(shown.combo1Index(), 2) << "Pictures";
    EXPECT_EQ(shown.caption, QStringLiteral("Save As (Htm or Asp file)"));
    EXPECT_EQ(shown.GraphicControl, &target);

    // The next use starts in the folder of the last chosen file and keeps a
    // missing initial folder from moving it.
    QString missing = app.file(QStringLiteral("nowhere"));
    window.pick.clear();
    EXPECT_EQ(control.SupplyFileName(QStringLiteral("Pick"), &missing, 0, nullptr, nullptr,
                                     ZuVexal::Zu_BBackground),
              QString()) << "cancelled";
    ASSERT_EQ(window.seen.size(), 2u);
    EXPECT_EQ(window.seen[1].dir1Path(), photos.path());
    EXPECT_EQ(window.seen[1].chkVerify, 1) << "verification is the default";
    EXPECT_EQ(window.seen[1].cmdInsertVisible, (std::array<bool, 2>{false, true}));

    // After a cancel the chooser starts in the application folder again.
    control.SupplyFileName();
    ASSERT_EQ(window.seen.size(), 3u);
    EXPECT_EQ(window.seen[2].dir1Path(), app.path());
}

TEST(SupplyFileName, WithoutAWindowNothingIsChosen)
{
    ZuVexal control;
    EXPECT_EQ(control.SupplyFileName(), QString());
}
