#include "core/reporter/generationrun.h"
#include "core/settings/advancedsettings.h"

#include "reportfixture.h"

#include <QDir>
#include <QFile>

#include <optional>

using namespace zuvexal;
using zuvexal::test::ReportTest;
using zuvexal::test::makeOrders;

namespace {

QStringList reportFiles(const test::TempFolder &folder)
{
    return QDir(folder.file(QStringLiteral("Reports"))).entryList(QDir::Files, QDir::Name);
}

int fragments(const QString &path)
{
    return int(test::readAll(path).count("<HTML><HEAD></HEAD><BODY><H3>"));
}

} // namespace

TEST_F(ReportTest, UnattendedReportWritesLinkedPages)
{
    RecordSetPtr records = makeOrders(23);
    control->setMaxRecsPerPage(10);
    int statusCalls = 0;
    QObject::connect(control.get(), &ZuVexal::ReportStatus,
                     [&](qint16 total, qint32, qint16 current, bool &, bool &, QVariant &) {
                         ++statusCalls;
                         EXPECT_EQ(total, 3);
                         EXPECT_GE(current, 1);
                     });
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, {}, {}, ZuVexal::rNoNo));
    EXPECT_EQ(reportFiles(folder), (QStringList{QStringLiteral("autogenrep1.htm"), QStringLiteral("autogenrep2.htm"),
                                                QStringLiteral("autogenrep3.htm")}))
        << "the default name, numbered per page";
    // 10 records: 2 sections; 3 records: 1 section; one status report per
    // section to come, including the empty last one of a full page.
    EXPECT_EQ(fragments(folder.file(QStringLiteral("Reports/autogenrep1.htm"))), 2);
    EXPECT_EQ(fragments(folder.file(QStringLiteral("Reports/autogenrep3.htm"))), 1);
    EXPECT_EQ(statusCalls, 3 + 3 + 1);
    const QByteArray first = test::readAll(folder.file(QStringLiteral("Reports/autogenrep1.htm")));
    EXPECT_TRUE(first.contains("Vol 1 of Auto-Generated Report<Br>"));
    EXPECT_TRUE(first.contains("<A HRef='autogenrep2.htm'>Vol 2</A>"));
    EXPECT_EQ(control->CurrentRecordset(), records);
    EXPECT_FALSE(control->ReportBusy());
    EXPECT_FALSE(reportFormExists()) << "an unattended run makes its job without the report window";

    // Generating again under the same name appends to the same files.
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, {}, {}, ZuVexal::rNoNo));
    EXPECT_EQ(fragments(folder.file(QStringLiteral("Reports/autogenrep1.htm"))), 4);
}

TEST_F(ReportTest, ForwardOnlyRecordSetIsReplacedByAStaticCopy)
{
    RecordSetPtr source = makeOrders(3);
    RecordSet forwardOnly;
    for (int i = 0; i < source->fieldCount(); ++i)
        forwardOnly.appendField(source->field(i).name, source->field(i).type, source->field(i).definedSize);
    forwardOnly.setCursorType(Ado::adOpenForwardOnly);
    forwardOnly.open();
    for (source->moveFirst(); !source->eof(); source->moveNext()) {
        forwardOnly.addNew();
        for (int i = 0; i < source->fieldCount(); ++i)
            forwardOnly.setValue(i, *source->value(i));
        forwardOnly.update();
    }
    RecordSetPtr records = std::make_shared<RecordSet>(std::move(forwardOnly));
    const RecordSetPtr original = records;

    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("copy"), {}, ZuVexal::rNoNo));
    ASSERT_NE(records, original) << "the caller's variable refers to the copy";
    EXPECT_FALSE(original->isOpen()) << "the source is closed";
    EXPECT_TRUE(records->isOpen());
    EXPECT_EQ(records->cursorType(), Ado::adOpenStatic);
    EXPECT_EQ(records->recordCount(), 3);
    for (int i = 0; i < source->fieldCount(); ++i) {
        EXPECT_EQ(records->field(i).name, source->field(i).name);
        EXPECT_EQ(records->field(i).type, source->field(i).type);
        EXPECT_EQ(records->field(i).definedSize, source->field(i).definedSize);
    }
    EXPECT_EQ(control->CurrentRecordset(), records);
}

