#include "report/pipeline/values.h"

#include <cmath>
#include <fstream>

#include "dbf/date_value.h"
#include "dbf/number_text.h"
#include "report/errors.h"
#include "report/number_format.h"
#include "report/text_helpers.h"
#include "wordproc/shapes.h"
#include "wordproc/temp_files.h"

namespace report::pipeline {

namespace {

bool startsWith(const std::string& s, std::string_view head) {
    return s.size() >= head.size() && s.compare(0, head.size(), head) == 0;
}

// The pictures the word processor can place (a TIFF blob is shown as "(n/a)").
bool hasPictureSignature(const std::string& b) {
    return startsWith(b, "\xFF\xD8\xFF") || startsWith(b, "BM") || startsWith(b, "GIF8") ||
           startsWith(b, "\x89PNG");
}

std::string writeTemporary(const std::string& bytes) {
    std::string path = wordproc::temporaryDocumentName(".tmp");
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw ReportError("The temporary file " + path + " could not be written.");
    return path;
}

// Calls `place` with the selection on every `tag` found from the selection forward, or
// inside `within`; the search goes on after what was placed.
template <typename Place>
void forEachTag(Run& run, const std::string& tag, std::optional<wordproc::Range> within,
                Place place) {
    wordproc::Selection& s = run.sel();
    if (!within) {
        while (run.find(tag)) {
            place(s);
            s.goTo(s.story(), s.end(), s.end());
        }
        return;
    }
    int tail = within->storyObject().length() - within->end();
    int from = within->start();
    while (true) {
        wordproc::Range r(run.doc(), within->story(), from, within->storyObject().length() - tail);
        if (!r.find().execute(tag, false, false, false, false, false, true,
                              wordproc::wd::kFindStop))
            return;
        r.select();
        place(s);
        from = s.end();
    }
}

}  // namespace

bool isNumericType(dbf::DataType t) {
    return t == dbf::DataType::Integer || t == dbf::DataType::Float || t == dbf::DataType::Currency;
}

FieldContent contentOf(const dbf::DataSet& ds, int field) {
    dbf::DataType t = ds.field(field).type;
    if (t != dbf::DataType::Blob && t != dbf::DataType::Memo) return FieldContent::Plain;
    dbf::Value v = ds.value(field);
    if (v.isNull()) return FieldContent::Plain;
    const std::string& b = v.bytes();
    if (t == dbf::DataType::Blob && hasPictureSignature(b)) return FieldContent::Picture;
    if (startsWith(b, "{\\rtf")) return FieldContent::FormattedText;
    return FieldContent::Plain;
}

std::string plainText(const Run& run, const dbf::DataSet& ds, int field) {
    dbf::Value v = ds.value(field);
    switch (v.kind()) {
        case dbf::Value::Kind::Null:
            return {};
        case dbf::Value::Kind::String:
        case dbf::Value::Kind::Memo:
            return helpers::codePageToUnicode(v.bytes(), run.report.AnsiCodePage);
        case dbf::Value::Kind::Blob:
            return {};
        case dbf::Value::Kind::Boolean:
            return v.asBoolean() ? "True" : "False";
        case dbf::Value::Kind::Date:
        case dbf::Value::Kind::DateTime: {
            double d = v.number();
            bool withTime = v.kind() == dbf::Value::Kind::DateTime && d != std::floor(d);
            if (run.report.platform.dateTimeText)
                return run.report.platform.dateTimeText(d, withTime);
            return dbf::isoDateText(d, withTime);
        }
        default:
            return v.asString();
    }
}

std::string textValue(Run& run, const dbf::DataSet& ds, int field) {
    dbf::Value v = ds.value(field);
    std::string text;
    switch (ds.field(field).type) {
        case dbf::DataType::Boolean:
            if (!v.isNull()) text.assign(1, v.asBoolean() ? '1' : '0');
            break;
        case dbf::DataType::Currency:
            text = v.isNull() ? "" : formatNumber(v.asFloat(), "#0.00");
            break;
        case dbf::DataType::Date:
        case dbf::DataType::DateTime:
            text = v.isNull() ? "" : helpers::dateText(true, v.number());
            break;
        case dbf::DataType::Memo:
            text = helpers::normalizeLineBreaks(plainText(run, ds, field));
            break;
        case dbf::DataType::Blob:
            text = contentOf(ds, field) == FieldContent::Picture ? "" : plainText(run, ds, field);
            break;
        default:
            text = plainText(run, ds, field);
    }
    if (run.report.OnGetSQLValue) run.report.OnGetSQLValue(run.report, FieldRef{ds, field}, text);
    return text;
}

RenderValue documentValue(Run& run, const dbf::DataSet& ds, int field) {
    dbf::Value v = ds.value(field);
    RenderValue out;
    if (v.isNull()) {
        out = RenderValue::ofText("");
    } else {
        switch (ds.field(field).type) {
            case dbf::DataType::Memo:
            case dbf::DataType::String:
            case dbf::DataType::Boolean:
                out = RenderValue::ofText(
                    helpers::normalizeLineBreaksWide(plainText(run, ds, field)));
                break;
            case dbf::DataType::Blob:
                out = RenderValue::notAvailable();
                break;
            case dbf::DataType::Integer:
            case dbf::DataType::Float:
            case dbf::DataType::Currency:
                out = {RenderValue::Kind::Number, {}, v.asFloat()};
                break;
            case dbf::DataType::Date:
            case dbf::DataType::DateTime:
                out = {RenderValue::Kind::DateTime, {}, v.number()};
                break;
        }
    }
    if (run.report.OnGetFieldValueForRender)
        run.report.OnGetFieldValueForRender(run.report, FieldRef{ds, field}, out);
    return out;
}

std::string documentText(const Run& run, const RenderValue& value) {
    switch (value.kind) {
        case RenderValue::Kind::Text:
            return value.text;
        case RenderValue::Kind::Number:
            return dbf::formatGeneral(value.number);
        case RenderValue::Kind::DateTime: {
            bool withTime = value.number != std::floor(value.number);
            if (run.report.platform.dateTimeText)
                return run.report.platform.dateTimeText(value.number, withTime);
            return dbf::isoDateText(value.number, withTime);
        }
        case RenderValue::Kind::NotAvailable:
            return value.text.empty() ? "(n/a)" : value.text;
    }
    return {};
}

void replaceTagByPicture(Run& run, const std::string& tag, const dbf::DataSet& ds, int field,
                         std::optional<wordproc::Range> within) {
    dbf::Value v = ds.value(field);
    std::string file = v.isNull() ? std::string() : writeTemporary(v.bytes());
    try {
        forEachTag(run, tag, within, [&](wordproc::Selection& s) {
            if (file.empty()) {
                s.setText({});
                return;
            }
            wordproc::ShapeRange box = s.shapeRange();
            wordproc::InlineShape pic = s.inlineShapes().addPicture(file, false, true);
            if (box.count() == 1) {
                try {
                    pic.scaleDownToFit(box.width(), box.height());
                } catch (const std::exception&) {
                    s.setText(box.name());
                }
            }
        });
    } catch (...) {
        if (!file.empty()) wordproc::deleteFileInBackground(file);
        throw;
    }
    if (!file.empty()) wordproc::deleteFileInBackground(file);
}

void replaceTagByFormattedText(Run& run, const std::string& tag, const dbf::DataSet& ds, int field,
                               std::optional<wordproc::Range> within) {
    dbf::Value v = ds.value(field);
    std::string file = v.isNull() ? std::string() : writeTemporary(v.bytes());
    try {
        forEachTag(run, tag, within, [&](wordproc::Selection& s) {
            s.setText({});
            if (!file.empty()) s.insertFile(file);
        });
    } catch (...) {
        if (!file.empty()) wordproc::deleteFileInBackground(file);
        throw;
    }
    if (!file.empty()) wordproc::deleteFileInBackground(file);
}

void replaceTagByField(Run& run, const std::string& tag, const dbf::DataSet& ds, int field,
                       std::optional<wordproc::Range> within) {
    switch (contentOf(ds, field)) {
        case FieldContent::Picture:
            return replaceTagByPicture(run, tag, ds, field, within);
        case FieldContent::FormattedText:
            return replaceTagByFormattedText(run, tag, ds, field, within);
        case FieldContent::Plain:
            break;
    }
    std::string value = documentTextOf(run, ds, field);
    if (within)
        run.replaceTagInRange(*within, tag, value);
    else
        run.replaceTag(tag, value);
}

}  // namespace report::pipeline
