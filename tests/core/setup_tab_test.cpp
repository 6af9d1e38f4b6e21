// The Setup tab: another data directory, the working date, the display mode.
#include "app_fixture.h"
#include "core/formats.h"
#include "core/run_handler.h"
#include "core/setup_handlers.h"

namespace core::testing {
namespace {

class SetupTabTest : public AppTest {
  protected:
    void SetUp() override {
        writeDataDirectory(app() / "data");
        DataContent other;
        other.foods = {{I(42), S("Other"), S("digar")}};
        other.subjects = {{I(9), S("Ali")}};
        writeDataDirectory(app() / "DATA2", other);
        start();
        dialogs.messages.clear();
    }
    void choose(const std::filesystem::path& dir) {
        form->setup.DirectoryListBox1.setDirectory(dir.string());
        runHandler(*form, Button50Click);
    }
};

TEST_F(SetupTabTest, OpenNewDirectorySwitchesToTheSubdirectoryAndReopens) {
    choose(app() / "DATA2");
    MainForm& f = *form;
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(readFile(app() / "Setup.ini"),
              "[SYSTEM]\r\nDRV=" + storedPath(app()) + "\r\nDATA_PATH=DATA2\\\r\n");
    EXPECT_EQ(f.state.dataDirectory, "DATA2\\");
    EXPECT_EQ(f.setup.Label36.caption(), "DATA2\\");
    for (dbf::Table* table : f.tables()) EXPECT_EQ(table->directory(), app() / "DATA2");
    EXPECT_EQ(f.Query1.value("N1").asInteger(), 42);
    EXPECT_EQ(f.DBF8.filter(), "R1 = 9");
    EXPECT_TRUE(std::filesystem::is_directory(app() / "Export"));
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Directory created OK"});

    // Back and forth again: Export exists, so nothing is said.
    dialogs.messages.clear();
    choose(app() / "data");
    EXPECT_EQ(f.setup.Label36.caption(), "data\\");
    EXPECT_EQ(f.Query1.value("N1").asInteger(), 1);
    choose(app() / "DATA2");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SetupTabTest, ReopenedTablesStartInNaturalOrderAndUnfiltered) {
    form->DBF9.setIndexFieldNames("SU2");     // ordered by a title click
    form->DBF3.setFilter("GHAZ2 = 'Lunch'");  // a meal filter
    form->DBF3.setFiltered(true);
    form->DBF8.setFilter("R1 = 7");
    choose(app() / "data");
    MainForm& f = *form;
    EXPECT_EQ(f.DBF9.indexFieldNames(), "");
    EXPECT_FALSE(f.DBF3.filtered());
    EXPECT_EQ(f.DBF3.filter(), "");
    // What the open sequence sets, it sets for the new directory: the first subject's recall.
    EXPECT_EQ(f.DBF8.filter(), "R1 = 7");
    EXPECT_TRUE(f.DBF8.filtered());
}

TEST_F(SetupTabTest, OnlyTheLastComponentOfTheChosenDirectoryCounts) {
    dbf::testing::TempDir elsewhere;
    std::filesystem::create_directory(elsewhere / "DATA2");
    choose(elsewhere / "DATA2");
    EXPECT_EQ(form->state.dataDirectory, "DATA2\\");
    EXPECT_EQ(form->DBF2.directory(), app() / "DATA2");
}

TEST_F(SetupTabTest, DirectoryMatchingNoSubdirectoryChangesNothing) {
    const std::string ini = readFile(app() / "Setup.ini");
    dbf::testing::TempDir elsewhere;
    std::filesystem::create_directory(elsewhere / "NOWHERE");
    choose(elsewhere / "NOWHERE");
    choose(app() / "BACKUP");  // a subdirectory, but without the tables
    EXPECT_EQ(readFile(app() / "Setup.ini"), ini);
    EXPECT_EQ(form->state.dataDirectory, "data\\");
    EXPECT_EQ(form->setup.Label36.caption(), "data\\");
    EXPECT_TRUE(form->DBF9.isOpen());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_FALSE(std::filesystem::exists(app() / "Export"));
}

TEST_F(SetupTabTest, DirectoryWithoutAllTablesKeepsTheNewSettingAndShowsTheError) {
    writeDataDirectory(app() / "DATA3");
    std::filesystem::remove(app() / "DATA3" / "KORAM.DBF");
    choose(app() / "DATA3");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("KORAM"), std::string::npos) << dialogs.errors[0];
    EXPECT_NE(readFile(app() / "Setup.ini").find("DATA_PATH=DATA3\\"), std::string::npos);
    EXPECT_EQ(form->setup.Label36.caption(), "DATA3\\");
    EXPECT_FALSE(form->DBF7.isOpen());
}

TEST_F(SetupTabTest, CalendarClickSetsTheWorkingDateOnly) {
    const std::string before = form->setup.DateLabel.caption();
    form->setup.MonthCalendar1.setDate(dateValue(2011, 7, 9));
    runHandler(*form, MonthCalendar1Click);
    EXPECT_EQ(form->state.workingDate, dateValue(2011, 7, 9));
    EXPECT_EQ(form->setup.DateLabel.caption(), before);
    EXPECT_EQ(form->foodAnalysis.TodayLabel.caption(), before);
}

TEST_F(SetupTabTest, ChangeDateStampsTheCurrentSubject) {
    MainForm& f = *form;
    f.DBF9.next();  // Reza, code 8
    f.setup.MonthCalendar1.setDate(dateValue(2011, 7, 9));
    runHandler(f, ChangeDateClick);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(f.state.workingDate, dateValue(2011, 7, 9));
    EXPECT_EQ(f.setup.DateLabel.caption(), "11/7/9");
    EXPECT_EQ(f.foodAnalysis.TodayLabel.caption(), "11/7/9");

    dbf::Table subjects;  // read back from the file
    subjects.setDirectory(app() / "data");
    subjects.setTableName("SUBJECTS.DBF");
    subjects.open();
    EXPECT_TRUE(subjects.value("SU7").isNull());
    subjects.next();
    EXPECT_EQ(subjects.value("SU1").asInteger(), 8);
    EXPECT_EQ(subjects.value("SU7").asDate(), dateValue(2011, 7, 9));
}

TEST_F(SetupTabTest, DisplayModeOfTheChosenEntry) {
    struct Case {
        int entry;
        int width, height;
        const char* message;
    };
    const Case cases[] = {{0, 960, 600, "Resolution changed to 960x600!"},
                          {3, 1152, 864, "Resolution changed to 1152x864!"},
                          {4, 1280, 720, "Resolution changed to 1280x720!"},
                          {7, 1440, 900, "Resolution changed to 1440x900!"}};
    for (const Case& c : cases) {
        display.requests.clear();
        dialogs.messages.clear();
        form->setup.ComboBox7.setItemIndex(c.entry);
        runHandler(*form, ButtonNEWClick);
        EXPECT_EQ(display.requests,
                  (std::vector<std::tuple<int, int, int>>{{c.width, c.height, 32}}));
        EXPECT_EQ(dialogs.messages, std::vector<std::string>{c.message});
    }
}

TEST_F(SetupTabTest, DisplayModeNotSwitchedOrNotChosenShowsNothing) {
    display.switches = false;
    form->setup.ComboBox7.setItemIndex(1);
    runHandler(*form, ButtonNEWClick);
    EXPECT_EQ(display.requests.size(), 1u);
    form->setup.ComboBox7.setItemIndex(-1);
    runHandler(*form, ButtonNEWClick);
    EXPECT_EQ(display.requests.size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace core::testing
