#include "startup.h"

#include <cctype>
#include <system_error>

#include "formats.h"
#include "ini_file.h"
#include "main_form.h"
#include "open_sequence.h"
#include "paths.h"

namespace core {
namespace {

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Leftover temporary query tables of the engine; whatever cannot be removed stays.
void removeQueryLeftovers(const std::filesystem::path& dir) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = upper(it->path().filename().string());
        if (name.size() >= 9 && name.starts_with("_QSQL") && name.ends_with(".DBF")) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

}  // namespace

void createDirectoryWithMessage(MainForm& form, const std::string& storedDir,
                                const std::string& createdMessage) {
    const auto dir = nativePath(storedDir);
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec)) return;
    if (std::filesystem::create_directory(dir, ec) && !ec) {
        form.dialogs.showMessage(createdMessage);
        return;
    }
    const int code = ec ? ec.value() : static_cast<int>(std::errc::file_exists);
    form.dialogs.showMessage("Directory creation failed with error " + std::to_string(code));
}

void Form1create(MainForm& form) {
    AppState& state = form.state;
    SetupTab& setup = form.setup;
    const std::string current = storedPath(form.currentDirectory());

    setup.ComboBox7.setItemIndex(1);  // "1024x768"
    createDirectoryWithMessage(form, current + "\\BACKUP", "BACKUP Directory created");
    form.keyboard.activate(persianLayout);
    form.foodProcessor.DBF.setChecked(true);
    // Dates become text in the short date format "yy/m/d" everywhere (shortDate).

    state.applicationDirectory = current + "\\";
    const auto iniPath = nativePath(state.applicationDirectory + "Setup.ini");
    std::error_code ec;
    if (std::filesystem::exists(iniPath, ec)) {
        // A file that cannot be read leaves the defaults, not a program without tables;
        // choosing a directory on the Setup tab writes the file anew.
        try {
            const IniFile ini = IniFile::load(iniPath);
            state.dataDirectory = ini.value("SYSTEM", "DATA_PATH").value_or("DATA\\");
        } catch (const std::exception& e) {
            state.dataDirectory = "DATA\\";
            form.dialogs.showError(std::string(e.what()) +
                                   ". Halvora goes on with the data directory DATA\\; choosing "
                                   "a directory on the Setup tab writes Setup.ini anew.");
        }
    } else {
        IniFile ini;
        ini.setValue("SYSTEM", "DRV", current);
        ini.setValue("SYSTEM", "DATA_PATH", "data\\");
        ini.save(iniPath);
        state.dataDirectory = "data\\";
    }
    setup.DirectoryListBox1.setDirectory(nativePath(state.tableDirectory()).string());
    state.exportDirectory = state.applicationDirectory + "EXPORT\\";
    setup.Label36.setCaption(state.dataDirectory);

    setup.MonthCalendar1.setDate(today());
    setup.MonthCalendar1.setMarkToday(true);
    state.workingDate = setup.MonthCalendar1.date();
    const std::string dateText = shortDate(state.workingDate);
    form.foodAnalysis.TodayLabel.setCaption(dateText);
    setup.DateLabel.setCaption(dateText);

    removeQueryLeftovers(form.currentDirectory());
    form.closeTables();
    form.foodProcessor.SaveFIle.setEnabled(false);
    OpenDBF(form);
}

void FormClose(MainForm& form) {
    form.closeTables();
    form.Form2.close();
    form.Form3.close();
    form.Form4.close();
    form.terminate();
}

}  // namespace core
