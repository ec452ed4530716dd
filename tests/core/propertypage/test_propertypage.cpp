#include "core/control/zuvexal.h"
#include "core/propertypage/propertypage_p.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace zuvexal;

TEST(PropertyPage, AnEditOrAnotherRecordsPositionMarksThePageChanged)
{
    ZuVexal control;
    PropertyPage page;
    ASSERT_TRUE(page.fill(&control));
    EXPECT_TRUE(page.Changed) << "filling sets the boxes, whose change handlers run";

    page.Changed = false;
    page.cmbMaxRecsPerPage_GotFocus();
    page.cmbMaxRecsPerPage_LostFocus();
    EXPECT_FALSE(page.Changed) << "the same position again is no edit";
    page.cmbMaxRecsPerPage_GotFocus();
    page.cmbMaxRecsPerPage = 3;
    page.cmbMaxRecsPerPage_LostFocus();
    EXPECT_TRUE(page.Changed);

    page.Changed = false;
    page.edited();
    EXPECT_TRUE(page.Changed);
    EXPECT_TRUE(page.apply(&control));
    EXPECT_EQ(control.MaxRecsPerPage(), 100);
    EXPECT_TRUE(page.Changed) << "the page never clears the flag itself";
}
