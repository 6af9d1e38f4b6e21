#include "report/tag_language.h"

#include <cctype>

#include "dbf/number_text.h"
#include "report/text_helpers.h"

namespace report {

namespace {

bool startsNoCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) !=
            std::toupper(static_cast<unsigned char>(word[i])))
            return false;
    return true;
}

std::string upper(std::string_view s) { return helpers::upperKeepingPositions(s); }

// A name: not empty, no blank, no mark character of the grammar.
bool isName(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (static_cast<unsigned char>(c) <= ' ' || c == '.' || c == ':' || c == '*') return false;
    return true;
}

}  // namespace

std::vector<Token> lexTagBody(std::string_view body) {
    std::vector<Token> out;
    size_t i = 0;
    std::string text;
    size_t textStart = 0;
    auto flush = [&] {
        if (!text.empty()) out.push_back({TokenKind::Text, text, textStart});
        text.clear();
    };
    while (i < body.size()) {
        char c = body[i];
        if (c == ':') {
            flush();
            out.push_back({TokenKind::Colon, ":", i});
            if (i + 1 < body.size())
                out.push_back({TokenKind::Text, std::string(body.substr(i + 1)), i + 1});
            i = body.size();
            break;
        }
        if (c == '.' || (c == '*' && text.empty())) {
            flush();
            out.push_back({c == '.' ? TokenKind::Dot : TokenKind::Star, std::string(1, c), i});
            ++i;
            continue;
        }
        if (text.empty()) textStart = i;
        text += c;
        ++i;
    }
    flush();
    out.push_back({TokenKind::End, "", body.size()});
    return out;
}

TagNode parseTagBody(std::string_view body) {
    TagNode node;
    node.text = std::string(body);
    struct Keyword {
        std::string_view word;
        TagNode::Kind kind;
    };
    static const Keyword keywords[] = {
        {words::kRepeatEnd, TagNode::Kind::RepeatEnd}, {words::kRepeat, TagNode::Kind::Repeat},
        {words::kRepforEnd, TagNode::Kind::RepforEnd}, {words::kRepfor, TagNode::Kind::Repfor},
        {words::kTextTable, TagNode::Kind::TextTable}, {words::kTable, TagNode::Kind::Table},
    };
    for (const auto& k : keywords) {
        if (!startsNoCase(body, k.word)) continue;
        std::string_view name = body.substr(k.word.size());
        if (!isName(name)) return node;
        node.kind = k.kind;
        node.dataSet = upper(name);
        return node;
    }
    auto tokens = lexTagBody(body);
    auto kindAt = [&](size_t i) { return i < tokens.size() ? tokens[i].kind : TokenKind::End; };
    if (kindAt(0) != TokenKind::Text || !isName(tokens[0].text)) return node;
    if (kindAt(1) == TokenKind::End) {
        node.kind = TagNode::Kind::CustomValue;
        node.name = tokens[0].text;
        return node;
    }
    if (kindAt(1) != TokenKind::Dot) return node;
    node.dataSet = upper(tokens[0].text);
    if (kindAt(2) == TokenKind::Star && kindAt(3) == TokenKind::End) {
        node.kind = TagNode::Kind::Count;
        return node;
    }
    if (kindAt(2) != TokenKind::Text || !isName(tokens[2].text)) return node;
    node.name = tokens[2].text;
    if (kindAt(3) == TokenKind::End) {
        node.kind = TagNode::Kind::Field;
        return node;
    }
    if (kindAt(3) == TokenKind::Colon) {
        node.kind = TagNode::Kind::Field;
        node.format = kindAt(4) == TokenKind::Text ? tokens[4].text : std::string();
        return node;
    }
    node.dataSet.clear();
    node.name.clear();
    return node;
}

std::string CellSpec::formatEntry() const {
    switch (kind) {
        case Kind::Static:
            return "*";
        case Kind::Field:
            return "";
        case Kind::Picture:
            return "IMG";
        case Kind::FormattedText:
            return "RTF";
        case Kind::Text:
            return "TXT";
        case Kind::Formatted:
            return format;
    }
    return "*";
}

