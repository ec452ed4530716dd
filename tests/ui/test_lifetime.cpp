// The shared windows meet the host's lifetimes: controls deleted while a
// window is open, and a window used again after an earlier use changed it.
#include "core/control/context_p.h"
#include "ui/control/zuvexalwidget.h"

#include "reportfixture.h"
#include "uisupport.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace zuvexal;
using zuvexal::test::child;
using zuvexal::test::ReportTest;
using zuvexal::test::whileShown;

namespace {

const QString Chooser = QStringLiteral("VexalPhotoTabStrip");

void typeAndEnter(QDialog *chooser, const QString &name)
{
    auto *box = child<QLineEdit>(chooser, "txtFileName");
    box->setText(name);
    QTest::keyClick(box, Qt::Key_Return);
}

// A host window with two controls on it.
class HostWindow : public ReportTest
{
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        first = new ui::ZuVexalWidget(&host);
        first->setObjectName(QStringLiteral("ZuVexal1"));
        second = new ui::ZuVexalWidget(&host);
        second->setObjectName(QStringLiteral("ZuVexal2"));
        host.show();
    }
    QWidget host;
    ui::ZuVexalWidget *first = nullptr;
    ui::ZuVexalWidget *second = nullptr;
};

} // namespace

TEST_F(HostWindow, TheChooserKeepsWorkingWhileControlsAreDeleted)
{
    const QString docs = folder.file(QStringLiteral("docs/"));
    QDir().mkpath(docs);
    test::writeAll(docs + QStringLiteral("notes.txt"), "Meeting at ten.");

    // Another control goes while this one's chooser is open.
    whileShown(Chooser, [&](QDialog *w) {
        delete second;
        typeAndEnter(w, QStringLiteral("notes.txt"));
    });
    QString start = docs;
    EXPECT_EQ(first->SupplyFileName(QStringLiteral("Open"), &start), docs + QStringLiteral("notes.txt"));

    // The release came after the window: the next use has forgotten the
    // last choice and starts in the application folder.
    QString shownIn;
    whileShown(Chooser, [&](QDialog *w) {
        shownIn = child<QLabel>(w, "lblFolder")->text();
        // Now the control whose chooser is open goes too.
        delete first;
        typeAndEnter(w, QStringLiteral("docs/notes.txt"));
    });
    ui::ZuVexalWidget *doomed = first;
    const QString chosen = doomed->SupplyFileName(QStringLiteral("Save As"));
    EXPECT_EQ(shownIn, folder.path());
    EXPECT_EQ(chosen, folder.file(QStringLiteral("NOTES.TXT"))) << "the window finished its work";
}

TEST_F(HostWindow, TheAboutBoxKeepsWorkingWhileControlsAreDeleted)
{
    bool closedByOk = false;
    whileShown(QStringLiteral("VexalAbout"), [&](QDialog *w) {
        delete second;
        delete first;
        ASSERT_TRUE(w->isVisible());
        QTest::mouseClick(child<QPushButton>(w, "OKButton"), Qt::LeftButton);
        closedByOk = !w->isVisible();
    });
    ui::ZuVexalWidget *doomed = first;
    doomed->AboutBox();
    EXPECT_TRUE(closedByOk);
}

TEST_F(HostWindow, TheReportWindowKeepsWorkingWhileControlsAreDeletedAndIsReleasedAfter)
{
    RecordSetPtr records = test::makeOrders(12);
    whileShown([&](QDialog *w) {
        delete second;
        delete first;
        QTest::mouseClick(child<QPushButton>(w, "cmdDirection0"), Qt::LeftButton);
        child<QLineEdit>(w, "txtFilename")->setText(QStringLiteral("kept"));
        child<QCheckBox>(w, "chkBrowser")->setChecked(false);
        QTest::mouseClick(child<QPushButton>(w, "cmdGenerate"), Qt::LeftButton);
        EXPECT_TRUE(reportFormExists()) << "kept while the window is open";
    });
    ui::ZuVexalWidget *doomed = first;
    EXPECT_TRUE(doomed->ShowZuReporter(records));
    EXPECT_EQ(QDir(folder.file(QStringLiteral("Reports"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("kept1.htm"), QStringLiteral("kept2.htm")}));
    EXPECT_FALSE(reportFormExists()) << "released once the window closed";
}

TEST_F(HostWindow, AReportWindowUsedAgainStartsFromItsInitialState)
{
    RecordSetPtr records = test::makeOrders(12);
    whileShown([&](QDialog *w) {
        child<QLineEdit>(w, "txtTitle")->setText(QStringLiteral("typed"));
        child<QCheckBox>(w, "chkBrowser")->setChecked(false);
        QTest::mouseClick(child<QPushButton>(w, "cmdDirection0"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(w, "cmdPage3"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(w, "cmdClose"), Qt::LeftButton);
    });
    ASSERT_TRUE(first->ShowZuReporter(records));
    whileShown([&](QDialog *w) {
        EXPECT_EQ(child<QLineEdit>(w, "txtTitle")->text(), QString());
        EXPECT_TRUE(child<QCheckBox>(w, "chkBrowser")->isChecked());
        EXPECT_EQ(child<QListWidget>(w, "lstOutput")->count(), 0);
        EXPECT_EQ(child<QListWidget>(w, "lstAvailable")->count(), 5);
        EXPECT_EQ(child<QLabel>(w, "lblPage")->text(), QStringLiteral("Page 1 of 2"));
        EXPECT_FALSE(child<QPushButton>(w, "cmdPage0")->isEnabled());
    });
    EXPECT_TRUE(second->ShowZuReporter(records)) << "the other control opens the same window";
}

TEST_F(HostWindow, SaveAsTakesANewNameAfterAVerifiedLogoPick)
{
    QDir().mkpath(folder.file(QStringLiteral("Pictures")));
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(folder.file(QStringLiteral("Pictures/logo.png"))));
    RecordSetPtr records = test::makeOrders(3);
    QString logoShown;
    QString fileName;
    whileShown([&](QDialog *w) {
        whileShown(QStringLiteral("VexalAdvancedSet"), [&](QDialog *settings) {
            // The logo must exist: the chooser verifies it.
            whileShown(Chooser, [&](QDialog *chooser) { typeAndEnter(chooser, QStringLiteral("logo.png")); });
            QTest::mouseClick(child<QPushButton>(settings, "cmdLogo0"), Qt::LeftButton);
            logoShown = child<QLabel>(settings, "lblLogo0")->text();
            QTest::mouseClick(child<QPushButton>(settings, "cmdApply"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(w, "cmdAdvanced"), Qt::LeftButton);
        // A file to be written need not exist: the next use of the chooser
        // does not keep the logo's verification.
        whileShown(Chooser, [&](QDialog *chooser) { typeAndEnter(chooser, QStringLiteral("brandnew")); });
        QTest::mouseClick(child<QPushButton>(w, "cmdSaveAs"), Qt::LeftButton);
        fileName = child<QLineEdit>(w, "txtFilename")->text();
    });
    first->ShowZuReporter(records);
    EXPECT_EQ(logoShown, folder.file(QStringLiteral("Pictures/logo.png")));
    EXPECT_EQ(fileName, QStringLiteral("brandnew.htm"));
}
