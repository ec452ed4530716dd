#include "core/reporter/pagewriter.h"
#include "core/reporter/reportform_p.h"
#include "core/base/values_p.h"

#include "core/recordset/sqladapter.h"

#include "testsupport.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QDir>
#include <QLocale>
#include <QSqlDatabase>
#include <QRegularExpression>
#include <QSqlQuery>

#include <cmath>

#include <gtest/gtest.h>

using namespace zuvexal;
using namespace zuvexal::Ado;

namespace {

struct Column
{
    const char *name;
    int type;
    int attributes = adFldUnspecified;
};

const std::vector<Column> NameAmount = {{"Name", adVarWChar}, {"Amount", adDouble}};

// An open record set holding rows, built the way the generation run builds
// its sections.
RecordSet table(const std::vector<Column> &columns, const std::vector<QVariantList> &rows)
{
    RecordSet rs;
    for (const Column &c : columns)
        rs.appendField(QString::fromUtf8(c.name), c.type, 255, c.attributes);
    rs.setLockType(adLockOptimistic);
    rs.open();
    for (const QVariantList &row : rows) {
        rs.addNew();
        for (int f = 0; f < row.size(); ++f)
            rs.setValue(f, row[f]);
        rs.update();
    }
    rs.moveFirst();
    return rs;
}

QStringList namesOf(const std::vector<Column> &columns)
{
    QStringList names;
    for (const Column &c : columns)
        names.append(QString::fromUtf8(c.name));
    return names;
}

// The opening every fragment shares: anchor, generator line, font line.
QString opening(const QString &section, const QString &font = QStringLiteral("Arial"))
{
    return QStringLiteral("<HTML><HEAD></HEAD><BODY><H3> <A Name='%1'>%1</A></H3>"
                          "<META NAME=\"GENERATOR\" CONTENT=\"ZuVexal Report by "
                          "https://quorvane.example.com/zuvexal\">"
                          "<FONT FACE =%2,Times New Roman,Arial,Courier New</FONT>")
        .arg(section, font);
}

QString tableHead(const QStringList &names)
{
    QString head = QStringLiteral(
        "<P>  </P><TABLE BORDER=1 BORDERCOLOR=BLACK CELLPADDING=5 ALIGN=CENTER BGCOLOR=WHITE><TR>");
    for (const QString &n : names)
        head += QStringLiteral("<TH>%1</TH>").arg(n);
    return head + QStringLiteral("</TR>");
}

QString row(const QStringList &cells)
{
    QString tr = QStringLiteral("<TR>");
    for (const QString &c : cells)
        tr += QStringLiteral("<TD><BGCOLOR=[WHITE]>%1</TD>").arg(c);
    return tr + QStringLiteral("</TR>");
}

const QString TableEnd = QStringLiteral("</TABLE><P>  </P>");
const QString Close = QStringLiteral("<P>  </P> </BODY></HTML>");

// The fragments of a page file, each checked to be one quoted record.
QStringList fragments(const QString &path)
{
    const QString text = QString::fromUtf8(test::readAll(path));
    QStringList records = text.split(QStringLiteral("\"\r\n"));
    EXPECT_TRUE(records.takeLast().isEmpty()) << "the file ends with a whole record";
    for (QString &r : records) {
        EXPECT_TRUE(r.startsWith(u'"'));
        r.remove(0, 1);
    }
    return records;
}

QString fragment(const QString &path)
{
    const QStringList all = fragments(path);
    EXPECT_EQ(all.size(), 1);
    return all.value(0);
}

// What the writer reads for a section: the job and where its page stands.
struct SectionPage
{
    ReportJob job;
    PagePosition at;
};

SectionPage pageOf(qint32 CurPage, qint32 TotalPage, qint32 NumRecsOnPage, qint32 CumTotalRecs)
{
    SectionPage page;
    page.at.page = CurPage;
    page.at.pages = TotalPage;
    page.at.records = NumRecsOnPage;
    page.job.totalRecords = CumTotalRecs;
    page.job.settings.FontName = QStringLiteral("Arial");
    return page;
}

// Writes one page as the generation run does: sections of five records, the
// first named by the page heading, an empty last section left out.
void writePage(PageWriter &writer, const QString &file, const std::vector<Column> &columns,
               const std::vector<QVariantList> &rows, SectionPage page)
{
    const auto count = qint32(rows.size());
    page.at.records = count;
    const qint32 sectionCount = count / 5;
    for (qint32 k = 0; k * 5 < count; ++k) {
        RecordSet section = table(columns, std::vector<QVariantList>(rows.begin() + k * 5,
                                                                     rows.begin() + std::min(count, k * 5 + 5)));
        const QString name = k == 0 ? QStringLiteral("Vol %1").arg(page.at.page) : QStringLiteral("Section%1").arg(k);
        writer.WriteReportSection(file, section, qint32(columns.size()), namesOf(columns), name, sectionCount,
                                  QStringLiteral("WHITE"), page.job, page.at);
    }
}

// Tests compare decimal texts, which follow the locale.
class PageWriterTest : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    test::TempFolder folder;
    PageWriter writer;
};

} // namespace

