#include "platform/compoundtext.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using zuvexal::platform::decodeCompoundText;

TEST(CompoundText, DecodesEachDesignationAndSegmentAndStopsWhereTheTextDoes)
{
    const QChar unknown = QChar::ReplacementCharacter;
    struct Case { const char *why; QByteArray bytes; QString text; };
    const Case cases[] = {
        {"GL starts as ASCII", "Orders", QStringLiteral("Orders")},
        {"GR starts as the right half of Latin-1", "caf\xe9", QStringLiteral("café")},
        {"ESC - F makes GR Greek (ISO 8859-7)", "\x1b-F\xe1\xe2", QStringLiteral("αβ")},
        {"ESC % G opens UTF-8 up to ESC % @, after which GL is ASCII again",
         "\x1b%G\xe2\x82\xac\x1b%@x", QStringLiteral("€x")},
        {"ESC $ ) B puts JIS X 0208 into GR, two bytes a character", "\x1b$)B\xc6\xfc\xcb\xdc", QStringLiteral("日本")},
        {"ESC $ B, the short form, puts JIS X 0208 into GL", "\x1b$B\x46\x7c", QStringLiteral("日")},
        {"a set it cannot map gives U+FFFD per character, not wrong letters", "\x1b-Z\xe1\xe2",
         QString(2, unknown)},
        {"ESC % / 1 opens a segment in the encoding it names (big5-0), counted in two 7-bit bytes",
         QByteArray("\x1b%/1\x80\x89" "big5-0\x02\xa4\xa4", 15), QStringLiteral("中")},
        {"a direction control (CSI ... ]) is no text", "a\x9b" "1]b", QStringLiteral("ab")},
        {"tab and newline stay, other controls go", "a\x07" "b\tc\n", QStringLiteral("ab\tc\n")},
        {"a text cut inside an escape sequence ends there", "ab\x1b$", QStringLiteral("ab")},
        {"a text cut inside a two-byte character ends there", "\x1b$)B\xc6\xfc\xcb", QStringLiteral("日")},
        {"an escape that is none (no final byte in range) is dropped", "a\x1b(\x7f" "b", QStringLiteral("ab")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(decodeCompoundText(c.bytes), c.text) << c.why;
}
