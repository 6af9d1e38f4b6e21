#include "wordproc/document.h"

#include <algorithm>
#include <filesystem>

#include "wordproc/application.h"
#include "wordproc/convert.h"
#include "wordproc/edit.h"
#include "wordproc/errors.h"
#include "wordproc/range.h"
#include "wordproc/window.h"
#include "wordproc/xml_util.h"

namespace fs = std::filesystem;

namespace wordproc {

namespace {
constexpr const char* kDocxMain =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
constexpr size_t kUndoLimit = 200;

struct StringWriter : pugi::xml_writer {
    std::string& out;
    explicit StringWriter(std::string& o) : out(o) {}
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};
}  // namespace

std::unique_ptr<Document> Document::fromTemplate(const std::string& path, Application* app) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw WordprocError("Template " + path + " not found!");
    std::unique_ptr<Document> doc(new Document());
    doc->m_app = app;
    FileKind kind = sniffFile(path);
    if (kind == FileKind::LegacyWord || kind == FileKind::Rtf) {
        doc->load(convertedDocx(path, path), path);
    } else if (kind == FileKind::Ooxml) {
        doc->load(path, path);
    } else {
        throw WordprocError("The document " + path + " is not a Word document.");
    }
    doc->m_selection = std::make_unique<Selection>(*doc);
    doc->m_window = std::make_unique<Window>(*doc);
    return doc;
}

Document::~Document() = default;

void Document::load(const std::string& path, const std::string& label) {
    m_package = Package::read(path, label);
    if (!m_package.has("[Content_Types].xml"))
        throw WordprocError("The document " + label +
                            " is damaged: it has no list of content types.");
    std::string main;
    if (m_package.has("_rels/.rels"))
        main = Relationships(m_package, "").firstOfType(reltype::kOfficeDocument);
    if (main.empty() || !m_package.has(main)) main = "word/document.xml";
    if (!m_package.has(main))
        throw WordprocError("The document " + label + " is damaged: it has no main document part.");
    m_mainPart = main;
    auto root = m_package.xml(main).document_element();
    if (std::string_view(root.attribute("xmlns:w").value()) != xml::kNsW ||
        !xml::is(root, "w:document") || !root.child("w:body"))
        throw WordprocError("The document " + label +
                            " is not a Word document this program can edit (its main part is not "
                            "WordprocessingML).");
    // As Word does on opening: a body, header or footer that ends with a table
    // gets an empty paragraph after it, where text can go.
    edit::normalize(root.child("w:body"));
    if (m_package.has(relsPartFor(main))) {
        Relationships rels(m_package, main);
        for (const auto& r : rels.all()) {
            if (r.type != reltype::kHeader && r.type != reltype::kFooter) continue;
            std::string part = rels.partOf(r.id);
            if (!part.empty() && m_package.has(part))
                edit::normalize(m_package.xml(part).document_element());
        }
    }
    // A new document based on a template or a macro document is a plain document.
    std::string type = overrideContentType(m_package, main);
    if (!type.empty() && type != kDocxMain) {
        for (auto o : m_package.xml("[Content_Types].xml").document_element().children("Override"))
            if (std::string_view(o.attribute("PartName").value()) == "/" + main)
                o.attribute("ContentType").set_value(kDocxMain);
        std::string rels = relsPartFor(main);
        if (m_package.has(rels)) {
            auto rroot = m_package.xml(rels).document_element();
            for (auto r = rroot.first_child(); r;) {
                auto next = r.next_sibling();
                std::string_view t = r.attribute("Type").value();
                if (t.find("vbaProject") != std::string_view::npos) {
                    std::string part = resolveTarget(main, r.attribute("Target").value());
                    m_package.remove(part);
                    m_package.remove(relsPartFor(part));
                    rroot.remove_child(r);
                }
                r = next;
            }
        }
        auto ct = m_package.xml("[Content_Types].xml").document_element();
        for (auto o = ct.first_child(); o;) {
            auto next = o.next_sibling();
            std::string_view t = o.attribute("ContentType").value();
            if (t.find("vbaProject") != std::string_view::npos ||
                t.find("vbaData") != std::string_view::npos) {
                m_package.remove(std::string(o.attribute("PartName").value()).substr(1));
                ct.remove_child(o);
            }
            o = next;
        }
    }
}