TEST_F(PageWriterTest, FirstSectionOfPageOneCarriesTheHeaderBlock)
{
    SectionPage page = pageOf(1, 2, 7, 12);
    page.job.advancedSettingsInForce = true;
    page.job.settings.FontName = QStringLiteral("Verdana");
    page.job.settings.LogoFile = QStringLiteral("/srv/pics/our logo.png");
    page.job.settings.WebsiteLink = QStringLiteral("www.quorvane.com");
    page.job.settings.EmailAddress = QStringLiteral("sales@quorvane.com");
    page.job.settings.HeaderText = QStringLiteral("Quarterly <I>figures</I>");
    page.job.settings.IncludeNotes = 1;
    page.job.settings.NotesText = QStringLiteral("a b\r\nc");
    RecordSet rs = table(NameAmount, {{"A", 1}, {"B", 2.5}, {"C", 3}, {"D", 4}, {"E", 5}});
    const QString file = folder.file(QStringLiteral("sales1.htm"));

    EXPECT_TRUE(writer.WriteReportSection(file, rs, 2, {"Name", "Amount"}, "Vol 1 of Sales<Br>Sales", 1,
                                          "WHITE", page.job, page.at));

    // Seven records on the page: section 1 exists and is linked; the section
    // is not the page's last, so no summaries or page links follow.
    EXPECT_EQ(fragment(file),
              "<HTML><HEAD></HEAD><BODY><H3> <A Name='Vol 1 of Sales<Br>Sales'>Vol 1 of Sales<Br>Sales</A></H3>"
              "<META NAME=\"GENERATOR\" CONTENT=\"ZuVexal Report by https://quorvane.example.com/zuvexal\">"
              "<FONT FACE =Verdana,Times New Roman,Arial,Courier New</FONT>"
              "<P Align=Center><img src = /srv/pics/our%20logo.png ALT = Logo_here ></P> "
              "<P Align=Center><B>"
              " Visit our Website ...   <A HREF='www.quorvane.com'>www.quorvane.com</A> "
              " &nbsp;&nbsp;&nbsp;  E-mail us now ... <A HREF=mailto:sales@quorvane.com>sales@quorvane.com</A><Br>"
              " </B></P>"
              "<EM> Quarterly <I>figures</I></EM>  <Br>"
              "<P>  </P>"
              "a&nbsp;b<p></p>c<P>  </P>"
              "<A HRef='#Section1'>Section1</A>..."
              "<P>  </P>"
              "<TABLE BORDER=1 BORDERCOLOR=BLACK CELLPADDING=5 ALIGN=CENTER BGCOLOR=WHITE><TR>"
              "<TH>Name</TH><TH>Amount</TH></TR>"
              "<TR><TD><BGCOLOR=[WHITE]>A</TD><TD><BGCOLOR=[WHITE]>1</TD></TR>"
              "<TR><TD><BGCOLOR=[WHITE]>B</TD><TD><BGCOLOR=[WHITE]>2.5</TD></TR>"
              "<TR><TD><BGCOLOR=[WHITE]>C</TD><TD><BGCOLOR=[WHITE]>3</TD></TR>"
              "<TR><TD><BGCOLOR=[WHITE]>D</TD><TD><BGCOLOR=[WHITE]>4</TD></TR>"
              "<TR><TD><BGCOLOR=[WHITE]>E</TD><TD><BGCOLOR=[WHITE]>5</TD></TR>"
              "</TABLE><P>  </P>"
              "<P>  </P> </BODY></HTML>");
    EXPECT_EQ(page.job.settings.NotesText, "a b\r\nc") << "the notes are converted for the page only";
    EXPECT_EQ(rs.value(0), QVariant("A")) << "the section is left on its first record";
}

TEST_F(PageWriterTest, TheTableTagIsClosedAndCarriesASafeColour)
{
    struct Case { const char *chosen; const char *written; const char *why; };
    const Case cases[] = {
        {"FUCHSIA", "FUCHSIA", "a colour of the window's list"},
        {"#FF8800", "#FF8800", "a hex colour"},
        {"#f80", "#f80", "a short hex colour"},
        {"OldLace", "OldLace", "one word of letters and digits passes as it is"},
        {"RED><SCRIPT>", "WHITE", "text that would end the tag"},
        {"light blue", "WHITE", "two words"},
        {"#12345", "WHITE", "a hex colour of five digits"},
        {"", "WHITE", "no colour"},
    };
    for (const Case &c : cases) {
        RecordSet rs = table(NameAmount, {{"A", 1}});
        const QString file = folder.file(QStringLiteral("colour%1.htm").arg(&c - cases));
        const SectionPage one = pageOf(1, 1, 1, 1);
        writer.WriteReportSection(file, rs, 2, {"Name", "Amount"}, "Vol 1", 0, QString::fromUtf8(c.chosen),
                                  one.job, one.at);
        const QString page = fragment(file);
        const QString written = QString::fromUtf8(c.written);
        EXPECT_TRUE(page.contains(QStringLiteral("ALIGN=CENTER BGCOLOR=%1><TR><TH>Name</TH>").arg(written))) << c.why;
        // The cells' colour tags, which browsers ignore, keep their form.
        EXPECT_TRUE(page.contains(QStringLiteral("<TD><BGCOLOR=[%1]>A</TD>").arg(written))) << c.why;
    }
}

