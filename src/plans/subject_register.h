#pragma once
// The register of subjects on the "Subject" tab (SUBJECTS.DBF): one row a subject at one
// visit. The current row is the current subject of the whole program.

namespace core {
class MainForm;
}

namespace plans {

// "ADD": a new subject, one code higher than the highest, with sex 0 and the working date.
void AddSubjClick(core::MainForm& form);
// "ADD Existing Subject": a new visit of the current subject (code and name) today.
void Button46Click(core::MainForm& form);
// The delete button: the current row goes, at once.
void DelSubjectButtonClick(core::MainForm& form);
// "Save": the current row is posted.
void Button49Click(core::MainForm& form);
// A click on a column title of DBGrid7: the rows in the order of the table's index of that
// column, when it has one other than its first; the clicked title bold.
void DBGrid7TitleClick(core::MainForm& form);

}  // namespace plans
