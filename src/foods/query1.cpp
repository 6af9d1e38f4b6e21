#include "query1.h"

#include "core/main_form.h"

namespace foods {

void showQuery1(core::MainForm& form) { form.foodProcessor.DBGrid2.setSource(&form.DataQuery1); }

void runQuery1(core::MainForm& form, std::vector<std::string> lines) {
    form.Query1.close();
    form.Query1.setSql(std::move(lines));
    form.Query1.setRequestLive(true);
    form.Query1.prepare();
    form.Query1.open();
}

}  // namespace foods
