#pragma once
// The "Subject" tab (TabSheet11): the register of subjects and their recommended intakes.
#include "core/controls.h"

namespace core {

struct SubjectTab : ControlOwner<SubjectTab> {
    static constexpr const char* name = "TabSheet11";
    static constexpr const char* caption = "Subject";

    Label Label9{"Label9", "Subject's Information"};
    DataGrid DBGrid7{"DBGrid7"};  // SUBJECTS.DBF: SU1 .. SU11, editable
    Button AddSubj{"AddSubj", "ADD"};
    Button Button46{"Button46", "ADD Existing Subject"};
    Button DelSubjectButton{"DelSubjectButton"};
    Button Button49{"Button49", "Save"};
    Label Label12{"Label12", "Male=0  Female=1"};

    SubjectTab();
};

}  // namespace core
