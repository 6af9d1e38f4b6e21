#include "main_form.h"

namespace core {

MainForm::MainForm(std::filesystem::path currentDirectory, Dialogs& dialogs,
                   DisplayModes& displayModes)
    : dialogs(dialogs),
      displayModes(displayModes),
      PageControl1("PageControl1", {{WeeklyPlansTab::name, WeeklyPlansTab::caption},
                                    {FoodProcessorTab::name, FoodProcessorTab::caption},
                                    {EditFoodDatabaseTab::name, EditFoodDatabaseTab::caption},
                                    {FoodAnalysisTab::name, FoodAnalysisTab::caption},
                                    {SubjectTab::name, SubjectTab::caption},
                                    {SetupTab::name, SetupTab::caption},
                                    {HelpTab::name, HelpTab::caption}}),
      m_currentDirectory(std::move(currentDirectory)) {
    PageControl1.rightToLeft = true;
    PageControl1.setActiveIndex(6);  // "Help"
    DBF9.setFilter("SU1>0");         // as the window defines it; never switched on
    bindDataControls();
    m_previousNotices = dbf::setNoticeHandler(
        [&d = this->dialogs](const std::string& text) { d.showMessage(text); });
}

MainForm::~MainForm() { dbf::setNoticeHandler(m_previousNotices); }

void MainForm::bindDataControls() {
    editFoodDatabase.DBGrid8.setSource(&DataSource2);
    foodProcessor.GhazahaGrid.setSource(&DataSource3);
    foodProcessor.DBMemo1.bind(&DBF3, "GHAZ5");
    weeklyPlans.DBGrid4.setSource(&DataSource3);
    foodAnalysis.DBGridRES24.setSource(&DataSource3);
    foodProcessor.DBGrid1.setSource(&DataSource4);
    weeklyPlans.DBGrid3.setSource(&DataSource5);
    weeklyPlans.SNACKDBGrid.setSource(&DataSource6);
    foodAnalysis.DBGrid5.setSource(&DataSource6);
    for (DataGrid* grid : weeklyPlans.mealGrids()) grid->setSource(&DataSource7);
    weeklyPlans.DBMemo2.bind(&DBF7, "D8");
    foodAnalysis.DBGrid9.setSource(&DataSource8);
    subject.DBGrid7.setSource(&DataSource9);
    weeklyPlans.DBGrid11.setSource(&DataSource9);
    foodAnalysis.DBGrid10.setSource(&DataSource9);
    foodProcessor.DBGrid2.setSource(&DataQuery1);
}

void MainForm::closeTables() {
    for (dbf::Table* table : tables()) table->close();
    Query1.close();
    Query2.close();
}

void MainForm::terminate() {
    m_terminated = true;
    terminateRequested.emit();
}

}  // namespace core
