// Template tables: the row holding <#table:NAME> goes, the row after it names a field (or
// a static text) per cell, and it is filled with the last record while one row is
// inserted above it for each earlier record, so rows follow record order.
#include "report/number_format.h"
#include "report/pipeline/steps.h"
#include "report/pipeline/values.h"
#include "report/tag_language.h"
#include "wordproc/tables.h"

namespace report::pipeline {

namespace {

void setCellText(Run& run, const std::string& text) {
    wordproc::Selection& s = run.sel();
    // The cell's end mark stays; only its text is replaced.
    s.setText(text);
}

void fillCell(Run& run, const dbf::DataSet& ds, const CellSpec& spec) {
    int f = ds.fieldIndex(spec.field);  // raises for an unknown field
    wordproc::Selection& s = run.sel();
    auto asPicture = [&] {
        s.setText({});
        dbf::Value v = ds.value(f);
        if (!v.isNull()) {
            // A mark in the emptied cell where the picture goes.
            std::string tag = run.prefix + "IMG" + run.postfix;
            s.setText(tag);
            replaceTagByPicture(run, tag, ds, f, s.range());
        }
    };
    auto asFormattedText = [&] {
        s.setText({});
        dbf::Value v = ds.value(f);
        if (!v.isNull()) {
            std::string tag = run.prefix + "RTF" + run.postfix;
            s.setText(tag);
            replaceTagByFormattedText(run, tag, ds, f, s.range());
        }
    };
    switch (spec.kind) {
        case CellSpec::Kind::Static:
            return;
        case CellSpec::Kind::Field:
            switch (contentOf(ds, f)) {
                case FieldContent::Picture:
                    return asPicture();
                case FieldContent::FormattedText:
                    return asFormattedText();
                case FieldContent::Plain:
                    return setCellText(run, documentTextOf(run, ds, f));
            }
            return;
        case CellSpec::Kind::Picture:
            return asPicture();
        case CellSpec::Kind::FormattedText:
            return asFormattedText();
        case CellSpec::Kind::Text:
            return setCellText(run, documentTextOf(run, ds, f));
        case CellSpec::Kind::Formatted: {
            dbf::Value v = ds.value(f);
            if (v.isNull()) return setCellText(run, "");
            std::string text;
            try {
                text = formatNumber(v.asFloat(), spec.format);
            } catch (const std::exception&) {
                text.clear();
            }
            return setCellText(run, text);
        }
    }
}

// The selection on a cell's text, without its end mark.
void selectCellText(Run& run, wordproc::Cell cell) {
    wordproc::Range r = cell.range();
    run.sel().goTo(r.story(), r.start(), std::max(r.start(), r.end() - 1));
}

void fillTable(Run& run, dbf::DataSet* ds, int tableIndex, const std::string& tag) {
    wordproc::Table table = run.doc().tables().item(tableIndex);
    wordproc::Range range = table.range();
    if (!range.find().execute(tag, false, false, false, false, false, true,
                              wordproc::wd::kFindStop))
        return;
    range.select();
    run.sel().deleteCells(wordproc::wd::kDeleteCellsEntireRow);
    run.sel().homeKey(wordproc::wd::kLine);
    if (!run.sel().inTable()) return;
    const int row = run.sel().rowNumber();
    wordproc::Tables inner = run.sel().tables();
    if (inner.count() == 0) return;
    wordproc::Table t = inner.item(1);
    const int cells = t.rows().item(row).cells().count();
    std::vector<CellSpec> specs;
    for (int c = 1; c <= cells; ++c) {
        wordproc::Cell cell = t.rows().item(row).cells().item(c);
        std::string text = cell.range().text();
        specs.push_back(parseCellSpec(text));
        if (!hasRecords(ds)) {
            selectCellText(run, cell);
            run.sel().setText({});
        }
    }
    if (!hasRecords(ds)) return;
    DataSetVisit visit(ds);
    // One empty row, formatted as the template row, above it for each earlier record: the
    // template row ends up last and takes the last record, so rows follow record order.
    // (All rows go in at once; one at a time would re-read the table for every record.)
    const auto records = ds->recordCount();
    if (records > 1) {
        selectCellText(run, t.rows().item(row).cells().item(1));
        run.sel().insertRowsAbove(static_cast<int>(records - 1));
    }
    int current = row;
    for (ds->first(); !ds->eof(); ds->next(), ++current) {
        for (int c = 1; c <= cells; ++c) {
            const CellSpec& spec = specs[static_cast<size_t>(c - 1)];
            if (spec.kind == CellSpec::Kind::Static) continue;
            selectCellText(run, t.rows().item(current).cells().item(c));
            try {
                fillCell(run, *ds, spec);
            } catch (const std::exception&) {
                // The cell shows the name it asked for (marks of a nested table as blanks).
                std::string name = spec.field;
                for (char& ch : name)
                    if (static_cast<unsigned char>(ch) < ' ') ch = ' ';
                selectCellText(run, t.rows().item(current).cells().item(c));
                run.sel().setText(name);
            }
        }
    }
}

}  // namespace

void fillTemplateTables(Run& run, dbf::DataSet* ds, const std::string& name) {
    const std::string tag = run.prefix + std::string(words::kTable) + name + run.postfix;
    int count = run.doc().tables().count();
    if (count == 0 || !run.hasTag(tag)) return;
    for (int i = 1; i <= count && i <= run.doc().tables().count(); ++i) fillTable(run, ds, i, tag);
}

}  // namespace report::pipeline
