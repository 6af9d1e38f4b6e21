// The file layer: field types, nulls, header trust, appends, memos and broken files.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "dbf/date_value.h"
#include "dbf/errors.h"
#include "fixture.h"

namespace dbf::testing {
namespace {

std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

Value valueOf(DbfFile& file, std::uint32_t row, const std::string& field) {
    for (const auto& f : file.allFields())
        if (f.name == field) return file.decode(file.record(row), f);
    throw std::runtime_error("no field " + field);
}

TEST(DbfFile, FoxProTableRoundTripsEveryFieldType) {
    TempDir dir;
    const double day = daysFromCivil(2024, 3, 1);
    makeTable(dir.path(), "T.DBF",
              {{"NAME", 'C', 20},
               {"CODE", 'N', 6},
               {"AMOUNT", 'N', 9, 3},
               {"RATIO", 'F', 12, 4},
               {"SEEN", 'D'},
               {"OK", 'L'},
               {"NOTE", 'M'}},
              {{S("Apple"), I(42), F(2.5), F(-0.125), Value::date(day), Value::boolean(true),
                M("line 1\r\nline 2")},
               {S(""), Null(), Null(), Null(), Null(), Null(), Null()}});
    auto file = DbfFile::open(dir / "T.DBF");
    EXPECT_EQ(file->header().version, 0xF5);
    EXPECT_EQ(file->header().codePageMark, 0x7E);
    ASSERT_EQ(file->recordCount(), 2u);
    EXPECT_EQ(valueOf(*file, 0, "NAME"), S("Apple"));
    EXPECT_EQ(valueOf(*file, 0, "CODE"), I(42));
    EXPECT_EQ(valueOf(*file, 0, "AMOUNT"), F(2.5));
    EXPECT_EQ(valueOf(*file, 0, "RATIO"), F(-0.125));
    EXPECT_EQ(valueOf(*file, 0, "SEEN"), Value::date(day));
    EXPECT_EQ(valueOf(*file, 0, "OK"), Value::boolean(true));
    EXPECT_EQ(valueOf(*file, 0, "NOTE"), M("line 1\r\nline 2"));
    // All-blank N, F and D fields are nulls; a blank C field is empty text.
    EXPECT_EQ(valueOf(*file, 1, "NAME"), S(""));
    for (const char* f : {"CODE", "AMOUNT", "RATIO", "SEEN", "OK", "NOTE"})
        EXPECT_TRUE(valueOf(*file, 1, f).isNull()) << f;
}

TEST(DbfFile, VisualFoxProTypesAndNullFlags) {
    TempDir dir;
    const double when = daysFromCivil(2023, 12, 31) + 0.5;
    NewTableOptions vfp;
    vfp.version = 0x30;
    makeTable(dir.path(), "V.DBF",
              {{"ID", 'I'},
               {"WEIGHT", 'B', 0, 0, true},
               {"PRICE", 'Y'},
               {"STAMP", 'T'},
               {"LABEL", 'C', 8, 0, true},
               {"BLOB", 'G'}},
              {{I(-7), F(1.0 / 3), Value::currency(12.3456), Value::dateTime(when), S("x"),
                Value::blob(std::string("\x00\x01\xFF", 3))},
               {I(1), Null(), Null(), Null(), Null(), Null()}},
              vfp);
    auto file = DbfFile::open(dir / "V.DBF");
    EXPECT_TRUE(file->header().isVisualFoxPro());
    EXPECT_EQ(file->allFields().back().type, FieldType::NullFlags);
    EXPECT_EQ(valueOf(*file, 0, "ID"), I(-7));
    EXPECT_EQ(valueOf(*file, 0, "WEIGHT"), F(1.0 / 3));
    EXPECT_EQ(valueOf(*file, 0, "PRICE"), Value::currency(12.3456));
    EXPECT_EQ(valueOf(*file, 0, "STAMP"), Value::dateTime(when));
    EXPECT_EQ(valueOf(*file, 0, "LABEL"), S("x"));
    EXPECT_EQ(valueOf(*file, 0, "BLOB"), Value::blob(std::string("\x00\x01\xFF", 3)));
    EXPECT_TRUE(valueOf(*file, 1, "WEIGHT").isNull());
    EXPECT_TRUE(valueOf(*file, 1, "LABEL").isNull());  // null by flag, not empty text
    EXPECT_TRUE(valueOf(*file, 1, "STAMP").isNull());
}

TEST(DbfFile, VisualFoxProBacklinkSurvivesWritesByteForByte) {
    TempDir dir;
    NewTableOptions vfp;
    vfp.version = 0x30;
    makeTable(dir.path(), "B.DBF", {{"A", 'C', 4}}, {{S("one")}}, vfp);
    std::string bytes = readBytes(dir / "B.DBF");
    const std::size_t backlink = 32 + 32 + 1;
    const std::string link = "..\\data\\HALVORA.DBC";
    bytes.replace(backlink, link.size(), link);
    writeBytes(dir / "B.DBF", bytes);
    {
        auto file = DbfFile::open(dir / "B.DBF");
        std::string rec = file->blankRecord();
        file->encode(rec, file->allFields()[0], S("two"));
        file->appendRecord(rec);
        file->writeRecord(0, rec);
    }
    const std::string after = readBytes(dir / "B.DBF");
    EXPECT_EQ(after.substr(backlink, 263), bytes.substr(backlink, 263));
}

TEST(DbfFile, HeaderCountIsTrustedAndRecordsAreReadByCount) {
    TempDir dir;
    // A text holding the end-of-file byte must not end the table early.
    makeTable(dir.path(), "H.DBF", {{"A", 'C', 3}},
              {{S("a\x1A"
                  "b")},
               {S("ccc")}});
    std::string bytes = readBytes(dir / "H.DBF");
    bytes.pop_back();     // the end mark
    bytes += " zzz\x1A";  // a record past the count, as a crash before the header update leaves it
    writeBytes(dir / "H.DBF", bytes);
    auto file = DbfFile::open(dir / "H.DBF");
    ASSERT_EQ(file->recordCount(), 2u);
    EXPECT_EQ(valueOf(*file, 0, "A"), S("a\x1A"
                                        "b"));
    EXPECT_EQ(valueOf(*file, 1, "A"), S("ccc"));
}

TEST(DbfFile, CrashBetweenRecordAndHeaderWriteLosesNothingCommitted) {
    TempDir dir;
    makeTable(dir.path(), "C.DBF", {{"N", 'N', 4}}, {{I(1)}, {I(2)}});
    {
        auto file = DbfFile::open(dir / "C.DBF");
        file->setAppendInterruptForTesting([] { throw std::runtime_error("power cut"); });
        std::string rec = file->blankRecord();
        file->encode(rec, file->allFields()[0], I(3));
        EXPECT_THROW(file->appendRecord(rec), std::runtime_error);
    }
    auto file = DbfFile::open(dir / "C.DBF");
    ASSERT_EQ(file->recordCount(), 2u);  // the interrupted row was never committed
    EXPECT_EQ(valueOf(*file, 1, "N"), I(2));
    std::string rec = file->blankRecord();
    file->encode(rec, file->allFields()[0], I(4));
    EXPECT_EQ(file->appendRecord(rec), 2u);
    auto again = DbfFile::open(dir / "C.DBF");
    ASSERT_EQ(again->recordCount(), 3u);
    EXPECT_EQ(valueOf(*again, 2, "N"), I(4));
    const std::string bytes = readBytes(dir / "C.DBF");
    EXPECT_EQ(bytes.back(), '\x1A');
    EXPECT_EQ(bytes.size(), again->header().headerLength + 3u * again->header().recordLength + 1);
}

TEST(DbfFile, TwoProgramsAppendingAtOnceLoseNoRow) {
    TempDir dir;
    makeTable(dir.path(), "P.DBF", {{"WHO", 'N', 1}, {"N", 'N', 5}});
    constexpr int kPerProcess = 150;
    auto appendMany = [&](int who) {
        auto file = DbfFile::open(dir / "P.DBF");
        for (int i = 0; i < kPerProcess; ++i) {
            std::string rec = file->blankRecord();
            file->encode(rec, file->allFields()[0], I(who));
            file->encode(rec, file->allFields()[1], I(i));
            file->appendRecord(rec);
        }
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            appendMany(2);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "second program: %s\n", e.what());
            _exit(1);
        }
        _exit(0);
    }
    appendMany(1);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    auto file = DbfFile::open(dir / "P.DBF");
    ASSERT_EQ(file->recordCount(), 2u * kPerProcess);
    int next[3] = {0, 0, 0};
    for (std::uint32_t r = 0; r < file->recordCount(); ++r) {
        const auto who = valueOf(*file, r, "WHO").asInteger();
        ASSERT_TRUE(who == 1 || who == 2);
        EXPECT_EQ(valueOf(*file, r, "N").asInteger(), next[who]++);  // each program's rows in order
    }
}

