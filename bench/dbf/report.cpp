#include "report.h"

#include "clock.h"

namespace bench {
namespace {

std::string ms(const std::optional<double>& v) {
    if (!v) return "n/a";
    char buf[32];
    if (*v < 1)
        std::snprintf(buf, sizeof buf, "%.4f", *v);
    else if (*v < 100)
        std::snprintf(buf, sizeof buf, "%.2f", *v);
    else
        std::snprintf(buf, sizeof buf, "%.1f", *v);
    return buf;
}

std::optional<double> ratio(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b || *b <= 0) return std::nullopt;
    return *a / *b;
}

std::string ratioText(const std::optional<double>& r) {
    if (!r) return "n/a";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", *r);
    return buf;
}

std::string goalText(const Measurement& m) {
    const auto vsSqlite = ratio(m.ours, m.sqlite);
    const auto vsFloor = ratio(m.ours, m.floor);
    if (!vsSqlite || !vsFloor) return "n/a";
    std::string s;
    s += *vsSqlite <= m.goalVsSqlite ? "met" : "MISSED";
    s += "/";
    s += *vsFloor <= kFloorGoal ? "met" : "MISSED";
    return s;
}

// Pads to `width` characters on screen (UTF-8 letters count once).
std::string padded(const std::string& s, std::size_t width) {
    std::size_t shown = 0;
    for (const char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++shown;
    return shown >= width ? s : s + std::string(width - shown, ' ');
}

}  // namespace

std::string withThousands(std::int64_t n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

void printTable(std::FILE* out, std::size_t foods, int repeats,
                const std::vector<Measurement>& rows, const OpenTiming& open) {
    std::fprintf(out, "\n%s foods: medians of %d runs, ms (%s) per statement\n",
                 withThousands(static_cast<std::int64_t>(foods)).c_str(), repeats, clockName());
    std::fprintf(out, "%-24s %10s %10s %10s %10s %10s %10s %11s %10s %-14s %s\n", "query", "rows",
                 "ours", "SQLite", "floor", "ours 1st", "ours stmt", "ours/SQLite", "ours/floor",
                 "goal SQL/floor", "check");
    for (const auto& m : rows) {
        char goal[16];
        std::snprintf(goal, sizeof goal, "<=%.1f", m.goalVsSqlite);
        std::fprintf(out, "%s %10s %10s %10s %10s %10s %10s %11s %10s %-14s %s\n",
                     padded(m.name, 24).c_str(), withThousands(m.rows).c_str(), ms(m.ours).c_str(),
                     ms(m.sqlite).c_str(), ms(m.floor).c_str(), ms(m.oursFirst).c_str(),
                     m.oursStatement ? ms(m.oursStatement).c_str() : "-",
                     ratioText(ratio(m.ours, m.sqlite)).c_str(),
                     ratioText(ratio(m.ours, m.floor)).c_str(),
                     (std::string(goal) + " " + goalText(m)).c_str(), m.check.c_str());
    }
    for (const auto& m : rows)
        if (!m.oursError.empty())
            std::fprintf(out, "  ours n/a for %s: %s\n", m.name.c_str(), m.oursError.c_str());
    if (!open.error.empty()) {
        std::fprintf(out, "open + first listing (ours): n/a: %s\n", open.error.c_str());
    } else if (open.firstMs) {
        std::fprintf(out,
                     "open + first listing (ours, store released before each): first %s ms, "
                     "median of %d %s ms, goal < %.0f ms: %s\n",
                     ms(open.firstMs).c_str(), open.runs, ms(open.medianMs).c_str(), kOpenGoalMs,
                     *open.firstMs < kOpenGoalMs ? "met" : "MISSED");
    }
    std::fflush(out);
}

}  // namespace bench
