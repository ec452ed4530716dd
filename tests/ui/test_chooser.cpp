#include "core/base/sharedvalues.h"
#include "core/control/context_p.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"
#include "core/filedialog/filechooser_p.h"
#include "ui/windows.h"

#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QUrl>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

// Runs `steps` in the chooser once it is up (it is left as the steps leave it).
void inChooser(const std::function<void(QWidget *)> &steps)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, steps] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window || window->objectName() != QStringLiteral("VexalPhotoTabStrip"))
            return;
        poll->stop();
        poll->deleteLater();
        steps(window);
    });
    poll->start();
}

void type(QWidget *window, const QString &name)
{
    auto *box = window->findChild<QLineEdit *>(QStringLiteral("txtFileName"));
    box->selectAll();
    QTest::keyClicks(box, name);
    QTest::keyClick(box, Qt::Key_Return);
}

class ChooserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ui::installWindows(control);
        contextOf(control).values.AppFolder = app.path();
        QDir().mkpath(docs.file(QStringLiteral("sub")));
        test::writeAll(docs.file(QStringLiteral("notes.txt")), "Meeting at ten.");
        test::writeAll(docs.file(QStringLiteral("empty.txt")), "");
        QFile::copy(QStringLiteral(ZUVEXAL_SOURCE_DIR "/examples/pictures/gear.bmp"), docs.file(QStringLiteral("gear.bmp")));
    }
    QString choose(const QString &caption, bool verify, QObject *target = nullptr, qint16 insert = 0)
    {
        QString folder = docs.path();
        return control.SupplyFileName(caption, &folder, ZuVexal::Zu_All_Files, &verify, target, insert);
    }
    test::TempFolder app;
    test::TempFolder docs;
    ZuVexal control;
};

} // namespace

TEST_F(ChooserTest, EnterAcceptsOnlyAGoodName)
{
    bool stayedOpen = false;
    inChooser([&](QWidget *w) {
        type(w, QStringLiteral("report-2.htm"));
        stayedOpen = w->isVisible();
        type(w, QStringLiteral("report_2.htm"));
    });
    EXPECT_EQ(choose(QStringLiteral("Save As (Htm or Asp file)"), true), docs.file(QStringLiteral("report_2.htm")));
    EXPECT_TRUE(stayedOpen) << "a hyphen is not accepted";

    inChooser([&](QWidget *w) { type(w, QStringLiteral("elsewhere/a.txt")); });
    EXPECT_EQ(choose(QStringLiteral("Save As"), false), docs.file(QStringLiteral("A.TXT")))
        << "a typed folder is dropped, the name upper-cased, the folder shown is used";
}

TEST_F(ChooserTest, VerificationRefusesMissingEmptyAndFolders)
{
    std::vector<bool> open;
    inChooser([&](QWidget *w) {
        for (const char *name : {"missing.txt", "empty.txt", "sub"}) {
            type(w, QString::fromLatin1(name));
            open.push_back(w->isVisible());
        }
        type(w, QStringLiteral("notes.txt"));
    });
    EXPECT_EQ(choose(QStringLiteral("Open"), true), docs.file(QStringLiteral("notes.txt")));
    EXPECT_EQ(open, (std::vector<bool>{true, true, true}));
}

