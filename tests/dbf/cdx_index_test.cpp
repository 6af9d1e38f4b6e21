#include "dbf/cdx_index.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#include "dbf/cdx_keys.h"
#include "dbf/date_value.h"
#include "dbf/errors.h"

namespace {
namespace fs = std::filesystem;
using dbf::FieldDef;
using dbf::FieldType;
using dbf::IndexTag;
using dbf::Value;

FieldDef field(std::string name, FieldType type, int length, int flags = 0) {
    FieldDef f;
    f.name = std::move(name);
    f.type = type;
    f.length = static_cast<std::uint8_t>(length);
    f.flags = static_cast<std::uint8_t>(flags);
    return f;
}

IndexTag tag(std::string name, std::string key, std::string collation = "MACHINE") {
    IndexTag t;
    t.name = std::move(name);
    t.keyExpression = std::move(key);
    t.collation = std::move(collation);
    return t;
}

// A table held in memory: field definitions and one row of values per record.
struct MemoryTable {
    std::vector<FieldDef> fields;
    std::vector<std::vector<Value>> rows;
    std::set<std::uint32_t> deleted;

    dbf::CdxRecordSource source() const {
        dbf::CdxRecordSource s;
        s.recordCount = static_cast<std::uint32_t>(rows.size());
        s.isDeleted = [this](std::uint32_t r) { return deleted.count(r) > 0; };
        s.field = [this](std::string_view name) -> const FieldDef* {
            for (const auto& f : fields) {
                if (f.name.size() == name.size() &&
                    std::equal(name.begin(), name.end(), f.name.begin(),
                               [](char a, char b) { return std::toupper(a) == std::toupper(b); }))
                    return &f;
            }
            return nullptr;
        };
        s.value = [this](std::uint32_t r, const FieldDef& f) {
            return rows.at(r - 1).at(static_cast<std::size_t>(&f - fields.data()));
        };
        return s;
    }
};

// SU1 code, SU2 name, SU7 visit date, GHAZ5 a memo, NOTE a nullable field, ID an Integer.
MemoryTable subjects() {
    MemoryTable t;
    t.fields = {field("SU1", FieldType::Numeric, 5),
                field("SU2", FieldType::Character, 20),
                field("SU7", FieldType::Date, 8),
                field("GHAZ5", FieldType::Memo, 4),
                field("NOTE", FieldType::Character, 10, 0x02),
                field("ID", FieldType::Integer, 4)};
    const auto row = [](int code, std::string name, double date) {
        return std::vector<Value>{Value::integer(code), Value::string(std::move(name)),
                                  Value::date(date),    Value::null(),
                                  Value::null(),        Value::integer(code)};
    };
    t.rows = {row(7, "Sara", dbf::daysFromCivil(2024, 3, 1)),
              row(5, "Ali", dbf::daysFromCivil(2023, 1, 9)),
              row(7, "Sara", dbf::daysFromCivil(2024, 4, 2)),
              row(-2, "", dbf::daysFromCivil(1999, 12, 31))};
    return t;
}

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t little32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

void putLittle(std::string& b, std::size_t at, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string padded(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}

class CdxFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("cdx_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        cdx = dir / "SUBJECTS.CDX";
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
    fs::path cdx;
};

TEST_F(CdxFile, WrittenTagsReadBackInTheirOrderWithTheirKeys) {
    const MemoryTable table = subjects();
    IndexTag date = tag("SU7", "SU7");
    date.descending = true;
    IndexTag code = tag("SU1", "SU1");
    code.unique = true;
    const IndexTag name = tag("SU2", "SU2", "");
    dbf::writeCdx(cdx, {date, code, name}, table.source());

    const auto tags = dbf::readCdxTags(cdx);
    ASSERT_EQ(tags.size(), 3u);  // the file's order, not the name order of its tag list
    EXPECT_EQ(tags[0].name, "SU7");
    EXPECT_EQ(tags[1].name, "SU1");
    EXPECT_EQ(tags[2].name, "SU2");
    EXPECT_TRUE(tags[0].descending);
    EXPECT_FALSE(tags[0].unique);
    EXPECT_TRUE(tags[1].unique);
    EXPECT_EQ(tags[1].keyExpression, "SU1");
    EXPECT_EQ(tags[1].forExpression, "");
    EXPECT_EQ(tags[0].collation, "MACHINE");
    EXPECT_EQ(tags[2].collation, "");
    EXPECT_EQ(tags[0].keyLength, 8);
    EXPECT_EQ(tags[2].keyLength, 20);

    using K = dbf::CdxKey;
    EXPECT_EQ(dbf::readCdxKeys(cdx, "su2"), (std::vector<K>{{padded("", 20), 4},
                                                            {padded("Ali", 20), 2},
                                                            {padded("Sara", 20), 1},
                                                            {padded("Sara", 20), 3}}));
    // Unique: the first record of each code only.
    EXPECT_EQ(dbf::readCdxKeys(cdx, "SU1", '\0'), (std::vector<K>{{dbf::cdxNumberKey(-2), 4},
                                                                  {dbf::cdxNumberKey(5), 2},
                                                                  {dbf::cdxNumberKey(7), 1}}));
    // Descending tags are stored ascending too.
    std::vector<std::uint32_t> byDate;
    for (const auto& k : dbf::readCdxKeys(cdx, "SU7", '\0')) byDate.push_back(k.recno);
    EXPECT_EQ(byDate, (std::vector<std::uint32_t>{4, 2, 1, 3}));
    EXPECT_FALSE(fs::exists(dir / "SUBJECTS.CDX.tmp"));
}

TEST_F(CdxFile, EmptyTableGivesTagsWithoutKeys) {
    MemoryTable table = subjects();
    table.rows.clear();
    dbf::writeCdx(cdx, {tag("SU1", "SU1"), tag("SU2", "SU2")}, table.source());
    ASSERT_EQ(dbf::readCdxTags(cdx).size(), 2u);
    EXPECT_TRUE(dbf::readCdxKeys(cdx, "SU2").empty());
}

// 20,000 records: many leaves under interior levels, record numbers that outgrow the
// three-byte leaf entries of a 20-byte key, shared prefixes, blanks and duplicates.
TEST_F(CdxFile, ManyKeysDecodeToTheSortedKeysOfEveryRecord) {
    MemoryTable table = subjects();
    table.rows.clear();
    const int count = 20000;
    std::vector<std::pair<double, std::uint32_t>> codes;
    std::vector<std::pair<std::string, std::uint32_t>> names;
    for (int i = 1; i <= count; ++i) {
        const int c = (i * 7919) % 2001 - 1000;
        // Farsi names (code page 1256, bytes above 0x7F) sort after Latin ones.
        const char* stem = i % 5 == 0 ? "\xD3\xC7\xD1\xC7" : "NAME";
        std::string n = i % 97 == 0 ? "" : stem + std::to_string((i * 31) % 700);
        table.rows.push_back({Value::integer(c), Value::string(n), Value::null(), Value::null(),
                              Value::null(), Value::integer(c)});
        codes.emplace_back(c, i);
        names.emplace_back(padded(n, 20), i);
        if (i % 10 == 0) table.deleted.insert(static_cast<std::uint32_t>(i));  // keys kept
    }
    dbf::writeCdx(cdx, {tag("SU1", "SU1"), tag("SU2", "SU2")}, table.source());
    std::sort(codes.begin(), codes.end());
    std::sort(names.begin(), names.end());

    const auto codeKeys = dbf::readCdxKeys(cdx, "SU1", '\0');
    ASSERT_EQ(codeKeys.size(), codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        ASSERT_EQ(codeKeys[i].recno, codes[i].second) << i;
        ASSERT_EQ(codeKeys[i].key, dbf::cdxNumberKey(codes[i].first)) << i;
    }
    const auto nameKeys = dbf::readCdxKeys(cdx, "SU2");
    ASSERT_EQ(nameKeys.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(nameKeys[i].recno, names[i].second) << i;
        ASSERT_EQ(nameKeys[i].key, names[i].first) << i;
    }
}

// A file laid out by hand after the published structure: tag list in name order (CODE, NAME)
// while NAME's header comes first in the file; CODE's tree an interior root over two leaves
// whose entries carry duplicate and trailing counts.
TEST_F(CdxFile, ReadsAFileLaidOutByHand) {
    std::string b(5632, '\0');
    const auto header = [&](std::size_t at, std::uint32_t root, int keyLength, int options,
                            const std::string& key, const std::string& forExpr,
                            const std::string& collation) {
        putLittle(b, at, root, 4);
        putLittle(b, at + 4, 0xFFFFFFFF, 4);
        putLittle(b, at + 12, keyLength, 2);
        b[at + 14] = static_cast<char>(options);
        b.replace(at + 0x1EA, collation.size(), collation);
        putLittle(b, at + 0x1F8, key.size() + 1, 2);
        putLittle(b, at + 0x1FA, forExpr.size() + 1, 2);
        putLittle(b, at + 0x1FE, key.size() + 1, 2);
        b.replace(at + 512, key.size(), key);
        b.replace(at + 512 + key.size() + 1, forExpr.size(), forExpr);
    };
    struct Entry {
        std::string stored;
        std::uint32_t recno;
        int dup, trail;
    };
    // Three-byte entries: the counts get the bits the key length needs, the record number the rest.
    const auto leaf = [&](std::size_t at, int keyLength, const std::vector<Entry>& entries,
                          int attributes = 3, std::uint32_t left = 0xFFFFFFFF,
                          std::uint32_t right = 0xFFFFFFFF) {
        const int countBits = std::bit_width(static_cast<unsigned>(keyLength));
        const int recBits = 24 - 2 * countBits;
        putLittle(b, at, attributes, 2);  // 2 leaf, +1 root
        putLittle(b, at + 2, entries.size(), 2);
        putLittle(b, at + 4, left, 4);
        putLittle(b, at + 8, right, 4);
        putLittle(b, at + 14, (1u << recBits) - 1, 4);
        b[at + 18] = b[at + 19] = static_cast<char>((1 << countBits) - 1);
        b[at + 20] = static_cast<char>(recBits);
        b[at + 21] = b[at + 22] = static_cast<char>(countBits);
        b[at + 23] = 3;
        std::size_t keyAt = at + 512;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const Entry& e = entries[i];
            putLittle(b, at + 24 + 3 * i,
                      e.recno | (e.dup << recBits) | (e.trail << (recBits + countBits)), 3);
            keyAt -= e.stored.size();
            b.replace(keyAt, e.stored.size(), e.stored);
        }
    };
    header(0, 1024, 10, 0xE0, "", "", "");
    leaf(1024, 10, {{"CODE", 2560, 0, 6}, {"NAME", 1536, 0, 6}});
    header(1536, 3584, 20, 0x68, "UPPER(SU2)", "SU1>0", "GENERAL");
    leaf(3584, 20, {});
    header(2560, 4096, 6, 0x61, "CODE", "", "MACHINE");
    // Interior root: (last key below, its record number, child offset), numbers big-endian.
    putLittle(b, 4096, 1, 2);
    putLittle(b, 4098, 2, 2);
    putLittle(b, 4100, 0xFFFFFFFF, 4);
    putLittle(b, 4104, 0xFFFFFFFF, 4);
    b.replace(4108, 14, std::string("ALIX  \0\0\0\x03\0\0\x12\0", 14));
    b.replace(4122, 14, std::string("B     \0\0\0\x04\0\0\x14\0", 14));
    leaf(4608, 6, {{"ALI", 1, 0, 3}, {"X", 3, 3, 2}}, 2, 0xFFFFFFFF, 5120);
    leaf(5120, 6, {{"B", 2, 0, 5}, {"", 4, 1, 5}}, 2, 4608, 0xFFFFFFFF);
    writeBytes(cdx, b);

    const auto tags = dbf::readCdxTags(cdx);
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].name, "NAME");
    EXPECT_EQ(tags[0].keyExpression, "UPPER(SU2)");
    EXPECT_EQ(tags[0].forExpression, "SU1>0");
    EXPECT_EQ(tags[0].collation, "GENERAL");
    EXPECT_FALSE(tags[0].unique);
    EXPECT_EQ(tags[1].name, "CODE");
    EXPECT_TRUE(tags[1].unique);
    EXPECT_EQ(tags[1].keyLength, 6);
    EXPECT_EQ(
        dbf::readCdxKeys(cdx, "CODE"),
        (std::vector<dbf::CdxKey>{{"ALI   ", 1}, {"ALIX  ", 3}, {"B     ", 2}, {"B     ", 4}}));
    EXPECT_THROW(dbf::readCdxKeys(cdx, "SU9"), dbf::DbfError);
}