namespace {

// WCAG 2's contrast of two colours, computed here apart from the writer.
double wcagContrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

TEST_F(PageWriterTest, TablesReadInEveryColour)
{
    // Text is black unless the table says otherwise; links are the
    // browser's blue (#0000EE, visited #551A8B) unless they say otherwise.
    const QString white = QStringLiteral(" STYLE=\"color:#ffffff\"");
    const QString black = QStringLiteral(" STYLE=\"color:#000000\"");
    struct Case { const char *chosen; QString text; QString link; const char *why; };
    const Case cases[] = {
        {"WHITE", "", "", "black and the browser's blue read: the page as it always was"},
        {"YELLOW", "", "", "so on yellow"},
        {"SILVER", "", "", "and on silver, where blue reads 5.2:1"},
        {"RED", "", black, "black reads 5.3:1, blue links only 2.4:1: links in black"},
        {"GRAY", "", black, "black reads 5.3:1, blue links 2.4:1"},
        {"FUCHSIA", "", black, "black reads 6.7:1, blue links 3:1"},
        {"BLUE", white, white, "black reads 2.4:1 and blue links 1.1:1: all white"},
        {"MAROON", white, white, "black reads 1.9:1"},
        {"GREEN", white, white, "black falls just short, 4.1:1"},
        {"#123456", white, white, "any dark hex colour"},
        {"#abc", "", "", "a light hex colour stays as it was"},
    };
    const std::vector<Column> columns = {{"Site", adLongVarWChar, 234}, {"Name", adVarWChar}};
    RecordSet source = table(columns, {});
    const auto write = [&](const QString &color, const QString &file) {
        SectionPage page = pageOf(1, 1, 1, 1);
        page.job.sourceFields = fieldsOf(source);
        RecordSet rs = table(columns, {{"Shop#https://shop.example.com/#", "Ann"}});
        writer.WriteReportSection(file, rs, 2, {"Site", "Name"}, "Vol 1", 0, color, page.job, page.at);
        return fragment(file);
    };
    for (const Case &c : cases) {
        const QString color = QString::fromLatin1(c.chosen);
        EXPECT_EQ(write(color, folder.file(QStringLiteral("read%1.htm").arg(&c - cases))),
                  opening("Vol 1") + "<P>  </P><TABLE BORDER=1 BORDERCOLOR=BLACK CELLPADDING=5 ALIGN=CENTER" + c.text
                      + " BGCOLOR=" + color + "><TR><TH>Site</TH><TH>Name</TH></TR><TR><TD><BGCOLOR=[" + color
                      + "]><A HREF='https://shop.example.com/'" + c.link + ">Shop</A></TD><TD><BGCOLOR=[" + color
                      + "]>Ann</TD></TR>" + TableEnd + Close)
            << c.why;
    }
    // Every colour of the window's list, measured as a browser measures it.
    static const QRegularExpression style(QStringLiteral("STYLE=\"color:(#[0-9a-f]{6})\""));
    for (const QString &color : reportTableColors()) {
        const QString page = write(color, folder.file(color + QStringLiteral(".htm")));
        const QString head = page.section(QStringLiteral("<TR>"), 0, 0);
        const QString link = page.section(QStringLiteral("<A HREF="), 1).section(QLatin1Char('>'), 0, 0);
        const QColor background = QColor::fromString(color);
        const QColor text = head.contains(style) ? QColor::fromString(style.match(head).captured(1)) : Qt::black;
        EXPECT_GE(wcagContrast(text, background), 4.5) << color.toStdString();
        const QList<QColor> links = link.contains(style) ? QList{QColor::fromString(style.match(link).captured(1))}
                                                          : QList{QColor(0x0000EE), QColor(0x551A8B)};
        for (const QColor &l : links)
            EXPECT_GE(wcagContrast(l, background), 4.5) << color.toStdString() << " link " << l.name().toStdString();
    }
}

TEST_F(PageWriterTest, EmailLineNeedsAnAtAfterTheFirstCharacterAndALaterDot)
{
    struct Case { const char *address; bool shown; const char *why; };
    const Case cases[] = {
        {"sales@quorvane.com", true, "an ordinary address"},
        {"a@b.c", true, "the dot may stand at the fourth character"},
        {"salesquorvane.com", false, "no @"},
        {"@quorvane.com", false, "the only @ is the first character"},
        {"a@.b", false, "the only dot stands before the fourth character"},
    };
    for (const Case &c : cases) {
        SectionPage page = pageOf(1, 1, 1, 1);
        page.job.advancedSettingsInForce = true;
        page.job.settings.EmailAddress = QString::fromUtf8(c.address);
        RecordSet rs = table(NameAmount, {{"A", 1}});
        const QString file = folder.file(QStringLiteral("mail%1.htm").arg(&c - cases));
        writer.WriteReportSection(file, rs, 2, {"Name", "Amount"}, "Vol 1", 0, "WHITE", page.job, page.at);

        const QString line = c.shown ? QStringLiteral(" &nbsp;&nbsp;&nbsp;  E-mail us now ... <A HREF=mailto:%1>%1</A><Br>")
                                           .arg(page.job.settings.EmailAddress)
                                     : QString();
        // A one-record page: also its last section, so the page summary follows.
        EXPECT_EQ(fragment(file), opening("Vol 1") + "<P Align=Center><B>" + line + " </B></P><P>  </P>"
                      + tableHead({"Name", "Amount"}) + row({"A", "1"}) + TableEnd
                      + "1 records in this Vol. <Br> <P>  </P><B>1 records altogether. </B> <Br> <P>  </P>"
                      + Close)
            << c.why;
    }
}

TEST_F(PageWriterTest, BlankSettingsTextsCountAsEmpty)
{
    SectionPage page = pageOf(1, 1, 1, 1);
    page.job.advancedSettingsInForce = true;
    // Stored settings turn empty texts into one blank.
    for (QString *text : {&page.job.settings.HeaderText, &page.job.settings.FooterText, &page.job.settings.LogoFile,
                          &page.job.settings.SignatureFile, &page.job.settings.WebsiteLink, &page.job.settings.EmailAddress})
        *text = QStringLiteral(" ");
    RecordSet rs = table(NameAmount, {{"A", 1}});
    const QString file = folder.file(QStringLiteral("blank.htm"));

    writer.WriteReportSection(file, rs, 2, {"Name", "Amount"}, "Vol 1", 0, "WHITE", page.job, page.at);

    EXPECT_EQ(fragment(file), opening("Vol 1") + "<P Align=Center><B> </B></P><P>  </P>"
                  + tableHead({"Name", "Amount"}) + row({"A", "1"}) + TableEnd
                  + "1 records in this Vol. <Br> <P>  </P><B>1 records altogether. </B> <Br> <P>  </P>" + Close);
}

TEST_F(PageWriterTest, SectionLinksGoToTheOtherWrittenSections)
{
    struct Case { const char *section; qint32 records; const char *links; const char *why; };
    const Case cases[] = {
        {"Section5", 57,
         "<A HRef='#Section1'>Section1</A>...<A HRef='#Section2'>Section2</A>...<A HRef='#Section3'>Section3</A>..."
         "<A HRef='#Section4'>Section4</A>...<A HRef='#Section6'>Section6</A>...<A HRef='#Section7'>Section7</A>..."
         "<A HRef='#Section8'>Section8</A>...<A HRef='#Section9'>Section9</A>...<Br>"
         "<A HRef='#Section10'>Section10</A>...<A HRef='#Section11'>Section11</A>...",
         "own section skipped; a line break before link 10; 57 records end in a partial section 11"},
        {"Section10", 60,
         "<A HRef='#Section1'>Section1</A>...<A HRef='#Section2'>Section2</A>...<A HRef='#Section3'>Section3</A>..."
         "<A HRef='#Section4'>Section4</A>...<A HRef='#Section5'>Section5</A>...<A HRef='#Section6'>Section6</A>..."
         "<A HRef='#Section7'>Section7</A>...<A HRef='#Section8'>Section8</A>...<A HRef='#Section9'>Section9</A>...<Br>"
         "<A HRef='#Section11'>Section11</A>...",
         "the line break stays though link 10 is the own section; 60 records have no section 12"},
        {"Section1", 10, "", "two sections of five: the only other one is the first, never linked"},
    };
    for (const Case &c : cases) {
        SectionPage page = pageOf(2, 4, c.records, 200);
        RecordSet rs = table(NameAmount, {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}});
        const QString file = folder.file(QStringLiteral("links%1.htm").arg(&c - cases));
        writer.WriteReportSection(file, rs, 2, {"Name", "Amount"}, c.section, c.records / 5, "WHITE", page.job, page.at);

        QString expected = opening(c.section) + c.links + tableHead({"Name", "Amount"});
        for (const char *name : {"A", "B", "C", "D", "E"})
            expected += row({name, QString::number(name[0] - 'A' + 1)});
        // Only the page's last section (Section1 of ten records) gets the page links.
        if (c.records == 10)
            expected += TableEnd + "<HR><A HRef='links1.htm'>Vol 1</A>...<A HRef='links3.htm'>Vol 3</A>..."
                        "<A HRef='links4.htm'>Vol 4</A>..." + Close;
        else
            expected += TableEnd + Close;
        EXPECT_EQ(fragment(file), expected) << c.why;
    }
}

