#include <algorithm>

#include "wordproc/edit.h"
#include "wordproc/range.h"
#include "wordproc/utf.h"

namespace wordproc {

namespace {

bool isWordChar(char32_t c) {
    if (c < 0x80) return std::isalnum(static_cast<int>(c)) || c == '_';
    return !(c == 0xA0 || (c >= 0x2000 && c <= 0x206F) || c == 0x3000 || c == 0x60C || c == 0x61B ||
             c == 0x61F);
}

int searchIn(const std::u32string& hay, const std::u32string& needle, int from, int to,
             bool wholeWord) {
    int n = static_cast<int>(needle.size());
    size_t pos = static_cast<size_t>(from);
    while (true) {
        pos = hay.find(needle, pos);
        if (pos == std::u32string::npos || static_cast<int>(pos) + n > to) return -1;
        int p = static_cast<int>(pos);
        if (!wholeWord || ((p == 0 || !isWordChar(hay[p - 1])) &&
                           (p + n >= static_cast<int>(hay.size()) || !isWordChar(hay[p + n]))))
            return p;
        ++pos;
    }
}

// Word's codes in the replacement text: ^p paragraph, ^t tab, ^l line break,
// ^m page break, ^^ a caret, ^& the found text.
std::string expandCarets(std::string_view repl, const std::string& found) {
    std::string out;
    for (size_t i = 0; i < repl.size(); ++i) {
        if (repl[i] != '^' || i + 1 >= repl.size()) {
            out += repl[i];
            continue;
        }
        char c = repl[i + 1];
        switch (c) {
            case 'p':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'l':
                out += '\v';
                break;
            case 'm':
                out += '\f';
                break;
            case '^':
                out += '^';
                break;
            case '&':
                out += found;
                break;
            default:
                out += '^';
                out += c;
                break;
        }
        ++i;
    }
    return out;
}

}  // namespace

bool Find::execute(std::string_view text, bool matchCase, bool matchWholeWord, bool, bool, bool,
                   bool, int wrap, bool, std::string_view replaceWith, int replace) {
    m_found = false;
    Range& r = m_target;
    Document& doc = r.document();
    Story& st = r.storyObject();
    std::u32string needle = toU32(expandCarets(text, {}));
    if (needle.empty()) return false;
    if (!matchCase) needle = foldCase(needle);
    int n = static_cast<int>(needle.size());
    int len = st.length();
    int s = r.start(), e = r.end();
    if (s == r.lastFoundStart && e == r.lastFoundEnd) s = e;  // go on after the last hit

    std::vector<std::pair<int, int>> windows;
    if (e > s) {
        windows.push_back({s, e});
        if (m_selection && wrap == wd::kFindAsk) windows.push_back({e, len});
        if (wrap == wd::kFindContinue) {
            windows.push_back({e, len});
            windows.push_back({0, s});
        }
    } else {
        windows.push_back({s, len});
        if (wrap == wd::kFindContinue) windows.push_back({0, s});
    }

    if (replace == wd::kReplaceAll) {
        if (wrap == wd::kFindContinue) windows = {{0, len}};
        std::vector<int> hits;
        {
            const auto& hay = matchCase ? st.text() : st.foldedText();
            for (auto [a, b] : windows) {
                int from = a;
                while (true) {
                    int p = searchIn(hay, needle, from, b, matchWholeWord);
                    if (p < 0) break;
                    hits.push_back(p);
                    from = p + n;
                }
            }
        }
        if (hits.empty()) return false;
        std::sort(hits.begin(), hits.end());
        hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
        Document::EditScope scope(doc);
        bool plain = replaceWith.find('^') == std::string_view::npos;
        std::u32string fixed = plain ? edit::normalizeInput(replaceWith) : std::u32string();
        int last = -1;
        for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
            if (last >= 0 && *it + n > last) continue;  // overlapping hit
            std::u32string value = fixed;
            if (!plain) {
                std::string found = toUtf8(std::u32string_view(st.text()).substr(*it, n));
                value = edit::normalizeInput(expandCarets(replaceWith, found));
            }
            doc.replaceText(r.story(), *it, *it + n, value);
            last = *it;
        }
        r.clampToStory();
        m_found = true;
        return true;
    }

    const auto& hay = matchCase ? st.text() : st.foldedText();
    for (auto [a, b] : windows) {
        int p = searchIn(hay, needle, a, b, matchWholeWord);
        if (p < 0) continue;
        m_found = true;
        if (m_selection)
            static_cast<Selection&>(r).goTo(r.story(), p, p + n);
        else
            r.setRange(p, p + n);
        if (replace == wd::kReplaceOne) {
            std::string found = toUtf8(std::u32string_view(st.text()).substr(p, n));
            r.setText(expandCarets(replaceWith, found));
        }
        r.lastFoundStart = r.start();
        r.lastFoundEnd = r.end();
        return true;
    }
    return false;
}

}  // namespace wordproc
