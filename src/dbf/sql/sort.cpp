#include "sort.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>

#include "evaluator.h"

namespace dbf::sql {
namespace {

struct Item {
    std::uint64_t key;
    std::uint32_t payload;  // a row (one table) or a tuple position
};

// Sorts by key, ties by payload. Payloads ascend in the input (rows of one table come
// in table order), so this is the stable order. Large inputs go through a radix sort,
// least significant 16 bits first, skipping digits that every key shares.
void sortItems(std::vector<Item>& a) {
    if (a.size() < 65536) {  // the buckets would cost more than the sort
        std::sort(a.begin(), a.end(), [](const Item& x, const Item& y) {
            return x.key != y.key ? x.key < y.key : x.payload < y.payload;
        });
        return;
    }
    std::vector<Item> b(a.size());
    std::vector<std::uint32_t> count(65536);
    for (int shift = 0; shift < 64; shift += 16) {
        std::fill(count.begin(), count.end(), 0);
        for (const Item& e : a) ++count[(e.key >> shift) & 0xFFFF];
        if (count[(a[0].key >> shift) & 0xFFFF] == a.size()) continue;
        std::uint32_t sum = 0;
        for (auto& c : count) {
            const std::uint32_t here = c;
            c = sum;
            sum += here;
        }
        for (const Item& e : a) b[count[(e.key >> shift) & 0xFFFF]++] = e;
        a.swap(b);
    }
}

// A number as an unsigned key in the same order; empty values below every number.
std::uint64_t orderedBits(double v, bool isNull, bool descending) {
    std::uint64_t bits;
    if (isNull) {
        bits = 0;
    } else {
        bits = std::bit_cast<std::uint64_t>(v + 0.0);  // -0 as 0
        bits = (bits & (1ull << 63)) ? ~bits : bits | (1ull << 63);
    }
    return descending ? ~bits : bits;
}

void sortByOneNumber(const OrderKey& key, Sources& sources, TupleSet& tuples) {
    const std::size_t n = tuples.size();
    std::size_t joined = 0;
    for (const auto& r : tuples.rows) joined += r ? 1 : 0;
    const Bound& e = *key.expr;
    const bool byRow = joined == 1;
    std::vector<Item> items(n);
    if (e.isColumn() && sources.columnar(e.table, e.field, n)) {
        const Column& c = sources.column(e.table, e.field);
        const std::uint32_t* rows = tuples.rows[static_cast<std::size_t>(e.table)]->data();
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t r = rows[i];
            items[i] = {orderedBits(c.numbers[r], c.nulls[r], key.descending),
                        byRow ? r : static_cast<std::uint32_t>(i)};
        }
    } else {
        Evaluator eval(sources, tuples);
        NumVec v;
        const std::uint32_t* rows = nullptr;
        for (const auto& r : tuples.rows)
            if (r) rows = r->data();
        for (std::size_t begin = 0; begin < n; begin += Evaluator::kChunk) {
            const std::size_t k = std::min(Evaluator::kChunk, n - begin);
            eval.number(e, begin, k, v);
            for (std::size_t i = 0; i < k; ++i)
                items[begin + i] = {
                    orderedBits(v.values[i], v.nulls[i], key.descending),
                    byRow ? rows[begin + i] : static_cast<std::uint32_t>(begin + i)};
        }
    }
    sortItems(items);
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = items[i].payload;
    if (!byRow) {
        tuples.select(order);
        return;
    }
    for (auto& r : tuples.rows)
        if (r) r = std::make_shared<std::vector<std::uint32_t>>(std::move(order));
}

std::vector<std::uint32_t> orderByKeys(const std::vector<OrderKey>& keys, Evaluator& eval,
                                       std::size_t n) {
    struct KeyValues {
        bool text = false;
        bool descending = false;
        NumVec numbers;
        TextVec texts;
    };
    std::vector<KeyValues> values(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        values[k].descending = keys[k].descending;
        values[k].text = keys[k].expr->type == ValueType::Text;
        if (values[k].text)
            eval.text(*keys[k].expr, 0, n, false, values[k].texts);
        else
            eval.number(*keys[k].expr, 0, n, values[k].numbers);
    }
    // -1, 0, 1 for x before, tied with, after y in ascending order; empty first.
    const auto compare = [](const KeyValues& kv, std::uint32_t x, std::uint32_t y) {
        const bool nx = kv.text ? kv.texts.nulls[x] : kv.numbers.nulls[x];
        const bool ny = kv.text ? kv.texts.nulls[y] : kv.numbers.nulls[y];
        if (nx || ny) return nx == ny ? 0 : (nx ? -1 : 1);
        if (kv.text) {
            const int c = kv.texts.views[x].compare(kv.texts.views[y]);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        const double a = kv.numbers.values[x], b = kv.numbers.values[y];
        return a < b ? -1 : (a > b ? 1 : 0);
    };
    std::vector<std::uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t x, std::uint32_t y) {
        for (const KeyValues& kv : values) {
            const int c = compare(kv, x, y);
            if (c != 0) return kv.descending ? c > 0 : c < 0;
        }
        return false;
    });
    return order;
}

}  // namespace

std::vector<std::uint32_t> orderByNumber(const Column& column,
                                         const std::vector<std::uint32_t>& rows) {
    std::vector<Item> items(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        items[i] = {orderedBits(column.numbers[rows[i]], column.nulls[rows[i]], false), rows[i]};
    sortItems(items);
    std::vector<std::uint32_t> order(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) order[i] = items[i].payload;
    return order;
}

void sortTuples(const std::vector<OrderKey>& keys, Sources& sources, TupleSet& tuples) {
    const std::size_t n = tuples.size();
    if (keys.empty() || n < 2) return;
    if (keys.size() == 1 && keys[0].expr->type == ValueType::Number) {
        sortByOneNumber(keys[0], sources, tuples);
        return;
    }
    Evaluator eval(sources, tuples);
    tuples.select(orderByKeys(keys, eval, n));
}

}  // namespace dbf::sql
