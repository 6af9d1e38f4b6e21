#pragma once
// Field values as text (for the data pool and REPFOR) and as the document shows them,
// and the placing of pictures and formatted text in place of a tag.
#include <optional>
#include <string>

#include "report/pipeline/run.h"

namespace report::pipeline {

// A picture (blob content with a picture signature), formatted text (a memo or blob
// starting with "{\rtf") or anything else.
enum class FieldContent { Picture, FormattedText, Plain };
FieldContent contentOf(const dbf::DataSet& ds, int field);

// The field's plain text (text fields through the component's code page).
std::string plainText(const Run& run, const dbf::DataSet& ds, int field);
// The rendering for text, after OnGetSQLValue.
std::string textValue(Run& run, const dbf::DataSet& ds, int field);
// The rendering for the document, after OnGetFieldValueForRender.
RenderValue documentValue(Run& run, const dbf::DataSet& ds, int field);
std::string documentText(const Run& run, const RenderValue& value);
inline std::string documentTextOf(Run& run, const dbf::DataSet& ds, int field) {
    return documentText(run, documentValue(run, ds, field));
}

// Every `tag` from the selection forward (or inside `within`) becomes the field's picture
// or formatted text; a null field deletes the tag.
void replaceTagByPicture(Run& run, const std::string& tag, const dbf::DataSet& ds, int field,
                         std::optional<wordproc::Range> within = std::nullopt);
void replaceTagByFormattedText(Run& run, const std::string& tag, const dbf::DataSet& ds, int field,
                               std::optional<wordproc::Range> within = std::nullopt);
// Picture, formatted text or the document rendering, as the field's content asks.
void replaceTagByField(Run& run, const std::string& tag, const dbf::DataSet& ds, int field,
                       std::optional<wordproc::Range> within = std::nullopt);

bool isNumericType(dbf::DataType type);

}  // namespace report::pipeline