void Document::discoverStories() {
    auto root = m_package.xml(m_mainPart).document_element();
    auto body = root.child("w:body");
    m_main = std::make_unique<Story>(body);
    m_textBoxes.clear();
    for (auto n = xml::firstElement(body); n;) {
        bool skip = false;
        if (xml::is(n, "mc:Fallback")) {
            skip = true;
        } else if (xml::is(n, "w:txbxContent")) {
            m_textBoxes.push_back(std::make_unique<Story>(n));
            skip = true;
        }
        n = xml::nextInOrder(n, body, skip);
    }
    // Every header and footer the sections refer to; the first of each is
    // the last section's default one.
    m_headers.clear();
    m_footers.clear();
    Relationships rels(m_package, m_mainPart);
    auto sections = sectionProperties();
    for (const char* kind : {"w:headerReference", "w:footerReference"}) {
        auto& list = kind[2] == 'h' ? m_headers : m_footers;
        auto add = [&](pugi::xml_node ref) {
            std::string p = rels.partOf(ref.attribute("r:id").value());
            if (p.empty() || !m_package.has(p)) return;
            for (const auto& hf : list)
                if (hf.part == p) return;
            list.push_back({p, std::make_unique<Story>(m_package.xml(p).document_element())});
        };
        if (!sections.empty()) {
            pugi::xml_node chosen;
            for (auto ref : sections.back().children(kind))
                if (!chosen || std::string_view(ref.attribute("w:type").value()) == "default")
                    chosen = ref;
            if (chosen) add(chosen);
        }
        for (auto sect : sections)
            for (auto ref : sect.children(kind)) add(ref);
    }
    m_storiesValid = true;
}

bool Document::hasStory(StoryRef ref) {
    if (!m_storiesValid) discoverStories();
    switch (ref.kind) {
        case StoryKind::Main:
            return true;
        case StoryKind::Header:
            return ref.index >= 0 && ref.index < static_cast<int>(m_headers.size());
        case StoryKind::Footer:
            return ref.index >= 0 && ref.index < static_cast<int>(m_footers.size());
        case StoryKind::TextBox:
            return ref.index >= 0 && ref.index < static_cast<int>(m_textBoxes.size());
    }
    return false;
}

Story& Document::story(StoryRef ref) {
    if (m_closed) throw WordprocError("The document has been closed.");
    if (!m_storiesValid) discoverStories();
    switch (ref.kind) {
        case StoryKind::Main:
            return *m_main;
        case StoryKind::Header:
        case StoryKind::Footer: {
            if (!hasStory(ref) && ref.index == 0) ensureHeaderFooter(ref.kind);
            auto& list = ref.kind == StoryKind::Header ? m_headers : m_footers;
            if (ref.index < 0 || ref.index >= static_cast<int>(list.size()))
                throw WordprocError(ref.kind == StoryKind::Header ? "The header no longer exists."
                                                                  : "The footer no longer exists.");
            return *list[static_cast<size_t>(ref.index)].story;
        }
        case StoryKind::TextBox:
            if (ref.index < 0 || ref.index >= static_cast<int>(m_textBoxes.size()))
                throw WordprocError("The text box no longer exists.");
            return *m_textBoxes[static_cast<size_t>(ref.index)];
    }
    return *m_main;
}

std::string Document::partOf(StoryRef ref) {
    if (!m_storiesValid) discoverStories();
    if (ref.kind == StoryKind::Header || ref.kind == StoryKind::Footer) {
        auto& list = ref.kind == StoryKind::Header ? m_headers : m_footers;
        if (ref.index < 0 || ref.index >= static_cast<int>(list.size())) return {};
        return list[static_cast<size_t>(ref.index)].part;
    }
    return m_mainPart;
}

int Document::textBoxCount() {
    if (!m_storiesValid) discoverStories();
    return static_cast<int>(m_textBoxes.size());
}

