// A table's structural index: its tag list, ordering by index fields, and the rebuild
// that keeps it current after every write.
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "dbf/cdx_index.h"
#include "dbf/notices.h"
#include "dbf/table.h"
#include "fixture.h"

namespace dbf::testing {
namespace {

IndexTag tag(std::string name, std::string collation = "MACHINE") {
    IndexTag t;
    t.keyExpression = name;
    t.name = std::move(name);
    t.collation = std::move(collation);
    return t;
}

class TableIndexTest : public ::testing::Test {
  protected:
    void makeSubjects(const std::vector<IndexTag>& tags) {
        makeTable(dir.path(), "SUBJECTS.DBF", {{"SU1", 'N', 6}, {"SU2", 'C', 20}},
                  {{I(3), S("Sara")}, {I(1), S("Ali")}, {I(2), S("Mina")}});
        auto file = DbfFile::open(dir / "SUBJECTS.DBF");
        writeCdx(dir / "SUBJECTS.CDX", tags, cdxSourceOf(*file));
        table.setDirectory(dir.path());
        table.setTableName("SUBJECTS.dbf");
        table.open();
    }
    std::vector<std::int64_t> codes() {
        std::vector<std::int64_t> out;
        for (table.first(); !table.eof(); table.next())
            out.push_back(table.value("SU1").asInteger());
        return out;
    }
    TempDir dir;
    Table table;
};

TEST_F(TableIndexTest, ListsTagsInTheFilesOrderAndOrdersRowsByField) {
    makeSubjects({tag("SU2"), tag("SU1")});
    table.refreshIndexDefs();
    ASSERT_EQ(table.indexDefs().size(), 2u);
    EXPECT_EQ(table.indexDefs()[0].name, "SU2");
    EXPECT_EQ(table.indexDefs()[1].keyExpression, "SU1");
    EXPECT_EQ(codes(), (std::vector<std::int64_t>{3, 1, 2}));
    table.locate("SU1", I(2));
    table.setIndexFieldNames("SU2");
    EXPECT_EQ(table.value("SU1").asInteger(), 2);  // the same row stays current
    EXPECT_EQ(codes(), (std::vector<std::int64_t>{1, 2, 3}));
    table.setIndexFieldNames("");
    EXPECT_EQ(codes(), (std::vector<std::int64_t>{3, 1, 2}));
}

TEST_F(TableIndexTest, EveryWriteRebuildsTheIndex) {
    makeSubjects({tag("SU1"), tag("SU2")});
    table.append();
    table.setValue("SU1", I(4));
    table.setValue("SU2", S("Babak"));
    table.post();
    table.locate("SU1", I(3));
    table.edit();
    table.setValue("SU2", S("Zahra"));
    table.post();
    const auto keys = readCdxKeys(dir / "SUBJECTS.CDX", "SU2");
    ASSERT_EQ(keys.size(), 4u);
    std::vector<std::uint32_t> recnos;
    for (const auto& k : keys) recnos.push_back(k.recno);
    EXPECT_EQ(recnos, (std::vector<std::uint32_t>{2, 4, 3, 1}));  // Ali, Babak, Mina, Zahra
    EXPECT_EQ(keys[3].key.substr(0, 5), "Zahra");
    EXPECT_EQ(readCdxKeys(dir / "SUBJECTS.CDX", "SU1", '\0').size(), 4u);
}

TEST_F(TableIndexTest, ATagThatCannotBeRebuiltIsToldOnceAndTheTableStaysUsable) {
    makeSubjects({tag("SU1"), tag("SU2")});
    {
        // Our writer makes only MACHINE tags: turn the second into a GENERAL one, as FoxPro
        // writes it with SET COLLATE TO "GENERAL".
        std::fstream f(dir / "SUBJECTS.CDX", std::ios::in | std::ios::out | std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(f), {}};
        const auto at = bytes.rfind("MACHINE");
        ASSERT_NE(at, std::string::npos);
        f.seekp(static_cast<std::streamoff>(at));
        f.write("GENERAL", 7);
    }
    table.refreshIndexDefs();
    ASSERT_EQ(table.indexDefs().at(1).collation, "GENERAL");
    const auto before = std::filesystem::file_size(dir / "SUBJECTS.CDX");
    std::vector<std::string> notices;
    const auto old = setNoticeHandler([&](const std::string& t) { notices.push_back(t); });
    for (int i = 0; i < 2; ++i) {
        table.append();
        table.setValue("SU1", I(10 + i));
        table.post();
    }
    setNoticeHandler(old);
    EXPECT_EQ(table.recordCount(), 5);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("GENERAL"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("FoxPro"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(dir / "SUBJECTS.CDX"), before);  // left as it was
}

}  // namespace
}  // namespace dbf::testing

namespace dbf::testing {
namespace {

// Two programs append to one indexed table while a third reads the index: no row is lost,
// the reader never meets a half-written index, no writer gives a false notice and no
// temporary file is left behind.
TEST_F(TableIndexTest, TwoWritersKeepTheIndexWholeForAThirdReader) {
    makeSubjects({tag("SU1")});
    table.close();
    constexpr int kEach = 2000;
    auto writer = [&](int base) {
        std::vector<std::string> notices;
        setNoticeHandler([&](const std::string& t) { notices.push_back(t); });
        Table t;
        t.setDirectory(dir.path());
        t.setTableName("SUBJECTS.DBF");
        t.open();
        for (int i = 0; i < kEach; ++i) {
            t.append();
            t.setValue("SU1", I(base + i));
            t.post();
        }
        _exit(notices.empty() ? 0 : 3);
    };
    pid_t a = fork();
    if (a == 0) writer(1000);
    pid_t b = fork();
    if (b == 0) writer(5000);
    int damaged = 0, reads = 0;
    std::string firstDamage;
    for (int done = 0; done < 2;) {
        try {
            readCdxKeys(dir / "SUBJECTS.CDX", "SU1", '\0');
        } catch (const std::exception& e) {
            if (damaged++ == 0) firstDamage = e.what();
        }
        ++reads;
        int status = 0;
        for (pid_t* p : {&a, &b})
            if (*p > 0 && waitpid(*p, &status, WNOHANG) == *p) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer said "
                                                                              "something";
                *p = 0;
                ++done;
            }
    }
    EXPECT_EQ(damaged, 0) << "of " << reads << " reads: " << firstDamage;
    RecordProperty("index_reads", reads);
    EXPECT_EQ(readCdxKeys(dir / "SUBJECTS.CDX", "SU1", '\0').size(), 3u + 2 * kEach);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_NE(e.path().extension(), ".tmp") << e.path();
    table.open();
    EXPECT_EQ(table.recordCount(), 3 + 2 * kEach);
}

}  // namespace
}  // namespace dbf::testing

