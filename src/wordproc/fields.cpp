#include "wordproc/fields.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "wordproc/errors.h"
#include "wordproc/xml_util.h"

namespace wordproc {

namespace {

std::string instructionBetween(pugi::xml_node begin, pugi::xml_node stop, pugi::xml_node root) {
    std::string code;
    for (auto n = begin; n && n != stop; n = xml::nextInOrder(n, root))
        if (xml::is(n, "w:instrText")) code += n.child_value();
    return code;
}

}  // namespace

namespace fields {

int typeOfCode(const std::string& code) {
    size_t a = code.find_first_not_of(" \t");
    if (a == std::string::npos) return wd::kFieldEmpty;
    size_t b = code.find_first_of(" \t\\", a);
    std::string word = code.substr(a, b == std::string::npos ? std::string::npos : b - a);
    for (auto& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const std::map<std::string, int> kTypes = {{"FORMTEXT", 70},
                                                      {"FORMCHECKBOX", 71},
                                                      {"FORMDROPDOWN", 83},
                                                      {"PAGE", 33},
                                                      {"NUMPAGES", 26},
                                                      {"DATE", 31},
                                                      {"TIME", 32},
                                                      {"TOC", 13},
                                                      {"REF", 3},
                                                      {"PAGEREF", 37},
                                                      {"HYPERLINK", 88},
                                                      {"SEQ", 12},
                                                      {"MERGEFIELD", 59},
                                                      {"DOCPROPERTY", 85},
                                                      {"FILENAME", 29},
                                                      {"INCLUDEPICTURE", 67},
                                                      {"SYMBOL", 57},
                                                      {"IF", 7},
                                                      {"=", 34},
                                                      {"TC", 9},
                                                      {"XE", 4},
                                                      {"NOTEREF", 72},
                                                      {"STYLEREF", 10},
                                                      {"SECTIONPAGES", 47},
                                                      {"CREATEDATE", 21},
                                                      {"SAVEDATE", 22},
                                                      {"PRINTDATE", 23},
                                                      {"AUTHOR", 17},
                                                      {"TITLE", 15},
                                                      {"FILLIN", 39},
                                                      {"ASK", 38},
                                                      {"SET", 6}};
    auto it = kTypes.find(word);
    return it == kTypes.end() ? wd::kFieldEmpty : it->second;
}

std::vector<Span> list(Document& doc, StoryRef ref) {
    Story& st = doc.story(ref);
    std::vector<Span> out;
    std::vector<size_t> open;
    for (const auto& en : st.entries()) {
        for (size_t k = 0; k < en.atoms.size(); ++k) {
            const Atom& a = en.atoms[k];
            int pos = en.start + static_cast<int>(k);
            if (a.kind == AtomKind::FieldBegin) {
                Span s;
                s.begin = pos;
                s.beginNode = a.node;
                out.push_back(s);
                open.push_back(out.size() - 1);
            } else if (a.kind == AtomKind::FieldSep && !open.empty()) {
                Span& s = out[open.back()];
                if (s.separator < 0) {
                    s.separator = pos;
                    s.code = instructionBetween(s.beginNode, a.node, st.root());
                }
            } else if (a.kind == AtomKind::FieldEnd && !open.empty()) {
                Span& s = out[open.back()];
                s.end = pos;
                if (s.separator < 0) s.code = instructionBetween(s.beginNode, a.node, st.root());
                open.pop_back();
            }
        }
        // Simple fields: only their result is in the text.
        for (auto n = en.node.first_child(); n && !en.rowEnd; n = n.next_sibling()) {
            if (!xml::is(n, "w:fldSimple")) continue;
            Span s;
            s.simple = n;
            s.code = n.attribute("w:instr").value();
            // Result positions: the atoms inside this element.
            int first = -1, last = -1;
            for (size_t k = 0; k < en.atoms.size(); ++k)
                if (xml::isAncestorOf(n, en.atoms[k].node)) {
                    if (first < 0) first = static_cast<int>(k);
                    last = static_cast<int>(k);
                }
            s.begin = en.start + (first < 0 ? 0 : first);
            s.separator = s.begin - 1;
            s.end = first < 0 ? s.begin : en.start + last + 1;
            out.push_back(s);
        }
    }
    out.erase(std::remove_if(out.begin(), out.end(), [](const Span& s) { return s.end < 0; }),
              out.end());
    std::stable_sort(out.begin(), out.end(),
                     [](const Span& a, const Span& b) { return a.begin < b.begin; });
    return out;
}

}  // namespace fields

Fields Document::fields() { return Fields(*this); }
FormFields Document::formFields() { return FormFields(*this); }
TablesOfContents Document::tablesOfContents() { return TablesOfContents(*this, false); }
TablesOfContents Document::tablesOfFigures() { return TablesOfContents(*this, true); }

int Fields::count() { return static_cast<int>(fields::list(*m_doc, {}).size()); }

Field Fields::item(int index) {
    if (index < 1 || index > count()) throwNoMember("Fields", index, "document", count(), "field");
    return Field(*m_doc, index - 1);
}

namespace {
fields::Span fieldAt(Document& doc, int index) {
    auto all = fields::list(doc, {});
    if (index < 0 || index >= static_cast<int>(all.size()))
        throw WordprocError("The field no longer exists.");
    return all[static_cast<size_t>(index)];
}
std::vector<fields::Span> formSpans(Document& doc) {
    std::vector<fields::Span> out;
    for (auto& s : fields::list(doc, {}))
        if (s.beginNode && s.beginNode.child("w:ffData")) out.push_back(s);
    return out;
}
}  // namespace

int Field::type() { return fields::typeOfCode(fieldAt(*m_doc, m_index).code); }
std::string Field::code() { return fieldAt(*m_doc, m_index).code; }

Range Field::result() {
    auto s = fieldAt(*m_doc, m_index);
    return Range(*m_doc, {}, s.resultStart(), s.end);
}

int FormFields::count() { return static_cast<int>(formSpans(*m_doc).size()); }

FormField FormFields::item(int index) {
    if (index < 1 || index > count())
        throwNoMember("FormFields", index, "document", count(), "form field");
    return FormField(*m_doc, index - 1);
}

fields::Span FormField::span() {
    auto all = formSpans(*m_doc);
    if (m_index < 0 || m_index >= static_cast<int>(all.size()))
        throw WordprocError("The form field no longer exists.");
    return all[static_cast<size_t>(m_index)];
}

int FormField::type() {
    auto ff = span().beginNode.child("w:ffData");
    if (ff.child("w:textInput")) return wd::kFieldFormTextInput;
    if (ff.child("w:checkBox")) return wd::kFieldFormCheckBox;
    if (ff.child("w:ddList")) return wd::kFieldFormDropDown;
    return fields::typeOfCode(span().code);
}

std::string FormField::name() {
    return span().beginNode.child("w:ffData").child("w:name").attribute("w:val").value();
}

TextInput FormField::textInput() { return TextInput(span().beginNode.child("w:ffData")); }

std::string FormField::result() {
    auto s = span();
    return Range(*m_doc, {}, s.resultStart(), s.end).text();
}

void FormField::setResult(const std::string& text) {
    auto s = span();
    Document::EditScope scope(*m_doc);
    if (s.separator < 0) {
        // A field without a shown result gets a separator before its end.
        m_doc->snapshot();
        auto fresh = span();
        Story& st = m_doc->story({});
        const Entry& en = st.entry(st.entryAt(fresh.end));
        auto endRun = en.atoms[fresh.end - en.start].node.parent();
        auto sepRun = endRun.parent().insert_copy_before(endRun, endRun);
        sepRun.child("w:fldChar").attribute("w:fldCharType").set_value("separate");
        st.invalidate();
        s = span();
    }
    Range r(*m_doc, {}, s.resultStart(), s.end);
    r.setText(text);
}

void FormField::select() {
    auto s = span();
    m_doc->selection().goTo({}, s.begin, s.end + 1);
}

int TextInput::type() {
    std::string_view t = m_ffData.child("w:textInput").child("w:type").attribute("w:val").value();
    if (t == "number") return 1;
    if (t == "date") return 2;
    if (t == "currentDate") return 3;
    if (t == "currentTime") return 4;
    if (t == "calculated") return 5;
    return wd::kRegularText;
}

std::string TextInput::format() {
    return m_ffData.child("w:textInput").child("w:format").attribute("w:val").value();
}

std::string TextInput::defaultText() {
    return m_ffData.child("w:textInput").child("w:default").attribute("w:val").value();
}

std::vector<fields::Span> TablesOfContents::all() {
    std::vector<fields::Span> out;
    for (auto& s : fields::list(*m_doc, {})) {
        if (fields::typeOfCode(s.code) != 13) continue;
        bool figures = s.code.find("\\c") != std::string::npos;
        if (figures == m_figures) out.push_back(s);
    }
    return out;
}

int TablesOfContents::count() { return static_cast<int>(all().size()); }

TableOfContents TablesOfContents::item(int index) {
    auto v = all();
    if (index < 1 || index > static_cast<int>(v.size()))
        throwNoMember(m_figures ? "TablesOfFigures" : "TablesOfContents", index, "document",
                      static_cast<int>(v.size()),
                      m_figures ? "table of figures" : "table of contents",
                      m_figures ? "tables of figures" : "tables of contents");
    return TableOfContents(*m_doc, v[static_cast<size_t>(index - 1)]);
}

Range TableOfContents::range() { return Range(*m_doc, {}, m_span.begin, m_span.end + 1); }

}  // namespace wordproc
