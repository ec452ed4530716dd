#include "core/reporter/printing.h"
#include "core/reporter/reportform_p.h"
#include "core/reporter/tablecolors.h"

#include "reportfixture.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <functional>

#include <cups/cups.h>

#include <gtest/gtest.h>

using namespace zuvexal;
using zuvexal::test::ReportTest;

namespace {

// Three orders with a picture each, a hyperlink column and sums, reported
// through the real generation run: the pages as the writer makes them.
RecordSetPtr printableOrders()
{
    auto records = std::make_shared<RecordSet>();
    records->appendField(QStringLiteral("OrderID"), Ado::adBigInt, 8);
    records->appendField(QStringLiteral("Customer"), Ado::adVarWChar, 40);
    records->appendField(QStringLiteral("Amount"), Ado::adDouble, 8);
    records->appendField(QStringLiteral("Site"), Ado::adLongVarWChar, 0, 234);
    records->appendField(QStringLiteral("Photo"), Ado::adVarWChar, 255);
    records->open();
    const char *customers[] = {"Adler Sons", "Birch Joinery", "Cedar Mills"};
    for (int i = 1; i <= 3; ++i) {
        records->addNew();
        records->setValue(0, qlonglong(i));
        records->setValue(1, QString::fromLatin1(customers[i - 1]));
        records->setValue(2, i * 1.5);
        records->setValue(3, QStringLiteral("Shop%1#https://shop%1.example.com/#").arg(i));
        records->setValue(4, QStringLiteral("p%1.bmp").arg(i));
        records->update();
    }
    records->moveFirst();
    return records;
}

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    // DejaVu's ligatures come back as single characters.
    return QString::fromUtf8(process.readAllStandardOutput()).replace(QChar(0xFB01), QStringLiteral("fi"));
}

// The printed page reads as the browser shows it: the heading above the
// table, one line per record with its values in column order, the sums
// below, and the three pictures.
void expectPrintedReport(const QString &pdf)
{
    const QString text = pdfText(pdf);
    const qsizetype heading = text.indexOf(QStringLiteral("Vol 1 of Printed orders"));
    const qsizetype header = text.indexOf(QRegularExpression(QStringLiteral("OrderID +Customer +Amount +Site +Photo")));
    EXPECT_GE(heading, 0) << text.toStdString();
    EXPECT_GT(header, heading) << "the column headers in one row, below the heading:\n" << text.toStdString();
    qsizetype previous = header;
    for (const char *record : {"1 +Adler Sons +1.5 +Shop1", "2 +Birch Joinery +3 +Shop2", "3 +Cedar Mills +4.5 +Shop3"}) {
        const qsizetype at = text.indexOf(QRegularExpression(QString::fromLatin1(record)));
        EXPECT_GT(at, previous) << record << " on one line, after the row before:\n" << text.toStdString();
        previous = at;
    }
    EXPECT_GT(text.indexOf(QStringLiteral("Sum of Amount = 9")), previous) << "the sums below the table";

    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    images.waitForFinished(30000);
    const QStringList rows = QString::fromUtf8(images.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size(), 2 + 3) << "a header of two lines and the three pictures";
}

class EnvGuard
{
public:
    EnvGuard(const char *name, const QByteArray &value) : m_name(name), m_old(qgetenv(name))
    {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~EnvGuard() { m_old.isNull() ? qunsetenv(m_name) : qputenv(m_name, m_old); }

private:
    const char *m_name;
    QByteArray m_old;
};

} // namespace

TEST_F(ReportTest, APrintedReportPageShowsWhatTheBrowserShows)
{
    QString pictures = folder.file(QStringLiteral("pictures/"));
    QDir().mkpath(pictures);
    const char *bitmaps[] = {"bolt.bmp", "gear.bmp", "nut.bmp"};
    for (int i = 0; i < 3; ++i)
        QFile::copy(QStringLiteral(ZUVEXAL_SOURCE_DIR "/examples/pictures/") + QString::fromLatin1(bitmaps[i]),
                    pictures + QStringLiteral("p%1.bmp").arg(i + 1));
    const EnvGuard printTo("ZUVEXAL_PRINT_TO", folder.file(QStringLiteral("out")).toUtf8());
    RecordSetPtr records = printableOrders();
    const test::QtMessages qt;
    ASSERT_TRUE(control->AutoZuReporter(records, QStringLiteral("Photo"), &pictures, QStringLiteral("printed"),
                                        QStringLiteral("Printed orders"), ZuVexal::rNoYes));
    EXPECT_EQ(qt.messages(), QStringList()) << "printing the writer's page warns about nothing";
    ASSERT_TRUE(control->lastRun());
    EXPECT_TRUE(control->lastRun()->pagesNotPrinted.isEmpty());
    expectPrintedReport(folder.file(QStringLiteral("out/printed.pdf")));

    // The page file itself stays as the writer made it.
    EXPECT_TRUE(test::readAll(folder.file(QStringLiteral("Reports/printed.htm"))).contains("BGCOLOR=WHITE><TR>"));
    ASSERT_TRUE(printPageFile(folder.file(QStringLiteral("Reports/printed.htm"))));
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("out/printed-2.pdf"))))
        << "a second print of the same page does not overwrite the first";
    EXPECT_FALSE(printPageFile(folder.file(QStringLiteral("missing.htm"))));

    // A page that cannot be printed is counted, not dropped: the PDF folder
    // would be under a file.
    test::writeAll(folder.file(QStringLiteral("blocker")), "");
    const EnvGuard blocked("ZUVEXAL_PRINT_TO", folder.file(QStringLiteral("blocker/out")).toUtf8());
    RecordSetPtr again = printableOrders();
    EXPECT_TRUE(control->AutoZuReporter(again, {}, nullptr, QStringLiteral("unprinted"), {}, ZuVexal::rNoYes));
    ASSERT_TRUE(control->lastRun());
    EXPECT_EQ(control->lastRun()->pagesNotPrinted, QStringList{folder.file(QStringLiteral("Reports/unprinted.htm"))});
}

