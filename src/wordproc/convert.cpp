#include "wordproc/convert.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>

#include "wordproc/errors.h"

namespace fs = std::filesystem;

namespace wordproc {

FileKind sniffFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[8] = {};
    in.read(head, sizeof head);
    auto n = in.gcount();
    if (n >= 4 && head[0] == 'P' && head[1] == 'K' && head[2] == 3 && head[3] == 4)
        return FileKind::Ooxml;
    static const unsigned char ole[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (n == 8 && std::equal(head, head + 8, reinterpret_cast<const char*>(ole)))
        return FileKind::LegacyWord;
    if (n >= 5 && std::string(head, 5) == "{\\rtf") return FileKind::Rtf;
    return FileKind::Other;
}

std::string findSoffice() {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::string p = path;
    size_t from = 0;
    while (from <= p.size()) {
        size_t to = p.find(':', from);
        if (to == std::string::npos) to = p.size();
        fs::path dir = p.substr(from, to - from);
        for (const char* name : {"soffice", "libreoffice"}) {
            std::error_code ec;
            auto candidate = dir / name;
            if (!dir.empty() && fs::exists(candidate, ec)) return candidate.string();
        }
        from = to + 1;
    }
    return {};
}

namespace {
std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}
}  // namespace

std::string convertToDocx(const std::string& path, const std::string& label) {
    std::string soffice = findSoffice();
    if (soffice.empty())
        throw WordprocError("The template " + label +
                            " is in the legacy Word format; LibreOffice is needed to convert it "
                            "and is not installed.");
    std::random_device rd;
    fs::path dir = fs::temp_directory_path() / ("wordproc_convert_" + std::to_string(rd()));
    fs::create_directories(dir / "profile");
    fs::path source = dir / "source.doc";
    fs::copy_file(path, source, fs::copy_options::overwrite_existing);
    // A private profile, so a LibreOffice the user has open does not take the job.
    std::string cmd = quote(soffice) + " -env:UserInstallation=file://" +
                      quote((dir / "profile").string()) +
                      " --headless --norestore --convert-to docx --outdir " + quote(dir.string()) +
                      " " + quote(source.string()) + " >/dev/null 2>&1";
    int rc = std::system(cmd.c_str());
    fs::path result = dir / "source.docx";
    if (rc != 0 || !fs::exists(result)) {
        std::error_code ec;
        fs::remove_all(dir, ec);
        throw WordprocError("The template " + label + " could not be converted by LibreOffice.");
    }
    return result.string();
}

namespace {

void libreOfficeConverter(const std::string& source, const std::string& destination,
                          const std::string& label) {
    std::string result = convertToDocx(source, label);
    std::error_code ec;
    fs::copy_file(result, destination, fs::copy_options::overwrite_existing, ec);
    fs::remove_all(fs::path(result).parent_path());
    if (ec) throw WordprocError("The converted template " + label + " could not be kept.");
}

struct Converted {
    std::uintmax_t size = 0;
    fs::file_time_type mtime;
    std::string docx;
};

// The converted files of this process, in a folder of their own so that the
// deletion of temporary report files never reaches them.
class ConversionCache {
  public:
    ~ConversionCache() {
        std::error_code ec;
        if (!m_dir.empty()) fs::remove_all(m_dir, ec);
    }
    std::mutex mutex;
    Converter converter = libreOfficeConverter;
    std::map<std::string, Converted> files;
    int next = 0;
    const fs::path& dir() {
        if (m_dir.empty()) {
            std::random_device rd;
            m_dir = fs::temp_directory_path() / ("wordproc_converted_" + std::to_string(rd()));
            fs::create_directories(m_dir);
        }
        return m_dir;
    }
    void clear() {
        std::error_code ec;
        for (auto& [key, c] : files) fs::remove(c.docx, ec);
        files.clear();
    }

  private:
    fs::path m_dir;
};

ConversionCache& cache() {
    static ConversionCache c;
    return c;
}

}  // namespace

void setConverter(Converter converter) {
    auto& c = cache();
    std::lock_guard lock(c.mutex);
    c.converter = converter ? std::move(converter) : Converter(libreOfficeConverter);
    c.clear();
}

std::string convertedDocx(const std::string& path, const std::string& label) {
    auto& c = cache();
    std::lock_guard lock(c.mutex);
    std::error_code ec;
    fs::path canonical = fs::canonical(path, ec);
    if (ec) throw WordprocError("Template " + label + " not found!");
    auto size = fs::file_size(canonical, ec);
    auto mtime = fs::last_write_time(canonical, ec);
    if (ec) throw WordprocError("Template " + label + " cannot be read.");
    auto key = canonical.string();
    auto it = c.files.find(key);
    if (it != c.files.end() && it->second.size == size && it->second.mtime == mtime &&
        fs::exists(it->second.docx, ec))
        return it->second.docx;
    fs::path docx = c.dir() / ("converted_" + std::to_string(++c.next) + ".docx");
    c.converter(path, docx.string(), label);
    if (!fs::exists(docx, ec))
        throw WordprocError("The template " + label + " could not be converted.");
    if (it != c.files.end()) fs::remove(it->second.docx, ec);
    c.files[key] = {size, mtime, docx.string()};
    return docx.string();
}

}  // namespace wordproc