TEST_F(ReportTest, NothingToReportGivesFalse)
{
    RecordSetPtr none;
    EXPECT_FALSE(control->AutoZuReporter(none));
    RecordSetPtr empty = makeOrders(0);
    EXPECT_FALSE(control->AutoZuReporter(empty));
    EXPECT_FALSE(control->ShowZuReporter(empty));
    EXPECT_FALSE(control->ReportBusy());
    EXPECT_TRUE(reportFiles(folder).isEmpty());
    EXPECT_EQ(control->CurrentRecordset(), nullptr);
}

TEST_F(ReportTest, ASecondReportWhileBusyIsTurnedAway)
{
    RecordSetPtr records = makeOrders(3);
    ZuVexal other;
    std::optional<bool> nested;
    QObject::connect(control.get(), &ZuVexal::ReportStatus, [&](qint16, qint32, qint16, bool &, bool &, QVariant &) {
        if (!nested) {
            RecordSetPtr more = makeOrders(2);
            // Any control: the report state is shared by all of them.
            nested = other.AutoZuReporter(more);
        }
    });
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, {}, {}, ZuVexal::rNoNo));
    ASSERT_TRUE(nested.has_value());
    EXPECT_FALSE(*nested);
}

TEST_F(ReportTest, SettingsChangedByTheRunAreRestored)
{
    AdvancedSettings &record = settingsState().Settings;
    record.IncludeNotes = 1;
    record.SumCurrentPageOnly = 1;
    record.NotesText = QStringLiteral("Our notes");
    RecordSetPtr records = makeOrders(12);
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("notes"), {}, ZuVexal::rNoNo));
    EXPECT_EQ(record.IncludeNotes, 1);
    EXPECT_EQ(record.SumCurrentPageOnly, 1);
    EXPECT_EQ(advancedSet().chkNotes, 1);
    EXPECT_EQ(advancedSet().OptPages, 1);
    // The run itself used all pages and no notes.
    EXPECT_EQ(reportFiles(folder), (QStringList{QStringLiteral("notes1.htm"), QStringLiteral("notes2.htm")}));
    EXPECT_FALSE(test::readAll(folder.file(QStringLiteral("Reports/notes1.htm"))).contains("Our"));
    EXPECT_EQ(record.NotesText, QStringLiteral("Our notes")) << "the user's notes are never rewritten as HTML";
}

TEST_F(ReportTest, AnUnattendedRunAppliesWhatTheStoredTextCannotHoldWithoutAskingAndStoresNothing)
{
    // A header the stored text would split, left in the settings box by a
    // refused Apply and Cancel: the unattended run asks nobody, writes its
    // pages with that header and the sums, stores nothing and says so once.
    test::ScriptedWindows windows;
    windows.installOn(context());
    QStringList shown;
    windows.onMessage = [&](const QString &, const QString &text) { shown << text; };
    AdvancedSetForm &settings = advancedSet();
    settings.ensureLoaded();
    settingsState().Settings.IncludeNotes = 1;
    settingsState().Settings.SumCurrentPageOnly = 1;
    settings.txtHeaderFooter[0] = QStringLiteral("Top") + SettingsSeparator + QStringLiteral("Secret");
    settings.chkSave = 1;
    ASSERT_FALSE(settings.apply());
    settings.CancelButton_Click();
    ASSERT_EQ(shown.size(), 1) << "the user's own Apply says why";
    shown.clear();
    const QString storedBefore = readStoredSettingsText(context().registry);

    std::optional<test::QtMessages> qt(std::in_place);
    RecordSetPtr records = makeOrders(12);
    control->setMaxRecsPerPage(10);
    const bool written = control->AutoZuReporter(records, {}, nullptr, QStringLiteral("held"), {}, ZuVexal::rNoNo);
    const QStringList warnings = qt->messages();
    qt.reset();
    ASSERT_TRUE(written);
    EXPECT_EQ(shown, QStringList()) << "no box waits for a click";
    ASSERT_EQ(warnings.size(), 1) << warnings.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(warnings.front().contains(QStringLiteral("HeaderText"))) << warnings.front().toStdString();
    for (const char *page : {"Reports/held1.htm", "Reports/held2.htm"}) {
        const QByteArray html = test::readAll(folder.file(QLatin1String(page)));
        EXPECT_TRUE(html.contains("<EM> Top**_**Secret</EM>")) << page << ": the record was applied";
        EXPECT_TRUE(html.contains("Sum of Amount = ")) << page << ": with the sums";
    }
    EXPECT_EQ(readStoredSettingsText(context().registry), storedBefore) << "the stored text would not read back";
    const AdvancedSettings &record = settingsState().Settings;
    EXPECT_EQ(record.IncludeNotes, 1) << "the run's own changes are taken back";
    EXPECT_EQ(record.SumCurrentPageOnly, 1);
    EXPECT_EQ(settings.chkNotes, 1);
    EXPECT_EQ(settings.OptPages, 1);
}

