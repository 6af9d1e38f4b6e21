#pragma once
// An application directory over the benchmark's generated tables: data\ holds links to its
// FOODS, CONTENTS and RECAL tables and small tables of its own for the other six, so the
// program's start-up opens all nine as it does on a real data directory.
#include <filesystem>

namespace bench {

// Makes (or reuses) root/app-<foods>/data over the tables of `tables`; returns the
// application directory.
std::filesystem::path ensureAppDirectory(const std::filesystem::path& root,
                                         const std::filesystem::path& tables, std::size_t foods);

}  // namespace bench
