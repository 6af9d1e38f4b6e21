#include "query1.h"

#include "core/main_form.h"

namespace foods {

void showQuery1(core::MainForm& form) { form.foodProcessor.DBGrid2.setSource(&form.DataQuery1); }

}  // namespace foods