TEST(DbfFile, GrowingMemoGoesToNewBlocksAndSparesItsNeighbour) {
    TempDir dir;
    makeTable(dir.path(), "M.DBF", {{"NOTE", 'M'}}, {{M("first")}, {M("second")}});
    auto file = DbfFile::open(dir / "M.DBF");
    const FieldDef& note = file->allFields()[0];
    std::string rec(file->record(0));
    file->encode(rec, note, M(std::string(500, 'x')));
    file->writeRecord(0, rec);
    EXPECT_EQ(valueOf(*file, 0, "NOTE"), M(std::string(500, 'x')));
    EXPECT_EQ(valueOf(*file, 1, "NOTE"), M("second"));
    // Unchanged content keeps its blocks.
    const auto size = std::filesystem::file_size(dir / "M.FPT");
    file->encode(rec, note, M(std::string(500, 'x')));
    EXPECT_EQ(std::filesystem::file_size(dir / "M.FPT"), size);
}

TEST(DbfFile, NumberWiderThanItsFieldIsAnError) {
    TempDir dir;
    makeTable(dir.path(), "W.DBF", {{"A", 'N', 5, 2}, {"T", 'C', 3}});
    auto file = DbfFile::open(dir / "W.DBF");
    std::string rec = file->blankRecord();
    const std::string before = rec;
    EXPECT_THROW(file->encode(rec, file->allFields()[0], F(123.45)), DbfError);
    EXPECT_EQ(rec, before);
    EXPECT_THROW(file->encode(rec, file->allFields()[0], F(99.999)),
                 DbfError);  // 100.00 is too wide
    EXPECT_NO_THROW(file->encode(rec, file->allFields()[0], F(-9.99)));
    EXPECT_THROW(file->encode(rec, file->allFields()[1], S("four")), DbfError);
    try {
        file->encode(rec, file->allFields()[0], S("abc"));
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
}

TEST(DbfFile, ATableReplacedOnDiskIsTakenUp) {
    TempDir dir;
    makeTable(dir.path(), "R.DBF", {{"A", 'N', 3}}, {{I(1)}});
    auto store = TableStore::open(dir.path(), "R.DBF");
    ASSERT_EQ(store->recordCount(), 1u);
    makeTable(dir.path(), "NEW.DBF", {{"B", 'C', 5}, {"A", 'N', 3}},
              {{S("x"), I(2)}, {S("y"), I(3)}});
    std::filesystem::rename(dir / "NEW.DBF", dir / "R.DBF");
    store->syncWithDisk();
    EXPECT_EQ(store->recordCount(), 2u);
    EXPECT_EQ(store->fieldIndex("B"), 0);
    EXPECT_EQ(store->value(1, store->fieldIndex("A")), I(3));
}

TEST(DbfFile, FileNamesAreFoundWithoutRegardToCase) {
    TempDir dir;
    makeTable(dir.path(), "FOODS.DBF", {{"N1", 'N', 5}});
    const auto found = findFileNoCase(dir.path(), "Foods.dbf");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->filename(), "FOODS.DBF");
    EXPECT_NO_THROW(TableStore::open(dir.path(), "foods"));
}