int Document::textBoxIndexOf(pugi::xml_node txbx) {
    if (!m_storiesValid) discoverStories();
    for (size_t i = 0; i < m_textBoxes.size(); ++i)
        if (m_textBoxes[i]->root() == txbx) return static_cast<int>(i);
    return -1;
}

pugi::xml_node Document::textBoxContent(int index) {
    return story({StoryKind::TextBox, index}).root();
}

void Document::ensureHeaderFooter(StoryKind kind) {
    if (!m_storiesValid) discoverStories();
    bool header = kind == StoryKind::Header;
    if (!(header ? m_headers : m_footers).empty()) return;
    EditScope scope(*this);
    snapshot();
    const char* base = header ? "header" : "footer";
    std::string part;
    for (int n = 1;; ++n) {
        part = partDirectory(m_mainPart) + "/" + base + std::to_string(n) + ".xml";
        if (!m_package.has(part)) break;
    }
    std::string rootName = header ? "w:hdr" : "w:ftr";
    m_package.createXml(part, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<" +
                                  rootName + " xmlns:w=\"" + xml::kNsW + "\" xmlns:r=\"" +
                                  xml::kNsR + "\"><w:p/></" + rootName + ">");
    ensureOverrideContentType(m_package, part,
                              std::string("application/vnd.openxmlformats-officedocument."
                                          "wordprocessingml.") +
                                  base + "+xml");
    std::string id =
        Relationships(m_package, m_mainPart)
            .add(header ? reltype::kHeader : reltype::kFooter, relativeTarget(m_mainPart, part));
    auto root = m_package.xml(m_mainPart).document_element();
    xml::ensureNamespace(root, "r", xml::kNsR);
    auto body = root.child("w:body");
    auto sect = body.child("w:sectPr");
    if (!sect) sect = body.append_child("w:sectPr");
    // Header references come first in the section properties, headers before footers.
    pugi::xml_node ref;
    if (header) {
        ref = sect.prepend_child("w:headerReference");
    } else {
        pugi::xml_node lastHeader;
        for (auto h : sect.children("w:headerReference")) lastHeader = h;
        ref = lastHeader ? sect.insert_child_after("w:footerReference", lastHeader)
                         : sect.prepend_child("w:footerReference");
    }
    ref.append_attribute("w:type") = "default";
    ref.append_attribute("r:id") = id.c_str();
    m_storiesValid = false;
    discoverStories();
}

std::vector<pugi::xml_node> Document::sectionProperties() {
    auto body = m_package.xml(m_mainPart).document_element().child("w:body");
    std::vector<pugi::xml_node> out;
    for (auto b : blockChildren(body))
        if (auto sect = b.child("w:pPr").child("w:sectPr")) out.push_back(sect);
    if (auto sect = body.child("w:sectPr")) out.push_back(sect);
    return out;
}

namespace {

bool isOn(pugi::xml_node flag) {
    if (!flag) return false;
    std::string_view v = flag.attribute("w:val").value();
    return v != "0" && v != "false" && v != "off";
}

}  // namespace

