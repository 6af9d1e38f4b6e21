#pragma once
// Tables, rows, cells and columns. Indexes are 1-based as the report engine
// counts them. Handles find their table again after structural edits.
#include <pugixml.hpp>

#include "wordproc/range.h"

namespace wordproc {

class Table;

class Cell {
  public:
    void select();
    Range range();
    pugi::xml_node node();

  public:
    Cell(Document& d, StoryRef s, int table, int row, int cell)
        : m_doc(&d), m_story(s), m_table(table), m_row(row), m_cell(cell) {}

  private:
    Document* m_doc;
    StoryRef m_story;
    int m_table, m_row, m_cell;
};

class Cells {
  public:
    int count();
    Cell item(int index);

  public:
    Cells(Document& d, StoryRef s, int table, int row)
        : m_doc(&d), m_story(s), m_table(table), m_row(row) {}

  private:
    Document* m_doc;
    StoryRef m_story;
    int m_table, m_row;
};

class Row {
  public:
    void select();
    void deleteRow();
    Range range();
    Cells cells() { return Cells(*m_doc, m_story, m_table, m_row); }
    int index() const { return m_row; }
    pugi::xml_node node();

  public:
    Row(Document& d, StoryRef s, int table, int row)
        : m_doc(&d), m_story(s), m_table(table), m_row(row) {}

  private:
    Document* m_doc;
    StoryRef m_story;
    int m_table, m_row;
};

class Rows {
  public:
    int count();
    Row item(int index);
    // An empty row, formatted like its neighbour, inserted before `beforeRow`
    // (0: appended after the last row).
    Row add(int beforeRow = 0);

  public:
    Rows(Document& d, StoryRef s, int table) : m_doc(&d), m_story(s), m_table(table) {}

  private:
    Document* m_doc;
    StoryRef m_story;
    int m_table;
};

class Column {
  public:
    void setWidth(double points, int rulerStyle = 0);
    double width();

  public:
    Column(Table& t, int index) : m_table(t), m_index(index) {}

  private:
    Table& m_table;
    int m_index;
};

class Columns {
  public:
    int count();
    Column item(int index) { return Column(m_table, index); }
    // The common width in points, wd::kUndefined when the widths differ.
    double width();

  public:
    explicit Columns(Table& t) : m_table(t) {}

  private:
    Table& m_table;
};

class Table {
  public:
    Table(Document& d, StoryRef s, int ordinal) : m_doc(&d), m_story(s), m_ordinal(ordinal) {}
    void select();
    Range range();
    Rows rows() { return Rows(*m_doc, m_story, m_ordinal); }
    Columns columns() { return Columns(*this); }
    int nestingLevel();
    void deleteTable();
    pugi::xml_node node();
    Document& document() { return *m_doc; }
    StoryRef story() const { return m_story; }

  private:
    Document* m_doc;
    StoryRef m_story;
    int m_ordinal;  // position among all tables of the story, in document order
};

class Tables {
  public:
    // `owner` names what holds the tables in messages ("document", "range").
    Tables(Document& d, StoryRef s, std::vector<int> ordinals, const char* owner = "document")
        : m_doc(&d), m_story(s), m_ordinals(std::move(ordinals)), m_owner(owner) {}
    int count() const { return static_cast<int>(m_ordinals.size()); }
    Table item(int index) const;
    // A new table of `rows` x `columns` at the range (which it replaces); the
    // selection moves into its first cell.
    Table add(const Range& at, int rows, int columns);

  private:
    Document* m_doc;
    StoryRef m_story;
    std::vector<int> m_ordinals;
    const char* m_owner;
};

namespace tables {
// Tables of a story in document order (nested ones included), and an ordinal's node.
std::vector<pugi::xml_node> allTables(pugi::xml_node storyRoot);
pugi::xml_node tableAt(Document& doc, StoryRef story, int ordinal);
int ordinalOf(Document& doc, StoryRef story, pugi::xml_node tbl);
// A copy of a row with every cell emptied, keeping cell, paragraph and run formatting.
pugi::xml_node insertEmptyRowLike(pugi::xml_node row, bool before);
// Inserts an empty row like `row` above or below it as one edit of the story:
// undo removes it, and the story's positions are updated in place.
pugi::xml_node insertRow(Document& doc, StoryRef story, pugi::xml_node row, bool before);
}  // namespace tables

}  // namespace wordproc
