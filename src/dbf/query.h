#pragma once
// A local SQL query over the tables of one directory, read as a data set.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dataset.h"

namespace dbf {

namespace sql {
class PreparedStatement;
class ResultSet;
}  // namespace sql

class Query : public DataSet {
  public:
    Query();
    ~Query() override;

    // Changing the directory unprepares: the tables are looked up again.
    void setDirectory(std::filesystem::path dir);
    const std::filesystem::path& directory() const { return m_dir; }

    // The statement as lines; line breaks count as blanks. Changing it unprepares.
    void setSql(std::vector<std::string> lines);
    const std::vector<std::string>& sql() const { return m_lines; }
    std::string statementText() const;

    void setRequestLive(bool live) { m_requestLive = live; }
    bool requestLive() const { return m_requestLive; }

    // Parses and binds the statement (opening the tables it names). Raises DbfError.
    void prepare();
    bool prepared() const { return m_prepared != nullptr; }
    // Runs the statement (preparing it first when needed) and stands on the first row.
    void open();
    void close();

    // The rows of the open query, for callers that read many values without a cursor
    // (exports, the command-line tool); null while closed.
    const sql::ResultSet* result() const { return m_result.get(); }

  protected:
    std::size_t rowCount() const override;
    Value valueAt(std::size_t position, int fieldIndex) const override;

  private:
    // Hands the prepared statement back to the statement cache.
    void unprepare();

    std::filesystem::path m_dir;
    std::vector<std::string> m_lines;
    bool m_requestLive = false;
    std::unique_ptr<sql::PreparedStatement> m_prepared;
    std::unique_ptr<sql::ResultSet> m_result;
};

}  // namespace dbf
