#pragma once
// LIKE patterns: `%` stands for any run of characters, `_` for one character. Pattern and
// text arrive folded for search (Latin letters in lower case, yeh and kaf forms as one),
// so the match itself compares bytes; code page 1256 has one byte per character.
#include <string>
#include <string_view>

namespace dbf::sql {

class LikePattern {
  public:
    explicit LikePattern(std::string folded);

    bool matches(std::string_view foldedText) const;

    // "%needle%" with a plain needle: the whole match is a substring search.
    bool isSubstring() const { return m_substring; }
    const std::string& needle() const { return m_needle; }

  private:
    std::string m_pattern;
    std::string m_needle;
    bool m_substring = false;
};

}  // namespace dbf::sql
