#include "wordproc/shapes.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "wordproc/edit.h"
#include "wordproc/errors.h"
#include "wordproc/picture.h"
#include "wordproc/xml_util.h"

namespace wordproc {

namespace {

constexpr double kEmuPerPoint = 12700;

double vmlLength(std::string_view style, std::string_view key) {
    size_t at = style.find(std::string(key) + ":");
    if (at == std::string_view::npos) return 0;
    double v = std::atof(std::string(style.substr(at + key.size() + 1)).c_str());
    std::string_view rest = style.substr(at + key.size() + 1);
    size_t unit = rest.find_first_not_of("0123456789.-");
    std::string_view u = unit == std::string_view::npos ? "" : rest.substr(unit, 2);
    if (u == "in") return v * 72;
    if (u == "cm") return v * 72 / 2.54;
    if (u == "mm") return v * 72 / 25.4;
    if (u == "px") return v * 0.75;
    return v;  // points
}

pugi::xml_node txbxOf(pugi::xml_node n) {
    for (auto c = n; c; c = xml::nextInOrder(c, n))
        if (xml::is(c, "w:txbxContent")) return c;
    return {};
}

void addMember(Document& doc, pugi::xml_node wsp, std::vector<shapes::Info>& out) {
    shapes::Info info;
    info.node = wsp;
    auto txbx = wsp.child("wps:txbx").child("w:txbxContent");
    info.type = txbx ? mso::kTextBox : mso::kAutoShape;
    if (xml::is(wsp, "pic:pic")) info.type = mso::kPicture;
    info.story = txbx ? doc.textBoxIndexOf(txbx) : -1;
    auto ext = wsp.child("wps:spPr").child("a:xfrm").child("a:ext");
    if (!ext) ext = wsp.child("pic:spPr").child("a:xfrm").child("a:ext");
    info.width = ext.attribute("cx").as_double() / kEmuPerPoint;
    info.height = ext.attribute("cy").as_double() / kEmuPerPoint;
    info.name = wsp.child("wps:cNvPr").attribute("name").value();
    out.push_back(info);
}

}  // namespace

namespace shapes {

std::vector<Info> list(Document& doc) {
    std::vector<Info> out;
    auto body = doc.story({}).root();
    for (auto n = xml::firstElement(body); n;) {
        bool skip = xml::is(n, "mc:Fallback") || xml::is(n, "w:txbxContent");
        if (xml::is(n, "wp:anchor")) {
            skip = true;
            Info info;
            info.node = n;
            auto docPr = n.child("wp:docPr");
            info.name = docPr.attribute("name").value();
            info.width = n.child("wp:extent").attribute("cx").as_double() / kEmuPerPoint;
            info.height = n.child("wp:extent").attribute("cy").as_double() / kEmuPerPoint;
            auto data = xml::firstElement(n.child("a:graphic").child("a:graphicData"));
            std::string key = info.name + "#" + docPr.attribute("id").value();
            if (xml::is(data, "wpg:wgp")) {
                info.type = mso::kGroup;
                if (doc.ungroupedShapes().count(key)) {
                    for (auto m = data; m; m = xml::nextInOrder(m, data))
                        if (xml::is(m, "wps:wsp") || xml::is(m, "pic:pic")) addMember(doc, m, out);
                    n = xml::nextInOrder(n, body, true);
                    continue;
                }
            } else if (xml::is(data, "pic:pic")) {
                info.type = mso::kPicture;
            } else if (auto txbx = data.child("wps:txbx").child("w:txbxContent")) {
                info.type = mso::kTextBox;
                info.story = doc.textBoxIndexOf(txbx);
            }
            out.push_back(info);
        } else if (xml::is(n, "w:pict")) {
            skip = true;
            for (auto s = xml::firstElement(n); s; s = xml::nextElement(s)) {
                if (xml::is(s, "v:shapetype")) continue;
                Info info;
                info.node = s;
                info.name = s.attribute("id").value();
                std::string_view style = s.attribute("style").value();
                info.width = vmlLength(style, "width");
                info.height = vmlLength(style, "height");
                if (xml::is(s, "v:group")) {
                    info.type = mso::kGroup;
                } else if (auto txbx = txbxOf(s)) {
                    info.type = mso::kTextBox;
                    info.story = doc.textBoxIndexOf(txbx);
                } else if (s.child("v:imagedata")) {
                    info.type = mso::kPicture;
                }
                if (style.find("position:absolute") != std::string_view::npos ||
                    info.type == mso::kTextBox || info.type == mso::kGroup)
                    out.push_back(info);
            }
        }
        n = xml::nextInOrder(n, body, skip);
    }
    return out;
}

}  // namespace shapes

int Shapes::count() { return static_cast<int>(shapes::list(*m_doc).size()); }

Shape Shapes::item(int index) {
    if (index < 1 || index > count()) throwNoMember("Shapes", index, "document", count(), "shape");
    return Shape(*m_doc, index - 1);
}

Shapes Document::shapes() { return Shapes(*this); }

namespace {
shapes::Info infoAt(Document& doc, int index) {
    auto all = shapes::list(doc);
    if (index < 0 || index >= static_cast<int>(all.size()))
        throw WordprocError("The shape no longer exists.");
    return all[static_cast<size_t>(index)];
}
}  // namespace

int Shape::type() { return infoAt(*m_doc, m_index).type; }
std::string Shape::name() { return infoAt(*m_doc, m_index).name; }
double Shape::width() { return infoAt(*m_doc, m_index).width; }
double Shape::height() { return infoAt(*m_doc, m_index).height; }
TextFrame Shape::textFrame() { return TextFrame(*m_doc, infoAt(*m_doc, m_index).story); }

void Shape::select() {
    int story = infoAt(*m_doc, m_index).story;
    if (story >= 0) m_doc->selection().goTo({StoryKind::TextBox, story}, 0, 0);
}

void Shape::ungroup() {
    auto info = infoAt(*m_doc, m_index);
    if (info.type != mso::kGroup) throw WordprocError("This shape is not a group.");
    if (!xml::is(info.node, "wp:anchor")) return;  // VML groups stay as they are
    auto docPr = info.node.child("wp:docPr");
    m_doc->ungroupedShapes().insert(info.name + "#" + docPr.attribute("id").value());
}

bool TextFrame::hasText() {
    if (m_story < 0) return false;
    for (char32_t c : m_doc->story({StoryKind::TextBox, m_story}).text())
        if (c != kParagraphMark && c != kCellMark) return true;
    return false;
}

Range TextFrame::textRange() {
    if (m_story < 0) throw WordprocError("This shape has no text frame.");
    return m_doc->storyRange({StoryKind::TextBox, m_story});
}

// --- shape range of the selection ---

ShapeRange Selection::shapeRange() {
    return ShapeRange(*m_doc, m_story.kind == StoryKind::TextBox ? m_story.index : -1);
}

namespace {
shapes::Info holder(Document& doc, int story) {
    for (const auto& info : shapes::list(doc))
        if (info.story == story) return info;
    // A text box of a group that was not ungrouped: the group's frame.
    auto content = doc.textBoxContent(story);
    shapes::Info info;
    if (auto anchor = xml::ancestor(content, "wp:anchor")) {
        info.width = anchor.child("wp:extent").attribute("cx").as_double() / kEmuPerPoint;
        info.height = anchor.child("wp:extent").attribute("cy").as_double() / kEmuPerPoint;
        info.name = anchor.child("wp:docPr").attribute("name").value();
        return info;
    }
    throw WordprocError("The shape cannot be measured.");
}
}  // namespace

double ShapeRange::width() { return m_story < 0 ? 0 : holder(*m_doc, m_story).width; }
double ShapeRange::height() { return m_story < 0 ? 0 : holder(*m_doc, m_story).height; }
std::string ShapeRange::name() { return m_story < 0 ? "" : holder(*m_doc, m_story).name; }

// --- inline pictures ---

InlineShapes Selection::inlineShapes() { return InlineShapes(*m_doc, range()); }

int InlineShapes::count() {
    int n = 0;
    Story& st = m_range.storyObject();
    for (int i = st.entryAt(m_range.start()); i <= st.entryAt(m_range.end()); ++i)
        for (const auto& a : st.entry(i).atoms)
            if (a.kind == AtomKind::Object) ++n;
    return n;
}

InlineShape InlineShapes::addPicture(const std::string& fileName, bool, bool) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw WordprocError("The picture file " + fileName + " cannot be read.");
    std::ostringstream buf;
    buf << in.rdbuf();
    std::string bytes = buf.str();
    ImageInfo info = probeImage(bytes, fileName);