TEST_F(PageWriterTest, VolLinksPointAtTheOtherPageFiles)
{
    struct Case { const char *file; qint32 page; qint32 pages; const char *links; const char *why; };
    const Case cases[] = {
        {"zureport3.htm", 3, 5,
         "<A HRef='zureport1.htm'>Vol 1</A>...<A HRef='zureport2.htm'>Vol 2</A>..."
         "<A HRef='zureport4.htm'>Vol 4</A>...<A HRef='zureport5.htm'>Vol 5</A>...",
         "the page number before the extension changes; the own page is left out"},
        {"Report2.ASP", 2, 3, "<A HRef='report1.asp'>Vol 1</A>...<A HRef='report3.asp'>Vol 3</A>...",
         "asp pages, names in lower case"},
        {"sales1.html", 1, 2, "<A HRef='sales2.html'>Vol 2</A>...", "html pages keep their extension"},
        {"big1.htm", 1, 13,
         "<A HRef='big2.htm'>Vol 2</A>...<A HRef='big3.htm'>Vol 3</A>...<A HRef='big4.htm'>Vol 4</A>..."
         "<A HRef='big5.htm'>Vol 5</A>...<A HRef='big6.htm'>Vol 6</A>...<A HRef='big7.htm'>Vol 7</A>..."
         "<A HRef='big8.htm'>Vol 8</A>...<A HRef='big9.htm'>Vol 9</A>...<A HRef='big10.htm'>Vol 10</A>..."
         "<A HRef='big11.htm'>Vol 11</A>...<A HRef='big12.htm'>Vol 12</A>...<Br><A HRef='big13.htm'>Vol 13</A>...",
         "twelve links to a line"},
    };
    for (const Case &c : cases) {
        SectionPage page = pageOf(c.page, c.pages, 1, 100);
        RecordSet rs = table(NameAmount, {{"A", 1}});
        const QString file = folder.file(QString::fromUtf8(c.file));
        writer.WriteReportSection(file, rs, 2, {"Name", "Amount"}, "Vol", 0, "WHITE", page.job, page.at);

        EXPECT_EQ(fragment(file), opening("Vol") + tableHead({"Name", "Amount"}) + row({"A", "1"}) + TableEnd
                      + "<HR>" + c.links + Close)
            << c.why;
    }
}

TEST_F(PageWriterTest, LastSectionsCarrySummariesFooterSignatureAndVolLinks)
{
    const std::vector<Column> columns = {
        {"Name", adVarWChar}, {"Amount", adDouble}, {"Qty", adInteger}, {"Code", adVarWChar}};
    RecordSet source = table(columns, {});
    SectionPage page = pageOf(1, 2, 0, 5);
    page.job.sourceFields = fieldsOf(source);
    page.job.advancedSettingsInForce = true;
    page.job.settings.FooterText = QStringLiteral("Thanks");
    page.job.settings.SignatureFile = QStringLiteral("/srv/pics/sign here.png");
    page.job.settings.IncludeNotes = 1;
    page.job.settings.NotesPosition = 1;
    page.job.settings.NotesText = QStringLiteral("See you");
    // Qty is offered but not selected; Bonus and amount name no column.
    page.job.sumFields = {{"Amount", true}, {"Qty", false}, {"Code", true}, {"Bonus", true}, {"amount", true}};

    writePage(writer, folder.file("sales1.htm"), columns,
              {{"Ann", 10.5, 1, "1e3"}, {"Bob", 4, 2, "12abc"}, {"Cy", 7, 3, "x"}}, page);
    page.at.page = 2;
    writePage(writer, folder.file("sales2.htm"), columns, {{"Dee", 2, 4, "5"}, {"Eve", -1.25, 5, ""}}, page);

    const QStringList head = {"Name", "Amount", "Qty", "Code"};
    // Page 1 seeds the extremes from its first record; "1e3" counts as 1000,
    // "12abc" does not count. Not the last page: no overall summary.
    EXPECT_EQ(fragment(folder.file("sales1.htm")),
              opening("Vol 1") + "<P Align=Center><B> </B></P><P>  </P>" + tableHead(head)
                  + row({"Ann", "10.5", "1", "1e3"}) + row({"Bob", "4", "2", "12abc"}) + row({"Cy", "7", "3", "x"})
                  + TableEnd
                  + "3 records in this Vol. <Br> Sum of Amount = 21.5 <Br> Sum of Code = 1000 <Br> <P>  </P>"
                    "<EM> Thanks</EM>  <Br>"
                    "<HR><A HRef='sales2.htm'>Vol 2</A>..."
                  + Close);
    // The average divides by all five records of the report.
    EXPECT_EQ(fragment(folder.file("sales2.htm")),
              opening("Vol 2") + "<P>  </P>" + tableHead(head) + row({"Dee", "2", "4", "5"})
                  + row({"Eve", "-1.25", "5", ""}) + TableEnd
                  + "2 records in this Vol. <Br> Sum of Amount = 0.75 <Br> Sum of Code = 5 <Br> <P>  </P>"
                    "<B>5 records altogether. </B> <Br> "
                    "<B> Amount</B> : Total = 22.25 ; Average = 4.45 ; Minimum = -1.25 ; Maximum = 10.5 <Br> "
                    "<B> Code</B> : Total = 1005 ; Average = 201 ; Minimum = 5 ; Maximum = 1000 <Br> "
                    "<P>  </P>"
                    "See&nbsp;you<P>  </P>"
                    "<P Align=Left><img src = /srv/pics/sign%20here.png ALT = Signature_here ></P> "
                    "<EM> Thanks</EM>  <Br>"
                    "<HR><A HRef='sales1.htm'>Vol 1</A>..."
                  + Close);
}

TEST_F(PageWriterTest, LastPageHoldingAMultipleOfFiveRecordsEndsWithItsLastWrittenSection)
{
    const std::vector<Column> columns = {{"Qty", adInteger}};
    std::vector<QVariantList> rows;
    for (int i = 1; i <= 20; ++i)
        rows.push_back({i});
    SectionPage page = pageOf(1, 2, 0, 20);
    page.job.advancedSettingsInForce = true;
    page.job.settings.FooterText = QStringLiteral("End");
    page.job.sumFields = {{"Qty", true}};

    writePage(writer, folder.file("qty1.htm"), columns, {rows.begin(), rows.begin() + 10}, page);
    page.at.page = 2;
    writePage(writer, folder.file("qty2.htm"), columns, {rows.begin() + 10, rows.end()}, page);

    auto rowsOf = [](int first) {
        QString html = tableHead({"Qty"});
        for (int i = first; i < first + 5; ++i)
            html += row({QString::number(i)});
        return html + TableEnd;
    };
    const QStringList page2 = fragments(folder.file("qty2.htm"));
    ASSERT_EQ(page2.size(), 2);
    // Ten records make sections 0 and 1 only: no link to a section 2.
    EXPECT_EQ(page2[0], opening("Vol 2") + "<P>  </P><A HRef='#Section1'>Section1</A>..." + rowsOf(11) + Close);
    EXPECT_EQ(page2[1], opening("Section1") + rowsOf(16)
                            + "10 records in this Vol. <Br> Sum of Qty = 155 <Br> <P>  </P>"
                              "<B>20 records altogether. </B> <Br> "
                              "<B> Qty</B> : Total = 210 ; Average = 10.5 ; Minimum = 1 ; Maximum = 20 <Br> "
                              "<P>  </P><EM> End</EM>  <Br>"
                              "<HR><A HRef='qty1.htm'>Vol 1</A>..."
                            + Close);
    const QStringList page1 = fragments(folder.file("qty1.htm"));
    ASSERT_EQ(page1.size(), 2);
    EXPECT_EQ(page1[1], opening("Section1") + rowsOf(6)
                            + "10 records in this Vol. <Br> Sum of Qty = 55 <Br> <P>  </P><EM> End</EM>  <Br>"
                              "<HR><A HRef='qty2.htm'>Vol 2</A>..."
                            + Close);
}

