#include "subject_tab.h"

namespace core {

SubjectTab::SubjectTab() {
    DBGrid7.setColumns(gridColumns({{"SU1", "Code"},
                                    {"SU2", "Name"},
                                    {"SU3", "Age"},
                                    {"SU4", "Height"},
                                    {"SU5", "Weight"},
                                    {"SU6", "Sex"},
                                    {"SU7", "Date"},
                                    {"SU8", "ENERGY RDA"},
                                    {"SU9", "CHO RDA%"},
                                    {"SU10", "Protein RDA%"},
                                    {"SU11", "FAT RDA%"}}));
    DelSubjectButton.setHint("Delete Subject");
}

}  // namespace core