TEST_F(ReportTest, CancelStopsAtTheNextPage)
{
    struct Case { bool deletePages; bool existedBefore; QStringList expected; const char *why; };
    const Case cases[] = {
        {false, false, {QStringLiteral("cancel1.htm")}, "page 1 stays complete"},
        {true, false, {}, "files of the run are deleted"},
        {true, true, {QStringLiteral("cancel1.htm")}, "a file that existed is cut back, not deleted"},
    };
    for (const Case &c : cases) {
        QDir(folder.file(QStringLiteral("Reports"))).removeRecursively();
        QDir().mkpath(folder.file(QStringLiteral("Reports")));
        if (c.existedBefore)
            test::writeAll(folder.file(QStringLiteral("Reports/cancel1.htm")), "\"earlier report\"\r\n");
        ZuVexal reporter;
        QObject::connect(&reporter, &ZuVexal::ReportStatus,
                         [&](qint16, qint32, qint16 current, bool &cancel, bool &deletePages, QVariant &) {
                             if (current == 2) {
                                 cancel = true;
                                 deletePages = c.deletePages;
                             }
                         });
        reporter.setMaxRecsPerPage(10);
        RecordSetPtr records = makeOrders(35);
        EXPECT_TRUE(reporter.AutoZuReporter(records, {}, nullptr, QStringLiteral("cancel"), {}, ZuVexal::rNoNo))
            << c.why;
        ASSERT_TRUE(reporter.lastRun()) << c.why;
        EXPECT_TRUE(reporter.lastRun()->cancelled) << c.why;
        EXPECT_EQ(reporter.lastRun()->deletedOnCancel, c.deletePages) << c.why;
        EXPECT_EQ(reportFiles(folder), c.expected) << c.why;
        if (c.existedBefore) {
            EXPECT_EQ(test::readAll(folder.file(QStringLiteral("Reports/cancel1.htm"))),
                      QByteArray("\"earlier report\"\r\n")) << c.why;
        }
    }
}

TEST_F(ReportTest, InteractiveRunNeedsFieldsAndAName)
{
    ReportForm &form = load(23, 10);
    QStringList focus;
    QObject::connect(&form, &ReportForm::focusRequested, [&](const QString &name) { focus << name; });
    form.cmdGenerate_Click();
    EXPECT_EQ(focus, QStringList{QStringLiteral("lstOutput")});
    form.cmdDirection_Click(0);
    form.txtFilename = QStringLiteral("  ");
    form.cmdGenerate_Click();
    EXPECT_EQ(focus.back(), QStringLiteral("txtFilename"));
    EXPECT_TRUE(reportFiles(folder).isEmpty()) << "nothing written";
    EXPECT_TRUE(form.Frame1Visible);

    // The current page only: one file without a number, the page's own heading.
    form.cmdPage_Click(2);
    advancedSet().ensureLoaded();
    advancedSet().OptPages = 1;
    form.txtFilename = QStringLiteral("Current");
    form.chkBrowser = 0;
    form.chkInsert = 0;
    form.txtTitle.clear();
    form.cmdGenerate_Click();
    advancedSet().OptPages = 0;
    EXPECT_EQ(reportFiles(folder), QStringList{QStringLiteral("current.htm")});
    const QByteArray page = test::readAll(folder.file(QStringLiteral("Reports/current.htm")));
    EXPECT_TRUE(page.contains(">Vol 2 of  Records <Br> Records </A>")) << "no title and no date: the title twice";
    EXPECT_EQ(form.TotalPage(), 3);
    EXPECT_EQ(form.CurPage(), 2);
    EXPECT_EQ(form.NumRecsOnPage(), 10);
    EXPECT_FALSE(form.Frame3Visible);
}

TEST_F(ReportTest, ASectionThatCannotBeWrittenFailsTheReport)
{
    // A file where the Reports folder should be.
    test::writeAll(folder.file(QStringLiteral("Reports")), "");
    RecordSetPtr records = makeOrders(7);
    EXPECT_FALSE(control->AutoZuReporter(records, {}, nullptr, {}, {}, ZuVexal::rNoNo));
    ASSERT_TRUE(control->lastRun());
    EXPECT_EQ(control->lastRun()->sectionsFailed, 2);
    EXPECT_FALSE(control->ReportBusy());
}

