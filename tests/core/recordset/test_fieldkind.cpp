#include "core/recordset/fieldkind.h"

#include <gtest/gtest.h>

using namespace zuvexal;

TEST(FieldKind, TypeDecidesAndAttributesFillIn)
{
    struct Case { qint16 attributes; qint16 type; const char *expected; const char *why; };
    const Case cases[] = {
        {234, 203, "hyperlink", "long wide text with hyperlink attributes"},
        {230, 203, "hyperlink", "a nullable HYPERLINK table column in SQLite"},
        {102, 203, "text", "long wide text with text attributes is plain text"},
        {234, 202, "text", "short text stays text whatever the attributes"},
        {0, 11, "boolean", "boolean by type alone"},
        {230, 11, "boolean", "hyperlink attributes do not override a boolean type"},
        {122, 136, "date", "unlisted type: the attributes decide"},
        {0, 136, "others", "unlisted type and unlisted attributes"},
        {118, 20, "number", "adBigInt"},
        {0, 131, "number", "adNumeric needs no attributes"},
        {102, 135, "date", "a timestamp is a date"},
        {90, 205, "others", "binary stays others even with number attributes"},
        {106, 72, "others", "a GUID is others"},
        {90, 0, "number", "adEmpty is unlisted, attributes 90 mean number"},
        {106, 999, "text", "unknown type, text attributes"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FieldKind(c.attributes, c.type), QString::fromLatin1(c.expected))
            << c.attributes << "/" << c.type << ": " << c.why;
}
