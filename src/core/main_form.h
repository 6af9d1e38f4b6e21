#pragma once
// The main window as a model: it owns, for the life of the process, the nine tables, the
// two queries, the data sources that bind them to grids, the application state, the
// seven tab models and the three secondary windows.
#include <array>
#include <filesystem>
#include <string>

#include "app_state.h"
#include "controls.h"
#include "dbf/notices.h"
#include "dbf/query.h"
#include "dbf/table.h"
#include "dialogs.h"
#include "energy_chart_window.h"
#include "food_analysis_chart_window.h"
#include "platform.h"
#include "report/ar_word_report.h"
#include "result_window.h"
#include "signal.h"
#include "tabs/edit_food_database_tab.h"
#include "tabs/food_analysis_tab.h"
#include "tabs/food_processor_tab.h"
#include "tabs/help_tab.h"
#include "tabs/setup_tab.h"
#include "tabs/subject_tab.h"
#include "tabs/weekly_plans_tab.h"

namespace core {

class MainForm {
  public:
    static constexpr const char* applicationTitle = "HALVORA";
    static constexpr const char* caption = "Halvora Software";

    // `currentDirectory` is the process's current directory at start-up (the program
    // passes it; tests pass a temporary directory). Engine notices are shown through
    // `dialogs` while the form lives.
    MainForm(std::filesystem::path currentDirectory, Dialogs& dialogs, DisplayModes& displayModes);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    const std::filesystem::path& currentDirectory() const { return m_currentDirectory; }

    // Tables, in the order the open sequence opens them.
    dbf::Table DBF1;    // nutrients.DBF
    dbf::Table DBF2;    // Foods.DBF
    dbf::Table DBF3;    // Recipe.DBF
    dbf::Table DBF4;    // CONTENTS.DBF
    dbf::Table DBF5;    // WEEKLY.DBF
    dbf::Table DBF6;    // LIST.DBF
    dbf::Table DBF7;    // KORAM.DBF
    dbf::Table DBF8;    // RECAL.DBF
    dbf::Table DBF9;    // SUBJECTS.DBF
    dbf::Query Query1;  // food listings, searches, rankings
    dbf::Query Query2;  // one-row sums

    DataSource DataSource1{"DataSource1", &DBF1};
    DataSource DataSource2{"DataSource2", &DBF2};
    DataSource DataSource3{"DataSource3", &DBF3};
    DataSource DataSource4{"DataSource4", &DBF4};
    DataSource DataSource5{"DataSource5", &DBF5};
    DataSource DataSource6{"DataSource6", &DBF6};
    DataSource DataSource7{"DataSource7", &DBF7};
    DataSource DataSource8{"DataSource8", &DBF8};
    DataSource DataSource9{"DataSource9", &DBF9};
    DataSource DataSource10{"DataSource10", &Query2};
    DataSource DataQuery1{"DataQuery1", &Query1};
    DataSource DataQuery2{"DataQuery2", &Query2};

    AppState state;
    Dialogs& dialogs;
    DisplayModes& displayModes;
    KeyboardLayout keyboard;

    // The tabs, in the order the window shows them.
    WeeklyPlansTab weeklyPlans;
    FoodProcessorTab foodProcessor;
    EditFoodDatabaseTab editFoodDatabase;
    FoodAnalysisTab foodAnalysis;
    SubjectTab subject;
    SetupTab setup;
    HelpTab help;
    PageControl PageControl1;  // the tab control, right to left, opening on "Help"

    // The template reports: the weekly plan (Diet.doc) and the recall (Report1.doc).
    report::TARWordReport ARWordReport1;
    report::TARWordReport ARWordReport2;
    // Where finished reports are shown: the program sets the desktop's viewer; without
    // one a report is filled and kept in the temporary directory only.
    wordproc::DocumentViewer* documentViewer = nullptr;
    // Both reports' field-value handler: text fields hold code page 1256.
    void ARWordReport1GetFieldValueForRender(report::TARWordReport& sender,
                                             const report::FieldRef& field,
                                             report::RenderValue& value);

    ResultWindow Form2;             // TForm2
    EnergyChartWindow Form3;        // TForm3
    FoodAnalysisChartWindow Form4;  // TForm4

    std::array<dbf::Table*, 9> tables() {
        return {&DBF1, &DBF2, &DBF3, &DBF4, &DBF5, &DBF6, &DBF7, &DBF8, &DBF9};
    }
    // Closes DBF1..DBF9, then Query1 and Query2.
    void closeTables();

    // The close sequence has run; the program ends its event loop.
    bool terminated() const { return m_terminated; }
    void terminate();
    Signal terminateRequested;

  private:
    void bindDataControls();
    void configureReports();

    std::filesystem::path m_currentDirectory;
    dbf::NoticeHandler m_previousNotices;
    bool m_terminated = false;
};

}  // namespace core
