#pragma once
// The "Help" tab (TabSheet4): fixed text and a picture; the window opens on it.
#include "core/controls.h"

namespace core {

struct HelpTab : ControlOwner<HelpTab> {
    static constexpr const char* name = "TabSheet4";
    static constexpr const char* caption = "Help";

    Label HelpText{"HelpText",
                   "This program is able to analyze 112 nutrients of more than 5000 foods.\n"
                   "Utilities:\n"
                   "1- Food analysis: find foods by name, code or nutrient range, rank foods by "
                   "any nutrient and show a food's nutrient profile\n"
                   "2- Recipes: create recipes from foods and analyse their nutrient content\n"
                   "3- Food database editing: add, delete and edit foods and keep a short list of "
                   "favourite foods\n"
                   "4- Dietary evaluation: record a subject's 24-hour recall and analyse it "
                   "against the subject's recommended intakes, with charts\n"
                   "5- Weekly diet plans: compose plans of seven days and four meals, analyse a "
                   "meal or a day and copy a planned day into a recall\n"
                   "6- Subjects and recommended intakes"};
    Picture HelpPicture{"HelpPicture", "help.jpg"};
    Button CreateDatabases{"CreateDatabases", "Create Databses"};  // has no action

    HelpTab() { HelpPicture.setClickable(false); }
};

}  // namespace core