TEST_F(ReportTest, APageThatCannotBeWrittenIsCountedAloneAndTheOthersAreWhole)
{
    // Pages are written while the next one is made: each page's outcome must
    // still reach the result in order, and its neighbours must come out as
    // they would without it. Page 2 cannot be created (a folder holds its
    // name); pages 1 and 3 are compared with a clean run's.
    RecordSetPtr records = makeOrders(23);
    control->setMaxRecsPerPage(10);
    // No time of day in the headings: the two runs may fall in different seconds.
    ReportChoices noDate;
    noDate.insertDate = false;
    control->setReportChoices(noDate);
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("clean"), {}, ZuVexal::rNoNo));
    QDir().mkpath(folder.file(QStringLiteral("Reports/blocked2.htm")));
    const auto page = [&](const char *name) {
        return test::readAll(folder.file(QLatin1String("Reports/") + QLatin1String(name)));
    };
    EXPECT_FALSE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("blocked"), {}, ZuVexal::rNoNo));
    ASSERT_TRUE(control->lastRun());
    const RunResult &run = *control->lastRun();
    EXPECT_EQ(run.pagesWritten, 2);
    EXPECT_EQ(run.sectionsFailed, 2);
    EXPECT_EQ(run.pagesFailed, QStringList{folder.file(QStringLiteral("Reports/blocked2.htm"))});
    QByteArray clean1 = page("clean1.htm"), clean3 = page("clean3.htm");
    clean1.replace("clean", "blocked");
    clean3.replace("clean", "blocked");
    EXPECT_EQ(page("blocked1.htm"), clean1);
    EXPECT_EQ(page("blocked3.htm"), clean3);
}

TEST_F(ReportTest, FileNamesAndTheFieldLimit)
{
    struct Case { const char *typed; const char *file; const char *why; };
    const Case cases[] = {
        {"/elsewhere/Monthly", "monthly.htm", "a path: its file name only"},
        {".", "zureport.htm", "a folder's name is no file name: the default"},
        {".htm", "zureport.htm", "an extension alone: the default"},
        {"Sales.asp", "sales.asp", "an .asp name is kept"},
    };
    for (const Case &c : cases) {
        RecordSetPtr records = makeOrders(3);
        ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QString::fromLatin1(c.typed), {}, ZuVexal::rNoNo))
            << c.why;
        EXPECT_EQ(control->lastRun()->pageFiles,
                  QStringList{folder.file(QStringLiteral("Reports/") + QString::fromLatin1(c.file))})
            << c.why;
    }

    // More than 32000 output fields: a message, and nothing written.
    ReportForm &form = load(3, 10);
    test::ScriptedWindows windows;
    windows.installOn(context());
    QStringList shown;
    windows.onMessage = [&](const QString &, const QString &text) { shown << text; };
    for (int i = 0; i < 32001; ++i)
        form.lstOutput.append({QStringLiteral("f%1").arg(i), false});
    form.txtFilename = QStringLiteral("wide");
    form.cmdGenerate_Click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("Too many fields!")});
    EXPECT_FALSE(form.lastRun());
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Reports/wide.htm"))));
}

TEST_F(ReportTest, WhatAStatusHandlerSeesIsThePagesBeforeAndWhatItChangesReachesThePagesToCome)
{
    // Pages are made on other threads. When a status handler runs for a
    // page, every page before it is whole on disk; a colour it chooses then
    // misses those pages and reaches the rest; a Generate clicked meanwhile
    // starts no second run.
    RecordSetPtr records = makeOrders(1500);
    control->setMaxRecsPerPage(500);
    ReportChoices red;
    red.tableColor = QStringLiteral("RED");
    red.insertDate = false;
    // A run in red from the start, for pages 2 and 3.
    control->setReportChoices(red);
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("red"), {}, ZuVexal::rNoNo));
    ReportChoices white = red;
    white.tableColor = QStringLiteral("WHITE");
    control->setReportChoices(white);
    records = makeOrders(1500);
    const auto path = [&](int n) { return folder.file(QStringLiteral("Reports/colour%1.htm").arg(n)); };
    QList<int> wholeBefore;
    QObject::connect(control.get(), &ZuVexal::ReportStatus,
                     [&](qint16, qint32, qint16 current, bool &, bool &, QVariant &) {
                         int whole = 0;
                         for (int n = 1; n < current; ++n)
                             whole += fragments(path(n)) == 100 ? 1 : 0;
                         wholeBefore << current - 1 - whole;
                         if (current == 2) {
                             control->setReportChoices(red);
                             reportForm().cmdGenerate_Click();
                         }
                     });
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("colour"), {}, ZuVexal::rNoNo));
    EXPECT_EQ(wholeBefore.count(0), wholeBefore.size()) << "a page before the one reported was not whole";
    const auto page = [&](int n) { return test::readAll(path(n)); };
    EXPECT_FALSE(page(1).contains("BGCOLOR=[RED]"));
    EXPECT_TRUE(page(2).contains("BGCOLOR=[RED]"));
    EXPECT_FALSE(page(2).contains("BGCOLOR=[WHITE]"));
    EXPECT_TRUE(page(3).contains("BGCOLOR=[RED]"));
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(fragments(path(n)), 100) << "page " << n;
    // Page 2 was made ahead in white and made again in red: its sums, and
    // the report's totals on page 3, are as if it had been red from the start.
    for (int n = 2; n <= 3; ++n) {
        const QByteArray redPage = test::readAll(folder.file(QStringLiteral("Reports/red%1.htm").arg(n)));
        EXPECT_EQ(page(n), QByteArray(redPage).replace("red", "colour")) << "page " << n;
    }
}