TEST(DbfFile, BrokenFilesGiveClearErrors) {
    TempDir dir;
    makeTable(dir.path(), "G.DBF", {{"A", 'C', 4}, {"NOTE", 'M'}}, {{S("a"), M("memo")}});
    const std::string good = readBytes(dir / "G.DBF");
    auto expectError = [&](const std::string& bytes, const std::string& fragment) {
        writeBytes(dir / "X.DBF", bytes);
        std::filesystem::copy_file(dir / "G.FPT", dir / "X.FPT",
                                   std::filesystem::copy_options::overwrite_existing);
        try {
            DbfFile::open(dir / "X.DBF");
            ADD_FAILURE() << "no error for " << fragment;
        } catch (const DbfError& e) {
            EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
        }
    };
    expectError(good.substr(0, 20), "shorter than a header");
    std::string longHeader = good;
    longHeader[8] = '\xFF';
    longHeader[9] = '\x7F';
    expectError(longHeader, "header length");
    std::string manyRecords = good;
    manyRecords[4] = '\x10';
    expectError(manyRecords, "counts 16 records");
    std::string notTable = good;
    notTable[0] = 'P';
    expectError(notTable, "not a FoxPro table");
    expectError(std::string(), "shorter than a header");

    // A memo pointer past the end of the memo file.
    std::string farMemo = good;
    auto file = DbfFile::open(dir / "G.DBF");
    const FieldDef& note = file->allFields()[1];
    const std::size_t at = file->header().headerLength + note.offset;
    farMemo.replace(at, 10, "    999999");
    writeBytes(dir / "G.DBF", farMemo);
    auto broken = DbfFile::open(dir / "G.DBF");
    try {
        valueOf(*broken, 0, "NOTE");
        FAIL();
    } catch (const DbfError& e) {
        EXPECT_NE(std::string(e.what()).find("past its end"), std::string::npos) << e.what();
    }
    std::filesystem::remove(dir / "G.FPT");
    EXPECT_THROW(DbfFile::open(dir / "G.DBF"), DbfError);
    EXPECT_THROW(DbfFile::open(dir / "NONE.DBF"), DbfError);
}

}  // namespace
}  // namespace dbf::testing

