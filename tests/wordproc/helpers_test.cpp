// Temporary files and the shared instance.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "wordproc/errors.h"
#include "wordproc/shared_instance.h"
#include "wordproc/temp_files.h"

using namespace wordproc;
namespace fs = std::filesystem;

namespace {

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
    EXPECT_FALSE(fs::exists(plain));  // a file no one holds goes at once, with no thread
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