namespace dbf::testing {
namespace {

// A writer killed between its append and its index rebuild leaves a stale index: the next
// open notices it and rebuilds it.
TEST_F(TableIndexTest, AStaleIndexIsRebuiltOnTheNextOpen) {
    makeSubjects({tag("SU1")});
    table.close();
    {
        auto file = DbfFile::open(dir / "SUBJECTS.DBF");
        std::string rec = file->blankRecord();
        file->encode(rec, file->allFields()[0], I(9));
        file->appendRecord(rec);  // no index rebuild: as if killed right after
    }
    ASSERT_EQ(readCdxKeys(dir / "SUBJECTS.CDX", "SU1", '\0').size(), 3u);
    table.open();
    EXPECT_EQ(readCdxKeys(dir / "SUBJECTS.CDX", "SU1", '\0').size(), 4u);
}

// An index damaged while the table is open costs its orders, not the table: one notice,
// and the rows in their own order.
TEST_F(TableIndexTest, ADamagedIndexFallsBackToTheTablesOwnOrder) {
    makeSubjects({tag("SU1")});
    std::vector<std::string> notices;
    auto previous = setNoticeHandler([&](const std::string& t) { notices.push_back(t); });
    {
        std::ofstream f(dir / "SUBJECTS.CDX", std::ios::binary | std::ios::trunc);
        f << "not an index";
    }
    table.refreshIndexDefs();
    table.refreshIndexDefs();
    EXPECT_TRUE(table.indexDefs().empty());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("shown in its own order"), std::string::npos) << notices[0];
    EXPECT_EQ(codes(), (std::vector<std::int64_t>{3, 1, 2}));
    setNoticeHandler(previous);
}

}  // namespace
}  // namespace dbf::testing