TEST_F(CdxFile, BrokenFilesRaiseDbfErrorNamingTheFile) {
    dbf::writeCdx(cdx, {tag("SU1", "SU1"), tag("SU2", "SU2")}, subjects().source());
    const std::string good = readBytes(cdx);
    const std::uint32_t listRoot = little32(good, 0);
    const struct {
        const char* what;
        std::function<std::string(std::string)> damage;
    } cases[] = {
        {"empty", [](std::string) { return std::string(); }},
        {"cut inside the header", [](std::string b) { return b.substr(0, 700); }},
        {"last page cut off", [](std::string b) { return b.substr(0, b.size() - 512); }},
        {"tag list root past the end",
         [](std::string b) {
             putLittle(b, 0, 0x7FFFFE00, 4);
             return b;
         }},
        {"tag list root off a page boundary",
         [](std::string b) {
             putLittle(b, 0, 1025, 4);
             return b;
         }},
        {"tag list root in the header",
         [](std::string b) {
             putLittle(b, 0, 0, 4);
             return b;
         }},
        {"tag list root of unknown type",
         [&](std::string b) {
             b.replace(listRoot, 512, 512, '\xFF');
             return b;
         }},
        {"tag header past the end",
         [&](std::string b) {  // first entry's record number: its low bytes hold the offset
             putLittle(b, listRoot + 24, 0xFE00, 2);
             return b;
         }},
        {"not a compound index",
         [](std::string b) {
             b[14] = 0x20;
             return b;
         }},
    };
    for (const auto& c : cases) {
        writeBytes(cdx, c.damage(good));
        try {
            dbf::readCdxTags(cdx);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const dbf::DbfError& e) {
            EXPECT_NE(std::string(e.what()).find("SUBJECTS.CDX"), std::string::npos) << c.what;
        }
    }
    EXPECT_THROW(dbf::readCdxTags(dir / "MISSING.CDX"), dbf::DbfError);
}

