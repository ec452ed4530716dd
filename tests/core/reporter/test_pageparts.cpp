// The parts a page is written with, each alone: the links between pages and
// sections, the locale's texts of values, and the columns as described for
// a run's sections.
#include "core/reporter/pagecells.h"
#include "core/reporter/pagecolumns.h"
#include "core/reporter/pagelinks.h"

#include "testsupport.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace zuvexal;

TEST(PageLinks, EveryPageButTheOwnIsLinkedByItsFileName)
{
    struct Case { const char *file; qint32 page; qint32 pages; const char *links; const char *why; };
    const Case cases[] = {
        {"/r/Reports/sales2.htm", 2, 3, "<HR><A HRef='sales1.htm'>Vol 1</A>...<A HRef='sales3.htm'>Vol 3</A>...",
         "the number before the extension; the own link left out"},
        {"/r/Reports/q2.htm", 2, 2, "<HR><A HRef='q1.htm'>Vol 1</A>...",
         "a name whose number is also elsewhere is cut only where it stands before the extension"},
        {"/r/Reports/SALES1.HTML", 1, 2, "<HR><A HRef='sales2.html'>Vol 2</A>...",
         "lower case; an .html page keeps its ending"},
        {"/r/Reports/orders3.asp", 3, 3, "<HR><A HRef='orders1.asp'>Vol 1</A>...<A HRef='orders2.asp'>Vol 2</A>...",
         "an .asp page keeps its extension"},
        {"/r/Reports/plain", 1, 2, "<HR><A HRef='plain'>Vol 2</A>...",
         "a name without extension is every page's name"},
        {"/r/Reports/p3.htm", 3, 2, "<HR><A HRef='p1.htm'>Vol 1</A>...<A HRef='p2.htm'>Vol 2</A>...",
         "a page beyond the run's leaves out none"},
    };
    PageLinks reused; // made for each name in turn
    for (const Case &c : cases) {
        PageLinks links;
        std::string fresh, again;
        links.append(fresh, QString::fromUtf8(c.file), c.page, c.pages);
        reused.append(again, QString::fromUtf8(c.file), c.page, c.pages);
        EXPECT_EQ(fresh, c.links) << c.why;
        EXPECT_EQ(again, c.links) << c.why << ", after other names";
    }
    std::string twelve;
    PageLinks().append(twelve, QStringLiteral("p1.htm"), 1, 13);
    EXPECT_NE(twelve.find("Vol 12</A>...<Br><A HRef='p13.htm'>"), std::string::npos)
        << "twelve page links a line";
}

TEST(SectionLinks, TheLineBreaksStandWhereTheyWouldWithEveryLink)
{
    SectionLinks links;
    std::string html;
    links.append(html, 10, 9);
    EXPECT_EQ(html.find("Section9</A>"), std::string::npos) << "the own link is left out";
    EXPECT_NE(html.find("Section8</A>...<Br><A HRef='#Section10'>"), std::string::npos)
        << "the break after nine links stays where the ninth was";
    std::string none;
    links.append(none, 0, 0);
    EXPECT_TRUE(none.empty()) << "a page of one section links none";
    std::string all;
    links.append(all, 3, 0);
    EXPECT_EQ(all, "<A HRef='#Section1'>Section1</A>...<A HRef='#Section2'>Section2</A>..."
                   "<A HRef='#Section3'>Section3</A>...")
        << "the first section, the page heading, links them all";
}

TEST(ValueTexts, KeptDatesAreTheLocalesTextsOfTheirOwnDay)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    ValueTexts texts;
    texts.follow(us);
    const QDate day(2024, 3, 5);
    const qint64 julian = day.toJulianDay();
    const auto text = [](ValueTexts::Text t) { return QString::fromUtf8(t.text.toByteArray()); };
    EXPECT_EQ(text(texts.date(julian)), us.toString(day, QLocale::ShortFormat));
    // 2^14 days later the day falls in the same slot.
    const QDate later = QDate::fromJulianDay(julian + (1 << 14));
    EXPECT_EQ(text(texts.date(julian + (1 << 14))), us.toString(later, QLocale::ShortFormat));
    EXPECT_EQ(text(texts.date(julian)), us.toString(day, QLocale::ShortFormat)) << "and gives it back after";
    const qint64 farAway = qint64(1) << 40;
    EXPECT_EQ(text(texts.date(farAway)), us.toString(QDate::fromJulianDay(farAway), QLocale::ShortFormat))
        << "a day beyond 32 bits is made, not kept";

    const qint64 stampMs = julian * 86400000; // a stamp counts from Julian day 0
    EXPECT_EQ(text(texts.stamp(stampMs)), us.toString(day, QLocale::ShortFormat)) << "midnight shows the date alone";
    EXPECT_EQ(text(texts.stamp(stampMs + (14 * 3600 + 30 * 60 + 15) * 1000)),
              us.toString(day, QLocale::ShortFormat) + QStringLiteral(" 2:30:15 PM"));
    EXPECT_TRUE(texts.real(2.5).plain);

    const QLocale german(QLocale::German, QLocale::Germany);
    texts.follow(german);
    EXPECT_EQ(text(texts.date(julian)), german.toString(day, QLocale::ShortFormat))
        << "another locale forgets the kept texts";
    EXPECT_EQ(text(texts.real(2.5)), QStringLiteral("2,5"));
}

TEST(PageColumns, ColumnsAreDescribedAgainOnlyWhenWhatTheyAreReadFromChanges)
{
    RecordSet section;
    section.appendField(QStringLiteral("Site"), Ado::adLongVarWChar, 255, Ado::adFldUnspecified);
    section.appendField(QStringLiteral("Photo"), Ado::adVarWChar, 255, Ado::adFldUnspecified);
    section.open();
    ReportJob job;
    const QStringList columns{QStringLiteral("Site"), QStringLiteral("Photo"), QStringLiteral("Missing")};
    PageColumns described;

    const std::vector<PageColumn> *first = &described.describe(columns, section, job, " STYLE=x");
    ASSERT_EQ(first->size(), 3u);
    EXPECT_EQ((*first)[0].field, 0);
    EXPECT_EQ((*first)[2].field, std::nullopt) << "a column the section lacks";
    EXPECT_FALSE((*first)[0].hyperlink) << "no source field says it holds links";

    job.sourceFields = {Field{QStringLiteral("site"), Ado::adLongVarWChar, 255, 234}};
    EXPECT_TRUE(described.describe(columns, section, job, " STYLE=x")[0].hyperlink)
        << "the source's fields changed: described again, names compared without case";
    EXPECT_EQ(described.describe(columns, section, job, " STYLE=y")[0].linkStyle, " STYLE=y")
        << "a link column follows the table's link colour";

    job.containPictureFields = true;
    job.gridFieldNames = {QStringLiteral("photo")};
    job.columnPictureFolders = {QStringLiteral("/srv/pics/")};
    EXPECT_EQ(described.describe(columns, section, job, {})[1].pictureFolder, QStringLiteral("/srv/pics/"));
    job.columnPictureFolders = {QString()};
    EXPECT_EQ(described.describe(columns, section, job, {})[1].pictureFolder, std::nullopt)
        << "a grid column without folder shows no pictures";
}
