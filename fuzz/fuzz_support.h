#pragma once
// What every fuzz target shares: a scratch folder of its own, inputs written into it, and
// the seed corpus each target writes when HALVORA_FUZZ_SEEDS names a folder.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

namespace halvora::fuzz {

namespace fs = std::filesystem;

// Every input becomes a file, so the folder lives in memory where the system allows it.
inline const fs::path& scratch() {
    static const fs::path dir = [] {
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "halvora-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        static fs::path made;
        made = pattern;
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(made, ignored);
        });
        return made;
    }();
    return dir;
}

inline fs::path scratchFolder(const std::string& name) {
    fs::path dir = scratch() / name;
    fs::create_directories(dir);
    return dir;
}

inline void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Seeds given as texts, one file each: prefix0, prefix1, ...
inline void writeSeedTexts(const fs::path& dir, const std::string& prefix,
                           std::initializer_list<const char*> texts) {
    int n = 0;
    for (const char* text : texts) writeFile(dir / (prefix + std::to_string(n++)), text);
}

// Each target defines it: writes its seed inputs into `dir`.
void writeSeeds(const fs::path& dir);

}  // namespace halvora::fuzz

// HALVORA_FUZZ_SEEDS=DIR makes a target write its seeds and leave instead of fuzzing.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* seeds = std::getenv("HALVORA_FUZZ_SEEDS")) {
        halvora::fuzz::fs::create_directories(seeds);
        halvora::fuzz::writeSeeds(seeds);
        std::exit(0);
    }
    return 0;
}
