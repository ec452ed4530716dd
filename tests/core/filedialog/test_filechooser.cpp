#include "core/base/messages.h"
#include "core/base/sharedvalues.h"
#include "core/filedialog/filechooser_p.h"

#include "testsupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace zuvexal;

TEST(FileChooser, EachUseStartsFromTheInitialControlsAndKeepsOnlyTheChoice)
{
    test::TempFolder app;
    QDir().mkpath(app.file(QStringLiteral("b/inner")));
    QDir().mkpath(app.file(QStringLiteral("A")));
    SharedValues values;
    values.AppFolder = app.path();
    const Messages messages;
    FileChooser chooser(values, messages);

    chooser.ensureLoaded();
    EXPECT_EQ(chooser.dir1Path(), app.path()) << "nothing chosen yet: the application folder";
    EXPECT_EQ(chooser.dir1Folders(), (QStringList{QStringLiteral(".."), QStringLiteral("A"), QStringLiteral("b")}))
        << "sorted ignoring case, with the way up";
    ASSERT_TRUE(chooser.Dir1_Open(QStringLiteral("b")));
    EXPECT_EQ(chooser.dir1Path(), app.file(QStringLiteral("b/")));
    ASSERT_TRUE(chooser.Dir1_Open(QStringLiteral("..")));
    EXPECT_EQ(chooser.dir1Path(), app.path()) << "up again, without a '..' left in the path";
    EXPECT_FALSE(chooser.Dir1_Open(QStringLiteral("missing")));

    chooser.chkVerify = 1;
    chooser.setCombo1Index(2);
    chooser.caption = QStringLiteral("Pick a logo");
    chooser.chosenPath = app.file(QStringLiteral("b/logo.png"));
    chooser.unload();
    EXPECT_EQ(chooser.chosenFileName(), app.file(QStringLiteral("b/logo.png")));

    chooser.ensureLoaded();
    EXPECT_EQ(chooser.chkVerify, 0) << "a new use does not verify unless asked";
    EXPECT_EQ(chooser.combo1Index(), 0);
    EXPECT_EQ(chooser.caption, QStringLiteral("Supply FileName"));
    EXPECT_EQ(chooser.dir1Path(), app.file(QStringLiteral("b/"))) << "but starts where the last file was chosen";
}

TEST(FileChooser, AllListsFilesWithoutAnExtensionAndTheRootIsAlwaysADrive)
{
    test::TempFolder folder;
    for (const char *name : {"README", "Makefile", "notes.txt", "photo.JPG"})
        test::writeAll(folder.file(QString::fromLatin1(name)), "x");
    SharedValues values;
    values.AppFolder = folder.path();
    const Messages messages;
    FileChooser chooser(values, messages);
    chooser.ensureLoaded();
    EXPECT_EQ(chooser.flbPhoto(), (QStringList{QStringLiteral("Makefile"), QStringLiteral("notes.txt"),
                                               QStringLiteral("photo.JPG"), QStringLiteral("README")}))
        << "\"All\" is every file, as *.* was on the original platform";
    chooser.setCombo1Index(2);
    EXPECT_EQ(chooser.flbPhoto(), QStringList{QStringLiteral("photo.JPG")}) << "pictures in capitals too";

    EXPECT_TRUE(FileChooser::drives().contains(QStringLiteral("/")));
    EXPECT_TRUE(chooser.setDrive1(folder.path()));
    EXPECT_FALSE(chooser.drive1().isEmpty());
}

TEST(FileChooser, ABadDriveSaysSoAndTheLastChoiceIsSelectedAgain)
{
    struct Recorder : MessagePresenter
    {
        void show(const QString &title, const QString &text, Icon) override { shown << title + u':' + text; }
        QStringList shown;
    };
    test::TempFolder folder;
    test::writeAll(folder.file(QStringLiteral("Plan.txt")), "x");
    SharedValues values;
    values.AppFolder = folder.path();
    Messages messages;
    Recorder recorder;
    messages.setPresenter(&recorder);
    FileChooser chooser(values, messages);
    chooser.ensureLoaded();
    chooser.chosenPath = folder.file(QStringLiteral("plan.TXT"));
    chooser.unload();

    // The next use selects the file chosen last, whatever the case of its name.
    chooser.ensureLoaded();
    chooser.Form_Activate();
    EXPECT_EQ(chooser.txtFileName, QStringLiteral("Plan.txt"));
    EXPECT_EQ(chooser.chosenPath, folder.file(QStringLiteral("Plan.txt")));

    EXPECT_FALSE(chooser.Drive1_Change(folder.file(QStringLiteral("no such drive"))));
    EXPECT_EQ(recorder.shown, QStringList{QStringLiteral("Error:Drive Error")});
    EXPECT_EQ(chooser.dir1Path(), folder.path()) << "the folder stays";
    EXPECT_TRUE(chooser.Drive1_Change(QStringLiteral("/")));
    EXPECT_EQ(chooser.dir1Path(), QStringLiteral("/"));
}
