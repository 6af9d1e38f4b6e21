#include "wordproc/convert.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

}  // namespace wordproc
