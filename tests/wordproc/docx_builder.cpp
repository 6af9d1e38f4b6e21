#include "docx_builder.h"

#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace wordproc::test {

void writeZip(const std::string& path, const std::map<std::string, std::string>& entries,
              bool deflate) {
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) throw std::runtime_error("zip_open");
    for (const auto& [name, data] : entries) {
        zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
        const zip_int64_t index = zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_UTF_8);
        if (!deflate && index >= 0)
            zip_set_file_compression(z, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    zip_close(z);
}

void writeDocx(const std::string& path, const std::string& bodyXml,
               std::map<std::string, std::string> extra, bool deflate) {
    std::map<std::string, std::string> e;
    e["[Content_Types].xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document."
        "main+xml\"/></Types>";
    e["_rels/.rels"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"word/document.xml\"/></Relationships>";
    e["word/document.xml"] =
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
        "<w:document " + kNs + "><w:body>" + bodyXml +
        "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1440\" "
        "w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\"/></w:sectPr>"
        "</w:body></w:document>";
    for (auto& [k, v] : extra) e[k] = v;
    writeZip(path, e, deflate);
}

namespace {

std::string xmlText(const std::string& s) {
    std::string out;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (u >= 0x20 || c == '\t')
            out += c;
    }
    return out;
}

std::string paragraph(const std::string& text) {
    if (text.empty()) return "<w:p/>";
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + xmlText(text) + "</w:t></w:r></w:p>";
}

}  // namespace

std::string shortFormBody(const std::string& shortForm) {
    std::string body;
    bool inTable = false;
    std::istringstream in(shortForm);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool row = !line.empty() && line[0] == '|';
        if (row && !inTable)
            body += "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr>";
        if (!row && inTable) body += "</w:tbl>";
        inTable = row;
        if (!row) {
            body += paragraph(line);
            continue;
        }
        std::string inner = line.substr(1);
        if (!inner.empty() && inner.back() == '|') inner.pop_back();
        body += "<w:tr>";
        std::string cell;
        for (std::size_t i = 0; i <= inner.size(); ++i) {
            if (i < inner.size() && inner[i] != '|') {
                cell += inner[i];
                continue;
            }
            body += "<w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr>" +
                    paragraph(cell) + "</w:tc>";
            cell.clear();
        }
        body += "</w:tr>";
    }
    if (inTable) body += "</w:tbl><w:p/>";
    return body;
}

std::string tempPath(const std::string& name) {
    // One folder per process: the test runner may run tests side by side.
    auto dir =
        std::filesystem::temp_directory_path() / ("wordproc_tests_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

std::map<std::string, std::string> readZip(const std::string& path) {
    std::map<std::string, std::string> out;
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
    if (!z) throw std::runtime_error("not a zip: " + path);
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, i, 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, i, 0);
        zip_fread(f, data.data(), data.size());
        zip_fclose(f);
        out[st.name] = data;
    }
    zip_discard(z);
    return out;
}

std::string dataPath(const std::string& name) {
    return std::string(HALVORA_TEST_DATA) + "/" + name;
}

}  // namespace wordproc::test