TEST_F(ReportTest, APrintedReportPageComesOutOfTheCupsPrinter)
{
    const char *destination = cupsGetDefault();
    ASSERT_TRUE(destination) << "no default printer: run scripts/start-printer.sh (a cups-pdf queue)";
    QString pictures = folder.file(QStringLiteral("pictures/"));
    QDir().mkpath(pictures);
    for (int i = 1; i <= 3; ++i)
        QFile::copy(QStringLiteral(ZUVEXAL_SOURCE_DIR "/examples/pictures/gear.bmp"), pictures + QStringLiteral("p%1.bmp").arg(i));
    const EnvGuard printTo("ZUVEXAL_PRINT_TO", QByteArray());
    const QString name = QStringLiteral("cups%1").arg(QCoreApplication::applicationPid());
    const QDir output(QDir::homePath() + QStringLiteral("/PDF"));
    RecordSetPtr records = printableOrders();
    ASSERT_TRUE(control->AutoZuReporter(records, QStringLiteral("Photo"), &pictures, name,
                                        QStringLiteral("Printed orders"), ZuVexal::rNoYes));
    ASSERT_TRUE(control->lastRun() && control->lastRun()->pagesNotPrinted.isEmpty());

    // cups-pdf writes the job's PDF into ~/PDF when the job has run.
    QElapsedTimer clock;
    clock.start();
    QString printed;
    while (printed.isEmpty() && clock.elapsed() < 60000) {
        for (const QString &file : output.entryList({name + QStringLiteral("*.pdf")})) {
            if (QFileInfo(output.filePath(file)).size() > 0)
                printed = output.filePath(file);
        }
        QThread::msleep(100);
    }
    ASSERT_FALSE(printed.isEmpty()) << "no PDF from the " << destination << " queue";
    QThread::msleep(300);
    expectPrintedReport(printed);
    QFile::remove(printed);
}

TEST_F(ReportTest, APrintedRowIsNeverCutAcrossTwoSheets)
{
    // Rows of several lines each, many sheets of them: a browser moves a
    // row that does not fit whole onto the next sheet, and so must print.
    auto records = std::make_shared<RecordSet>();
    records->appendField(QStringLiteral("Id"), Ado::adBigInt, 8);
    records->appendField(QStringLiteral("Text"), Ado::adVarWChar, 4000);
    records->open();
    for (int i = 1; i <= 60; ++i) {
        records->addNew();
        records->setValue(0, qlonglong(i));
        QString text = QStringLiteral("Begin%1").arg(i);
        for (int w = 0; w < 120; ++w)
            text += QStringLiteral(" word");
        records->setValue(1, text + QStringLiteral(" Finish%1").arg(i));
        records->update();
    }
    records->moveFirst();
    control->setMaxRecsPerPage(100);
    const EnvGuard printTo("ZUVEXAL_PRINT_TO", folder.file(QStringLiteral("out")).toUtf8());
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("tall"), {}, ZuVexal::rNoYes));
    const QString pdf = folder.file(QStringLiteral("out/tall.pdf"));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(30000);
    const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
    const int sheets = pagesLine.match(QString::fromUtf8(info.readAllStandardOutput())).captured(1).toInt();
    ASSERT_GT(sheets, 2);
    QList<int> beginSheet(61, 0), finishSheet(61, 0);
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(sheet), QStringLiteral("-l"),
                                                 QString::number(sheet), pdf, QStringLiteral("-")});
        text.waitForFinished(30000);
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        static const QRegularExpression marks(QStringLiteral("(Begin|Finish)(\\d+)\\b"));
        for (auto it = marks.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            (m.captured(1) == QLatin1String("Begin") ? beginSheet : finishSheet)[m.captured(2).toInt()] = sheet;
        }
    }
    for (int i = 1; i <= 60; ++i) {
        ASSERT_NE(beginSheet[i], 0) << "row " << i;
        EXPECT_EQ(beginSheet[i], finishSheet[i]) << "row " << i << " is cut across sheets";
    }
}