namespace dbf::testing {
namespace {

// A header that gives a binary field a width its type cannot have is refused, naming the
// field, instead of reading past the field.
TEST(DbfFileHeader, AFieldWiderOrNarrowerThanItsTypeIsRefused) {
    const struct {
        char type;
        int length;
        bool refused;
    } cases[] = {{'B', 1, true},  {'B', 8, false},  {'I', 2, true}, {'D', 9, true},
                 {'L', 1, false}, {'M', 10, false}, {'M', 7, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.type) + std::to_string(c.length));
        TempDir dir;
        const auto path = dir.path() / "T.DBF";
        const int real = c.type == 'L' ? 1 : c.type == 'M' ? 10 : c.type == 'I' ? 4 : 8;
        createTable(path, {{"K", 'N', 4}, {"X", c.type, real}, {"Z", 'C', 20}},
                    {.version = 0x30});  // Visual FoxPro: every type
        // The second descriptor's width byte, and the record length to match it.
        std::string bytes = readBytes(path);
        bytes[32 + 32 + 16] = static_cast<char>(c.length);
        const int recordLength = 1 + 4 + c.length + 20;
        bytes[10] = static_cast<char>(recordLength & 0xFF);
        bytes[11] = static_cast<char>(recordLength >> 8);
        writeBytes(path, bytes);
        if (c.refused) {
            try {
                DbfFile::open(path);
                ADD_FAILURE() << "opened";
            } catch (const DbfError& e) {
                EXPECT_NE(std::string(e.what()).find("field X of type"), std::string::npos)
                    << e.what();
            }
        } else {
            EXPECT_NO_THROW(DbfFile::open(path));
        }
    }
}

}  // namespace
}  // namespace dbf::testing
