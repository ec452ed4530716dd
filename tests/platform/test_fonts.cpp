#include "platform/fonts.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace zuvexal;

TEST(Fonts, GetFontNamesKeepsAtMost513)
{
    QStringList many;
    for (int i = 0; i < 600; ++i)
        many << QStringLiteral("Font %1").arg(i);
    const QStringList names = GetFontNames(many);
    ASSERT_EQ(names.size(), 513);
    EXPECT_EQ(names.front(), QStringLiteral("Font 0"));
    EXPECT_EQ(names.back(), QStringLiteral("Font 512"));
    EXPECT_FALSE(GetFontNames().isEmpty()) << "fontconfig's families on the offscreen platform";
}