namespace {

// The words of a text: white space, no-break spaces included, between them;
// DejaVu's ligatures read as their letters.
QStringList wordsOf(QString text)
{
    const std::pair<char16_t, const char *> ligatures[] = {
        {0xFB00, "ff"}, {0xFB01, "fi"}, {0xFB02, "fl"}, {0xFB03, "ffi"}, {0xFB04, "ffl"}};
    for (const auto &[ligature, letters] : ligatures)
        text.replace(QChar(ligature), QLatin1String(letters));
    text.replace(QChar(QChar::Nbsp), QLatin1Char(' '));
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// The words of a page file as a browser shows them: the text between the
// tags (quoted attribute values may hold '>'), its entities read. Tags that
// start a line or a cell part words; others, such as links, do not.
QStringList pageWords(const QString &pageFile)
{
    QString text = QString::fromUtf8(test::readAll(pageFile));
    static const QRegularExpression parting(
        QStringLiteral(R"(<(?:BR|P|TD|TH|TR|HR|TABLE|H3)\b[^>]*>)"), QRegularExpression::CaseInsensitiveOption);
    text.replace(parting, QStringLiteral(" "));
    static const QRegularExpression tags(QStringLiteral(R"(<(?:[^>'"=]|=\s*'[^']*'|=\s*"[^"]*"|=)*>)"));
    text.remove(tags);
    const std::pair<const char *, const char *> entities[] = {
        {"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto &[entity, character] : entities)
        text.replace(QLatin1String(entity), QLatin1String(character));
    return wordsOf(text);
}

// The words of sheets of a PDF in the order they were printed.
QStringList printedWords(const QString &pdf, int sheet = 0)
{
    QStringList arguments{QStringLiteral("-raw")};
    if (sheet > 0)
        arguments << QStringLiteral("-f") << QString::number(sheet) << QStringLiteral("-l") << QString::number(sheet);
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
    process.waitForFinished(30000);
    return wordsOf(QString::fromUtf8(process.readAllStandardOutput()));
}

int sheetCount(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(30000);
    static const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
    return pagesLine.match(QString::fromUtf8(info.readAllStandardOutput())).captured(1).toInt();
}

// Orders as the sample has them: ten a page, each with a 120-pixel picture.
RecordSetPtr pictureOrders(int n)
{
    auto records = std::make_shared<RecordSet>();
    records->appendField(QStringLiteral("OrderID"), Ado::adBigInt, 8);
    records->appendField(QStringLiteral("Customer"), Ado::adVarWChar, 40);
    records->appendField(QStringLiteral("UnitPrice"), Ado::adDouble, 8);
    records->appendField(QStringLiteral("Website"), Ado::adLongVarWChar, 0, 234);
    records->appendField(QStringLiteral("Photo"), Ado::adVarWChar, 255);
    records->open();
    const char *pictures[] = {"bolt.bmp", "nut.bmp", "gear.bmp", "spring.bmp"};
    for (int i = 1; i <= n; ++i) {
        records->addNew();
        records->setValue(0, qlonglong(1000 + i));
        records->setValue(1, QStringLiteral("Customer %1 & Sons").arg(i));
        records->setValue(2, i * 0.35);
        records->setValue(3, QStringLiteral("Shop%1#https://shop%1.example.com/#").arg(i));
        records->setValue(4, QString::fromLatin1(pictures[i % 4]));
        records->update();
    }
    records->moveFirst();
    return records;
}

// Rows of about three fifths of a sheet each, so no two fit on one.
constexpr int TallRowWords = 1300;
RecordSetPtr tallRows(int n)
{
    auto records = std::make_shared<RecordSet>();
    records->appendField(QStringLiteral("Id"), Ado::adBigInt, 8);
    records->appendField(QStringLiteral("Text"), Ado::adLongVarWChar, 100000);
    records->open();
    for (int i = 1; i <= n; ++i) {
        records->addNew();
        records->setValue(0, qlonglong(i));
        QStringList words;
        for (int w = 0; w < TallRowWords; ++w)
            words << QStringLiteral("w%1x%2").arg(i).arg(w);
        records->setValue(1, words.join(QLatin1Char(' ')));
        records->update();
    }
    records->moveFirst();
    return records;
}

} // namespace

TEST_F(ReportTest, APrintedPageHoldsEveryWordOfThePageInOrder)
{
    struct Case
    {
        const char *name;
        std::function<RecordSetPtr()> records;
        int perPage;
        QString color;
        bool pictures;
        const char *why;
    };
    std::vector<Case> cases = {
        {"pictures", [] { return pictureOrders(23); }, 10, QStringLiteral("WHITE"), true,
         "rows of pictures end near a sheet's foot; the links after the footer still reach paper"},
        {"many", [] { return test::makeOrders(200); }, 200, QStringLiteral("WHITE"), false, "a 200-record page over many sheets"},
        {"tall", [] { return tallRows(4); }, 5, QStringLiteral("WHITE"), false,
         "rows taller than half a sheet: one a sheet, none cut"},
    };
    for (const QString &color : reportTableColors())
        cases.push_back({"colour", [] { return pictureOrders(12); }, 10, color, true,
                         "the table's colour changes no word"});
    const QString pictures = QStringLiteral(ZUVEXAL_SOURCE_DIR "/examples/pictures/");
    AdvancedSettings &settings = settingsState().Settings;
    settings.HeaderText = QStringLiteral("Sample orders, first half of 2024");
    settings.FooterText = QStringLiteral("ACME Fasteners");
    settings.WebsiteLink = QStringLiteral("https://acme.example.com");
    settings.EmailAddress = QStringLiteral("sales@acme.example.com");
    const EnvGuard printTo("ZUVEXAL_PRINT_TO", folder.file(QStringLiteral("out")).toUtf8());
    for (const Case &c : cases) {
        const QString name = QStringLiteral("%1%2").arg(QLatin1String(c.name)).arg(&c - cases.data());
        control->setMaxRecsPerPage(c.perPage);
        ReportChoices choices;
        choices.tableColor = c.color;
        control->setReportChoices(choices);
        QString folders = pictures;
        RecordSetPtr records = c.records();
        ASSERT_TRUE(control->AutoZuReporter(records, c.pictures ? QStringLiteral("Photo") : QString(),
                                            c.pictures ? &folders : nullptr, name, QStringLiteral("Orders"),
                                            ZuVexal::rNoYes));
        ASSERT_TRUE(control->lastRun() && control->lastRun()->pagesNotPrinted.isEmpty()) << c.why;
        for (const QString &page : control->lastRun()->pageFiles) {
            const QString pdf = folder.file(QStringLiteral("out/") + QFileInfo(page).completeBaseName()
                                            + QStringLiteral(".pdf"));
            const std::string where = QFileInfo(page).fileName().toStdString() + " in " + c.color.toStdString()
                + ": " + c.why;
            EXPECT_EQ(printedWords(pdf), pageWords(page)) << where;
            const int sheets = sheetCount(pdf);
            EXPECT_GT(sheets, 0) << where;
            QStringList sheetWords;
            for (int sheet = 1; sheet <= sheets; ++sheet) {
                const QStringList words = printedWords(pdf, sheet);
                EXPECT_FALSE(words.isEmpty()) << "sheet " << sheet << " is empty, " << where;
                sheetWords << words.join(QLatin1Char(' '));
            }
            if (qstrcmp(c.name, "tall") != 0)
                continue;
            EXPECT_EQ(sheets, 4) << "the heading and row 1 on the first sheet, then one row a sheet";
            for (int row = 1; row <= 4 && sheets == 4; ++row) {
                const QString first = QStringLiteral("w%1x0 ").arg(row);
                const QString last = QStringLiteral(" w%1x%2").arg(row).arg(TallRowWords - 1);
                EXPECT_TRUE(sheetWords[row - 1].contains(first) && sheetWords[row - 1].contains(last))
                    << "row " << row << " is whole on sheet " << row;
            }
        }
    }
}

TEST(Printing, ColourValuesReadAsBrowsersReadThem)
{
    struct Case { const char *value; const char *color; const char *why; };
    const Case cases[] = {
        {"WHITE", "#ffffff", "a named colour"},
        {"  Fuchsia ", "#ff00ff", "blanks around, any case"},
        {"#abc", "#aabbcc", "three hex digits"},
        {"#123456789abc", "#12569a", "long: each third cut to its first two digits"},
        {"[WHITE]<TR", "#00e000", "the old table tag's colour: every non-hex character a 0, so green"},
        {"chucknorris", "#c00000", "no colour name: its hex digits"},
        {"#0000000a0000000b0000000c", "#0a0b0c", "leading zeros of all three thirds dropped"},
        {"", "", "empty: no colour"},
        {"transparent", "", "transparent: no colour"},
    };
    for (const Case &c : cases) {
        const QColor color = legacyColor(QString::fromLatin1(c.value));
        EXPECT_EQ(color.isValid() ? color.name() : QString(), QString::fromLatin1(c.color)) << c.why;
    }
}