StoryRef Document::headerFooterAt(StoryKind kind, StoryRef from, int pos) {
    if (!m_storiesValid) discoverStories();
    const char* refName = kind == StoryKind::Header ? "w:headerReference" : "w:footerReference";
    auto& list = kind == StoryKind::Header ? m_headers : m_footers;
    if (list.empty()) {
        ensureHeaderFooter(kind);
        return {kind, 0};
    }
    auto sections = sectionProperties();
    auto body = m_package.xml(m_mainPart).document_element().child("w:body");
    Relationships rels(m_package, m_mainPart);
    int section = static_cast<int>(sections.size()) - 1;
    std::string type = "default";
    if (from.kind == StoryKind::Header || from.kind == StoryKind::Footer) {
        // From a header or footer: the same section and kind of page.
        std::string part = partOf(from);
        const char* fromName =
            from.kind == StoryKind::Header ? "w:headerReference" : "w:footerReference";
        for (int i = static_cast<int>(sections.size()) - 1; i >= 0; --i)
            for (auto ref : sections[static_cast<size_t>(i)].children(fromName))
                if (rels.partOf(ref.attribute("r:id").value()) == part) {
                    section = i;
                    type = ref.attribute("w:type").value();
                }
    } else {
        // The node of the position: its character, else its paragraph.
        pugi::xml_node node, at, paragraph;
        if (from.kind == StoryKind::TextBox) {
            node = textBoxContent(from.index);
        } else {
            Story& st = story(from);
            const Entry& en = st.entry(st.entryAt(pos));
            node = paragraph = en.node;
            int k = pos - en.start;
            if (k >= 0 && k < static_cast<int>(en.atoms.size()))
                at = en.atoms[static_cast<size_t>(k)].node;
        }
        auto blocks = blockChildren(body);
        std::unordered_set<const void*> top;
        for (auto b : blocks) top.insert(b.internal_object());
        while (node && !top.count(node.internal_object())) node = node.parent();
        // Pages: Word's rendered page breaks when the document has them, else
        // the explicit ones.
        bool rendered = false;
        for (auto n = body; n && !rendered; n = xml::nextInOrder(n, body))
            rendered = xml::is(n, "w:lastRenderedPageBreak");
        auto inside = [](pugi::xml_node n, pugi::xml_node a) {
            for (; n; n = n.parent())
                if (n == a) return true;
            return false;
        };
        // Breaks in a block; in the block of the position, those before it.
        auto breaksIn = [&](pugi::xml_node b, bool holdsPosition) {
            int count = 0;
            bool seenParagraph = false;
            for (auto n = b; n; n = xml::nextInOrder(n, b)) {
                if (holdsPosition) {
                    if (at && n == at) break;
                    if (!at && paragraph) {
                        bool in = inside(n, paragraph);
                        if (seenParagraph && !in) break;
                        seenParagraph = seenParagraph || in;
                    }
                }
                if (rendered ? xml::is(n, "w:lastRenderedPageBreak")
                             : (xml::is(n, "w:br") &&
                                std::string_view(n.attribute("w:type").value()) == "page"))
                    ++count;
            }
            if (!rendered && isOn(b.child("w:pPr").child("w:pageBreakBefore"))) ++count;
            return count;
        };
        int sectionIndex = 0, pageInDoc = 1, pageInSection = 1;
        for (auto b : blocks) {
            int breaks = breaksIn(b, b == node);
            if (b == node) {
                pageInDoc += breaks;
                pageInSection += breaks;
                break;
            }
            pageInDoc += breaks;
            pageInSection += breaks;
            if (b.child("w:pPr").child("w:sectPr") &&
                sectionIndex + 1 < static_cast<int>(sections.size())) {
                ++sectionIndex;
                pageInSection = 1;
                std::string_view next = sections[static_cast<size_t>(sectionIndex)]
                                            .child("w:type")
                                            .attribute("w:val")
                                            .value();
                if (!rendered && next != "continuous") ++pageInDoc;
            }
        }
        if (node) section = sectionIndex;
        bool evenAndOdd = false;
        std::string settings = rels.firstOfType(
            "http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings");
        if (!settings.empty() && m_package.has(settings))
            evenAndOdd =
                isOn(m_package.xml(settings).document_element().child("w:evenAndOddHeaders"));
        auto sect = sections.empty() ? pugi::xml_node() : sections[static_cast<size_t>(section)];
        if (isOn(sect.child("w:titlePg")) && pageInSection == 1)
            type = "first";
        else if (evenAndOdd && pageInDoc % 2 == 0)
            type = "even";
    }
    // The section's own, else the one it inherits from the sections before;
    // a kind of page no section has falls back to the default one.
    for (const std::string& want : {type, std::string("default")}) {
        for (int i = section; i >= 0; --i)
            for (auto ref : sections[static_cast<size_t>(i)].children(refName)) {
                if (ref.attribute("w:type").value() != want) continue;
                std::string part = rels.partOf(ref.attribute("r:id").value());
                for (size_t k = 0; k < list.size(); ++k)
                    if (list[k].part == part) return {kind, static_cast<int>(k)};
            }
    }
    return {kind, 0};
}

