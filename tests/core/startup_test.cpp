// Start-up and close: Setup.ini, the BACKUP directory, directories, working date, leftovers.
#include "core/startup.h"

#include <unistd.h>

#include <functional>
#include <map>

#include "app_fixture.h"
#include "core/formats.h"
#include "core/run_handler.h"
#include "core/setup_handlers.h"

namespace core::testing {
namespace {

class StartupTest : public AppTest {};

TEST_F(StartupTest, FirstStartCreatesSetupIniAndOpensTheDataSubdirectory) {
    writeDataDirectory(app() / "data");
    MainForm& f = start();

    EXPECT_EQ(readFile(app() / "Setup.ini"),
              "[SYSTEM]\r\nDRV=" + storedPath(app()) + "\r\nDATA_PATH=data\\\r\n");
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(f.state.applicationDirectory, appStored());
    EXPECT_EQ(f.state.dataDirectory, "data\\");
    EXPECT_EQ(f.state.exportDirectory, appStored() + "EXPORT\\");
    EXPECT_EQ(f.setup.Label36.caption(), "data\\");
    EXPECT_EQ(f.setup.DirectoryListBox1.directory(), (app() / "data").string());
    for (dbf::Table* table : f.tables()) {
        EXPECT_TRUE(table->isOpen()) << table->tableName();
        EXPECT_EQ(table->directory(), app() / "data");
    }
    EXPECT_TRUE(f.Query1.isOpen());

    // The other start-up states.
    EXPECT_EQ(f.setup.ComboBox7.itemIndex(), 1);
    EXPECT_EQ(f.setup.ComboBox7.text(), "1024x768");
    EXPECT_EQ(f.keyboard.activeLayout(), "00000429");
    EXPECT_TRUE(f.foodProcessor.DBF.checked());
    EXPECT_FALSE(f.foodProcessor.SaveFIle.enabled());
    EXPECT_EQ(f.PageControl1.pages().at(f.PageControl1.activeIndex()).caption, "Help");
    EXPECT_TRUE(std::filesystem::is_directory(app() / "BACKUP"));
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"BACKUP Directory created"});
    EXPECT_FALSE(std::filesystem::exists(app() / "EXPORT"));
}

TEST_F(StartupTest, DataPathOfSetupIniNamesTheTableDirectory) {
    DataContent other;
    other.foods = {{I(42), S("Other"), S("digar")}};
    writeDataDirectory(app() / "data");
    writeDataDirectory(app() / "DATA2", other);
    std::filesystem::create_directory(app() / "BACKUP");
    const std::string ini = "[SYSTEM]\r\nDRV=C:\\HALVORA\r\nDATA_PATH=DATA2\\\r\n";
    writeFile(app() / "Setup.ini", ini);
    MainForm& f = start();

    EXPECT_EQ(f.state.dataDirectory, "DATA2\\");
    EXPECT_EQ(f.setup.Label36.caption(), "DATA2\\");
    EXPECT_EQ(f.DBF2.directory(), app() / "DATA2");
    ASSERT_EQ(f.Query1.recordCount(), 1);
    EXPECT_EQ(f.Query1.value("N1").asInteger(), 42);
    EXPECT_EQ(readFile(app() / "Setup.ini"), ini);  // read, never rewritten
    EXPECT_TRUE(dialogs.messages.empty());          // BACKUP was there
}

TEST_F(StartupTest, SetupIniWithoutDataPathMeansDataFoundWithoutRegardToCase) {
    writeDataDirectory(app() / "data");
    writeFile(app() / "setup.INI", "[SYSTEM]\r\nDRV=C:\\HALVORA\r\n");
    MainForm& f = start();
    EXPECT_EQ(f.state.dataDirectory, "DATA\\");
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(f.DBF1.directory(), app() / "data");
    EXPECT_FALSE(std::filesystem::exists(app() / "Setup.ini"));
}

TEST_F(StartupTest, AnUnreadableSetupIniIsReportedAndTheDefaultsServeUntilANewOneIsWritten) {
    writeDataDirectory(app() / "data");
    writeDataDirectory(app() / "DATA2");
    std::filesystem::create_directories(app() / "Setup.ini");  // not a file
    MainForm& f = start();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("Setup.ini"), std::string::npos);
    EXPECT_EQ(f.state.dataDirectory, "DATA\\");
    EXPECT_TRUE(f.DBF2.isOpen());  // the tables are there
    // Open New Directory still switches, and says that the choice could not be stored.
    f.setup.DirectoryListBox1.setDirectory((app() / "DATA2").string());
    runHandler(f, Button50Click);
    EXPECT_EQ(f.state.dataDirectory, "DATA2\\");
    EXPECT_EQ(f.DBF2.directory(), app() / "DATA2");
    ASSERT_EQ(dialogs.errors.size(), 2u);
    EXPECT_NE(dialogs.errors[1].find("for this run only"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(app() / "Setup.ini.new"));

    // A Setup.ini that can be read again is written as usual.
    std::filesystem::remove(app() / "Setup.ini");
    writeFile(app() / "Setup.ini", std::string("\xFF\xFE garbage\r\n"));
    runHandler(f, Button50Click);
    EXPECT_EQ(dialogs.errors.size(), 2u);
    EXPECT_NE(readFile(app() / "Setup.ini").find("DATA_PATH=DATA2\\"), std::string::npos);
}