TEST_F(ReportTest, AControlEndingDuringARunReleasesTheWindowsAfterIt)
{
    RecordSetPtr records = makeOrders(12);
    auto doomed = std::make_unique<ZuVexal>();
    QObject::connect(control.get(), &ZuVexal::ReportStatus,
                     [&](qint16, qint32, qint16, bool &, bool &, QVariant &) { doomed.reset(); });
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("ends"), {}, ZuVexal::rNoNo));
    EXPECT_EQ(reportFiles(folder), (QStringList{QStringLiteral("ends1.htm"), QStringLiteral("ends2.htm")}));
    EXPECT_FALSE(reportFormExists()) << "released, with the record set it read, once the report ended";

    // The running control itself goes: the run ends on its own, no later
    // status report reaches the deleted control.
    auto running = std::make_unique<ZuVexal>();
    int reports = 0;
    QObject::connect(running.get(), &ZuVexal::ReportStatus, [&](qint16, qint32, qint16, bool &, bool &, QVariant &) {
        ++reports;
        running.reset();
    });
    EXPECT_TRUE(running->AutoZuReporter(records, {}, nullptr, QStringLiteral("gone"), {}, ZuVexal::rNoNo));
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(running, nullptr);
    EXPECT_EQ(reportFiles(folder).filter(QStringLiteral("gone")),
              (QStringList{QStringLiteral("gone1.htm"), QStringLiteral("gone2.htm")}));
    EXPECT_FALSE(reportFormExists());
}

TEST_F(ReportTest, PagesKeepTheLocaleTheRunStartedWith)
{
    // Pages are made on another thread: a handler that sets Qt's default
    // locale mid-run must change no page, neither the decimal point of the
    // cells nor the sums.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    RecordSetPtr records = makeOrders(30);
    control->setMaxRecsPerPage(10);
    QObject::connect(control.get(), &ZuVexal::ReportStatus, [](qint16, qint32, qint16, bool &, bool &, QVariant &) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    });
    const bool written = control->AutoZuReporter(records, {}, nullptr, QStringLiteral("locale"), {}, ZuVexal::rNoNo);
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(written);
    const QByteArray last = test::readAll(folder.file(QStringLiteral("Reports/locale3.htm")));
    EXPECT_TRUE(last.contains(">31.5<")) << "a cell";
    EXPECT_FALSE(last.contains(">31,5<"));
    EXPECT_TRUE(last.contains("Total = 697.5")) << "the sum of 1.5 to 45";
}

TEST_F(ReportTest, AReportLocaleOfTheControlHoldsWhateverQtsDefaultIs)
{
    // A batch host (the CLI among them) chooses its pages' locale on the
    // control, not through the process-wide default.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QLocale::setDefault(english);
    RecordSetPtr records = makeOrders(30);
    control->setMaxRecsPerPage(10);
    control->setReportLocale(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("german"), {}, ZuVexal::rNoNo));
    const QByteArray last = test::readAll(folder.file(QStringLiteral("Reports/german3.htm")));
    EXPECT_TRUE(last.contains(">31,5<")) << "a cell with the decimal comma";
    EXPECT_TRUE(last.contains("Total = 697,5")) << "and the sum";
    EXPECT_EQ(QLocale(), english) << "the process's default is left alone";

    control->setReportLocale(std::nullopt);
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("plain"), {}, ZuVexal::rNoNo));
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(test::readAll(folder.file(QStringLiteral("Reports/plain3.htm"))).contains(">31.5<"));
}