void Document::saveAs(const std::string& fileName) {
    if (m_closed) throw WordprocError("The document has been closed.");
    syncTextBoxFallbacks();
    m_package.write(fileName);
    m_fullName = fileName;
    m_saved = true;
}

void Document::close() {
    if (m_closed) return;
    m_closed = true;
    m_undo.clear();
    if (m_app) m_app->documentClosed(this);
}

bool Document::undo(int times) {
    int done = 0;
    while (done < times && !m_undo.empty()) {
        UndoStep step = std::move(m_undo.back());
        m_undo.pop_back();
        for (auto it = step.actions.rbegin(); it != step.actions.rend(); ++it) {
            if (it->package) {
                m_package = std::move(*it->package);
                continue;
            }
            if (it->inserted) {
                it->inserted.parent().remove_child(it->inserted);
                continue;
            }
            auto p = it->paragraph;
            pugi::xml_document holder;
            holder.load_buffer(it->copy.data(), it->copy.size(), kParseFlags);
            auto saved = holder.first_child();
            while (p.first_child()) p.remove_child(p.first_child());
            while (p.first_attribute()) p.remove_attribute(p.first_attribute());
            for (auto a : saved.attributes()) p.append_attribute(a.name()) = a.value();
            for (auto c : saved.children()) p.append_copy(c);
        }
        ++done;
    }
    if (done > 0) {
        m_storiesValid = false;
        ++m_generation;
        m_saved = false;
        for (int i = 0; i < textBoxCount(); ++i) m_editedTextBoxes.insert(i);
        if (m_selection) m_selection->clampToStory();
    }
    return done == times;
}

void Document::undoClear() { m_undo.clear(); }

Document::EditScope::EditScope(Document& doc) : m_doc(doc) {
    if (doc.m_closed) throw WordprocError("The document has been closed.");
    if (doc.m_scopeDepth++ == 0) {
        doc.m_undo.emplace_back();
        if (doc.m_undo.size() > kUndoLimit) doc.m_undo.erase(doc.m_undo.begin());
    }
}

Document::EditScope::~EditScope() { --m_doc.m_scopeDepth; }

void Document::touchParagraph(StoryRef, pugi::xml_node p) {
    m_saved = false;
    if (m_undo.empty()) return;
    auto& step = m_undo.back();
    if (!step.touched.insert(p.internal_object()).second) return;
    UndoAction a;
    a.paragraph = p;
    StringWriter out(a.copy);
    p.print(out, "", kSaveFlags);
    step.actions.push_back(std::move(a));
}

void Document::snapshot() {
    m_saved = false;
    if (!m_undo.empty() && !m_undo.back().snapshotTaken) {
        UndoAction a;
        a.package = std::make_unique<Package>(m_package.detachSnapshot());
        m_undo.back().actions.push_back(std::move(a));
        m_undo.back().snapshotTaken = true;
        m_undo.back().touched.clear();
        m_storiesValid = false;
        ++m_generation;
    }
}

void Document::recordInsertion(pugi::xml_node inserted) {
    m_saved = false;
    if (m_undo.empty()) return;
    UndoAction a;
    a.inserted = inserted;
    m_undo.back().actions.push_back(std::move(a));
}

void Document::storyEdited(StoryRef ref) {
    m_saved = false;
    if (ref.kind == StoryKind::TextBox) m_editedTextBoxes.insert(ref.index);
}

