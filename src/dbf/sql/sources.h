#pragma once
// Where an execution reads field values: the tables' decoded columns when it reads a
// good part of a table, single records when it reads a few rows of a large one (a
// recipe's handful of foods among a million need no decoding of 113 whole columns).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../column.h"

namespace dbf {
class TableStore;
}

namespace dbf::sql {

// Texts of a run of rows. A blank text counts as empty (null) in conditions.
struct TextVec {
    std::vector<std::string_view> views;
    std::vector<std::uint8_t> nulls;
    std::vector<std::string> storage;  // decoded texts of single records
};

class Sources {
  public:
    explicit Sources(std::vector<TableStore*> stores) : m_stores(std::move(stores)) {}

    TableStore& store(int table) const { return *m_stores[static_cast<std::size_t>(table)]; }
    int tableCount() const { return static_cast<int>(m_stores.size()); }

    // Whether reading `rowCount` rows of a field goes through its decoded column: when
    // this execution holds the column already, or the rows are at least a `share`-th of
    // the table (a decoded column costs a pass over every record).
    bool columnar(int table, int field, std::size_t rowCount, std::size_t share = 16) const;

    const Column& column(int table, int field);
    std::shared_ptr<const Column> columnPtr(int table, int field);
    const Column& folded(int table, int field);

    void numbers(int table, int field, const std::uint32_t* rows, std::size_t n, bool columnar,
                 double* out, std::uint8_t* nulls);
    void texts(int table, int field, const std::uint32_t* rows, std::size_t n, bool columnar,
               bool folded, TextVec& out);

  private:
    std::vector<TableStore*> m_stores;
    std::map<std::pair<int, int>, std::shared_ptr<const Column>> m_columns;
    std::map<std::pair<int, int>, std::shared_ptr<const Column>> m_folded;
};

}  // namespace dbf::sql
