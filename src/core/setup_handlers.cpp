#include "setup_handlers.h"

#include <system_error>

#include "formats.h"
#include "ini_file.h"
#include "main_form.h"
#include "open_sequence.h"
#include "paths.h"
#include "startup.h"

namespace core {
namespace {

struct DisplayMode {
    int width, height;
};
// The size each entry of ComboBox7 sets; entries 3 and 4 set other sizes than they show.
constexpr DisplayMode displayModes[] = {{960, 600},  {1024, 768}, {1088, 612}, {1152, 864},
                                        {1280, 720}, {1280, 800}, {1360, 768}, {1440, 900}};

}  // namespace

std::string lastPathComponent(const std::string& storedPath) {
    const auto slash = storedPath.rfind('\\');
    return slash == std::string::npos ? storedPath : storedPath.substr(slash + 1);
}

void Button50Click(MainForm& form) {
    AppState& state = form.state;
    const std::string selected = storedPath(form.setup.DirectoryListBox1.directory());
    const std::string candidate = lastPathComponent(selected) + "\\";
    std::error_code ec;
    if (!std::filesystem::exists(
            nativePath(state.applicationDirectory + candidate + "SUBJECTS.dbf"), ec))
        return;

    const auto iniPath = nativePath(state.applicationDirectory + "Setup.ini");
    // An unreadable Setup.ini is written anew; one that cannot be written is reported, and
    // the directory is switched all the same (for this run).
    IniFile ini;
    try {
        ini = IniFile::load(iniPath);
    } catch (const std::exception&) {
    }
    ini.setValue("SYSTEM", "DRV", storedPath(form.currentDirectory()));
    ini.setValue("SYSTEM", "DATA_PATH", candidate);
    try {
        ini.save(iniPath);
    } catch (const std::exception& e) {
        form.dialogs.showError(std::string(e.what()) + ". The data directory is " + candidate +
                               " for this run only.");
    }

    state.dataDirectory = candidate;
    form.setup.Label36.setCaption(candidate);
    form.closeTables();
    OpenDBF(form);
    createDirectoryWithMessage(form, state.applicationDirectory + "Export", "Directory created OK");
}

void MonthCalendar1Click(MainForm& form) {
    form.state.workingDate = form.setup.MonthCalendar1.date();
}

void ChangeDateClick(MainForm& form) {
    form.state.workingDate = form.setup.MonthCalendar1.date();
    form.DBF9.edit();
    form.DBF9.setValue("SU7", dbf::Value::date(form.state.workingDate));
    form.DBF9.post();
    form.subject.DBGrid7.redraw();
    const std::string text = shortDate(form.state.workingDate);
    form.foodAnalysis.TodayLabel.setCaption(text);
    form.setup.DateLabel.setCaption(text);
}

bool ChangeResolution(MainForm& form, int width, int height, int bitsPerPixel) {
    return form.displayModes.changeResolution(width, height, bitsPerPixel);
}

void ButtonNEWClick(MainForm& form) {
    const int index = form.setup.ComboBox7.itemIndex();
    if (index < 0 || index >= static_cast<int>(std::size(displayModes))) return;
    const DisplayMode mode = displayModes[index];
    if (ChangeResolution(form, mode.width, mode.height, 32))
        form.dialogs.showMessage("Resolution changed to " + std::to_string(mode.width) + "x" +
                                 std::to_string(mode.height) + "!");
}

}  // namespace core
