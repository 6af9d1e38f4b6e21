#include "like.h"

namespace dbf::sql {

LikePattern::LikePattern(std::string folded) : m_pattern(std::move(folded)) {
    // Runs of % mean the same as one.
    std::string compact;
    for (const char c : m_pattern)
        if (!(c == '%' && !compact.empty() && compact.back() == '%')) compact += c;
    m_pattern = std::move(compact);
    if (m_pattern.size() >= 2 && m_pattern.front() == '%' && m_pattern.back() == '%') {
        const std::string inner = m_pattern.substr(1, m_pattern.size() - 2);
        if (inner.find_first_of("%_") == std::string::npos) {
            m_substring = true;
            m_needle = inner;
        }
    }
}

bool LikePattern::matches(std::string_view text) const {
    if (m_substring) return text.find(m_needle) != std::string_view::npos;
    // Greedy matching that backtracks to the last %: linear for the usual patterns.
    const std::string_view p = m_pattern;
    std::size_t t = 0, i = 0;
    std::size_t starAt = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (i < p.size() && (p[i] == '_' || p[i] == text[t]) && p[i] != '%') {
            ++t;
            ++i;
        } else if (i < p.size() && p[i] == '%') {
            starAt = i++;
            starText = t;
        } else if (starAt != std::string_view::npos) {
            i = starAt + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (i < p.size() && p[i] == '%') ++i;
    return i == p.size();
}

}  // namespace dbf::sql
