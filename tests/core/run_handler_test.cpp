// The default error display and the platform form of stored paths.
#include "core/run_handler.h"

#include "app_fixture.h"
#include "core/paths.h"

namespace core::testing {
namespace {

class RunHandlerTest : public AppTest {};

TEST_F(RunHandlerTest, ErrorLeavingAHandlerIsShownAndTheHandlerEndsThere) {
    MainForm& f = makeForm();
    int steps = 0;
    const bool completed = runHandler(f, [&](MainForm& form) {
        ++steps;
        form.DBF2.setDirectory(app());
        form.DBF2.setTableName("Foods.DBF");
        form.DBF2.open();  // there is no such table
        ++steps;
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("Foods.DBF"), std::string::npos) << dialogs.errors[0];
    EXPECT_TRUE(runHandler(f, [](MainForm&) {}));
}

TEST_F(RunHandlerTest, StoredPathsAreFoundWithoutRegardToCase) {
    std::filesystem::create_directories(app() / "Data" / "Sub");
    writeFile(app() / "Data" / "FOODS.DBF", "");
    EXPECT_EQ(nativePath(appStored(), "DATA\\foods.dbf"), app() / "Data" / "FOODS.DBF");
    EXPECT_EQ(nativePath(appStored(), "data\\SUB\\"), app() / "Data" / "Sub");
    // What does not exist keeps its spelling, so that it can be created.
    EXPECT_EQ(nativePath(appStored(), "data\\New\\x.txt"), app() / "Data" / "New" / "x.txt");
    EXPECT_EQ(storedPath(app() / "Data"), appStored() + "Data");
}

}  // namespace
}  // namespace core::testing
