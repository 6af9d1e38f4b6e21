#include "sort.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>

#include "evaluator.h"

namespace dbf::sql {
namespace {

// Orders 64-bit keys with their positions, least significant 16 bits first; a radix
// sort is stable and takes a few passes over a million rows.
std::vector<std::uint32_t> radixOrder(const std::vector<std::uint64_t>& keys) {
    struct Item {
        std::uint64_t key;
        std::uint32_t position;
    };
    const std::size_t n = keys.size();
    std::vector<Item> a(n), b(n);
    for (std::size_t i = 0; i < n; ++i) a[i] = {keys[i], static_cast<std::uint32_t>(i)};
    std::vector<std::uint32_t> counts(4 * 65536, 0);
    for (const std::uint64_t k : keys)
        for (int d = 0; d < 4; ++d) ++counts[d * 65536 + ((k >> (16 * d)) & 0xFFFF)];
    for (int d = 0; d < 4; ++d) {
        std::uint32_t* count = counts.data() + d * 65536;
        if (count[(a[0].key >> (16 * d)) & 0xFFFF] == n) continue;  // one digit for all
        std::uint32_t sum = 0;
        for (int v = 0; v < 65536; ++v) {
            const std::uint32_t c = count[v];
            count[v] = sum;
            sum += c;
        }
        for (const Item& item : a) b[count[(item.key >> (16 * d)) & 0xFFFF]++] = item;
        a.swap(b);
    }
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = a[i].position;
    return order;
}

// A number as an unsigned key in the same order; empty values below every number.
std::uint64_t orderedBits(double v, bool isNull, bool descending) {
    std::uint64_t bits;
    if (isNull) {
        bits = 0;
    } else {
        if (v == 0) v = 0;  // -0 and 0 are equal
        bits = std::bit_cast<std::uint64_t>(v);
        bits = (bits & (1ull << 63)) ? ~bits : bits | (1ull << 63);
    }
    return descending ? ~bits : bits;
}

std::vector<std::uint32_t> orderByOneNumber(const OrderKey& key, Evaluator& eval, std::size_t n) {
    NumVec v;
    eval.number(*key.expr, 0, n, v);
    std::vector<std::uint64_t> bits(n);
    for (std::size_t i = 0; i < n; ++i)
        bits[i] = orderedBits(v.values[i], v.nulls[i], key.descending);
    if (n >= 1024) return radixOrder(bits);
    std::vector<std::uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t x, std::uint32_t y) { return bits[x] < bits[y]; });
    return order;
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

void sortTuples(const std::vector<OrderKey>& keys, Sources& sources, TupleSet& tuples) {
    const std::size_t n = tuples.size();
    if (keys.empty() || n < 2) return;
    Evaluator eval(sources, tuples);
    const bool oneNumber = keys.size() == 1 && keys[0].expr->type == ValueType::Number;
    const auto order = oneNumber ? orderByOneNumber(keys[0], eval, n) : orderByKeys(keys, eval, n);
    tuples.select(order);
}

}  // namespace dbf::sql