// Whatever a damaged file holds, reading it either works or raises DbfError.
TEST_F(CdxFile, DamagedBytesNeverGiveAnythingButDbfError) {
    dbf::writeCdx(cdx, {tag("SU1", "SU1"), tag("SU2", "SU2"), tag("SU7", "SU7")},
                  subjects().source());
    const std::string good = readBytes(cdx);
    std::mt19937 random(12345);
    for (int round = 0; round < 120; ++round) {
        std::string b = good;
        if (round % 8 == 0) {
            b.resize(random() % b.size());
        } else {
            const std::size_t page = random() % (b.size() / 512);
            for (int n = 1 + random() % 6; n > 0; --n)
                b[page * 512 + random() % 512] = static_cast<char>(random());
        }
        writeBytes(cdx, b);
        try {
            for (const auto& t : dbf::readCdxTags(cdx)) dbf::readCdxKeys(cdx, t.name);
        } catch (const dbf::DbfError&) {
        }
    }
}

TEST_F(CdxFile, RefusedRebuildLeavesTheFileAsItWas) {
    const MemoryTable table = subjects();
    dbf::writeCdx(cdx, {tag("SU1", "SU1")}, table.source());
    const std::string before = readBytes(cdx);
    EXPECT_THROW(dbf::writeCdx(cdx, {tag("SU1", "SU1"), tag("NAME", "UPPER(SU2)")}, table.source()),
                 dbf::DbfError);
    EXPECT_THROW(dbf::writeCdx(cdx, {tag("SU1", "SU1"), tag("su1", "SU2")}, table.source()),
                 dbf::DbfError);
    EXPECT_THROW(dbf::writeCdx(cdx, {tag("TOOLONGNAME", "SU1")}, table.source()), dbf::DbfError);
    EXPECT_EQ(readBytes(cdx), before);
    EXPECT_FALSE(fs::exists(dir / "SUBJECTS.CDX.tmp"));
}

