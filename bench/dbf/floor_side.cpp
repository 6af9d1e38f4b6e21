// The floor: plain loops over the data held column-wise in memory, with the lookups a
// hand-written program would keep (food by code, contents by recipe, recall by subject)
// and the names folded for search once, as an engine's search cache holds them.
#include <algorithm>
#include <bit>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "dbf/codepage1256.h"
#include "sides.h"

namespace bench {
namespace {

std::string folded(std::string s) {
    dbf::cp1256::foldForSearch(s);
    return s;
}

class FloorSide : public Side {
  public:
    explicit FloorSide(const BenchData& d) : m_d(d) {
        const auto& f = d.foods;
        m_foldedEn.reserve(f.size());
        m_foldedFa.reserve(f.size());
        for (std::size_t i = 0; i < f.size(); ++i) {
            m_foldedEn.push_back(folded(f.nameEn[i]));
            m_foldedFa.push_back(folded(f.nameFa[i]));
            m_foodByCode.emplace(f.code[i], static_cast<std::uint32_t>(i));
        }
        for (std::size_t i = 0; i < d.contents.size(); ++i)
            m_contentsByRecipe[d.contents.recipe[i]].push_back(static_cast<std::uint32_t>(i));
        for (std::size_t i = 0; i < d.recall.size(); ++i)
            m_recallBySubject[d.recall.subject[i]].push_back(static_cast<std::uint32_t>(i));
    }

    RowsResult rows(RowQuery query, const RowParams& p) override {
        const auto& f = m_d.foods;
        const NumberColumn& n45 = f.nutrients[45 - kFirstNutrient];
        std::vector<std::uint32_t> rows;
        switch (query) {
            case RowQuery::Listing:
                for (std::uint32_t i = 0; i < f.size(); ++i)
                    if (f.code[i] > 0) rows.push_back(i);
                return produce(rows, nullptr);
            case RowQuery::NameEnglish:
            case RowQuery::NameFarsi: {
                const bool en = query == RowQuery::NameEnglish;
                const std::string word =
                    folded(en ? p.englishWord : dbf::cp1256::fromUtf8(p.farsiWordUtf8));
                const auto& names = en ? m_foldedEn : m_foldedFa;
                for (std::uint32_t i = 0; i < names.size(); ++i)
                    if (std::string_view(names[i]).find(word) != std::string_view::npos)
                        rows.push_back(i);
                return produce(rows, nullptr);
            }
            case RowQuery::Range:
                for (std::uint32_t i = 0; i < f.size(); ++i)
                    if (!n45.nulls[i] && n45.values[i] >= p.rangeLow &&
                        n45.values[i] <= p.rangeHigh)
                        rows.push_back(i);
                sortDescending(rows, n45);
                return produce(rows, &n45);
            case RowQuery::Ranking:
                rows.resize(f.size());
                for (std::uint32_t i = 0; i < f.size(); ++i) rows[i] = i;
                sortDescending(rows, n45);
                return produce(rows, &n45);
        }
        return {};
    }

    SumsResult recipeSum(int recipe, const std::string& divisor) override {
        const double d = std::stod(divisor);
        SumsResult r = empty();
        const auto it = m_contentsByRecipe.find(recipe);
        if (it == m_contentsByRecipe.end()) return r;
        for (const std::uint32_t c : it->second) {
            const auto food = m_foodByCode.find(m_d.contents.food[c]);
            if (food == m_foodByCode.end()) continue;
            const double w = m_d.contents.weight[c];
            for (std::size_t k = 0; k < kNutrientCount; ++k) {
                const NumberColumn& col = m_d.foods.nutrients[k];
                if (col.nulls[food->second]) continue;
                r.values[k] += (col.values[food->second] * w * 0.01) / d;
                r.nulls[k] = 0;
            }
        }
        return r;
    }

