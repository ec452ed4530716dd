#include "core/base/like.h"

#include <QString>

#include <gtest/gtest.h>

using namespace zuvexal;

TEST(Like, WildcardsMatchWholeTexts)
{
    struct Case { const char *text; const char *pattern; bool expected; const char *why; };
    const Case cases[] = {
        {"Report - Mozilla Firefox", "* - Mozilla Firefox", true, "'*' matches any run"},
        {"a/b/c", "a*c", true, "'*' also matches '/'"},
        {"", "*", true, "'*' matches nothing too"},
        {"abc", "a?c", true, "'?' is one character"},
        {"ac", "a?c", false, "'?' is exactly one character"},
        {"a7c", "a#c", true, "'#' is a digit"},
        {"abc", "a#c", false, "'#' is only a digit"},
        {"b", "[a-c]", true, "range"},
        {"d", "[a-c]", false, "outside the range"},
        {"b", "[!a]", true, "negated list"},
        {"a", "[!a]", false, "negated list excludes its members"},
        {"-", "[a-]", true, "'-' at the end of a list is literal"},
        {"*", "[*]", true, "brackets quote a wildcard"},
        {"x*", "x[*]", true, "quoted star matches only a star"},
        {"xy", "x[*]", false, "quoted star is no wildcard"},
        {"ab", "a[]b", true, "'[]' matches nothing and consumes nothing"},
        {"Abc", "abc", false, "case-sensitive"},
        {"abc", "ab", false, "the whole text must match"},
        {"abc", "a[bc", false, "an unclosed list matches nothing"},
        {"aaab", "*a*b", true, "backtracking over several stars"},
        {"abcabd", "*abd", true, "a star retries later positions"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(likeMatch(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.expected)
            << c.text << " ~ " << c.pattern << ": " << c.why;
}
