#pragma once
// A story (main text, a text box, a header or a footer) as the character
// positions the word processor counts: every character of the text, one
// position per paragraph end, the last paragraph end of a table cell read as
// the cell's end mark and one more position for the end of each table row.
// Field begin, separator and end count one position each; field codes and
// deleted revisions count none.
#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace wordproc {

inline constexpr char32_t kParagraphMark = U'\r';
inline constexpr char32_t kCellMark = U'\a';  // end of a cell and end of a row
inline constexpr char32_t kLineBreak = U'\v';
inline constexpr char32_t kPageBreak = U'\f';
inline constexpr char32_t kObjectChar = 1;  // an inline picture or object
inline constexpr char32_t kFieldBegin = 0x13;
inline constexpr char32_t kFieldSeparator = 0x14;
inline constexpr char32_t kFieldEnd = 0x15;

enum class AtomKind : std::uint8_t { Text, Tab, Break, Object, FieldBegin, FieldSep, FieldEnd };

// Where one character of a paragraph lives in the tree.
struct Atom {
    pugi::xml_node node;       // the w:t for text, else the element itself
    std::uint32_t offset = 0;  // code point inside the w:t
    AtomKind kind = AtomKind::Text;
};

// A paragraph, or the end of a table row.
struct Entry {
    pugi::xml_node node;  // w:p, or w:tr for a row end
    bool rowEnd = false;
    bool cellEnd = false;     // the paragraph's mark is its cell's end mark
    std::u32string text;      // its characters, the mark last
    std::vector<Atom> atoms;  // one per character before the mark
    int start = 0;
    int length() const { return static_cast<int>(text.size()); }
    int markPos() const { return start + length() - 1; }
};

class Story {
  public:
    explicit Story(pugi::xml_node root) : m_root(root) {}
    pugi::xml_node root() const { return m_root; }

    const std::vector<Entry>& entries();
    Entry& entry(int i) { return entries(), m_entries[static_cast<size_t>(i)]; }
    int length();
    const std::u32string& text();
    const std::u32string& foldedText();
    // The entry holding position pos; the last entry for pos == length().
    int entryAt(int pos);
    // First and last entry of a paragraph, table, row or cell; {-1,-1} when unknown.
    std::pair<int, int> entriesOf(pugi::xml_node block);
    // Start and end position of a paragraph, table, row or cell.
    std::pair<int, int> span(pugi::xml_node block);

    void invalidate() {
        m_built = false;
        m_tablesValid = false;
    }
    // The story's tables in document order, nested ones included (kept until
    // the story is invalidated; an inserted row changes none).
    const std::vector<pugi::xml_node>& tables();
    // Re-reads paragraphs that were edited in place, then the positions after them.
    void refresh(const std::vector<int>& entryIndexes);
    // Counts a table row just inserted (and nothing else changed) without
    // reading the whole story again.
    void rowInserted(pugi::xml_node tr);

    static void readParagraph(pugi::xml_node p, Entry& e);

  private:
    void build();
    void buildBlocks(pugi::xml_node container);
    void buildTable(pugi::xml_node tbl);
    void buildRow(pugi::xml_node tr);
    void addParagraph(pugi::xml_node p);
    void restart();

    pugi::xml_node m_root;
    bool m_built = false;
    std::vector<Entry> m_entries;
    std::unordered_map<const void*, std::pair<int, int>> m_blocks;
    std::u32string m_text, m_folded;
    bool m_textValid = false, m_foldedValid = false;
    std::vector<pugi::xml_node> m_tables;
    bool m_tablesValid = false;
};

// Children of a block container (body, cell, text box, header) seen through
// content-control and custom-XML wrappers.
std::vector<pugi::xml_node> blockChildren(pugi::xml_node container);
std::vector<pugi::xml_node> tableRows(pugi::xml_node tbl);
std::vector<pugi::xml_node> rowCells(pugi::xml_node tr);
// Whether a drawing-like element stands in the text as one character.
bool isInlineObject(pugi::xml_node element);

}  // namespace wordproc
