#include "weekly_plans_tab.h"

#include "core/chart.h"

namespace core {

WeeklyPlansTab::WeeklyPlansTab() {
    DBGrid3.setColumns(gridColumns({{"W1", "Code"}, {"W2", "Name"}}));
    DelWDiet.font.color = colors::red;
    BitBtn4.setHint("Delete");

    // The open sequence enables and checks Saturday once the plan view is in place.
    Saturday.setEnabled(false);
    const char* dayNames[] = {"شنبه", "يکشنبه", "دوشنبه", "سه شنبه", "چهارشنبه", "پنجشنبه", "جمعه"};
    Picture* pictures[] = {&Image3, &Image4, &Image5, &Image6, &Image7, &Image8, &Image9};
    for (int i = 0; i < 7; ++i) pictures[i]->setCaption(dayNames[i]);

    PageControl3.setActiveIndex(3);  // "After Dinner" shows first
    for (DataGrid* grid : mealGrids()) {
        grid->setColumns(gridColumns({{"D5", "CODE"}, {"D6", "NAME"}, {"D7", "AMOUNT"}}));
        grid->setVisible(false);
    }

    DBGrid4.setColumns(
        gridColumns({{"GHAZ1", "Code"}, {"GHAZ2", "VADEH"}, {"GHAZ3", "NAME"}}, true));
    DBGrid4.setReadOnly(true);
    DBGrid4.setVisible(false);
    DBGrid4.setEnabled(false);
    SNACKDBGrid.setColumns(gridColumns({{"L1", "Code"}, {"L2", "Food"}}, true));
    SNACKDBGrid.setReadOnly(true);

    BitBtn5.setHint("DAILY CHART");
    WDIETGRID.scrollBars = false;

    DBGrid11.setColumns(gridColumns({{"SU1", "CODE"}, {"SU2", "Name"}}, true));
    DBGrid11.setReadOnly(true);
    Image2.setHint("Copy Diet to Analysis Daily Diet");
    Report1.setHint("Preview Weekly Diet");
}

}  // namespace core