std::pair<int, int> Document::widenToFields(Story& st, int s, int e) {
    if (e <= s) return {s, e};
    const auto& text = st.text();
    auto isFieldChar = [](char32_t c) {
        return c == kFieldBegin || c == kFieldSeparator || c == kFieldEnd;
    };
    if (std::none_of(text.begin() + s, text.begin() + e, isFieldChar)) return {s, e};
    // Pair every field's begin with its end.
    std::vector<std::pair<int, int>> fields;
    std::vector<int> open;
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
        if (text[i] == kFieldBegin) open.push_back(i);
        if (text[i] == kFieldEnd && !open.empty()) {
            fields.push_back({open.back(), i + 1});
            open.pop_back();
        }
    }
    bool changed = true;
    while (changed) {
        changed = false;
        for (auto [b, en] : fields) {
            bool touches = false;
            for (int i = std::max(s, b); i < std::min(e, en); ++i)
                if (isFieldChar(text[i])) touches = true;
            if (touches && (b < s || en > e)) {
                s = std::min(s, b);
                e = std::max(e, en);
                changed = true;
            }
        }
    }
    return {s, e};
}

int Document::replaceText(StoryRef ref, int s, int e, std::u32string_view text,
                          pugi::xml_node rPrGiven) {
    EditScope scope(*this);
    Story* st = &story(ref);
    int len = st->length();
    s = std::clamp(s, 0, len);
    e = std::clamp(e, s, len);
    std::tie(s, e) = widenToFields(*st, s, e);
    pugi::xml_document fmt;
    int i = st->entryAt(s);
    {
        // A cell's end mark stays whatever replaces the text before it: a
        // range over a one-paragraph cell's text and mark is an edit in place.
        Entry& en = st->entry(i);
        if (en.cellEnd && !en.rowEnd && e == en.markPos() + 1 && s >= en.start) e = en.markPos();
    }
    {
        Entry& en = st->entry(i);
        bool local = !en.rowEnd && s >= en.start && e <= en.markPos() &&
                     text.find(kParagraphMark) == std::u32string_view::npos;
        if (local) {
            touchParagraph(ref, en.node);
            int k1 = s - en.start, k2 = e - en.start;
            pugi::xml_node rPr = rPrGiven;
            if (!rPr) {
                if (k2 > k1 && xml::is(en.atoms[k1].node.parent(), "w:r"))
                    rPr = edit::formattingOfRun(en.atoms[k1].node.parent(), fmt);
                else
                    rPr = edit::formattingAt(en, k1, fmt);
            }
            edit::Point pt = k2 > k1 ? edit::deleteChars(en, k1, k2) : edit::insertionPoint(en, k1);
            edit::insertRun(pt, rPr, text);
            st->refresh({i});
            storyEdited(ref);
            return s + static_cast<int>(text.size());
        }
    }
    // Structural: across paragraphs or cells, or new paragraphs.
    pugi::xml_document given;
    if (rPrGiven) given.append_copy(rPrGiven);
    // Text with paragraph marks put into one paragraph splits only that one:
    // undo keeps the paragraph and removes the new ones, as for an edit in place.
    bool withinParagraph = false;
    {
        Entry& en = st->entry(i);
        withinParagraph = !en.rowEnd && s >= en.start && e <= en.markPos();
        if (withinParagraph) touchParagraph(ref, en.node);
    }
    if (!withinParagraph) snapshot();
    st = &story(ref);
    pugi::xml_node rPr = given.first_child();
    {
        Entry& en = st->entry(st->entryAt(s));
        int k = s - en.start;
        if (!rPr && !en.rowEnd) {
            if (e > s && k < static_cast<int>(en.atoms.size()) &&
                xml::is(en.atoms[k].node.parent(), "w:r"))
                rPr = edit::formattingOfRun(en.atoms[k].node.parent(), fmt);
            else
                rPr = edit::formattingAt(en, k, fmt);
        }
    }
    // Within one paragraph the text goes where the deleted text was, inside
    // the link, content control or field that held it.
    edit::Point deletedAt;
    if (withinParagraph && e > s) {
        Entry& en = st->entry(i);
        deletedAt = edit::deleteChars(en, s - en.start, e - en.start);
    } else {
        edit::deleteRange(*st, s, e);
    }
    st->invalidate();
    if (!text.empty()) {
        Entry& en = st->entry(st->entryAt(s));
        if (en.rowEnd) throw WordprocError("Text cannot be inserted at the end of a table row.");
        pugi::xml_node p = en.node;
        edit::Point pt = deletedAt.parent ? deletedAt : edit::insertionPoint(en, s - en.start);
        size_t from = 0;
        while (true) {
            size_t to = text.find(kParagraphMark, from);
            auto seg = text.substr(from, to == std::u32string_view::npos ? text.npos : to - from);
            auto run = edit::insertRun(pt, rPr, seg);
            if (to == std::u32string_view::npos) break;
            edit::Point after = run ? edit::Point{run.parent(), run.next_sibling()} : pt;
            // The wrappers the text is in (link, content control...), outermost last.
            std::vector<std::string> wrappers;
            for (auto a = after.parent; a && a != p; a = a.parent())
                if (!xml::is(a, "w:r")) wrappers.push_back(a.name());
            after = edit::splitUpTo(after, p);
            p = edit::splitParagraph(p, after);
            if (withinParagraph) recordInsertion(p);
            auto firstContent = [](pugi::xml_node parent) {
                auto c = parent.first_child();
                while (c && (c.type() != pugi::node_element ||
                             std::string_view(c.name()).ends_with("Pr")))
                    c = c.next_sibling();
                return c;
            };
            pt = {p, firstContent(p)};
            // The next paragraph's text goes into their second halves.
            for (auto w = wrappers.rbegin(); w != wrappers.rend(); ++w) {
                if (!pt.before || *w != pt.before.name()) break;
                pt = {pt.before, firstContent(pt.before)};
            }
            from = to + 1;
        }
    }
    if (!withinParagraph) edit::normalize(st->root());
    st->invalidate();
    storyEdited(ref);
    return s + static_cast<int>(text.size());
}

