#include "core/base/values_p.h"

#include "testsupport.h"

#include <QDate>
#include <QLocale>

#include <limits>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

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
    EXPECT_EQ(valueText(0.1 + 0.2), QStringLiteral("0.3")) << "15 significant digits, no binary noise";
    EXPECT_EQ(valueText(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(valueText(true), QStringLiteral("True"));
    EXPECT_EQ(valueText(QStringLiteral("text")), QStringLiteral("text"));
    const LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(valueText(2.5), QStringLiteral("2,5")) << "decimal separator of the current locale";
}

TEST(Values, AppendRealTextWritesWhatValueTextWrites)
{
    struct Case { double value; const char *c; const char *why; };
    const Case cases[] = {
        {2.5, "2.5", "the decimal form"},
        {3.0, "3", "whole numbers have no point"},
        {-0.0, "0", "negative zero has no sign"},
        {100000.0, "1e+05", "the exponent form once it is shorter"},
        {123456.0, "123456", "all digits significant: the decimal form"},
        {0.001, "0.001", "two leading zeros fit the decimal form"},
        {0.0001, "1e-04", "three do not"},
        {0.00012, "0.00012", "unless a second digit makes the exponent form as long"},
        {1e300, "1e+300", "three exponent digits"},
        {0.1 + 0.2, "0.3", "rounded to 15 significant digits, the zeros after them dropped"},
        {32.989999999999995, "32.99", "a sum's binary noise below the 15th digit is gone"},
        {500.1291800000001, "500.12918", "an average's noise"},
        {1000258.3600000001, "1000258.36", "a total's noise, beyond the short-decimal scale"},
        {104944.66999999993, "104944.67", "noise below the value rounds up"},
        {0.123456789012345678, "0.123456789012346", "a long fraction keeps 15 digits"},
        {1.0 / 3.0, "0.333333333333333", "a repeating fraction keeps 15 digits"},
        {123456789012345678.0, "123456789012346000", "a large value keeps 15 digits, zeros after them"},
        {1.2345678901234567e+20, "1.23456789012346e+20", "in the exponent form once it is shorter"},
        {-1.3577664124044799e-310, "-1.3577664124045e-310", "below the normal range: the digits it holds"},
        {999999999999999.9, "1e+15", "rounding carries into a new leading digit"},
        {std::numeric_limits<double>::max(), "1.79769313486232e+308", "rounding beyond the largest double keeps it"},
        {-1.25e-7, "-1.25e-07", "negative with a fraction in the exponent form"},
        {std::numeric_limits<double>::infinity(), "inf", "infinity"},
        {-std::numeric_limits<double>::infinity(), "-inf", "negative infinity"},
        {std::numeric_limits<double>::quiet_NaN(), "nan", "not a number"},
    };
    const QLocale locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::Arabic, QLocale::Egypt)};
    for (const QLocale &locale : locales) {
        const LocaleGuard guard(locale);
        const std::string point = QLocale().decimalPoint().toStdString();
        for (const Case &c : cases) {
            std::string text;
            appendRealText(text, c.value, point);
            EXPECT_EQ(QString::fromStdString(text), valueText(c.value)) << locale.name().toStdString() << ": " << c.why;
            if (locale == QLocale::c()) {
                EXPECT_EQ(text, c.c) << c.why;
            }
        }
    }
    // Every kind of double: the form chosen and the digits agree with Qt's.
    std::mt19937_64 random(1);
    for (int i = 0; i < 100000; ++i) {
        const quint64 bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        // Short decimals of every length and scale, and the edges of the
        // range where their digits are found by scaling.
        const double decimals = double(bits % 10000000000000) / std::pow(10.0, double(bits >> 60));
        const double edge = (bits & 1 ? 1e9 : 1e-4) * (1.0 + double(qint64(bits % 2001) - 1000) * 1e-15);
        for (double x : {value, double(bits % 100000000) / 100.0, double(bits % 1000) * 1e-9, decimals, -decimals,
                         edge}) {
            std::string text = "x";
            appendRealText(text, x, ".");
            ASSERT_EQ(QString::fromStdString(text), QLatin1Char('x') + valueText(x)) << "appends after what is there";
        }
    }
}

TEST(Values, SurelyNotNumericRulesOutOnlyWhatIsNumericRejects)
{
    struct Case { const char *utf8; bool surely; const char *why; };
    const Case cases[] = {
        {"abc", true, "a letter starts no number"},
        {"", true, "empty"},
        {" \t\r\n", true, "blank"},
        {"Item 12", true, "a number later on does not count"},
        {"12", false, "digits"},
        {" \t-1", false, "a sign after white space"},
        {".5", false, "a point"},
        {",5", false, "a comma, the decimal point of some locales"},
        {"$5", false, "a currency sign"},
        {"12abc", false, "isNumeric has to read it"},
        {"\xC2\xA0" "5", false, "a no-break space may be trimmed: isNumeric decides"},
        {"\xE2\x82\xAC" "5", false, "so may a euro sign start a number"},
    };
    const LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    for (const Case &c : cases) {
        EXPECT_EQ(surelyNotNumeric(c.utf8), c.surely) << c.why;
        if (c.surely) {
            EXPECT_FALSE(isNumeric(QString::fromUtf8(c.utf8))) << c.why;
        }
    }
}

TEST(Values, TrimBlanksRemovesSpacesOnly)
{
    EXPECT_EQ(trimBlanks(u"  a b  "), QStringLiteral("a b"));
    EXPECT_EQ(trimBlanks(u"\ta\t"), QStringLiteral("\ta\t")) << "tabs are not blanks";
    EXPECT_EQ(trimBlanks(u"   "), QString());
    EXPECT_EQ(trimLeadingBlanks(u"  a "), QStringLiteral("a "));
    EXPECT_EQ(trimTrailingBlanks(u"  a "), QStringLiteral("  a"));
}