TEST_F(ChooserTest, CancelEscAndTheCloseBoxGiveNothing)
{
    const std::vector<std::function<void(QWidget *)>> ways = {
        [](QWidget *w) { QTest::keyClick(w->findChild<QLineEdit *>(QStringLiteral("txtFileName")), Qt::Key_Escape); },
        [](QWidget *w) { QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton); },
        [](QWidget *w) { w->close(); },
    };
    for (const auto &way : ways) {
        inChooser(way);
        EXPECT_EQ(choose(QStringLiteral("Open"), true), QString());
        // The next use without a folder starts in the application folder.
        QString shownIn;
        inChooser([&](QWidget *w) {
            shownIn = contextOf(control).fileChooser().dir1Path();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        control.SupplyFileName(QStringLiteral("Again"));
        EXPECT_EQ(shownIn, app.path());
    }
}

TEST_F(ChooserTest, TheTypeListFiltersTheFiles)
{
    QStringList all;
    QStringList pictures;
    inChooser([&](QWidget *w) {
        auto *files = w->findChild<QListWidget *>(QStringLiteral("flbPhoto"));
        for (int i = 0; i < files->count(); ++i)
            all << files->item(i)->text();
        auto *types = w->findChild<QComboBox *>(QStringLiteral("Combo1"));
        types->setCurrentIndex(2);
        Q_EMIT types->activated(2);
        for (int i = 0; i < files->count(); ++i)
            pictures << files->item(i)->text();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(choose(QStringLiteral("Open"), true), QString());
    EXPECT_EQ(all, (QStringList{QStringLiteral("empty.txt"), QStringLiteral("gear.bmp"), QStringLiteral("notes.txt")}));
    EXPECT_EQ(pictures, QStringList{QStringLiteral("gear.bmp")});
}

TEST_F(ChooserTest, MovingThroughTheFilesWithTheKeyboardPicksThem)
{
    QString named;
    inChooser([&](QWidget *w) {
        auto *files = w->findChild<QListWidget *>(QStringLiteral("flbPhoto"));
        files->setFocus();
        QTest::keyClick(files, Qt::Key_Home);
        QTest::keyClick(files, Qt::Key_Down);
        named = w->findChild<QLineEdit *>(QStringLiteral("txtFileName"))->text();
        QTest::keyClick(files, Qt::Key_Down);
        QTest::keyClick(w, Qt::Key_Return);
    });
    EXPECT_EQ(choose(QStringLiteral("Open"), true), docs.file(QStringLiteral("notes.txt")))
        << "the selection moved by the keys is the chosen file";
    EXPECT_EQ(named, QStringLiteral("gear.bmp")) << "the name box follows the selection";
}

TEST_F(ChooserTest, InsertButtonsPutTheFileIntoTheTarget)
{
    QLabel label;
    label.setObjectName(QStringLiteral("imgLogo"));
    inChooser([&](QWidget *w) {
        EXPECT_FALSE(w->findChild<QPushButton *>(QStringLiteral("cmdInsert0"))->isVisible());
        type(w, QString());  // nothing typed: stays open
        w->findChild<QLineEdit *>(QStringLiteral("txtFileName"))->setText(QStringLiteral("gear.bmp"));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdInsert1")), Qt::LeftButton);
        EXPECT_FALSE(label.pixmap().isNull()) << "a picture becomes the target's picture";
        w->findChild<QLineEdit *>(QStringLiteral("txtFileName"))->setText(QStringLiteral("notes.txt"));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdInsert1")), Qt::LeftButton);
        EXPECT_TRUE(label.pixmap().isNull()) << "a file that is no picture resets it";
        EXPECT_TRUE(w->isVisible()) << "inserting keeps the window open";
        QTest::keyClick(w, Qt::Key_Escape);
    });
    choose(QStringLiteral("Pick"), true, &label, ZuVexal::Zu_BBackground);

    QTextEdit editor;
    editor.setObjectName(QStringLiteral("txtLetter"));
    inChooser([&](QWidget *w) {
        w->findChild<QLineEdit *>(QStringLiteral("txtFileName"))->setText(QStringLiteral("notes.txt"));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdInsert0")), Qt::LeftButton);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    choose(QStringLiteral("Pick"), true, &editor, ZuVexal::Zu_BDocument);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("Meeting at ten.")) << "a text file's text at the cursor";

    // A picture goes in inline, any other file as a link to it; a plain text
    // box gets the link's address.
    editor.clear();
    inChooser([&](QWidget *w) {
        for (const char *name : {"gear.bmp", "report.pdf"}) {
            w->findChild<QLineEdit *>(QStringLiteral("txtFileName"))->setText(QString::fromLatin1(name));
            QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdInsert0")), Qt::LeftButton);
        }
        QTest::keyClick(w, Qt::Key_Escape);
    });
    choose(QStringLiteral("Pick"), true, &editor, ZuVexal::Zu_BDocument);
    const QString html = editor.toHtml();
    const QString folder = QUrl::fromLocalFile(docs.path()).toString();
    EXPECT_TRUE(html.contains(QStringLiteral("<img src=\"") + folder + QStringLiteral("gear.bmp\""))) << qPrintable(html);
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"") + folder + QStringLiteral("report.pdf\""))) << qPrintable(html);
    QPlainTextEdit plain;
    plain.setObjectName(QStringLiteral("txtPlain"));
    inChooser([&](QWidget *w) {
        w->findChild<QLineEdit *>(QStringLiteral("txtFileName"))->setText(QStringLiteral("report.pdf"));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("cmdInsert0")), Qt::LeftButton);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    choose(QStringLiteral("Pick"), true, &plain, ZuVexal::Zu_BDocument);
    EXPECT_EQ(plain.toPlainText(), folder + QStringLiteral("report.pdf"));
}