int Document::nextDrawingId() {
    if (m_nextDrawingId == 0) {
        int maxId = 0;
        for (const auto& name : m_package.names()) {
            if (name.rfind("word/", 0) != 0 || name.size() < 4 ||
                name.substr(name.size() - 4) != ".xml" || name.find("_rels") != std::string::npos)
                continue;
            auto root = m_package.xml(name).document_element();
            for (auto n = root; n; n = xml::nextInOrder(n, root))
                if (xml::is(n, "wp:docPr")) maxId = std::max(maxId, n.attribute("id").as_int());
        }
        m_nextDrawingId = maxId + 1;
    }
    return m_nextDrawingId++;
}

void Document::renumberDrawings(pugi::xml_node subtree) {
    for (auto n = subtree; n; n = xml::nextInOrder(n, subtree))
        if (xml::is(n, "wp:docPr")) n.attribute("id").set_value(nextDrawingId());
}

void Document::syncTextBoxFallbacks() {
    if (m_editedTextBoxes.empty()) return;
    for (int index : m_editedTextBoxes) {
        if (index >= textBoxCount()) continue;
        auto content = textBoxContent(index);
        auto alt = xml::ancestor(content, "mc:AlternateContent");
        if (!alt) continue;
        auto choice = alt.child("mc:Choice"), fallback = alt.child("mc:Fallback");
        std::vector<pugi::xml_node> ours, theirs;
        for (auto n = choice; n; n = xml::nextInOrder(n, choice))
            if (xml::is(n, "w:txbxContent")) ours.push_back(n);
        for (auto n = fallback; n; n = xml::nextInOrder(n, fallback))
            if (xml::is(n, "w:txbxContent")) theirs.push_back(n);
        for (size_t k = 0; k < ours.size() && k < theirs.size(); ++k) {
            if (ours[k] != content) continue;
            while (theirs[k].first_child()) theirs[k].remove_child(theirs[k].first_child());
            for (auto c : content.children()) theirs[k].append_copy(c);
            edit::freshenCopy(theirs[k]);
            renumberDrawings(theirs[k]);
        }
    }
    m_editedTextBoxes.clear();
}

Range Document::content() { return Range(*this, {}, 0, story({}).length()); }

Range Document::storyRange(StoryRef ref) { return Range(*this, ref, 0, story(ref).length()); }

Selection& Document::selection() {
    if (m_closed) throw WordprocError("The document has been closed.");
    return *m_selection;
}

Window& Document::activeWindow() { return *m_window; }

}  // namespace wordproc
