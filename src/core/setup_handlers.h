#pragma once
// Handlers of the "Setup" tab: the data directory, the working date, the display mode.
#include <string>

namespace core {

class MainForm;

// "Open New Directory": switches to the application's subdirectory named like the last
// component of the directory chosen in DirectoryListBox1, when it holds SUBJECTS.dbf.
void Button50Click(MainForm& form);
// A click on the calendar: the working date follows it; the date labels keep their text.
void MonthCalendar1Click(MainForm& form);
// "Change Date": the working date follows the calendar and stamps the current subject.
void ChangeDateClick(MainForm& form);
// "Change Dispaly Resolution": the mode of the entry chosen in ComboBox7.
void ButtonNEWClick(MainForm& form);
bool ChangeResolution(MainForm& form, int width, int height, int bitsPerPixel);

// The last component of a stored path: what follows its last backslash (the whole text
// when it has none).
std::string lastPathComponent(const std::string& storedPath);

}  // namespace core
