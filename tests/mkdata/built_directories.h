#pragma once
// The data directories the tests read, each built once per test program from the project's
// data folder into a temporary directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "dbf/dbf_file.h"
#include "halvora-mkdata/database_builder.h"
#include "halvora-mkdata/errors.h"

namespace mkdata::testing {

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "halvora-mkdata-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

inline std::filesystem::path inputDir() { return HALVORA_DATA_INPUT; }

struct BuiltDirectory {
    TempDir dir;
    BuildResult result;
};

// The bundled directory (demo false) or the demonstration directory (demo true).
inline const BuiltDirectory& builtDirectory(bool demo) {
    static std::unique_ptr<BuiltDirectory> built[2];
    auto& slot = built[demo ? 1 : 0];
    if (!slot) {
        slot = std::make_unique<BuiltDirectory>();
        BuildOptions options;
        options.inputDir = inputDir();
        options.outDir = slot->dir.path() / "data";
        options.demo = demo;
        slot->result = buildDataDirectory(options);
    }
    return *slot;
}

inline std::filesystem::path bundled() { return builtDirectory(false).dir.path() / "data"; }
inline std::filesystem::path demoDir() { return builtDirectory(true).dir.path() / "data"; }

// Every record of a table, decoded by field name.
class Rows {
  public:
    explicit Rows(const std::filesystem::path& table) : m_file(dbf::DbfFile::open(table)) {}
    std::uint32_t count() const { return m_file->recordCount(); }
    dbf::Value get(std::uint32_t row, const std::string& field) const {
        for (const auto& f : m_file->allFields())
            if (f.name == field) return m_file->decode(m_file->record(row), f);
        throw std::runtime_error("no field " + field);
    }
    std::string text(std::uint32_t row, const std::string& field) const;
    const dbf::DbfFile& file() const { return *m_file; }

  private:
    std::unique_ptr<dbf::DbfFile> m_file;
};

inline std::string Rows::text(std::uint32_t row, const std::string& field) const {
    const dbf::Value v = get(row, field);
    return v.isNull() ? std::string() : v.asString();
}

}  // namespace mkdata::testing