TEST_F(PageWriterTest, SumsTakeNumbersAsTheyAreUnderADecimalComma)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SectionPage page = pageOf(1, 1, 2, 2);
    page.job.advancedSettingsInForce = true;
    page.job.settings.SumCurrentPageOnly = 1;
    page.job.sumFields = {{"Amount", true}};
    RecordSet rs = table(NameAmount, {{"A", 2.5}, {"B", 3.25}});
    const QString file = folder.file("de.htm");

    writer.WriteReportSection(file, rs, 2, {"Name", "Amount"}, "Vol 1", 0, "WHITE", page.job, page.at);

    // 2.5 and 3.25 are read as numbers, not as the texts "2,5" and "3,25".
    EXPECT_EQ(fragment(file), opening("Vol 1") + "<P Align=Center><B> </B></P><P>  </P>"
                  + tableHead({"Name", "Amount"}) + row({"A", "2,5"}) + row({"B", "3,25"}) + TableEnd
                  + "2 records in this Vol. <Br> Sum of Amount = 5,75 <Br> <P>  </P>"
                    "<B> For this Vol (page of records): </B> <Br>"
                    "<B> Amount</B> : Total = 5,75 ; Average = 2,875 ; Minimum = 2,5 ; Maximum = 3,25 <Br> "
                    "<P>  </P>"
                  + Close);
}

TEST_F(PageWriterTest, CellsOfHyperlinkColumnsBecomeSafeLinks)
{
    struct Case { const char *column; const char *value; const char *cell; const char *why; };
    const Case cases[] = {
        {"Site", "Quorvane#http://www.quorvane.com#", "<A HREF='http://www.quorvane.com'>Quorvane</A>",
         "text#address#: the address is the target, the text is shown"},
        {"Site", "Adler#https://adler.example.com/#sub#", "<A HREF='https://adler.example.com/'>Adler</A>",
         "only the part between the first two marks is the address"},
        {"Site", "Mail us#Sales@quorvane.com#", "<A HREF=mailto:Sales@quorvane.com>Mail us</A>",
         "an e-mail address behind a text"},
        {"Site", "Empty##", "Empty##", "no address: no link"},
        {"Site", "#https://example.com/page#top#",
         "<A HREF='https://example.com/page#top'>https://example.com/page#top</A>",
         "#address#: the value without its first and last character, so the address keeps its fragment"},
        {"Site", "#a#b#", "<A HREF='a#b'>a#b</A>", "every inner mark of #address# belongs to the address"},
        {"Site", "#a#b", "<A HREF='a#'>a#</A>", "the last character goes whatever it is, as a closing mark would"},
        {"Site", "##", "##", "#address# with nothing between: no link"},
        {"Site", "#http://www.quorvane.com/a b&c#",
         "<A HREF='http://www.quorvane.com/a%20b&amp;c'>http://www.quorvane.com/a b&amp;c</A>",
         "between marks the address; escaped, its blank encoded in the target"},
        {"Site", "#sales@quorvane.com#", "<A HREF=mailto:sales@quorvane.com>sales@quorvane.com</A>",
         "an address with @ is an e-mail link"},
        {"Site", "#javascript:alert('x')#", "#javascript:alert(&#39;x&#39;)#", "scripts are no links"},
        {"Site", "#\tJavaScript:alert(1)#", "#\tJavaScript:alert(1)#", "nor when disguised as browsers read them"},
        {"Site", "#mailto:a@b.c#", "<A HREF=mailto:a@b.c>mailto:a@b.c</A>", "a mailto scheme is kept, never doubled"},
        {"Site", "Boss#MAILTO:boss@b.c#", "<A HREF=mailto:boss@b.c>Boss</A>", "whatever its case"},
        {"Site", "plain#text", "plain#text", "one mark is no link"},
        {"Site", "#http://b\u00fccher.example/a\u00a0b#",
         "<A HREF='http://b\u00fccher.example/a%C2%A0b'>http://b\u00fccher.example/a\u00a0b</A>",
         "white space beyond ASCII is encoded by its UTF-8 bytes"},
        {"Note", "a#b#", "a#b#", "marks in a text column mean nothing"},
        {"Note", "/nowhere/my file", "/nowhere/my file", "a missing path with a blank is kept"},
    };
    const std::vector<Column> columns = {{"Site", adLongVarWChar, 234}, {"Note", adVarWChar}};
    RecordSet source = table(columns, {});
    // Texts stored as UTF-8 take the writer's fast way, other values the
    // general one: both must give the same cell.
    const std::vector<Column> variants = {{"Site", adVariant}, {"Note", adVariant}};
    for (const std::vector<Column> *stored : {&columns, &variants}) {
        for (const Case &c : cases) {
            SectionPage page = pageOf(1, 1, 3, 3);
            page.job.sourceFields = fieldsOf(source);
            const bool site = qstrcmp(c.column, "Site") == 0;
            RecordSet rs = table(*stored, {{site ? c.value : "", site ? "" : c.value}});
            const QString file = folder.file(QStringLiteral("cell%1-%2.htm").arg(&c - cases).arg(stored == &columns));
            writer.WriteReportSection(file, rs, 1, {c.column}, "Vol 1", 0, "WHITE", page.job, page.at);

            EXPECT_EQ(fragment(file), opening("Vol 1") + tableHead({c.column}) + row({c.cell}) + TableEnd + Close)
                << c.why << (stored == &columns ? " (stored text)" : " (general way)");
        }
    }
}

