#pragma once
// Start-up and close of the main window.
#include <filesystem>
#include <string>

namespace core {

class MainForm;

// The start-up sequence, run while the main window is created: display mode entry,
// BACKUP directory, keyboard layout, directories and Setup.ini, working date, leftover
// query files, then the open sequence.
void Form1create(MainForm& form);

// The close sequence: closes every table and query and the three secondary windows, then
// ends the application.
void FormClose(MainForm& form);

// Creates `dir` when it does not exist (names matched without regard to case): shows
// `createdMessage` on success, "Directory creation failed with error %d" on failure.
void createDirectoryWithMessage(MainForm& form, const std::string& storedDir,
                                const std::string& createdMessage);

}  // namespace core
