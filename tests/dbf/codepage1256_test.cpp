#include "dbf/codepage1256.h"

#include <gtest/gtest.h>

namespace {

using namespace dbf::cp1256;

TEST(CodePage1256, RoundTripsFarsiAndLatinText) {
    // پ and چ are code page 1256's own letters; the yeh is the Arabic one the code page has.
    const std::string farsi = "پنير چدار، خام";
    const std::string bytes = fromUtf8(farsi);
    EXPECT_EQ(bytes.size(), 14u);  // one byte per letter
    EXPECT_EQ(toUtf8(bytes), farsi);
    EXPECT_EQ(toUtf8(fromUtf8("Cheese, 2% fat")), "Cheese, 2% fat");
    EXPECT_EQ(toUtf8(""), "");
}

TEST(CodePage1256, PersianLettersTheCodePageLacksMapToTheirEquivalents) {
    // Persian yeh U+06CC becomes Arabic yeh 0xED; Persian and Arabic-Indic digits become ASCII.
    EXPECT_EQ(fromUtf8("\u06CC"), "\xED");
    EXPECT_EQ(fromUtf8("\u06F1\u06F2\u06F3"), "123");
    EXPECT_EQ(fromUtf8("\u0661\u0660"), "10");
    EXPECT_EQ(fromUtf8("\u06A9"), "\x98");  // Persian kaf exists in the code page
    EXPECT_EQ(fromUtf8("\u4E2D"), "?");     // what the code page cannot hold
    EXPECT_EQ(fromUtf8("a\xFF"
                       "b"),
              "a?b");  // malformed UTF-8 does not stop the conversion
}

TEST(CodePage1256, FarsiReadersSeeThePersianYeh) {
    const std::string stored = fromUtf8("پنیر");  // پنیر typed with Persian yeh
    EXPECT_EQ(toUtf8Farsi(stored), "پنیر");
    EXPECT_EQ(toUtf8Farsi("\xEC"), "ی");
    EXPECT_EQ(fromUtf8(toUtf8Farsi(stored)), stored);
}

TEST(CodePage1256, SearchFoldingJoinsCaseAndTheYehAndKafForms) {
    std::string a = fromUtf8("Kebab کباب یک");  // Persian kaf and yeh as users type them
    std::string b = fromUtf8("KEBAB كباب يك");  // Arabic kaf and yeh as older data holds them
    foldForSearch(a);
    foldForSearch(b);
    EXPECT_EQ(a, b);
    std::string maksura = "\xEC";  // alef maksura, stored for a final Persian yeh by some programs
    foldForSearch(maksura);
    EXPECT_EQ(maksura, "\xED");
}

}  // namespace
