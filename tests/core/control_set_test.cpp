// The controls a tab or window model declares enrol with it, in declaration order, and with
// no other model, so that a walk over a page meets every control once.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/controls.h"
#include "core/tabs/setup_tab.h"
#include "core/tabs/weekly_plans_tab.h"

namespace {

std::vector<std::string> namesOf(const core::ControlSet& set) {
    std::vector<std::string> names;
    for (const core::Control* control : set.controls()) names.push_back(control->name());
    return names;
}

TEST(ControlSet, AModelListsItsOwnControlsInDeclarationOrder) {
    core::SetupTab setup;
    EXPECT_EQ(namesOf(setup), (std::vector<std::string>{
                                  "DirectoryListBox1", "Button50", "DataDirectoryCaption",
                                  "Label36", "MonthCalendar1", "ChangeDate", "DateCaption",
                                  "DateLabel", "ResolutionCaption", "ComboBox7", "Button48"}));
}

TEST(ControlSet, ControlsOutsideAModelAndOfAnotherModelAreNotListed) {
    auto first = std::make_unique<core::SetupTab>();
    core::Button loose("Loose");  // made while a model lives, outside its storage
    auto plans = std::make_unique<core::WeeklyPlansTab>();
    EXPECT_EQ(first->controls().size(), 11u);
    const auto names = namesOf(*plans);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Loose"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Saturday"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Image9"), 1);  // declared on one line
    // A model made where another one was keeps to its own controls.
    first.reset();
    core::SetupTab second;
    EXPECT_EQ(second.controls().size(), 11u);
}

}  // namespace