TEST_F(PageWriterTest, PictureCellsShowThePictureFile)
{
    const QString pictures = folder.path() + "my pics/";
    QDir().mkpath(pictures);
    test::writeAll(pictures + "cat.png", "png");
    const QString encoded = folder.path() + "my%20pics/";
    const std::vector<Column> columns = {{"Name", adVarWChar}, {"Photo", adVarWChar}};
    SectionPage page = pageOf(1, 1, 9, 9);
    page.job.containPictureFields = true;
    page.job.gridFieldNames = {"Name", "PHOTO"};
    page.job.columnPictureFolders = {"", pictures};
    RecordSet rs = table(columns, {{" Ann ", " cat.png "}, {"Bob", "dog.png"}, {"Cy", ""},
                                   {pictures + "cat.png", ""}});
    const QString file = folder.file("pics.htm");

    writer.WriteReportSection(file, rs, 2, {"Name", "Photo"}, "Vol 1", 0, "WHITE", page.job, page.at);

    auto picture = [](const QString &path) {
        return QStringLiteral("<TD><BGCOLOR=[WHITE]><A Href=%1> <img src = %1 border=0 width=120 height=120 "
                              "ALT = image_here align=center> </A></TD>")
            .arg(path);
    };
    // Values are trimmed for the lookup; a missing picture keeps its path; an
    // empty value is no picture; an existing path with a blank is marked.
    EXPECT_EQ(fragment(file),
              opening("Vol 1") + tableHead({"Name", "Photo"})
                  + "<TR><TD><BGCOLOR=[WHITE]>Ann</TD>" + picture(encoded + "cat.png") + "</TR>"
                  + "<TR><TD><BGCOLOR=[WHITE]>Bob</TD>" + picture(encoded + "dog.png") + "</TR>"
                  + row({"Cy", ""}) + row({"#" + pictures + "cat.png#", ""}) + TableEnd + Close);
}

TEST_F(PageWriterTest, PicturePathsAreWrittenAsTheUrlsOfTheirFiles)
{
    // A browser reads src and href as URLs: a file name's '%', '#' and '?'
    // would start an escape, a fragment and a query. Link targets of
    // hyperlink cells are URLs already and keep theirs (see above).
    struct Case { const char *file; const char *written; const char *why; };
    const Case cases[] = {
        {"gear#1.bmp", "gear%231.bmp", "'#' would cut the file name into a fragment"},
        {"a%20b.bmp", "a%2520b.bmp", "'%' is the file's own, not the start of an escape"},
        {"why?.bmp", "why%3F.bmp", "'?' would start a query"},
        {"two words.bmp", "two%20words.bmp", "a blank would end the unquoted attribute"},
        {"%#? .bmp", "%25%23%3F%20.bmp", "all of them at once, each encoded once"},
        {"plain.bmp", "plain.bmp", "other names are written as they are"},
    };
    const QString pictures = folder.path() + "pics/";
    QDir().mkpath(pictures);
    const std::vector<Column> columns = {{"Photo", adVarWChar}};
    for (const Case &c : cases) {
        test::writeAll(pictures + c.file, "bmp");
        SectionPage page = pageOf(1, 1, 1, 1);
        page.job.containPictureFields = true;
        page.job.gridFieldNames = {"Photo"};
        page.job.columnPictureFolders = {pictures};
        RecordSet rs = table(columns, {{QString::fromUtf8(c.file)}});
        const QString file = folder.file(QStringLiteral("picture%1.htm").arg(&c - cases));
        writer.WriteReportSection(file, rs, 1, {"Photo"}, "Vol 1", 0, "WHITE", page.job, page.at);

        const QString path = folder.path() + "pics/" + c.written;
        EXPECT_EQ(fragment(file), opening("Vol 1") + tableHead({"Photo"})
                      + QStringLiteral("<TR><TD><BGCOLOR=[WHITE]><A Href=%1> <img src = %1 border=0 width=120 "
                                       "height=120 ALT = image_here align=center> </A></TD></TR>")
                            .arg(path)
                      + TableEnd + Close)
            << c.why;
    }
    // The logo is a picture file too.
    SectionPage page = pageOf(1, 1, 1, 1);
    page.job.advancedSettingsInForce = true;
    page.job.settings.LogoFile = QStringLiteral("/srv/logo#2 100%.png");
    RecordSet rs = table(columns, {{""}});
    writer.WriteReportSection(folder.file("logo.htm"), rs, 1, {"Photo"}, "Vol 1", 0, "WHITE", page.job, page.at);
    EXPECT_TRUE(fragment(folder.file("logo.htm")).contains("<img src = /srv/logo%232%20100%25.png ALT = Logo_here >"));
}

TEST_F(PageWriterTest, AnApostropheOfTheTitleStaysInsideTheHeadingsName)
{
    struct Case { const char *heading; const char *name; const char *why; };
    const Case cases[] = {
        {"Vol 1 of O'Brien's orders<Br>1/5/24", "Vol 1 of O&#39;Brien&#39;s orders<Br>1/5/24",
         "an apostrophe would end the attribute; the visible heading keeps it"},
        {"Vol 1 of Orders", "Vol 1 of Orders", "a title without one is written as it is"},
        {"Vol 1 of \"Best\" & <I>co</I>", "Vol 1 of \"Best\" & <I>co</I>",
         "other host texts stay unescaped, inside the attribute too"},
    };
    for (const Case &c : cases) {
        RecordSet rs = table(NameAmount, {{"A", 1}});
        const QString file = folder.file(QStringLiteral("heading%1.htm").arg(&c - cases));
        const SectionPage page = pageOf(1, 1, 1, 1);
        writer.WriteReportSection(file, rs, 2, {"Name", "Amount"}, c.heading, 0, "WHITE", page.job, page.at);

        const QString expected = opening(c.heading);
        EXPECT_EQ(fragment(file), QString(expected).replace("<A Name='" + QString::fromUtf8(c.heading) + "'>",
                                                           "<A Name='" + QString::fromUtf8(c.name) + "'>")
                      + tableHead({"Name", "Amount"}) + row({"A", "1"}) + TableEnd + Close)
            << c.why;
    }
}