CellSpec parseCellSpec(std::string_view cellText) {
    std::string text = helpers::trimmed(cellText);
    CellSpec spec;
    if (text.empty() || text[0] == '*') return spec;
    auto tokens = lexTagBody(text);
    size_t i = 0;
    for (; tokens[i].kind != TokenKind::Colon && tokens[i].kind != TokenKind::End; ++i)
        spec.field += tokens[i].text;
    if (tokens[i].kind == TokenKind::End) {
        spec.kind = CellSpec::Kind::Field;
        return spec;
    }
    std::string format = tokens[i + 1].kind == TokenKind::Text ? tokens[i + 1].text : "";
    std::string u = upper(format);
    if (u == "IMG")
        spec.kind = CellSpec::Kind::Picture;
    else if (u == "RTF")
        spec.kind = CellSpec::Kind::FormattedText;
    else if (u == "TXT")
        spec.kind = CellSpec::Kind::Text;
    else {
        spec.kind = CellSpec::Kind::Formatted;
        spec.format = format;
    }
    return spec;
}

SumTail parseSumTail(std::string_view tail) {
    std::string t = helpers::trimmed(tail);
    if (t.empty()) return {};
    if (t[0] == ':') return {SumTail::Kind::Formatted, t.substr(1)};
    return {SumTail::Kind::Invalid, {}};
}

std::optional<long long> parseConditionValue(std::string_view text) {
    auto v = dbf::parseInteger(helpers::trimmed(text));
    if (!v) return std::nullopt;
    return *v < 0 ? 0 : *v;
}

NumeratorStep numeratorStep(char32_t next) {
    if (next == U'+') return NumeratorStep::Increase;
    if (next == U'S') return NumeratorStep::Restart;
    if (next > U' ') return NumeratorStep::Before;
    return NumeratorStep::Replace;
}

PoolParse parsePool(std::string_view text) {
    PoolParse out;
    std::string folded = upper(text);
    size_t pos = 0;
    auto paragraphsToBlanks = [](std::string s) {
        for (char& c : s)
            if (c == '\r' || c == '\n' || c == '\v') c = ' ';
        return helpers::trimmed(s);
    };
    while (pos < text.size()) {
        struct Candidate {
            size_t at;
            PoolEntry::Kind kind;
            std::string_view word, end;
        };
        Candidate best{std::string::npos, PoolEntry::Kind::DataSet, {}, {}};
        const Candidate all[] = {
            {folded.find(words::kDsEntry, pos), PoolEntry::Kind::DataSet, words::kDsEntry,
             words::kDsEnd},
            {folded.find(words::kExecEntry, pos), PoolEntry::Kind::Exec, words::kExecEntry,
             words::kExecEnd},
            {folded.find(words::kMacroEntry, pos), PoolEntry::Kind::Macro, words::kMacroEntry, {}},
        };
        for (const auto& c : all)
            if (c.at < best.at) best = c;
        if (best.at == std::string::npos) break;
        size_t nameStart = best.at + best.word.size();
        size_t gt = text.find('>', nameStart);
        if (gt == std::string::npos) {
            out.stoppedEarly = true;
            break;
        }
        PoolEntry entry;
        entry.kind = best.kind;
        std::string name(text.substr(nameStart, gt - nameStart));
        if (best.kind == PoolEntry::Kind::Macro) {
            entry.name = name;
            out.entries.push_back(std::move(entry));
            pos = gt + 1;
            continue;
        }
        entry.name = upper(name);
        size_t end = folded.find(best.end, gt + 1);
        if (end == std::string::npos) {
            out.stoppedEarly = true;
            break;
        }
        entry.body = paragraphsToBlanks(std::string(text.substr(gt + 1, end - gt - 1)));
        out.entries.push_back(std::move(entry));
        pos = end + best.end.size();
    }
    return out;
}

}  // namespace report
