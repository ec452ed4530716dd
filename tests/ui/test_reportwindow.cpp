#include "core/base/messages.h"
#include "core/filedialog/filechooser_p.h"
#include "core/reporter/reportform_p.h"
#include "ui/advancedset/advancedwindow.h"
#include "ui/control/zuvexalwidget.h"
#include "ui/reportform/reportwindow.h"
#include "ui/windows.h"

#include "reportfixture.h"
#include "uisupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace zuvexal;
using zuvexal::test::ReportTest;
using zuvexal::test::child;
using zuvexal::test::whileShown;

namespace {

class RecordingMessages final : public MessagePresenter
{
public:
    void show(const QString &title, const QString &text, Icon) override { shown << title + QLatin1Char('|') + text; }
    QStringList shown;
};

} // namespace

TEST_F(ReportTest, WindowShowsTheFormAndDrivesItsButtons)
{
    ReportForm &form = load(23, 10);
    ui::ReportWindow window(form);
    whileShown([&](QDialog *w) {
        EXPECT_EQ(child<QLabel>(w, "lblPage")->text(), QStringLiteral("Page 1 of 3"));
        EXPECT_FALSE(child<QPushButton>(w, "cmdPage0")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(w, "cmdPage1")->isEnabled());
        EXPECT_TRUE(child<QPushButton>(w, "cmdPage2")->isEnabled());
        EXPECT_TRUE(child<QPushButton>(w, "cmdPage3")->isEnabled());
        auto *available = child<QListWidget>(w, "lstAvailable");
        EXPECT_EQ(available->count(), 5);
        EXPECT_EQ(available->selectedItems().size(), 5);
        auto *grid = child<QTableView>(w, "MSHFlexGrid1");
        EXPECT_EQ(grid->model()->rowCount(), 10);
        EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Customer"));

        QTest::mouseClick(child<QPushButton>(w, "cmdPage3"), Qt::LeftButton);
        EXPECT_EQ(child<QLabel>(w, "lblPage")->text(), QStringLiteral("Page 3 of 3"));
        EXPECT_EQ(grid->model()->rowCount(), 3);
        EXPECT_EQ(grid->model()->index(0, 0).data().toString(), QStringLiteral("21"));

        available->item(2)->setSelected(false);
        QTest::mouseClick(child<QPushButton>(w, "cmdDirection0"), Qt::LeftButton);
        auto *output = child<QListWidget>(w, "lstOutput");
        EXPECT_EQ(output->count(), 4);
        output->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QTest::mouseClick(child<QPushButton>(w, "cmdMoveUpDown1"), Qt::LeftButton);
        EXPECT_EQ(output->item(1)->text(), QStringLiteral("OrderID"));
        EXPECT_EQ(form.lstOutput[1].text, QStringLiteral("OrderID"));
    });
    window.showModal();
    EXPECT_FALSE(form.isLoaded()) << "Esc closes and unloads the window";
}

TEST_F(ReportTest, SaveAsAsksTheControlForAFile)
{
    ReportForm &form = load(3, 10);
    test::ScriptedWindows windows;
    windows.installOn(context());
    windows.onFileChooser = [&](FileChooser &chooser) {
        chooser.chosenPath = folder.file(QStringLiteral("Monthly"));
        chooser.unload();
        return true;
    };
    ui::ReportWindow window(form);
    whileShown([&](QDialog *w) {
        QTest::mouseClick(child<QPushButton>(w, "cmdSaveAs"), Qt::LeftButton);
        EXPECT_EQ(child<QLineEdit>(w, "txtFilename")->text(), QStringLiteral("monthly.htm"));
    });
    window.showModal();
}

