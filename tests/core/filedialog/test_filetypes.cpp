#include "core/filedialog/filetypes.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace zuvexal;

TEST(Paths, FileTypeFilterGivesThePatternsOfEachType)
{
    EXPECT_EQ(FileTypeFilter(0), QStringLiteral("*.*"));
    EXPECT_EQ(FileTypeFilter(2),
              QStringLiteral("*.bmp;*.gif;*.jpeg;*.jpg;*.ico;*.wmf;*.emf;*.dib;*.pcx;*.pct;*.xbm;*.tiff"));
    EXPECT_EQ(FileTypeFilter(3), QStringLiteral("*.exe;*.com;*.bat;*.bin"));
    EXPECT_EQ(FileTypeFilter(7),
              QStringLiteral("*.avi;*.dat;*.mov;*.mpeg;*.mpg;*.mvp;*.vbs;*.mpa;*.mp2;*.aif;*.qt"));
    EXPECT_EQ(FileTypeFilter(8), QStringLiteral("*.*")) << "unknown types show everything";
    EXPECT_EQ(FileTypeFilter(-1), QStringLiteral("*.*"));
}
