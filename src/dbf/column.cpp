#include "column.h"

#include <algorithm>
#include <cmath>

namespace dbf {

Value Column::value(std::uint32_t row) const {
    if (isNull(row)) return Value::null();
    switch (kind) {
        case Kind::Text:
            return Value::string(std::string(textAt(row)));
        case Kind::Other:
            return values[row];
        case Kind::Number:
            break;
    }
    const double d = numbers[row];
    switch (field.type) {
        case FieldType::Integer:
            return Value::integer(static_cast<std::int64_t>(d));
        case FieldType::Numeric:
            return field.decimals == 0 ? Value::integer(static_cast<std::int64_t>(d))
                                       : Value::real(d);
        case FieldType::Currency:
            return Value::currency(d);
        case FieldType::Date:
            return Value::date(d);
        case FieldType::DateTime:
            return Value::dateTime(d);
        case FieldType::Logical:
            return Value::boolean(d != 0);
        default:
            return Value::real(d);
    }
}

EqualityIndex::EqualityIndex(const Column& column, const std::vector<std::uint32_t>& liveRows) {
    if (column.kind != Column::Kind::Number) return;
    double low = 0, high = 0;
    std::size_t count = 0;
    bool whole = true;
    for (const std::uint32_t r : liveRows) {
        if (column.isNull(r)) continue;
        const double v = column.numbers[r];
        whole = whole && v == std::floor(v) && std::fabs(v) < 1e15;
        low = count == 0 ? v : std::min(low, v);
        high = count == 0 ? v : std::max(high, v);
        ++count;
    }
    m_rows.reserve(count);
    if (count > 0 && whole && high - low <= 2.0 * static_cast<double>(count) + 1024) {
        // A counting sort by key offset keeps every group in table order.
        m_dense = true;
        m_base = low;
        const auto span = static_cast<std::size_t>(high - low) + 1;
        m_starts.assign(span + 1, 0);
        for (const std::uint32_t r : liveRows)
            if (!column.isNull(r))
                ++m_starts[static_cast<std::size_t>(column.numbers[r] - low) + 1];
        for (std::size_t k = 1; k <= span; ++k) m_starts[k] += m_starts[k - 1];
        m_rows.resize(count);
        std::vector<std::uint32_t> next(m_starts.begin(), m_starts.end() - 1);
        for (const std::uint32_t r : liveRows)
            if (!column.isNull(r))
                m_rows[next[static_cast<std::size_t>(column.numbers[r] - low)]++] = r;
        return;
    }
    std::vector<std::pair<double, std::uint32_t>> pairs;
    pairs.reserve(count);
    for (const std::uint32_t r : liveRows)
        if (!column.isNull(r)) pairs.emplace_back(column.numbers[r], r);
    std::sort(pairs.begin(), pairs.end());
    m_groups.reserve(pairs.size());
    for (std::size_t i = 0; i < pairs.size();) {
        std::size_t j = i;
        // Every pass takes at least one row, whatever the key compares like.
        do m_rows.push_back(pairs[j++].second);
        while (j < pairs.size() && pairs[j].first == pairs[i].first);
        m_groups.emplace(pairs[i].first, std::make_pair(static_cast<std::uint32_t>(i),
                                                        static_cast<std::uint32_t>(j)));
        i = j;
    }
}

std::span<const std::uint32_t> EqualityIndex::find(double key) const {
    if (m_dense) {
        const double offset = key - m_base;
        if (!(offset >= 0) || offset >= static_cast<double>(m_starts.size() - 1) ||
            offset != std::floor(offset))
            return {};
        const auto k = static_cast<std::size_t>(offset);
        return {m_rows.data() + m_starts[k], m_starts[k + 1] - m_starts[k]};
    }
    const auto it = m_groups.find(key);
    if (it == m_groups.end()) return {};
    return {m_rows.data() + it->second.first, it->second.second - it->second.first};
}

}  // namespace dbf
