// The subject register: new subjects and visits with their codes, sex and date, delete and
// save, and ordering by a column title through the table's own structural index.
#include "plans/subject_register.h"

#include <gtest/gtest.h>

#include "core/app_fixture.h"
#include "core/formats.h"
#include "core/run_handler.h"
#include "dbf/cdx_index.h"
#include "dbf/dbf_file.h"

namespace plans {
namespace {

using core::testing::DataContent;
using core::testing::F;
using core::testing::I;
using core::testing::Null;
using core::testing::S;
using Lines = std::vector<std::string>;

class SubjectRegisterTest : public core::testing::AppTest {
  protected:
    void SetUp() override {
        DataContent c;
        c.subjects = {
            {I(7), S("Sara"), I(30), I(165), F(60), I(1)}, {I(5), S("Ali"), I(41)}, {I(9), Null()}};
        open(c);
    }
    void open(const DataContent& content, const Lines& indexTags = {}) {
        replaceDataDirectory(content);
        if (!indexTags.empty()) writeIndex(indexTags);
        start();
        form->setup.MonthCalendar1.setDate(core::dateValue(2011, 7, 9));
    }
    // SUBJECTS.CDX with these tags, each on its own field.
    void writeIndex(const Lines& names) {
        const auto path = app() / "data" / "SUBJECTS.DBF";
        auto file = dbf::DbfFile::open(path);
        dbf::CdxRecordSource source;
        source.recordCount = file->recordCount();
        source.isDeleted = [&](std::uint32_t r) { return file->isDeleted(r - 1); };
        source.field = [&](std::string_view n) -> const dbf::FieldDef* {
            for (const auto& f : file->allFields())
                if (f.name == n) return &f;
            return nullptr;
        };
        source.value = [&](std::uint32_t r, const dbf::FieldDef& f) {
            return file->decode(file->record(r - 1), f);
        };
        std::vector<dbf::IndexTag> tags;
        for (const auto& name : names) {
            dbf::IndexTag tag;
            tag.name = tag.keyExpression = name;
            tag.collation = "MACHINE";
            tags.push_back(tag);
        }
        dbf::writeCdx(app() / "data" / "SUBJECTS.CDX", tags, source);
    }
    // A field of the current row as text ("" for an empty one).
    std::string current(const char* field) {
        const dbf::Value v = form->DBF9.value(field);
        return v.isNull() ? "" : v.asString();
    }
    Lines codes() {
        Lines out;
        dbf::Table& t = form->DBF9;
        for (std::int64_t r = 0; r < t.recordCount(); ++r)
            out.push_back(t.peek(static_cast<std::size_t>(r), t.fieldIndex("SU1")).asString());
        return out;
    }
};

TEST_F(SubjectRegisterTest, ANewSubjectGetsTheNextCodeSexZeroAndTheWorkingDate) {
    click(AddSubjClick);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(codes(), (Lines{"7", "5", "9", "10"}));  // one above the highest, not the last
    EXPECT_EQ(current("SU1"), "10");
    EXPECT_EQ(current("SU2"), "");
    EXPECT_EQ(current("SU3"), "");
    EXPECT_EQ(current("SU6"), "0");
    EXPECT_EQ(form->DBF9.value("SU7").number(), core::dateValue(2011, 7, 9));
    EXPECT_EQ(form->state.workingDate, core::dateValue(2011, 7, 9));
    EXPECT_EQ(form->DBF9.state(), dbf::Table::State::Browse);
}

TEST_F(SubjectRegisterTest, AVisitRepeatsCodeAndNameOnly) {
    form->DBF9.first();  // Sara, 7, age 30, female
    click(Button46Click);
    EXPECT_EQ(codes(), (Lines{"7", "5", "9", "7"}));
    EXPECT_EQ(current("SU1"), "7");
    EXPECT_EQ(current("SU2"), "Sara");
    EXPECT_EQ(current("SU3"), "");   // age not copied
    EXPECT_EQ(current("SU6"), "0");  // sex starts again at 0
    form->DBF9.moveBy(-1);           // a subject without a name
    click(Button46Click);
    EXPECT_EQ(current("SU1"), "9");
    EXPECT_EQ(current("SU2"), "");
}

TEST_F(SubjectRegisterTest, AnEmptyRegisterStartsAtCode1) {
    DataContent c;
    c.subjects.clear();
    open(c);
    click(Button49Click);          // writes nothing
    click(DelSubjectButtonClick);  // deletes nothing
    click(Button46Click);
    click(AddSubjClick);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(codes(), (Lines{"1", "2"}));
}

TEST_F(SubjectRegisterTest, DeleteAndSave) {
    form->DBF9.first();
    click(DelSubjectButtonClick);
    EXPECT_EQ(codes(), (Lines{"5", "9"}));
    form->DBF9.edit();
    form->DBF9.setValue("SU3", I(42));  // typed into the grid
    click(Button49Click);
    EXPECT_EQ(form->DBF9.state(), dbf::Table::State::Browse);
    dbf::Table other;
    other.setDirectory(app() / "data");
    other.setTableName("SUBJECTS.DBF");
    other.open();
    other.locate("SU1", I(5));
    EXPECT_EQ(other.value("SU3").asInteger(), 42);
}

TEST_F(SubjectRegisterTest, ATitleClickOrdersByTheColumnsIndexUnlessItIsTheFirst) {
    open(DataContent{.subjects = {{I(7), S("Sara")}, {I(5), S("Ali")}, {I(9), S("Mina")}}},
         {"SU1", "SU2", "SU7"});
    core::DataGrid& grid = form->subject.DBGrid7;
    form->DBF9.first();  // Sara stays the current subject
    const struct {
        int column;
        const char* order;  // index field names after
        Lines codes;
        int bold;  // the bold title, -1 none
    } cases[] = {
        {2, "", {"7", "5", "9"}, -1},    // Age: no such index
        {0, "", {"7", "5", "9"}, -1},    // Code: the first index
        {1, "SU2", {"5", "9", "7"}, 1},  // Name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        grid.setClickedColumn(c.column);
        click(DBGrid7TitleClick);
        EXPECT_EQ(form->DBF9.indexFieldNames(), c.order);
        EXPECT_EQ(codes(), c.codes);
        for (int i = 0; i < static_cast<int>(grid.columns().size()); ++i)
            EXPECT_EQ(grid.columns()[static_cast<std::size_t>(i)].titleBold, i == c.bold) << i;
        EXPECT_EQ(current("SU1"), "7");
    }
    click(AddSubjClick);
    EXPECT_EQ(current("SU1"), "10");  // one above the highest in any order
}

}  // namespace
}  // namespace plans
