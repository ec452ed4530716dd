#include "core/filedialog/filechooser_p.h"

#include <QDir>
#include <QImage>

#include "reportfixture.h"

using namespace zuvexal;
using zuvexal::test::ReportTest;

namespace {

QStringList texts(const ListItems &items)
{
    QStringList result;
    for (const ListItem &item : items)
        result << item.text;
    return result;
}

} // namespace

TEST_F(ReportTest, LoadSplitsIntoPagesAndListsTheFields)
{
    ReportForm &form = load(23, 10);
    EXPECT_EQ(form.TotalPage(), 3);
    EXPECT_EQ(form.CurPage(), 1);
    EXPECT_EQ(form.NumRecsOnPage(), 10);
    EXPECT_EQ(form.PageRecordsets().back()->recordCount(), 3);
    EXPECT_EQ(form.lblPage, QStringLiteral("Page 1 of 3"));
    EXPECT_EQ(form.cmdPageEnabled, (std::array<bool, 4>{false, false, true, true}));
    EXPECT_EQ(form.caption, QStringLiteral("ACME Report Form"));
    EXPECT_EQ(form.cboBGcolor, QStringLiteral("WHITE"));
    EXPECT_EQ(texts(form.lstAvailable), (QStringList{QStringLiteral("OrderID"), QStringLiteral("Customer"),
                                                     QStringLiteral("Amount"), QStringLiteral("Photo"),
                                                     QStringLiteral("Notes")}));
    EXPECT_TRUE(std::all_of(form.lstAvailable.begin(), form.lstAvailable.end(),
                            [](const ListItem &item) { return item.selected; }));
    EXPECT_EQ(form.GridFormatText(), QStringLiteral("<OrderID      |<         Customer           |"
                                                    "<         Amount           |<         Photo           |"
                                                    ">         Notes            "));
}

TEST_F(ReportTest, RecordsPerPageRule)
{
    struct Case { int records; int perPage; qint32 pages; qint32 lastPage; const char *why; };
    const Case cases[] = {
        {1500, 10, 8, 100, "more than 100 pages: 200 records a page"},
        {1000, 10, 100, 10, "exactly 100 pages stay"},
        {60000, 500, 120, 500, "large pages never fall back to 200 records"},
        {7, 0, 1, 7, "below one record per page counts as 10"},
        {5, 5, 1, 5, "one full page"},
    };
    for (const Case &c : cases) {
        ReportForm &form = load(c.records, c.perPage);
        EXPECT_EQ(form.TotalPage(), c.pages) << c.why;
        EXPECT_EQ(form.PageRecordsets().back()->recordCount(), c.lastPage) << c.why;
        if (c.pages == 1) {
            EXPECT_EQ(form.cmdPageEnabled, (std::array<bool, 4>{false, false, false, false})) << c.why;
        }
        form.cmdClose_Click();
    }
}

TEST_F(ReportTest, PictureFieldsGetTheirFolders)
{
    ReportForm &form = reportForm();
    form.setInput(ReportInput{.graphicFolder = QStringLiteral("Pictures")});
    EXPECT_EQ(form.GraphicFolderPath(), QString()) << "a relative folder is ignored";
    form.setInput(ReportInput{.graphicFolder = QStringLiteral(" /srv/pics ")});
    EXPECT_EQ(form.GraphicFolderPath(), QStringLiteral("/srv/pics/"));
    load(3, 10, ReportInput{.containPictureFields = true, .pictureFields = QStringLiteral(" photo, Notes , Missing ")});
    // Notes has no folder of its own: it takes the last one given.
    EXPECT_EQ(form.ColumnPictureFolders(), (QStringList{QString(), QString(), QString(),
                                                        QStringLiteral("/srv/pics/"), QStringLiteral("/srv/pics/")}));
    EXPECT_EQ(form.GridFieldNames().size(), 5);
}

TEST_F(ReportTest, PageButtons)
{
    ReportForm &form = load(23, 10);
    struct Step { int button; qint32 page; std::array<bool, 4> enabled; const char *why; };
    const Step steps[] = {
        {1, 1, {false, false, true, true}, "Previous on page 1 changes nothing"},
        {2, 2, {true, true, true, true}, "Next"},
        {2, 3, {true, true, false, false}, "Next to the last page"},
        {2, 3, {true, true, false, false}, "Next on the last page changes nothing"},
        {0, 1, {false, false, true, true}, "First"},
        {3, 3, {true, true, false, false}, "Last"},
        {9, 3, {true, true, false, false}, "an unknown button only reloads"},
    };
    for (const Step &step : steps) {
        form.cmdPage_Click(step.button);
        EXPECT_EQ(form.CurPage(), step.page) << step.why;
        EXPECT_EQ(form.cmdPageEnabled, step.enabled) << step.why;
        EXPECT_EQ(form.lblPage, QStringLiteral("Page %1 of 3").arg(step.page)) << step.why;
        EXPECT_EQ(form.CurPageRecordset(), form.PageRecordsets()[size_t(step.page - 1)]) << step.why;
    }
    EXPECT_EQ(form.NumRecsOnPage(), 3);
}