    Document& doc = *m_doc;
    Document::EditScope scope(doc);
    StoryRef ref = m_range.story();
    int s = m_range.start(), e = m_range.end();
    doc.snapshot();
    if (e > s) doc.replaceText(ref, s, e, U"");
    std::string part = doc.partOf(ref);
    std::string rid = addMediaPart(doc, part, bytes, info.extension, info.contentType);
    Story& st = doc.story(ref);
    Entry& en = st.entry(st.entryAt(s));
    if (en.rowEnd) throw WordprocError("A picture cannot be inserted at the end of a table row.");
    pugi::xml_document fmt;
    auto rPr = edit::formattingAt(en, s - en.start, fmt);
    auto pt = edit::insertionPoint(en, s - en.start);
    if (xml::is(pt.parent, "w:r")) pt = edit::splitUpTo(pt, pt.parent.parent());
    auto run =
        pt.before ? pt.parent.insert_child_before("w:r", pt.before) : pt.parent.append_child("w:r");
    if (rPr) run.append_copy(rPr);

    long long cx = std::llround(info.width * 914400.0 / info.dpiX);
    long long cy = std::llround(info.height * 914400.0 / info.dpiY);
    int id = doc.nextDrawingId();
    std::string name = "Picture " + std::to_string(id);
    std::string x =
        "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"" +
        std::to_string(cx) + "\" cy=\"" + std::to_string(cy) +
        "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:docPr id=\"" +
        std::to_string(id) + "\" name=\"" + name +
        "\"/><wp:cNvGraphicFramePr><a:graphicFrameLocks xmlns:a=\"" + xml::kNsA +
        "\" noChangeAspect=\"1\"/></wp:cNvGraphicFramePr><a:graphic xmlns:a=\"" + xml::kNsA +
        "\"><a:graphicData uri=\"" + xml::kNsPic + "\"><pic:pic xmlns:pic=\"" + xml::kNsPic +
        "\"><pic:nvPicPr><pic:cNvPr id=\"0\" name=\"" + name +
        "\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" + rid +
        "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" "
        "y=\"0\"/><a:ext cx=\"" +
        std::to_string(cx) + "\" cy=\"" + std::to_string(cy) +
        "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing>";
    pugi::xml_document frag;
    frag.load_string(x.c_str());
    run.append_copy(frag.first_child());
    auto root = doc.package().xml(part).document_element();
    xml::ensureNamespace(root, "wp", xml::kNsWp);
    xml::ensureNamespace(root, "r", xml::kNsR);
    st.invalidate();
    doc.storyEdited(ref);
    doc.selection().goTo(ref, s, s + 1);
    return InlineShape(doc, ref, s);
}

