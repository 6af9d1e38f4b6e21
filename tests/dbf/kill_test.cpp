// A writer killed at any moment (the power cut, the task manager, a crash elsewhere in the
// program): every table still opens, every committed row is intact with its memo, and the
// structural index agrees with the table on the next open.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <random>

#include "dbf/cdx_index.h"
#include "dbf/notices.h"
#include "dbf/table.h"
#include "fixture.h"

namespace dbf::testing {
namespace {

namespace fs = std::filesystem;

// The memo a row holds at each version: its length goes up and down, so that edits both
// grow memos (new blocks) and shrink them.
std::string noteOf(std::int64_t id, std::int64_t version) {
    return std::string(static_cast<std::size_t>((version % 7 + 1) * 40 + id % 13),
                       static_cast<char>('a' + (id + version) % 26));
}

struct Commit {
    std::int64_t id;
    std::int64_t version;
};

void makeKillTable(const fs::path& dir) {
    makeTable(dir, "K.DBF", {{"ID", 'N', 8}, {"NAME", 'C', 12}, {"NOTE", 'M'}});
    auto file = DbfFile::open(dir / "K.DBF");
    IndexTag tag;
    tag.name = tag.keyExpression = "ID";
    tag.collation = "MACHINE";
    writeCdx(dir / "K.CDX", {tag}, cdxSourceOf(*file));
}

// Appends rows 1, 2, 3, … and edits earlier ones, telling `fd` of each write once it is
// done. Runs until killed.
[[noreturn]] void write(const fs::path& dir, int fd, unsigned seed) {
    setNoticeHandler([](const std::string&) { _exit(3); });
    try {
        std::mt19937 rng(seed);
        Table t;
        t.setDirectory(dir);
        t.setTableName("K.DBF");
        t.open();
        std::int64_t next = t.recordCount() + 1;
        for (;;) {
            Commit c{};
            if (next > 1 && rng() % 3 == 0) {
                c.id = 1 + static_cast<std::int64_t>(rng() % static_cast<unsigned>(next - 1));
                if (!t.locate("ID", I(c.id))) _exit(4);
                c.version = std::stoll(t.value("NAME").asString().substr(1)) + 1;
                t.edit();
            } else {
                c = {next++, 0};
                t.append();
                t.setValue("ID", I(c.id));
            }
            t.setValue("NAME", S("v" + std::to_string(c.version)));
            t.setValue("NOTE", M(noteOf(c.id, c.version)));
            t.post();
            if (::write(fd, &c, sizeof c) != sizeof c) _exit(5);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "writer: %s\n", e.what());
        _exit(1);
    }
}

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The rows as a reader that shares no code with the engine sees them: header counts and
// each record's deletion flag and ID (the first field, 8 digits after the flag).
std::vector<std::int64_t> idsReadByHand(const fs::path& table) {
    const std::string b = readBytes(table);
    auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(b[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(b[at + 1])) << 8;
    };
    const std::uint32_t count = u16(4) | static_cast<std::uint32_t>(u16(6)) << 16;
    const unsigned headerLength = u16(8), recordLength = u16(10);
    std::vector<std::int64_t> ids;
    if (b.size() < headerLength + std::size_t{count} * recordLength) return {-1};
    for (std::uint32_t r = 0; r < count; ++r) {
        const std::size_t at = headerLength + std::size_t{r} * recordLength;
        if (b[at] != ' ' && b[at] != '*') return {-2};
        ids.push_back(std::atoll(b.substr(at + 1, 8).c_str()));
    }
    return ids;
}

TEST(KillTest, AWriterKilledAtAnyMomentLeavesEveryCommittedRowAndAnAgreeingIndex) {
    const char* env = std::getenv("HALVORA_KILL_ROUNDS");
    const int rounds = env ? std::atoi(env) : 1000;
    TempDir scratch;
    std::mt19937 rng(20261211);
    // id → the version last reported done, or seen on disk after the round before.
    std::map<std::int64_t, std::int64_t> committed;
    fs::path dir;
    int rowsSeen = 0;
    for (int round = 0; round < rounds; ++round) {
        // A fresh table every 100 rounds keeps the writer quick; within a run of rounds
        // each round meets what the last one left.
        if (round % 100 == 0) {
            dir = scratch / ("run" + std::to_string(round / 100));
            fs::create_directories(dir);
            makeKillTable(dir);
            committed.clear();
        }
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            close(pipeFds[0]);
            write(dir, pipeFds[1], static_cast<unsigned>(round));
        }
        close(pipeFds[1]);
        usleep(std::uniform_int_distribution<useconds_t>(0, 6000)(rng));
        kill(writer, SIGKILL);
        int status = 0;
        waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "round " << round << ": the writer stopped by itself, status "
            << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        for (Commit c; read(pipeFds[0], &c, sizeof c) == sizeof c;) committed[c.id] = c.version;
        close(pipeFds[0]);

        Table t;
        t.setDirectory(dir);
        t.setTableName("K.DBF");
        ASSERT_NO_THROW(t.open()) << "round " << round;
        const std::int64_t rows = t.recordCount();
        ASSERT_GE(rows, static_cast<std::int64_t>(committed.size()))
            << "round " << round << ": committed rows are missing";
        std::int64_t expectedId = 1;
        for (t.first(); !t.eof(); t.next(), ++expectedId) {
            const std::int64_t id = t.value("ID").asInteger();
            ASSERT_EQ(id, expectedId) << "round " << round;
            const std::int64_t version = std::stoll(t.value("NAME").asString().substr(1));
            ASSERT_EQ(t.value("NOTE").asString(), noteOf(id, version))
                << "round " << round << ", row " << id << ": memo and record disagree";
            if (auto c = committed.find(id); c != committed.end()) {
                ASSERT_TRUE(version == c->second || version == c->second + 1)
                    << "round " << round << ", row " << id << ": version " << version
                    << ", committed " << c->second;
            }
            // What is on disk now is what the next writer builds on, reported or not.
            committed[id] = version;
        }
        rowsSeen += static_cast<int>(rows);

        std::vector<std::int64_t> byHand = idsReadByHand(dir / "K.DBF");
        ASSERT_EQ(byHand.size(), static_cast<std::size_t>(rows)) << "round " << round;
        for (std::size_t i = 0; i < byHand.size(); ++i)
            ASSERT_EQ(byHand[i], static_cast<std::int64_t>(i + 1)) << "round " << round;

        const auto keys = readCdxKeys(dir / "K.CDX", "ID");
        ASSERT_EQ(keys.size(), static_cast<std::size_t>(rows))
            << "round " << round << ": the index disagrees with the table";
        for (const auto& e : fs::directory_iterator(dir))
            ASSERT_NE(e.path().extension(), ".tmp") << "round " << round << ": " << e.path();
    }
    RecordProperty("rows_checked", rowsSeen);
}

}  // namespace
}  // namespace dbf::testing
