#include "core/base/values.h"

#include "testsupport.h"

#include <QDate>
#include <QLocale>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

// Restores the default locale after a test that changes it.
struct LocaleGuard
{
    explicit LocaleGuard(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
};

} // namespace

TEST(Values, LeadingNumberReadsTheNumberAtTheStart)
{
    struct Case { const char *text; double expected; const char *why; };
    const Case cases[] = {
        {"12abc", 12, "stops at the first other character"},
        {"  7", 7, "leading blanks are skipped"},
        {"1 2 3", 123, "blanks inside the number are skipped too"},
        {"-3.5x", -3.5, "sign and decimals"},
        {".5", 0.5, "no digits before the point"},
        {"1e3", 1000, "exponent"},
        {"2D2", 200, "D is an exponent letter as well"},
        {"4e", 4, "an exponent without digits is not part of the number"},
        {"abc", 0, "no number gives 0"},
        {"", 0, "empty text gives 0"},
        {"-", 0, "a lone sign is no number"},
        {"1,5", 1, "the comma is never a decimal separator here"},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.expected) << c.why;
}

TEST(Values, IsNumericAcceptsNumbersAndNumericTexts)
{
    EXPECT_TRUE(isNumeric(42));
    EXPECT_TRUE(isNumeric(2.5));
    EXPECT_TRUE(isNumeric(true)) << "booleans count as numbers";
    EXPECT_TRUE(isNumeric(QStringLiteral(" 3.25 ")));
    EXPECT_FALSE(isNumeric(QStringLiteral("12abc")));
    EXPECT_FALSE(isNumeric(QString())) << "an empty value is not numeric";
    EXPECT_FALSE(isNumeric(QStringLiteral("   ")));
    EXPECT_FALSE(isNumeric(QVariant()));
    EXPECT_FALSE(isNumeric(QDate(2024, 1, 5)));
    const LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(isNumeric(QStringLiteral("3,25"))) << "the current locale's decimal comma";
}

TEST(Values, ValueTextIsTheGeneralTextOfAValue)
{
    EXPECT_EQ(valueText(QVariant()), QString());
    EXPECT_EQ(valueText(QString()), QString());
    EXPECT_EQ(valueText(qlonglong(1234567890123)), QStringLiteral("1234567890123"));
    EXPECT_EQ(valueText(3.0), QStringLiteral("3")) << "whole doubles have no decimals";
    EXPECT_EQ(valueText(0.1 + 0.2), QStringLiteral("0.30000000000000004")) << "shortest round-trip form";
    EXPECT_EQ(valueText(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(valueText(true), QStringLiteral("True"));
    EXPECT_EQ(valueText(QStringLiteral("text")), QStringLiteral("text"));
    const LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(valueText(2.5), QStringLiteral("2,5")) << "decimal separator of the current locale";
}

TEST(Values, TrimBlanksRemovesSpacesOnly)
{
    EXPECT_EQ(trimBlanks(u"  a b  "), QStringLiteral("a b"));
    EXPECT_EQ(trimBlanks(u"\ta\t"), QStringLiteral("\ta\t")) << "tabs are not blanks";
    EXPECT_EQ(trimBlanks(u"   "), QString());
    EXPECT_EQ(trimLeadingBlanks(u"  a "), QStringLiteral("a "));
    EXPECT_EQ(trimTrailingBlanks(u"  a "), QStringLiteral("  a"));
}
