#pragma once
// Prepared statements kept for re-use across queries. The program sends the same
// statements again and again with only their numbers changed; a statement whose tokens
// match one seen before, numbers aside, takes the new numbers into the bound statement
// it kept instead of being parsed and bound again.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

#include "prepared_statement.h"

namespace dbf::sql {

class StatementCache {
  public:
    static constexpr std::size_t kCapacity = 32;

    // A kept statement of the same shape when its tables and the directory are unchanged,
    // otherwise a fresh one. Raises DbfError as PreparedStatement::prepare does.
    static std::unique_ptr<PreparedStatement> prepare(std::string_view text,
                                                      const std::filesystem::path& dir);
    // Hands a statement back once its user is done with it (a kept statement serves one
    // user at a time: its constants change on re-use).
    static void release(std::unique_ptr<PreparedStatement> statement);

    struct Counts {
        std::size_t hits = 0;
        std::size_t misses = 0;
        std::size_t entries = 0;
    };
    static Counts counts();
    static void clear();
};

}  // namespace dbf::sql