TEST_F(ReportTest, GenerateFromTheWindowWritesWhatTheUnattendedRunWrites)
{
    // The unattended run first, for the same choices: all fields, no date.
    ReportChoices noDate;
    noDate.insertDate = false;
    control->setReportChoices(noDate);
    RecordSetPtr records = test::makeOrders(12);
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("same"), QStringLiteral("T"),
                                        ZuVexal::rNoNo));
    const QString reports = folder.file(QStringLiteral("Reports/"));
    QDir().rename(reports, folder.file(QStringLiteral("unattended")));

    ReportForm &form = load(12, 10);
    advancedSet().ensureLoaded();
    advancedSet().lstFields.clear();
    ui::ReportWindow window(form);
    whileShown([&](QDialog *w) {
        child<QCheckBox>(w, "chkInsert")->setChecked(false);
        child<QLineEdit>(w, "txtTitle")->setText(QStringLiteral("T"));
        child<QLineEdit>(w, "txtFilename")->setText(QStringLiteral("same"));
        child<QCheckBox>(w, "chkBrowser")->setChecked(false);
        QTest::mouseClick(child<QPushButton>(w, "cmdDirection0"), Qt::LeftButton);
        // As the unattended run does: every offered sum field marked, applied.
        whileShown(QStringLiteral("VexalAdvancedSet"), [](QDialog *settings) {
            child<QListWidget>(settings, "lstFields")->selectAll();
            QTest::mouseClick(child<QPushButton>(settings, "cmdApply"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(w, "cmdAdvanced"), Qt::LeftButton);
        // Enter is Generate.
        QTest::keyClick(child<QLineEdit>(w, "txtTitle"), Qt::Key_Return);
        EXPECT_TRUE(child<QWidget>(w, "Frame1")->isVisible()) << "idle again after the run";
        EXPECT_FALSE(child<QWidget>(w, "Frame3")->isVisible());
    });
    window.showModal();
    for (const QString &page : {QStringLiteral("same1.htm"), QStringLiteral("same2.htm")}) {
        EXPECT_EQ(test::readAll(reports + page), test::readAll(folder.file(QStringLiteral("unattended/")) + page))
            << page.toStdString();
    }
}

TEST_F(ReportTest, AbortFromTheWindowStopsTheRun)
{
    ReportForm &form = load(23, 10);
    ui::ReportWindow window(form);
    whileShown([&](QDialog *w) {
        QTest::mouseClick(child<QPushButton>(w, "cmdDirection0"), Qt::LeftButton);
        child<QLineEdit>(w, "txtFilename")->setText(QStringLiteral("aborted"));
        child<QCheckBox>(w, "chkBrowser")->setChecked(false);
        // The user ticks "abort reporting" while the first page is prepared.
        QTimer::singleShot(0, [w] {
            auto *cancel = w->findChild<QCheckBox *>(QStringLiteral("chkCancel"));
            EXPECT_TRUE(cancel->isVisible()) << "the progress frame shows during the run";
            cancel->setChecked(true);
        });
        QTest::mouseClick(child<QPushButton>(w, "cmdGenerate"), Qt::LeftButton);
        EXPECT_TRUE(form.CancelRequested);
    });
    window.showModal();
    EXPECT_TRUE(QDir(folder.file(QStringLiteral("Reports"))).entryList(QDir::Files).isEmpty());
}

TEST_F(ReportTest, ClosingTheWindowDuringARunAbortsItAndKeepsTheWindow)
{
    // The close box during a run asks for an abort: the run stops at the
    // next page with the pages before it whole, and the window stays open
    // and idle, so a second close closes it.
    ReportForm &form = load(1500, 100);
    ui::ReportWindow window(form);
    bool stillOpenAfterRun = false;
    whileShown([&](QDialog *w) {
        QTest::mouseClick(child<QPushButton>(w, "cmdDirection0"), Qt::LeftButton);
        child<QLineEdit>(w, "txtFilename")->setText(QStringLiteral("closed"));
        child<QCheckBox>(w, "chkBrowser")->setChecked(false);
        int reports = 0;
        QObject::connect(&form, &ReportForm::progress, w, [&, w] {
            if (form.lblCurPage == QLatin1String("3") && reports++ == 0)
                w->close();
        });
        QTest::mouseClick(child<QPushButton>(w, "cmdGenerate"), Qt::LeftButton);
        stillOpenAfterRun = w->isVisible();
        EXPECT_TRUE(child<QWidget>(w, "Frame1")->isVisible()) << "idle again";
        ASSERT_TRUE(form.lastRun());
        EXPECT_TRUE(form.lastRun()->cancelled);
        EXPECT_EQ(form.lastRun()->pagesWritten, 2) << "pages 1 and 2 whole, page 3 not begun";
        w->close();
    });
    window.showModal();
    EXPECT_TRUE(stillOpenAfterRun);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(QDir(folder.file(QStringLiteral("Reports"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("closed1.htm"), QStringLiteral("closed2.htm")}));
}

TEST_F(ReportTest, SettingsWindowAppliesOrCancels)
{
    load(3, 10);
    AdvancedSetForm &settings = advancedSet();
    ui::AdvancedWindow window(settings);
    whileShown(QStringLiteral("VexalAdvancedSet"), [&](QDialog *w) {
        child<QLineEdit>(w, "txtHeaderFooter0")->setText(QStringLiteral("  Applied header "));
        QTest::mouseClick(child<QPushButton>(w, "cmdApply"), Qt::LeftButton);
    });
    window.showModal();
    EXPECT_TRUE(settings.AdvSettings());
    EXPECT_EQ(settingsState().Settings.HeaderText, QStringLiteral("Applied header"));

    whileShown(QStringLiteral("VexalAdvancedSet"), [&](QDialog *w) {
        child<QLineEdit>(w, "txtHeaderFooter0")->setText(QStringLiteral("typed"));
        QTest::mouseClick(child<QPushButton>(w, "CancelButton"), Qt::LeftButton);
    });
    window.showModal();
    EXPECT_FALSE(settings.AdvSettings());
    EXPECT_EQ(settingsState().Settings.HeaderText, QStringLiteral("Applied header"));
    EXPECT_EQ(settings.txtHeaderFooter[0], QStringLiteral("typed")) << "shown again next time";
}

TEST_F(ReportTest, NotesTypedOnTwoLinesReachThePageAsTwoLines)
{
    ReportForm &form = load(3, 10);
    AdvancedSetForm &settings = advancedSet();
    ui::AdvancedWindow window(settings);
    whileShown(QStringLiteral("VexalAdvancedSet"), [&](QDialog *w) {
        child<QCheckBox>(w, "chkNotes")->setChecked(true);
        auto *notes = child<QPlainTextEdit>(w, "txtNotes");
        notes->setFocus();
        notes->clear();
        QTest::keyClicks(notes, QStringLiteral("Note one"));
        QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClicks(notes, QStringLiteral("line two"));
        QTest::mouseClick(child<QPushButton>(w, "cmdApply"), Qt::LeftButton);
    });
    window.showModal();
    EXPECT_EQ(settingsState().Settings.NotesText, QStringLiteral("Note one\r\nline two"))
        << "stored with the line breaks other installations read";

    form.cmdDirection_Click(0);
    form.txtFilename = QStringLiteral("notes");
    form.chkBrowser = 0;
    form.cmdGenerate_Click();
    EXPECT_TRUE(test::readAll(folder.file(QStringLiteral("Reports/notes.htm"))).contains("Note&nbsp;one<p></p>line&nbsp;two"));

    // Shown again as two lines, not as one with a stray CR.
    whileShown(QStringLiteral("VexalAdvancedSet"), [&](QDialog *w) {
        EXPECT_EQ(child<QPlainTextEdit>(w, "txtNotes")->toPlainText(), QStringLiteral("Note one\nline two"));
    });
    window.showModal();
}

TEST_F(ReportTest, SecondShowZuReporterWhileOpenIsBusy)
{
    ui::ZuVexalWidget host;
    host.setObjectName(QStringLiteral("ZuVexal1"));
    RecordingMessages messages;
    context().messages.setPresenter(&messages);
    RecordSetPtr records = test::makeOrders(3);
    std::optional<bool> second;
    whileShown([&](QDialog *) {
        RecordSetPtr more = test::makeOrders(2);
        second = host.control().ShowZuReporter(more);
    });
    EXPECT_TRUE(host.control().ShowZuReporter(records));
    ASSERT_TRUE(second.has_value());
    EXPECT_FALSE(*second);
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("ZuVexal1|A report is currently being generated\r\n"
                                                         "please try again in a few seconds")});
}

TEST(ControlWidget, FixedSizeFocusLabelAndClick)
{
    ui::ZuVexalWidget widget;
    const QSize size = widget.size();
    widget.resize(200, 100);
    EXPECT_EQ(widget.size(), size) << "the host cannot change the size";
    EXPECT_EQ(size.width(), qRound(345 * widget.logicalDpiX() / 1440.0));
    widget.show();
    int clicks = 0;
    QObject::connect(&widget, &ui::ZuVexalWidget::Click, [&] { ++clicks; });
    QTest::mouseClick(&widget, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    widget.setFocus();
    QApplication::processEvents();
    auto *label = widget.findChild<QLabel *>(QStringLiteral("Label1"));
    if (widget.hasFocus()) {
        EXPECT_EQ(label->text(), QStringLiteral(" Zu"));
    }
    widget.setProperty("BackColor", QColor(1, 2, 3));
    EXPECT_EQ(widget.palette().color(QPalette::Window), QColor(1, 2, 3));
    widget.setProperty("Enabled", false);
    EXPECT_FALSE(widget.isEnabled());
}