// A damaged data directory: the start-up shows what is wrong, naming the table, and
// changes no file (what is there may still be saved by hand).
TEST_F(StartupTest, ADamagedDataDirectoryIsReportedAndLeftAsItWas) {
    struct Damage {
        const char* what;
        std::function<void(const std::filesystem::path&)> apply;
        const char* named;
    };
    const Damage damages[] = {
        {"a truncated table",
         [](const std::filesystem::path& d) {
             std::filesystem::resize_file(d / "FOODS.DBF",
                                          std::filesystem::file_size(d / "FOODS.DBF") - 40);
         },
         "FOODS.DBF"},
        {"a missing memo file",
         [](const std::filesystem::path& d) {
             for (const auto& e : std::filesystem::directory_iterator(d))
                 if (e.path().extension() == ".FPT" || e.path().extension() == ".fpt")
                     if (e.path().stem() == "RECIPE") std::filesystem::remove(e.path());
         },
         "RECIPE"},
        {"a table that cannot be read",
         [](const std::filesystem::path& d) {
             std::filesystem::permissions(d / "KORAM.DBF", std::filesystem::perms::none);
         },
         "KORAM"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        form.reset();
        std::filesystem::remove_all(app() / "data");
        writeDataDirectory(app() / "data");
        damage.apply(app() / "data");
        std::map<std::string, std::string> before;
        for (const auto& e : std::filesystem::directory_iterator(app() / "data"))
            if (e.is_regular_file() && ::access(e.path().c_str(), R_OK) == 0)
                before[e.path().filename().string()] = readFile(e.path());
        dialogs.errors.clear();
        dialogs.messages.clear();
        if (::geteuid() == 0 && std::string(damage.what) == "a table that cannot be read") {
            std::filesystem::permissions(app() / "data" / "KORAM.DBF",
                                         std::filesystem::perms::owner_all);
            continue;  // root reads every file
        }
        start();
        std::string shown;
        for (const auto& e : dialogs.errors) shown += e + "\n";
        for (const auto& m : dialogs.messages) shown += m + "\n";
        EXPECT_NE(shown.find(damage.named), std::string::npos) << shown;
        for (const auto& [name, bytes] : before)
            EXPECT_EQ(readFile(app() / "data" / name), bytes) << name << " was changed";
        std::filesystem::permissions(app() / "data" / "KORAM.DBF",
                                     std::filesystem::perms::owner_all);
    }
}

TEST_F(StartupTest, BackupThatCannotBeCreatedIsReportedAndStartUpGoesOn) {
    writeDataDirectory(app() / "data");
    writeFile(app() / "BACKUP", "a file in the way");
    MainForm& f = start();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Directory creation failed with error " +
                                                         std::to_string(EEXIST)});
    EXPECT_TRUE(f.DBF9.isOpen());
}

TEST_F(StartupTest, DateLabelsShowTodayInTheShortDateFormat) {
    writeDataDirectory(app() / "data");
    MainForm& f = start();
    const double now = today();
    EXPECT_EQ(f.state.workingDate, now);
    EXPECT_EQ(f.setup.MonthCalendar1.date(), now);
    EXPECT_TRUE(f.setup.MonthCalendar1.markToday());
    EXPECT_EQ(f.foodAnalysis.TodayLabel.caption(), shortDate(now));
    EXPECT_EQ(f.setup.DateLabel.caption(), shortDate(now));
}

TEST_F(StartupTest, LeftoverQueryTablesAreRemovedFromTheCurrentDirectory) {
    writeDataDirectory(app() / "data");
    for (const char* name : {"_QSQL1.DBF", "_qsql27.dbf", "_QSQL.TXT", "QSQL2.DBF"})
        writeFile(app() / name, "x");
    start();
    EXPECT_FALSE(std::filesystem::exists(app() / "_QSQL1.DBF"));
    EXPECT_FALSE(std::filesystem::exists(app() / "_qsql27.dbf"));
    EXPECT_TRUE(std::filesystem::exists(app() / "_QSQL.TXT"));
    EXPECT_TRUE(std::filesystem::exists(app() / "QSQL2.DBF"));
}

TEST_F(StartupTest, CloseSequenceClosesTablesAndWindowsAndEnds) {
    writeDataDirectory(app() / "data");
    MainForm& f = start();
    int windowsClosed = 0;
    for (Signal* s : {&f.Form2.closeRequested, &f.Form3.closeRequested, &f.Form4.closeRequested})
        s->connect([&] { ++windowsClosed; });
    bool ended = false;
    f.terminateRequested.connect([&] { ended = true; });

    FormClose(f);
    for (dbf::Table* table : f.tables()) EXPECT_FALSE(table->isOpen());
    EXPECT_FALSE(f.Query1.isOpen());
    EXPECT_EQ(windowsClosed, 3);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(f.terminated());
}

TEST_F(StartupTest, EngineNoticesAreShownAsMessages) {
    MainForm& f = makeForm();
    dbf::notice("Tag SU2 could not be rebuilt");
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Tag SU2 could not be rebuilt"});
    (void)f;
}

}  // namespace
}  // namespace core::testing