TEST(CdxRebuild, OnlyPlainFieldKeysWithMachineCollation) {
    const MemoryTable table = subjects();
    const auto source = table.source();
    IndexTag filtered = tag("SU1", "SU1");
    filtered.forExpression = "SU1>0";
    IndexTag shortKey = tag("SU2", "SU2");
    shortKey.keyLength = 10;
    IndexTag id4 = tag("ID", "ID");
    id4.keyLength = 4;
    IndexTag id6 = tag("ID", "ID");
    id6.keyLength = 6;
    const struct {
        IndexTag tag;
        bool expected;
    } cases[] = {
        {tag("SU1", "SU1"), true},
        {tag("SU1", "su1", ""), true},
        {tag("SU1", " SU1 ", "machine"), true},
        {id4, true},
        {tag("SU2", "SU2", "GENERAL"), false},
        {tag("SU2", "UPPER(SU2)"), false},
        {tag("K", "SU1+SU2"), false},
        {tag("K", "NOPE"), false},
        {filtered, false},
        {tag("G", "GHAZ5"), false},
        {tag("N", "NOTE"), false},
        {shortKey, false},
        {id6, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dbf::canRebuild(c.tag, source), c.expected)
            << c.tag.keyExpression << " " << c.tag.collation << " " << c.tag.keyLength;
}

TEST(CdxKeys, NumbersAndDatesSortAsTheirValues) {
    const double numbers[] = {-1e12, -1000.5, -2, -1, -0.25, 0, 0.25, 1, 2, 99.5, 1e12};
    for (std::size_t i = 1; i < std::size(numbers); ++i)
        EXPECT_LT(dbf::cdxNumberKey(numbers[i - 1]), dbf::cdxNumberKey(numbers[i])) << numbers[i];
    EXPECT_EQ(dbf::cdxNumberKey(1), std::string("\xBF\xF0\0\0\0\0\0\0", 8));
    EXPECT_EQ(dbf::cdxNumberKey(-1), std::string("\x40\x0F\xFF\xFF\xFF\xFF\xFF\xFF", 8));
    EXPECT_EQ(dbf::cdxNumberKey(-0.0), dbf::cdxNumberKey(0));

    const FieldDef date = field("SU7", FieldType::Date, 8);
    const double days[] = {dbf::daysFromCivil(1899, 12, 30), dbf::daysFromCivil(1999, 12, 31),
                           dbf::daysFromCivil(2000, 1, 1), dbf::daysFromCivil(2024, 3, 1)};
    EXPECT_EQ(dbf::cdxFieldKey(date, Value::date(days[2]), 8), dbf::cdxNumberKey(2451545));
    EXPECT_LT(dbf::cdxFieldKey(date, Value::null(), 8),
              dbf::cdxFieldKey(date, Value::date(days[0]), 8));
    for (std::size_t i = 1; i < std::size(days); ++i)
        EXPECT_LT(dbf::cdxFieldKey(date, Value::date(days[i - 1]), 8),
                  dbf::cdxFieldKey(date, Value::date(days[i]), 8));

    const FieldDef id = field("ID", FieldType::Integer, 4);
    EXPECT_EQ(dbf::cdxFieldKey(id, Value::integer(-1), 4), std::string("\x7F\xFF\xFF\xFF", 4));
    EXPECT_EQ(dbf::cdxFieldKey(id, Value::integer(0), 4), std::string("\x80\0\0\0", 4));
    EXPECT_EQ(dbf::cdxFieldKey(id, Value::integer(3), 8), dbf::cdxNumberKey(3));
    const FieldDef flag = field("OK", FieldType::Logical, 1);
    EXPECT_EQ(dbf::cdxFieldKey(flag, Value::boolean(true), 1), "T");
    EXPECT_EQ(dbf::cdxFieldKey(flag, Value::null(), 1), "F");
    const FieldDef text = field("SU2", FieldType::Character, 6);
    EXPECT_EQ(dbf::cdxFieldKey(text, Value::string("Ali"), 6), "Ali   ");
    EXPECT_EQ(dbf::cdxFieldKey(text, Value::null(), 6), "      ");
}

}  // namespace
