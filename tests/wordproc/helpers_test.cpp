// Text helpers of the report unit, temporary files and the shared instance.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "wordproc/errors.h"
#include "wordproc/report_helpers.h"
#include "wordproc/shared_instance.h"
#include "wordproc/temp_files.h"

using namespace wordproc;
using namespace wordproc::helpers;
namespace fs = std::filesystem;

namespace {

TEST(ReportHelpers, CodePage1256ToUnicode) {
    EXPECT_EQ(codePageToUnicode("", 1256), "");
    // "salam" in code page 1256, with Persian peh (0x81) and keheh (0x98).
    EXPECT_EQ(codePageToUnicode("\xD3\xE1\xC7\xE3 \x81\x98 A1", 1256),
              "\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85 \xD9\xBE\xDA\xA9 A1");
    EXPECT_EQ(codePageToUnicode("\xE9", 1252), "\xC3\xA9");
    EXPECT_THROW(codePageToUnicode("x", 932), WordprocError);
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

TEST(TempFiles, NamesFollowThePattern) {
    std::string a = temporaryDocumentName();
    std::string name = fs::path(a).filename().string();
    EXPECT_EQ(name.rfind("wordrpt_", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - 4), ".doc");
    EXPECT_EQ(name.find_first_not_of("0123456789", 8), name.size() - 4);
    EXPECT_EQ(fs::path(a).parent_path(), fs::temp_directory_path());
    EXPECT_EQ(fs::path(temporaryDocumentName(".tmp")).extension(), ".tmp");
}

bool waitFor(const std::function<bool()>& done, int ms) {
    for (int i = 0; i < ms / 10; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

TEST(TempFiles, BackgroundDeletionRetriesAndGivesUp) {
    // A directory that holds a file cannot be removed: it stands for a locked file.
    // Not named like a report file: another test cleaning those up would take it away.
    fs::path locked =
        fs::temp_directory_path() / ("halvora_locked_test_" + std::to_string(tickCount()));
    fs::create_directories(locked);
    std::ofstream(locked / "inside") << "x";
    deleteFileInBackground(locked.string(), std::chrono::milliseconds(2000));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_TRUE(fs::exists(locked));
    fs::remove(locked / "inside");  // unlocked: the next try removes it
    EXPECT_TRUE(waitFor([&] { return !fs::exists(locked); }, 1000));

    // A folder of its own, so no try of the first deletion can reach it; unlocked well
    // after the time allowed, even on a machine busy with other tests.
    locked += "_2";
    fs::create_directories(locked);
    std::ofstream(locked / "inside") << "x";
    deleteFileInBackground(locked.string(), std::chrono::milliseconds(200));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    fs::remove(locked / "inside");
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_TRUE(fs::exists(locked));  // it gave up
    fs::remove_all(locked);

    std::string plain = temporaryDocumentName();
    std::ofstream(plain) << "x";
    deleteFileInBackground(plain);
    EXPECT_TRUE(waitFor([&] { return !fs::exists(plain); }, 1000));
}

TEST(SharedInstance, AcquireAndReleaseRules) {
    int ownerA = 0, ownerB = 0;
    int created = 0;
    auto factory = [&] {
        ++created;
        return std::make_shared<Application>();
    };
    auto first = shared::acquire(&ownerA, factory);
    EXPECT_EQ(shared::acquire(&ownerB, factory), first);  // reused
    EXPECT_EQ(shared::owner(), &ownerA);
    shared::release(&ownerB);  // not the owner: nothing happens
    EXPECT_TRUE(shared::started());
    first->setVisible(true);  // the user took it over
    auto second = shared::acquire(&ownerB, factory);
    EXPECT_NE(second, first);
    EXPECT_TRUE(first->alive());  // a visible instance is forgotten, never quit
    EXPECT_EQ(shared::owner(), &ownerB);
    second->quit();  // died
    auto third = shared::acquire(&ownerA, factory);
    EXPECT_NE(third, second);
    EXPECT_EQ(created, 3);
    shared::release(nullptr);
    EXPECT_FALSE(shared::started());
    EXPECT_FALSE(third->alive());  // hidden and empty: quit
}

}  // namespace
