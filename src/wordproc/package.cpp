#include "wordproc/package.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "wordproc/errors.h"

namespace wordproc {

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const {
        if (z) zip_discard(z);
    }
};

bool unsafeName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return true;
    if (name.find('\\') != std::string::npos || name.find(':') != std::string::npos) return true;
    std::stringstream ss(name);
    std::string seg;
    while (std::getline(ss, seg, '/'))
        if (seg == "..") return true;
    return false;
}

bool iequals(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string serialize(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", kSaveFlags, pugi::encoding_utf8);
    return out.str();
}

}  // namespace

Package Package::read(const std::string& path, const std::string& label) {
    int err = 0;
    std::unique_ptr<zip_t, ZipCloser> z(zip_open(path.c_str(), ZIP_RDONLY, &err));
    if (!z) {
        if (err == ZIP_ER_NOENT || err == ZIP_ER_OPEN || err == ZIP_ER_READ)
            throw WordprocError("Cannot read the document " + label + ".");
        throw WordprocError("The document " + label +
                            " is not a Word document (it is not an OOXML package).");
    }
    Package pkg;
    pkg.m_label = label;
    zip_int64_t n = zip_get_num_entries(z.get(), 0);
    if (n < 0 || static_cast<size_t>(n) > kMaxEntries)
        throw WordprocError("The document " + label + " holds too many parts.");
    size_t total = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        if (zip_stat_index(z.get(), i, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            throw WordprocError("The document " + label + " is damaged.");
        std::string name = st.name;
        if (!name.empty() && name.back() == '/') continue;  // directory entry
        if (unsafeName(name))
            throw WordprocError("The document " + label + " is damaged: the part name \"" + name +
                                "\" leads outside the package.");
        if (st.size > kMaxEntryBytes || (total += st.size) > kMaxTotalBytes)
            throw WordprocError("The document " + label +
                                " is too large: its parts would decompress to more than " +
                                std::to_string(kMaxTotalBytes >> 20) + " MB.");
        zip_file_t* f = zip_fopen_index(z.get(), i, 0);
        if (!f) throw WordprocError("The document " + label + " is damaged: part " + name + ".");
        std::string data(st.size, '\0');
        zip_int64_t got = data.empty() ? 0 : zip_fread(f, data.data(), data.size());
        char extra;
        bool longer = zip_fread(f, &extra, 1) > 0;
        zip_fclose(f);
        if (got != static_cast<zip_int64_t>(st.size) || longer)
            throw WordprocError("The document " + label + " is damaged: part " + name +
                                " cannot be read.");
        pkg.m_entries.push_back(
            {name, std::make_shared<const std::string>(std::move(data)), {}, {}, 0});
    }
    return pkg;
}

void Package::write(const std::string& path) const {
    // Serialise first so the buffers outlive zip_close.
    std::vector<std::string> datas;
    datas.reserve(m_entries.size());
    for (const auto& e : m_entries) {
        if (!e.doc) {
            datas.push_back(*e.raw);
            continue;
        }
        std::string now = serialize(*e.doc);
        bool unchanged = e.original && std::hash<std::string>{}(now) == e.parsedHash;
        datas.push_back(unchanged ? *e.original : std::move(now));
    }
    std::string tmp = path + ".part";
    int err = 0;
    zip_t* z = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) throw WordprocError("Cannot write the document " + path + ".");
    for (size_t i = 0; i < m_entries.size(); ++i) {
        zip_source_t* src = zip_source_buffer(z, datas[i].data(), datas[i].size(), 0);
        zip_int64_t idx =
            src ? zip_file_add(z, m_entries[i].name.c_str(), src, ZIP_FL_ENC_UTF_8) : -1;
        if (idx < 0) {
            if (src) zip_source_free(src);
            zip_discard(z);
            throw WordprocError("Cannot write the document " + path + ".");
        }
        zip_set_file_compression(z, static_cast<zip_uint64_t>(idx), ZIP_CM_DEFLATE, 6);
    }
    if (zip_close(z) != 0) {
        zip_discard(z);
        std::filesystem::remove(tmp);
        throw WordprocError("Cannot write the document " + path + ".");
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw WordprocError("Cannot write the document " + path + ".");
    }
}

Package::Entry* Package::find(const std::string& name) {
    for (auto& e : m_entries)
        if (e.name == name) return &e;
    for (auto& e : m_entries)
        if (iequals(e.name, name)) return &e;
    return nullptr;
}

const Package::Entry* Package::find(const std::string& name) const {
    return const_cast<Package*>(this)->find(name);
}

bool Package::has(const std::string& name) const { return find(name) != nullptr; }

std::vector<std::string> Package::names() const {
    std::vector<std::string> out;
    for (const auto& e : m_entries) out.push_back(e.name);
    return out;
}

std::string Package::bytes(const std::string& name) const {
    const Entry* e = find(name);
    if (!e) return {};
    return e->doc ? serialize(*e->doc) : *e->raw;
}

void Package::setBytes(const std::string& name, std::string data) {
    Entry* e = find(name);
    auto raw = std::make_shared<const std::string>(std::move(data));
    if (e) {
        e->raw = raw;
        e->doc.reset();
        e->original.reset();
    } else {
        m_entries.push_back({name, raw, {}, {}, 0});
    }
}