TEST_F(ReportTest, OutputListButtons)
{
    ReportForm &form = load(3, 10);
    form.lstAvailable[1].selected = false;
    form.cmdDirection_Click(0);
    form.cmdDirection_Click(0);
    EXPECT_EQ(texts(form.lstOutput), (QStringList{QStringLiteral("OrderID"), QStringLiteral("Amount"),
                                                  QStringLiteral("Photo"), QStringLiteral("Notes")}))
        << "each field once, unselected ones left out";

    form.lstOutputIndex = 0;
    form.cmdMoveUpDown_Click(0);
    EXPECT_EQ(form.lstOutput.front().text, QStringLiteral("OrderID")) << "the first item does not move up";
    form.cmdMoveUpDown_Click(1);
    EXPECT_EQ(texts(form.lstOutput).mid(0, 2), (QStringList{QStringLiteral("Amount"), QStringLiteral("OrderID")}));
    EXPECT_EQ(form.lstOutputIndex, 1);
    form.lstOutputIndex = 3;
    form.cmdMoveUpDown_Click(1);
    EXPECT_EQ(form.lstOutput.back().text, QStringLiteral("Notes")) << "the last item does not move down";

    form.cmdDirection_Click(1);
    EXPECT_EQ(form.lstOutput.size(), 4) << "nothing selected, nothing removed";
    form.lstOutput[0].selected = true;
    form.lstOutput[3].selected = true;
    form.cmdDirection_Click(1);
    EXPECT_EQ(texts(form.lstOutput), (QStringList{QStringLiteral("OrderID"), QStringLiteral("Photo")}));
}

TEST_F(ReportTest, AdvancedOffersNumericFieldsWithAValue)
{
    ReportForm &form = load(3, 10);
    int shown = 0;
    QObject::connect(&form, &ReportForm::advancedRequested, [&] { ++shown; });
    form.cmdAdvanced_Click();
    // Notes is a number field, but its first value is empty.
    EXPECT_EQ(texts(advancedSet().lstFields), (QStringList{QStringLiteral("OrderID"), QStringLiteral("Amount")}));
    EXPECT_EQ(shown, 1);
    form.cmdAdvanced_Click();
    EXPECT_EQ(advancedSet().lstFields.size(), 2) << "filled once";
    EXPECT_EQ(shown, 2);
}

TEST_F(ReportTest, SaveAsKeepsTheChosenFileName)
{
    ReportForm &form = load(3, 10);
    test::ScriptedWindows windows;
    windows.installOn(context());
    struct Case { const char *chosen; const char *expected; const char *why; };
    const Case cases[] = {
        {"/out/Monthly", "monthly.htm", "'.htm' added, the name kept, lower-cased"},
        {"/out/Sales.asp", "sales.asp", "an .asp name is kept"},
        {"/out/Sales.ASP", "sales.asp.htm", "the extension test is case-sensitive"},
        {"", "", "cancelled: the box is emptied"},
    };
    for (const Case &c : cases) {
        QString folderSeen;
        windows.onFileChooser = [&](FileChooser &chooser) {
            folderSeen = chooser.dir1Path();
            chooser.chosenPath = QString::fromUtf8(c.chosen);
            chooser.unload();
            return true;
        };
        QDir().mkpath(folder.file(QStringLiteral("Reports")));
        form.txtFilename = QStringLiteral("previous");
        form.cmdSaveAs_Click();
        EXPECT_EQ(form.txtFilename, QString::fromUtf8(c.expected)) << c.why;
        EXPECT_EQ(folderSeen, folder.file(QStringLiteral("Reports/"))) << "starts in Reports/, case kept";
    }
}

TEST_F(ReportTest, PreviewPicturesComeFromThePictureColumnsFolder)
{
    const QString pictures = folder.file(QStringLiteral("pics/"));
    QDir().mkpath(pictures);
    QImage(4, 3, QImage::Format_RGB32).save(pictures + QStringLiteral("p1.bmp"));
    test::writeAll(pictures + QStringLiteral("p2.bmp"), "not a picture");
    ReportForm &form = load(3, 10, ReportInput{.pictureFields = QStringLiteral("Photo"), .graphicFolder = pictures});
    const int photo = 3;
    EXPECT_EQ(form.cellPicture(photo, QStringLiteral(" p1.bmp ")).size(), QSize(4, 3)) << "trimmed name, loaded";
    EXPECT_TRUE(form.cellPicture(photo, QStringLiteral("p2.bmp")).isNull()) << "no picture: the text shows";
    EXPECT_TRUE(form.cellPicture(photo, QStringLiteral("p3.bmp")).isNull()) << "missing file";
    EXPECT_TRUE(form.cellPicture(1, QStringLiteral("p1.bmp")).isNull()) << "not a picture column";
}

TEST_F(ReportTest, ClosingDuringARunAsksForAnAbortInstead)
{
    ReportForm &form = load(23, 10);
    form.cmdDirection_Click(0);
    form.txtFilename = QStringLiteral("closing");
    form.chkBrowser = 0;
    std::optional<bool> closedDuringRun;
    bool asked = false;
    QObject::connect(&form, &ReportForm::progress, [&] {
        if (form.isRunning() && !std::exchange(asked, true))
            closedDuringRun = form.requestClose();
    });
    form.cmdGenerate_Click();
    EXPECT_EQ(closedDuringRun, std::optional<bool>(false)) << "the pages stay under the run";
    ASSERT_TRUE(form.lastRun());
    EXPECT_TRUE(form.lastRun()->cancelled) << "the close became an abort";
    EXPECT_TRUE(form.isLoaded());
    EXPECT_TRUE(form.requestClose()) << "after the run the window closes";
    EXPECT_FALSE(form.isLoaded());
}
