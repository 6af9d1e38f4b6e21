#pragma once
// The "Setup" tab (TabSheet21): the data directory, the working date and the display mode.
#include "core/controls.h"

namespace core {

struct SetupTab : ControlOwner<SetupTab> {
    static constexpr const char* name = "TabSheet21";
    static constexpr const char* caption = "Setup";

    DirectoryList DirectoryListBox1{"DirectoryListBox1"};
    Button Button50{"Button50", "Open New Directory"};
    Label DataDirectoryCaption{"DataDirectoryCaption", "Data Directory:"};
    Label Label36{"Label36"};  // the data directory as stored

    Calendar MonthCalendar1{"MonthCalendar1"};
    Button ChangeDate{"ChangeDate", "Change Date"};
    Label DateCaption{"DateCaption", "Date:"};
    Label DateLabel{"DateLabel"};  // the working date in the short date format

    Label ResolutionCaption{"ResolutionCaption", "Display resolution:"};
    ComboBox ComboBox7{"ComboBox7"};
    Button Button48{"Button48", "Change Dispaly Resolution"};

    SetupTab() {
        ComboBox7.setItems({"960x600", "1024x768", "1088x612", "1152x720", "1280x768", "1280x800",
                            "1360x768", "1440x900"});
    }
};

}  // namespace core