pugi::xml_document& Package::xml(const std::string& name) {
    Entry* e = find(name);
    if (!e) throw WordprocError("The document " + m_label + " has no part " + name + ".");
    if (!e->doc) {
        auto doc = std::make_shared<pugi::xml_document>();
        auto res = doc->load_buffer(e->raw->data(), e->raw->size(), kParseFlags);
        if (!res)
            throw WordprocError("The document " + m_label + " is damaged: part " + name +
                                " is not well-formed XML (" + res.description() + " at byte " +
                                std::to_string(res.offset) + ").");
        e->parsedHash = std::hash<std::string>{}(serialize(*doc));
        e->original = std::move(e->raw);
        e->doc = std::move(doc);
    }
    return *e->doc;
}

pugi::xml_document& Package::createXml(const std::string& name, const std::string& text) {
    setBytes(name, text);
    return xml(name);
}

void Package::remove(const std::string& name) {
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const Entry& e) { return e.name == name; }),
                    m_entries.end());
}

Package Package::detachSnapshot() {
    Package snap;
    snap.m_label = m_label;
    snap.m_entries = m_entries;  // shares the original trees
    for (auto& e : m_entries) {
        if (!e.doc) continue;
        auto copy = std::make_shared<pugi::xml_document>();
        copy->reset(*e.doc);
        e.doc = std::move(copy);
    }
    return snap;
}

std::string partDirectory(const std::string& part) {
    auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash);
}

std::string relsPartFor(const std::string& part) {
    auto slash = part.rfind('/');
    if (slash == std::string::npos) return "_rels/" + part + ".rels";
    return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

std::string resolveTarget(const std::string& part, const std::string& target) {
    std::string joined = target;
    if (!target.empty() && target.front() == '/')
        joined = target.substr(1);
    else if (!partDirectory(part).empty())
        joined = partDirectory(part) + "/" + target;
    std::vector<std::string> segs;
    std::stringstream ss(joined);
    std::string seg;
    while (std::getline(ss, seg, '/')) {
        if (seg.empty() || seg == ".") continue;
        if (seg == "..") {
            if (!segs.empty()) segs.pop_back();
            continue;
        }
        segs.push_back(seg);
    }
    std::string out;
    for (const auto& s : segs) out += (out.empty() ? "" : "/") + s;
    return out;
}

std::string relativeTarget(const std::string& fromPart, const std::string& toPart) {
    std::string dir = partDirectory(fromPart);
    if (!dir.empty() && toPart.rfind(dir + "/", 0) == 0) return toPart.substr(dir.size() + 1);
    return "/" + toPart;
}

Relationships::Relationships(Package& package, std::string part)
    : m_package(package), m_part(std::move(part)) {
    std::string rels = relsPartFor(m_part);
    if (!m_package.has(rels)) return;
    for (auto r : m_package.xml(rels).document_element().children("Relationship")) {
        m_rels.push_back({r.attribute("Id").value(), r.attribute("Type").value(),
                          r.attribute("Target").value(),
                          std::string(r.attribute("TargetMode").value()) == "External"});
    }
}

std::vector<Relationships::Rel> Relationships::all() const { return m_rels; }

const Relationships::Rel* Relationships::byId(const std::string& id) const {
    for (const auto& r : m_rels)
        if (r.id == id) return &r;
    return nullptr;
}

std::string Relationships::partOf(const std::string& id) const {
    const Rel* r = byId(id);
    if (!r || r->external) return {};
    return resolveTarget(m_part, r->target);
}

std::string Relationships::firstOfType(const std::string& type) const {
    for (const auto& r : m_rels)
        if (r.type == type && !r.external) return resolveTarget(m_part, r.target);
    return {};
}

std::string Relationships::add(const std::string& type, const std::string& target, bool external) {
    std::string rels = relsPartFor(m_part);
    if (!m_package.has(rels))
        m_package.createXml(rels,
                            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
                            "2006/relationships\"></Relationships>");
    int n = static_cast<int>(m_rels.size()) + 1;
    std::string id;
    do {
        id = "rId" + std::to_string(n++);
    } while (byId(id));
    auto root = m_package.xml(rels).document_element();
    auto r = root.append_child("Relationship");
    r.append_attribute("Id") = id.c_str();
    r.append_attribute("Type") = type.c_str();
    r.append_attribute("Target") = target.c_str();
    if (external) r.append_attribute("TargetMode") = "External";
    m_rels.push_back({id, type, target, external});
    return id;
}

namespace {
pugi::xml_node contentTypesRoot(Package& package) {
    const char* name = "[Content_Types].xml";
    if (!package.has(name))
        throw WordprocError("The document is damaged: it has no list of content types.");
    return package.xml(name).document_element();
}
}  // namespace

void ensureDefaultContentType(Package& package, const std::string& ext, const std::string& type) {
    auto root = contentTypesRoot(package);
    for (auto d : root.children("Default"))
        if (iequals(d.attribute("Extension").value(), ext)) return;
    auto first = root.child("Override");
    auto d = first ? root.insert_child_before("Default", first) : root.append_child("Default");
    d.append_attribute("Extension") = ext.c_str();
    d.append_attribute("ContentType") = type.c_str();
}

void ensureOverrideContentType(Package& package, const std::string& part, const std::string& type) {
    auto root = contentTypesRoot(package);
    std::string name = "/" + part;
    for (auto o : root.children("Override"))
        if (iequals(o.attribute("PartName").value(), name)) return;
    auto o = root.append_child("Override");
    o.append_attribute("PartName") = name.c_str();
    o.append_attribute("ContentType") = type.c_str();
}

std::string overrideContentType(Package& package, const std::string& part) {
    auto root = contentTypesRoot(package);
    std::string name = "/" + part;
    for (auto o : root.children("Override"))
        if (iequals(o.attribute("PartName").value(), name))
            return o.attribute("ContentType").value();
    return {};
}

}  // namespace wordproc
