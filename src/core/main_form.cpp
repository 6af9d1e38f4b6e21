#include "main_form.h"

#include "formats.h"
#include "report/text_helpers.h"

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
    configureReports();
    m_previousNotices = dbf::setNoticeHandler(
        [&d = this->dialogs](const std::string& text) { d.showMessage(text); });
}

MainForm::~MainForm() { dbf::setNoticeHandler(m_previousNotices); }

void MainForm::configureReports() {
    ARWordReport1.Filename = "DIET.DOC";
    ARWordReport1.DataSetList().addDataSet(&DBF7, "REGIM");
    ARWordReport1.DataSetList().addDataSet(&DBF5, "DS2");
    ARWordReport1.DataSetList().addDataSet(&DBF9, "DS3");
    ARWordReport2.Filename = "REPORT1.doc";
    ARWordReport2.DataSetList().addDataSet(&DBF8, "24H");
    ARWordReport2.DataSetList().addDataSet(&DBF9, "DS2");
    for (report::TARWordReport* r : {&ARWordReport1, &ARWordReport2}) {
        r->AnsiCodePage = 1256;
        r->OnGetFieldValueForRender = [this](report::TARWordReport& sender,
                                             const report::FieldRef& field,
                                             report::RenderValue& value) {
            ARWordReport1GetFieldValueForRender(sender, field, value);
        };
        r->platform.startWordProcessor = [this] {
            return std::make_shared<wordproc::Application>(documentViewer);
        };
        r->platform.confirm = [this](const std::string& q) { return dialogs.askYesNo(q); };
        r->platform.showError = [this](const std::string& e) { dialogs.showError(e); };
        r->platform.dateTimeText = [](double days, bool) { return shortDate(days); };
    }
}

void MainForm::ARWordReport1GetFieldValueForRender(report::TARWordReport&,
                                                   const report::FieldRef& field,
                                                   report::RenderValue& value) {
    auto type = field.info().type;
    if (type != dbf::DataType::String && type != dbf::DataType::Memo) return;
    dbf::Value v = field.value();
    if (!v.isText()) return;
    value = report::RenderValue::ofText(report::helpers::codePageToUnicode(v.bytes(), 1256));
}

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