TEST_F(PageWriterTest, DoublesAreWrittenWithFifteenSignificantDigits)
{
    // Sums of prices gather binary noise beyond the 15th digit; the general
    // text of a double stops there, in cells and summaries alike, on both
    // ways a cell is written and whatever the decimal separator.
    struct Case { QLocale locale; const char *point; const char *why; };
    const Case cases[] = {
        {QLocale::c(), ".", "the C locale"},
        {QLocale(QLocale::German, QLocale::Germany), ",", "a decimal comma"},
    };
    const std::vector<Column> typed = {{"Price", adDouble}, {"Qty", adInteger}};
    const std::vector<Column> general = {{"Price", adVariant}, {"Qty", adVariant}};
    // 10.1 + 22.89 is 32.989999999999995; the cells hold noise of their own.
    const std::vector<QVariantList> rows = {
        {10.1, 7}, {22.89, 123456789}, {1000258.3600000001, 1}, {500.1291800000001, 2}, {0.1 + 0.2, 3}};
    for (const std::vector<Column> *columns : {&typed, &general}) {
        for (const Case &c : cases) {
            SectionPage page = pageOf(1, 1, 5, 5);
            page.job.locale = c.locale;
            page.job.advancedSettingsInForce = true;
            page.job.sumFields = {{"Price", true}, {"Qty", true}};
            QLocale::setDefault(c.locale);
            const QString file = folder.file(QStringLiteral("digits%1-%2.htm").arg(&c - cases).arg(columns == &typed));
            writer.reset();
            writePage(writer, file, *columns, rows, page);

            const auto n = [&](const char *text) { return QString::fromLatin1(text).replace('.', c.point); };
            EXPECT_EQ(fragment(file),
                      opening("Vol 1") + "<P Align=Center><B> </B></P><P>  </P>" + tableHead({"Price", "Qty"})
                          + row({n("10.1"), "7"}) + row({n("22.89"), "123456789"}) + row({n("1000258.36"), "1"})
                          + row({n("500.12918"), "2"}) + row({n("0.3"), "3"}) + TableEnd
                          + "5 records in this Vol. <Br> Sum of Price = " + n("1000791.77918")
                          + " <Br> Sum of Qty = 123456802 <Br> <P>  </P><B>5 records altogether. </B> <Br> "
                            "<B> Price</B> : Total = " + n("1000791.77918") + " ; Average = " + n("200158.355836")
                          + " ; Minimum = " + n("0.3") + " ; Maximum = " + n("1000258.36")
                          + " <Br> <B> Qty</B> : Total = 123456802 ; Average = " + n("24691360.4")
                          + " ; Minimum = 1 ; Maximum = 123456789 <Br> <P>  </P>" + Close)
                << c.why << (columns == &typed ? " (stored reals)" : " (general way)");
        }
    }
}

TEST_F(PageWriterTest, RecordSetTextsAreEscaped)
{
    const std::vector<Column> columns = {{"Say \"hi\"", adVarWChar}, {"<b>", adInteger}};
    SectionPage page = pageOf(1, 1, 1, 1);
    page.job.advancedSettingsInForce = true;
    page.job.sumFields = {{"<b>", true}};
    RecordSet rs = table(columns, {{"<script>alert('x')</script> & co", 3}});
    const QString file = folder.file("escape.htm");

    writer.WriteReportSection(file, rs, 2, {"Say \"hi\"", "<b>"}, "Vol <I>1</I>", 0, "WHITE", page.job, page.at);

    // The heading is the host's text and keeps its markup.
    EXPECT_EQ(fragment(file),
              opening("Vol <I>1</I>") + "<P Align=Center><B> </B></P><P>  </P>"
                  + tableHead({"Say &quot;hi&quot;", "&lt;b&gt;"})
                  + row({"&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; co", "3"}) + TableEnd
                  + "1 records in this Vol. <Br> Sum of &lt;b&gt; = 3 <Br> <P>  </P>"
                    "<B>1 records altogether. </B> <Br> "
                    "<B> &lt;b&gt;</B> : Total = 3 ; Average = 3 ; Minimum = 3 ; Maximum = 3 <Br> <P>  </P>"
                  + Close);
}

TEST_F(PageWriterTest, ResetForgetsTheStatisticsOfAnEarlierRun)
{
    SectionPage page = pageOf(1, 2, 0, 5);
    page.job.advancedSettingsInForce = true;
    page.job.sumFields = {{"Amount", true}};
    PageWriter kept;
    // A run that stopped after its first page leaves totals and extremes behind.
    for (PageWriter *w : {&writer, &kept})
        writePage(*w, folder.file("first.htm"), NameAmount, {{"A", 1}, {"B", 2}, {"C", 3}}, page);

    writer.reset();
    page = pageOf(1, 1, 0, 2);
    page.job.advancedSettingsInForce = true;
    page.job.sumFields = {{"Amount", true}};
    writePage(writer, folder.file("fresh.htm"), NameAmount, {{"D", 10}, {"E", 20}}, page);
    writePage(kept, folder.file("stale.htm"), NameAmount, {{"D", 10}, {"E", 20}}, page);

    const QString start = opening("Vol 1") + "<P Align=Center><B> </B></P><P>  </P>" + tableHead({"Name", "Amount"})
        + row({"D", "10"}) + row({"E", "20"}) + TableEnd
        + "2 records in this Vol. <Br> Sum of Amount = 30 <Br> <P>  </P><B>2 records altogether. </B> <Br> ";
    EXPECT_EQ(fragment(folder.file("fresh.htm")),
              start + "<B> Amount</B> : Total = 30 ; Average = 15 ; Minimum = 10 ; Maximum = 20 <Br> <P>  </P>"
                  + Close);
    // Without reset the old page's six join the total, and its three records
    // make the average divide by the two of this run only.
    EXPECT_EQ(fragment(folder.file("stale.htm")),
              start + "<B> Amount</B> : Total = 36 ; Average = 18 ; Minimum = 10 ; Maximum = 20 <Br> <P>  </P>"
                  + Close);
}

TEST_F(PageWriterTest, UnwritableFileReturnsFalseButCountsTheRecords)
{
    SectionPage page = pageOf(1, 2, 1, 2);
    page.job.advancedSettingsInForce = true;
    page.job.sumFields = {{"Amount", true}};
    RecordSet first = table(NameAmount, {{"A", 4}});
    const QString lost = folder.file("missing/lost1.htm");

    EXPECT_FALSE(writer.WriteReportSection(lost, first, 2, {"Name", "Amount"}, "Vol 1", 0, "WHITE", page.job, page.at));
    EXPECT_FALSE(QFile::exists(lost));

    page.at.page = 2;
    RecordSet second = table(NameAmount, {{"B", 6}});
    const QString file = folder.file("kept2.htm");
    EXPECT_TRUE(writer.WriteReportSection(file, second, 2, {"Name", "Amount"}, "Vol 2", 0, "WHITE", page.job, page.at));
    // The lost page's record still counts in the totals.
    EXPECT_EQ(fragment(file),
              opening("Vol 2") + "<P>  </P>" + tableHead({"Name", "Amount"}) + row({"B", "6"}) + TableEnd
                  + "1 records in this Vol. <Br> Sum of Amount = 6 <Br> <P>  </P>"
                    "<B>2 records altogether. </B> <Br> "
                    "<B> Amount</B> : Total = 10 ; Average = 5 ; Minimum = 4 ; Maximum = 6 <Br> <P>  </P>"
                    "<HR><A HRef='kept1.htm'>Vol 1</A>..."
                  + Close);
}

