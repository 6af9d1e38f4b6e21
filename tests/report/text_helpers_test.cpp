// Text helpers of the report component.
#include "report/text_helpers.h"

#include <gtest/gtest.h>

#include "report/errors.h"

using namespace report;
using namespace report::helpers;

namespace {

TEST(ReportHelpers, CodePage1256ToUnicode) {
    EXPECT_EQ(codePageToUnicode("", 1256), "");
    // "salam" in code page 1256, with Persian peh (0x81) and keheh (0x98).
    EXPECT_EQ(codePageToUnicode("\xD3\xE1\xC7\xE3 \x81\x98 A1", 1256),
              "\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85 \xD9\xBE\xDA\xA9 A1");
    EXPECT_EQ(codePageToUnicode("\xE9", 1252), "\xC3\xA9");
    EXPECT_THROW(codePageToUnicode("x", 932), ReportError);
}

TEST(ReportHelpers, DateText) {
    EXPECT_EQ(dateText(false, 1999, 12, 31), "Dec 31 1999");
    EXPECT_EQ(dateText(true, 2004, 1, 5), "\"Jan 5 2004\"");
    EXPECT_EQ(dateText(false, 36525.75), "Dec 31 1999");  // the time of day is ignored
    EXPECT_EQ(dateText(false, 2.0), "Jan 1 1900");
}

TEST(ReportHelpers, ReplaceAll) {
    EXPECT_EQ(replaceAllNoCase("a<#X>b<#x>", "<#X>", "1"), "a1b1");
    EXPECT_EQ(replaceAllNoCase("aaa", "aa", "b"), "ba");  // non-overlapping, left to right
    EXPECT_EQ(replaceAllNoCase("\xD8\xB3<#n>", "<#N>", "v"), "\xD8\xB3v");
    EXPECT_EQ(replaceAllExact("a<#X>b<#x>", "<#X>", "1"), "a1b<#x>");
    EXPECT_EQ(replaceAllExact("abc", "", "z"), "abc");
}

TEST(ReportHelpers, TextBetweenAndBlockSearch) {
    EXPECT_EQ(textBetween("x<DataPool>pool</DataPool>", "<DataPool>", "</DataPool>"), "pool");
    EXPECT_EQ(textBetween("x<DataPool>pool", "<DataPool>", "</DataPool>"), "");
    EXPECT_EQ(textBetween("pool</DataPool>", "<DataPool>", "</DataPool>"), "");
    Block b = blockSearch("ab[in]cd", "[", "]");
    EXPECT_EQ(b.position, 3u);
    EXPECT_EQ(b.inner, "in");
    EXPECT_EQ(b.length, 4u);
    Block open = blockSearch("ab[in", "[", "]");
    EXPECT_EQ(open.position, 3u);
    EXPECT_EQ(open.inner, "");
    EXPECT_EQ(blockSearch("abc", "[", "]").position, 0u);
}

TEST(ReportHelpers, LineBreakNormalisations) {
    EXPECT_EQ(normalizeLineBreaks("a\r\nb\nc"), "a\r\nb\r\nc");
    EXPECT_EQ(normalizeLineBreaksWide("a\r\nb\rc\nd"), "a\nb\nc\nd");
}

TEST(ReportHelpers, BlockSearchIgnoringCase) {
    Block b = blockSearch("x<#repfor:a>in<#/REPFOR:A>y", "<#REPFOR:A>", "<#/REPFOR:A>", true);
    EXPECT_EQ(b.position, 2u);
    EXPECT_EQ(b.inner, "in");
    EXPECT_EQ(b.length, 25u);
}

}  // namespace