pugi::xml_node InlineShape::extent(pugi::xml_node* paragraph) {
    Story& st = m_doc->story(m_story);
    const Entry& en = st.entry(st.entryAt(m_pos));
    int k = m_pos - en.start;
    if (en.rowEnd || k >= static_cast<int>(en.atoms.size()) || en.atoms[k].kind != AtomKind::Object)
        throw WordprocError("The inline picture no longer exists.");
    if (paragraph) *paragraph = en.node;
    auto node = en.atoms[k].node;
    for (auto n = node; n; n = xml::nextInOrder(n, node))
        if (xml::is(n, "wp:extent")) return n;
    throw WordprocError("The inline object has no size.");
}

double InlineShape::width() {
    return static_cast<float>(extent().attribute("cx").as_double() / kEmuPerPoint);
}
double InlineShape::height() {
    return static_cast<float>(extent().attribute("cy").as_double() / kEmuPerPoint);
}

void InlineShape::setSize(double w, double h) {
    Document::EditScope scope(*m_doc);
    pugi::xml_node p;
    auto ext = extent(&p);
    m_doc->touchParagraph(m_story, p);
    auto cx = std::to_string(std::llround(w * kEmuPerPoint));
    auto cy = std::to_string(std::llround(h * kEmuPerPoint));
    xml::setVal(ext, "cx", cx);
    xml::setVal(ext, "cy", cy);
    auto inl = ext.parent();
    for (auto n = inl; n; n = xml::nextInOrder(n, inl))
        if (xml::is(n, "a:ext") && xml::is(n.parent(), "a:xfrm") &&
            xml::is(n.parent().parent(), "pic:spPr")) {
            xml::setVal(n, "cx", cx);
            xml::setVal(n, "cy", cy);
        }
    m_doc->storyEdited(m_story);
}

void InlineShape::setWidth(double points) { setSize(points, height()); }
void InlineShape::setHeight(double points) { setSize(width(), points); }

void InlineShape::scaleDownToFit(double boxWidth, double boxHeight) {
    double w = width(), h = height();
    if (h > boxHeight && h > 0) {
        w *= boxHeight / h;
        h = boxHeight;
    }
    if (w > boxWidth && w > 0) {
        h *= boxWidth / w;
        w = boxWidth;
    }
    if (w != width() || h != height()) setSize(w, h);
}

}  // namespace wordproc