    SumsResult recallSum(int subject) override {
        SumsResult r = empty();
        const auto it = m_recallBySubject.find(subject);
        if (it == m_recallBySubject.end()) return r;
        const RecallData& rc = m_d.recall;
        for (const std::uint32_t row : it->second) {
            if (rc.amount.nulls[row]) continue;  // an empty amount makes every product empty
            const double a = rc.amount.values[row];
            for (std::size_t k = 0; k < kNutrientCount; ++k) {
                const NumberColumn& col = rc.nutrients[k];
                if (col.nulls[row]) continue;
                r.values[k] += col.values[row] * a * 0.01;
                r.nulls[k] = 0;
            }
        }
        return r;
    }

  private:
    static SumsResult empty() {
        SumsResult r;
        r.values.assign(kNutrientCount, 0.0);
        r.nulls.assign(kNutrientCount, 1);
        return r;
    }

    // Highest first, empty amounts last, ties in table order: a stable radix sort on the
    // keys turned into integers that order as the wanted result (four passes of 16 bits).
    static void sortDescending(std::vector<std::uint32_t>& rows, const NumberColumn& key) {
        struct Entry {
            std::uint64_t key;
            std::uint32_t row;
        };
        std::vector<Entry> a(rows.size()), b;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::uint32_t r = rows[i];
            std::uint64_t k = ~std::uint64_t{0};  // empty amounts last
            if (!key.nulls[r]) {
                const auto bits = std::bit_cast<std::uint64_t>(key.values[r] + 0.0);  // -0 as 0
                const std::uint64_t ascending =
                    (bits >> 63) ? ~bits : bits | (std::uint64_t{1} << 63);
                k = ~ascending;
            }
            a[i] = {k, r};
        }
        if (a.size() < 65536) {  // the buckets would cost more than the sort
            std::sort(a.begin(), a.end(), [](const Entry& x, const Entry& y) {
                return x.key != y.key ? x.key < y.key : x.row < y.row;
            });
            for (std::size_t i = 0; i < a.size(); ++i) rows[i] = a[i].row;
            return;
        }
        b.resize(a.size());
        std::vector<std::uint32_t> count(65536);
        for (int shift = 0; shift < 64; shift += 16) {
            std::fill(count.begin(), count.end(), 0);
            for (const Entry& e : a) ++count[(e.key >> shift) & 0xFFFF];
            if (count[(a.empty() ? 0 : a[0].key >> shift) & 0xFFFF] == a.size())
                continue;  // one digit
            std::uint32_t sum = 0;
            for (auto& c : count) sum += std::exchange(c, sum);
            for (const Entry& e : a) b[count[(e.key >> shift) & 0xFFFF]++] = e;
            a.swap(b);
        }
        for (std::size_t i = 0; i < a.size(); ++i) rows[i] = a[i].row;
    }

    RowsResult produce(const std::vector<std::uint32_t>& rows, const NumberColumn* key) const {
        const auto& f = m_d.foods;
        RowsResult r;
        double last = 0;
        bool haveLast = false;
        for (const std::uint32_t row : rows) {
            ++r.count;
            r.codeSum += f.code[row];
            if (key && !key->nulls[row]) {
                const double k = key->values[row];
                if (haveLast && k > last) r.ordered = false;
                last = k;
                haveLast = true;
            }
            if (r.count <= kPageRows)
                r.pageBytes +=
                    static_cast<std::int64_t>(f.nameEn[row].size() + f.nameFa[row].size());
        }
        return r;
    }

    const BenchData& m_d;
    std::vector<std::string> m_foldedEn;
    std::vector<std::string> m_foldedFa;
    std::unordered_map<std::int32_t, std::uint32_t> m_foodByCode;
    std::unordered_map<std::int32_t, std::vector<std::uint32_t>> m_contentsByRecipe;
    std::unordered_map<std::int32_t, std::vector<std::uint32_t>> m_recallBySubject;
};

}  // namespace

std::unique_ptr<Side> makeFloorSide(const BenchData& data) {
    return std::make_unique<FloorSide>(data);
}

}  // namespace bench