TEST_F(PageWriterTest, DatesAndDecimalsFollowTheLocaleOfEachSection)
{
    const std::vector<Column> columns = {{"Day", adDBDate}, {"Amount", adDouble}};
    const QDate day(2024, 3, 5);
    SectionPage page = pageOf(1, 1, 1, 1);
    struct Case { QLocale locale; QString day; QString amount; const char *why; };
    // Arabic digits and decimal separator are no ASCII: those cells take the
    // general way, the others are written as they come.
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "3/5/24", "2.5", "month first"},
        {QLocale(QLocale::German, QLocale::Germany), "05.03.24", "2,5", "a locale set between sections"},
        {arabic, arabic.toString(day, QLocale::ShortFormat), "2" + arabic.decimalPoint() + "5", "longer characters"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "3/5/24", "2.5", "and back: nothing of the other stays"},
    };
    for (const Case &c : cases) {
        page.job.locale = c.locale;
        RecordSet rs = table(columns, {{day, 2.5}, {day, 2.5}});
        const QString file = folder.file(QStringLiteral("locale%1.htm").arg(&c - cases));
        writer.WriteReportSection(file, rs, 2, {"Day", "Amount"}, "Vol 1", 0, "WHITE", page.job, page.at);

        EXPECT_EQ(fragment(file), opening("Vol 1") + tableHead({"Day", "Amount"}) + row({c.day, c.amount})
                      + row({c.day, c.amount}) + TableEnd + Close)
            << c.why;
    }
}

TEST_F(PageWriterTest, TimeStampsAndTimesAreWrittenAsTheirGeneralText)
{
    // The page writes time stamps and times of day from the stored number;
    // the cells must be the general text of the same values, in every kind
    // of locale.
    struct Case { QLocale locale; const char *why; };
    const Case cases[] = {
        {QLocale::c(), "24-hour clock, ASCII"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "12-hour clock with AM/PM after the time"},
        {QLocale(QLocale::Korean, QLocale::SouthKorea), "AM/PM texts before the hour"},
        {QLocale(QLocale::Arabic, QLocale::Egypt), "Arabic-Indic digits and an Arabic AM/PM"},
        {QLocale(QLocale::Persian, QLocale::Iran), "Persian digits"},
        {QLocale(QLocale::Bengali, QLocale::Bangladesh), "Bengali digits"},
        {QLocale(QLocale::French, QLocale::Canada), "quoted letters in the time format"},
        {QLocale(QLocale::German, QLocale::Germany), "a locale set between sections"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "and back"},
    };
    std::vector<QVariantList> rows;
    // Midnight (date only), the hours around noon and midnight, msecs that
    // are not shown, and days far apart.
    for (const QTime &t : {QTime(0, 0), QTime(0, 0, 0, 1), QTime(0, 5, 9), QTime(11, 59, 59, 999), QTime(12, 0),
                           QTime(12, 30, 1), QTime(13, 7, 45), QTime(23, 59, 59)})
        rows.push_back({QDateTime(QDate(2024, 2, 29), t), t});
    quint32 seed = 22;
    for (int i = 0; i < 400; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const QDate day = QDate(1890, 1, 1).addDays(qint64(seed % 80000));
        seed = seed * 1664525u + 1013904223u;
        const QTime t = QTime::fromMSecsSinceStartOfDay(int(seed % 86400000u));
        rows.push_back({QDateTime(day, t), t});
    }
    SectionPage page = pageOf(1, 1, 1, 1);
    for (const Case &c : cases) {
        page.job.locale = c.locale;
        RecordSet rs = table({{"At", adDBTimeStamp}, {"Clock", adDBTime}}, rows);
        const QString file = folder.file(QStringLiteral("stamps%1.htm").arg(&c - cases));
        writer.WriteReportSection(file, rs, 2, {"At", "Clock"}, "Vol 1", 0, "WHITE", page.job, page.at);

        QString expected = opening("Vol 1") + tableHead({"At", "Clock"});
        for (const QVariantList &r : rows)
            expected += row({valueText(r[0], c.locale), valueText(r[1], c.locale)});
        EXPECT_EQ(fragment(file), expected + TableEnd + Close) << c.why;
    }
}

TEST_F(PageWriterTest, DatabaseTextsReachThePageAsQtReadsThem)
{
    struct Case { const char *hex; const char *cell; const char *why; };
    const Case cases[] = {
        {"3C623E26", "&lt;b&gt;&amp;", "ASCII markup is escaped"},
        {"636166C3A9203C", "caf\u00e9 &lt;", "longer characters pass through, markup among them escaped"},
        {"EFBBBF41", "A", "a leading byte order mark is dropped"},
        {"41EFBBBF", "A\ufeff", "elsewhere it is a character"},
        {"41FF42", "A\ufffdB", "a malformed byte becomes a replacement character"},
        {"", "", "an empty text"},
    };
    const auto connection = QStringLiteral("pagewriter");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(folder.file("texts.db"));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE t(Note TEXT)")));
        for (const Case &c : cases)
            ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO t VALUES(CAST(X'%1' AS TEXT))").arg(c.hex)));
        LoadResult loaded = loadTable(db, QStringLiteral("t"));
        ASSERT_TRUE(loaded.records);
        SectionPage page = pageOf(1, 1, 0, 0);
        page.job.sourceFields = fieldsOf(*loaded.records);
        for (const Case &c : cases) {
            RecordSet rs = loaded.records->slice(&c - cases, 1);
            const QString file = folder.file(QStringLiteral("text%1.htm").arg(&c - cases));
            writer.WriteReportSection(file, rs, 1, {"Note"}, "Vol 1", 0, "WHITE", page.job, page.at);

            EXPECT_EQ(fragment(file), opening("Vol 1") + tableHead({"Note"}) + row({QString::fromUtf8(c.cell)})
                          + TableEnd + Close)
                << c.why;
        }
    }
    QSqlDatabase::removeDatabase(connection);
}

TEST(TextToHtml, ConvertsLineBreaksAndBlanks)
{
    struct Case { const char *text; const char *html; const char *why; };
    const Case cases[] = {
        {"a b\r\nc", "a&nbsp;b<p></p>c", "a CR LF pair is a paragraph, a blank a hard space"},
        {"x\ry", "x<br>y", "a lone CR is a line break"},
        {"x\ny", "x\ny", "a lone LF is left alone"},
        {"\r\r\n", "<br><p></p>", "pairs are found before lone CRs"},
        {"", "", "nothing to convert"},
    };
    for (const Case &c : cases) {
        const QString html = TextToHtml(QString::fromUtf8(c.text));
        EXPECT_EQ(html, c.html) << c.why;
        EXPECT_EQ(TextToHtml(html), html) << "converting again changes nothing: " << c.why;
    }
}
