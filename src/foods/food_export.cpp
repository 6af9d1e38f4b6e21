// The two exports. Each file is built whole in memory and then written, so an error on the
// way (a missing ranking column, an empty unit) leaves no half-written file behind.
#include "food_export.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "core/main_form.h"
#include "core/nutrient_grid.h"
#include "core/paths.h"
#include "core/text_boundary.h"

namespace foods {

namespace {

// Asks for the file: the US keyboard first, so a name can be typed; nothing when cancelled.
std::optional<std::string> askFileName(core::MainForm& form) {
    form.keyboard.activate(core::usEnglishLayout);
    core::SaveFileRequest request;
    request.title = "Save As";
    request.initialDirectory = form.state.exportDirectory;
    request.defaultExtension = "TXT";
    request.filters = {"Text files (*.txt)", "All files (*)"};
    return form.dialogs.saveFileName(request);
}

// Writes the bytes, replacing any file of that name; a file that cannot be written is
// removed again and the input/output error raised.
void writeFile(const std::string& fileName, const std::string& bytes) {
    const std::filesystem::path path = core::nativePath(fileName);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw std::runtime_error("Cannot create file \"" + fileName + "\". " +
                                 std::strerror(errno));
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        const int error = errno;
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw std::runtime_error("I/O error writing \"" + fileName + "\". " + std::strerror(error));
    }
}

// A value as the exports write it: numbers in the general number format, texts as stored
// (code page 1256), nothing for an empty field.
std::string fileText(const dbf::Value& value) { return value.isNull() ? "" : value.asString(); }

// The unit of the ranking column in the nutrient catalogue; the last one used when the
// catalogue does not name the column.
std::string rankingUnit(core::MainForm& form, const std::string& column) {
    form.DBF1.first();
    if (form.DBF1.locate("N6", dbf::Value::string(column)))
        form.state.rankingUnit = core::requiredText(form.DBF1.value("AN3"));
    return form.state.rankingUnit;
}

}  // namespace

void SaveFIleClick(core::MainForm& form) {
    const auto fileName = askFileName(form);
    if (!fileName) return;
    const std::string column = core::selectedNutrientColumn(form.foodProcessor.StringGrid1);
    const std::string unit = rankingUnit(form, column);
    dbf::Query& ranking = form.Query1;
    ranking.first();
    const int code = ranking.fieldIndex("N1"), name = ranking.fieldIndex("N2");
    const int amount = ranking.fieldIndex(column);  // the engine's error when not ranked by it
    std::string text = "CODE ; FOOD NAME ; Value in 100 gr; Unit\r\n";
    const auto rows = static_cast<std::size_t>(ranking.recordCount());
    text.reserve(text.size() + rows * 48);
    for (std::size_t row = 0; row < rows; ++row) {
        text += fileText(ranking.peek(row, code));
        text += ';';
        text += fileText(ranking.peek(row, name));
        text += ';';
        text += fileText(ranking.peek(row, amount));
        text += ';';
        text += unit;
        text += "\r\n";
    }
    writeFile(*fileName, text);
    ranking.first();
    form.foodProcessor.DBGrid2.redraw();
}

void ExportClick(core::MainForm& form) {
    const dbf::DataSet& contents = form.DBF4;
    if (!contents.isOpen() || contents.isEmpty()) {
        form.dialogs.showMessage(
            "The recipe has no ingredient to export: choose a recipe with contents and one of "
            "its ingredients first.");
        return;
    }
    const std::int64_t code = contents.value("CON2").asInteger();
    const auto fileName = askFileName(form);
    if (!fileName) return;
    form.DBF2.first();
    if (!form.DBF2.locate("N1", dbf::Value::integer(code))) return;
    std::string text = " LIST OF NUTRIENTS in 100 gr of " + fileText(form.DBF2.value("N2")) +
                       " CODE: " + core::codeLiteral(code) + "\r\n";
    dbf::Table& nutrients = form.DBF1;
    nutrients.first();
    for (int i = 1; i <= core::nutrientCount; ++i) {
        text += nutrients.value("AN5").asString() + " , " +
                fileText(form.DBF2.value("N" + std::to_string(i + 7))) + " , " +
                core::trimmed(core::requiredText(nutrients.value("AN3"))) + "\r\n";
        nutrients.next();
    }
    writeFile(*fileName, text);
}

}  // namespace foods
