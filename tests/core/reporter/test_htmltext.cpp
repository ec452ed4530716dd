// What a record set's values become in a page's HTML: text, never markup;
// addresses that end no attribute; links that run no script.
#include "core/reporter/htmltext.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace zuvexal::html;

TEST(HtmlText, TextsAreEscapedTheSameFromQStringAndFromUtf8)
{
    struct Case { const char *text; const char *html; const char *why; };
    const Case cases[] = {
        {"plain", "plain", "nothing to escape: the text as it is"},
        {"<b>bold</b>", "&lt;b&gt;bold&lt;/b&gt;", "tags stay visible text"},
        {"a & b", "a &amp; b", "an ampersand would start an entity"},
        {"say \"hi\" 'there'", "say &quot;hi&quot; &#39;there&#39;", "quotes would end an attribute"},
        {"&amp;", "&amp;amp;", "an entity in the data is shown, not read"},
        {"Grüße <ü>", "Grüße &lt;ü&gt;", "longer characters pass between escapes"},
        {"", "", "empty"},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(escaped(text), QString::fromUtf8(c.html)) << c.why;
        std::string out = "x";
        appendEscaped(out, QByteArrayView(c.text));
        EXPECT_EQ(out, std::string("x") + c.html) << c.why << ": the UTF-8 way appends the same";
    }
}

TEST(HtmlText, AddressesEndNoAttribute)
{
    struct Case { const char *address; const char *value; const char *why; };
    const Case cases[] = {
        {"https://example.org/a?b=1&c=2", "https://example.org/a?b=1&amp;c=2", "markup escaped, the URL kept"},
        {"my file.htm", "my%20file.htm", "a blank would end the unquoted attribute"},
        {"a\tb\nc", "a%09b%0Ac", "controls browsers would drop before the scheme"},
        {"x\x7fy", "x%7Fy", "DEL too"},
        {"q\"onmouseover=", "q&quot;onmouseover=", "a quote cannot close the attribute"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(addressValue(QString::fromUtf8(c.address)), QString::fromUtf8(c.value)) << c.why;
        std::string out;
        appendAsciiAddress(out, QByteArrayView(c.address));
        EXPECT_EQ(out, c.value) << c.why << ": the ASCII way appends the same";
    }
    EXPECT_EQ(addressValue(QStringLiteral("a\u3000b")), QStringLiteral("a%E3%80%80b"))
        << "a wide blank, percent-encoded as its UTF-8 bytes";
}

TEST(HtmlText, PicturePathsAreReadAsPathsByTheBrowser)
{
    struct Case { const char *path; const char *value; const char *why; };
    const Case cases[] = {
        {"/srv/pics/p1.bmp", "/srv/pics/p1.bmp", "an ordinary path as it is"},
        {"/srv/100%/p.bmp", "/srv/100%25/p.bmp", "'%' would start an escape"},
        {"/srv/#1/p.bmp", "/srv/%231/p.bmp", "'#' would start a fragment"},
        {"/srv/why?/p.bmp", "/srv/why%3F/p.bmp", "'?' would start a query"},
        {"/srv/my pics/p.bmp", "/srv/my%20pics/p.bmp", "a blank would end the attribute"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(picturePathValue(QString::fromUtf8(c.path)), QString::fromUtf8(c.value)) << c.why;
}

TEST(HtmlText, OnlyLinksWithoutASchemeOrWithASafeOneAreLinked)
{
    struct Case { const char *target; bool safe; const char *why; };
    const Case cases[] = {
        {"https://example.org", true, "the web"},
        {"HTTP://example.org", true, "schemes are read without case"},
        {"ftp://files.example.org", true, "ftp"},
        {"mailto:sales@example.org", true, "mail"},
        {"file:///srv/report.htm", true, "a local file"},
        {"reports/page2.htm", true, "a relative address has no scheme"},
        {"#Section1", true, "a fragment"},
        {"12:30", true, "a scheme starts with a letter"},
        {"a b:c", true, "a blank ends what could be a scheme"},
        {"javascript:alert(1)", false, "a script"},
        {"JaVaScRiPt:alert(1)", false, "in any case"},
        {" \x01javascript:alert(1)", false, "behind blanks and controls a browser skips"},
        {"java\tscr\nipt:alert(1)", false, "with tabs and line breaks a browser ignores"},
        {"vbscript:msgbox", false, "another script"},
        {"data:text/html,<script>", false, "data can hold a page"},
        {"c:/reports/page.htm", false, "a drive letter reads as an unknown scheme"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hasSafeScheme(QByteArrayView(c.target)), c.safe) << c.why;
}

TEST(HtmlText, TableColoursAreNamesOrHexColours)
{
    struct Case { const char *color; const char *page; const char *why; };
    const Case cases[] = {
        {"RED", "RED", "a colour name"},
        {"LightGray2", "LightGray2", "letters and digits"},
        {"#abc", "#abc", "a short hex colour"},
        {"#A0B1C2", "#A0B1C2", "a hex colour"},
        {"#12345", "WHITE", "five hex digits are no colour"},
        {"red onload=alert(1)", "WHITE", "a blank would open another attribute"},
        {"red>", "WHITE", "'>' would end the tag"},
        {"", "WHITE", "none given"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pageColor(QString::fromUtf8(c.color)), QString::fromUtf8(c.page)) << c.why;
}
