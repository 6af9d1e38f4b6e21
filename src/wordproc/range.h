#pragma once
// Ranges of a story and the selection, as the report engine drives them.
#include <optional>
#include <string>
#include <string_view>

#include "wordproc/document.h"

namespace wordproc {

class Range;
class Tables;
class FormattedText;
class InlineShapes;
class ShapeRange;

// Units and constants of the operations, with the numbers Word uses.
namespace wd {
inline constexpr int kCharacter = 1;
inline constexpr int kLine = 5;
inline constexpr int kStory = 6;
inline constexpr int kCell = 12;
inline constexpr int kMove = 0;
inline constexpr int kExtend = 1;
inline constexpr int kFindStop = 0;
inline constexpr int kFindContinue = 1;
inline constexpr int kFindAsk = 2;
inline constexpr int kReplaceNone = 0;
inline constexpr int kReplaceOne = 1;
inline constexpr int kReplaceAll = 2;
inline constexpr int kWithInTable = 12;
inline constexpr int kStartOfRangeRowNumber = 13;
inline constexpr int kDeleteCellsEntireRow = 2;
inline constexpr int kColorRed = 255;
inline constexpr int kUndefined = 9999999;
}  // namespace wd

// Find from a range or from the selection. A range that finds its text becomes
// the found text; so does the selection.
class Find {
  public:
    // Word's argument order: find text, match case, whole word, wildcards,
    // sounds like, all word forms, forward, wrap, format, replacement, replace.
    // Wildcards, sounds like, word forms, format and backward search are not
    // supported and ignored. In "ask" wrap mode (alerts are never shown) a
    // search from a non-empty selection goes on to the end of the story and
    // does not start over; "continue" starts over from the story's start.
    bool execute(std::string_view text, bool matchCase = false, bool matchWholeWord = false,
                 bool matchWildcards = false, bool matchSoundsLike = false,
                 bool matchAllWordForms = false, bool forward = true, int wrap = wd::kFindStop,
                 bool format = false, std::string_view replaceWith = {},
                 int replace = wd::kReplaceNone);
    bool found() const { return m_found; }

  private:
    friend class Range;
    friend class Selection;
    explicit Find(Range& target, bool fromSelection)
        : m_target(target), m_selection(fromSelection) {}
    Range& m_target;
    bool m_selection;
    bool m_found = false;
};

// Direct character formatting of a range (the selection keeps what is set on
// it while collapsed for the text typed next).
class Font {
  public:
    bool bold() const;
    void setBold(bool on);
    double size() const;  // points; 0 when the text has no direct size
    void setSize(double points);
    int color() const;  // Word's colour number: red + green*256 + blue*65536
    void setColor(int color);

  private:
    friend class Range;
    explicit Font(Range& r) : m_range(r) {}
    Range& m_range;
};

class Range {
  public:
    Range(Document& doc, StoryRef story, int start, int end);
    virtual ~Range() = default;
    Range(const Range&) = default;
    Range& operator=(const Range&) = default;

    Document& document() const { return *m_doc; }
    StoryRef story() const { return m_story; }
    int start() const;
    int end() const;
    void setStart(int pos);
    void setEnd(int pos);
    void setRange(int start, int end);

    // The text, marks included: "\r" a paragraph end, "\a" a cell or row end,
    // "\v" a line break, "\t" a tab, U+0001 an inline picture, U+0013/14/15 a field.
    std::string text() const;
    // Replaces the text; the range then covers the new text. "\r" (or "\r\n")
    // starts a paragraph, "\n" or "\v" breaks the line.
    virtual void setText(std::string_view text);
    void deleteText();
    void select() const;

    Find find() { return Find(*this, false); }
    Font font() { return Font(*this); }
    bool information(int what) const;  // wd::kWithInTable
    bool inTable() const;
    int rowNumber() const;  // row of the start in its innermost table, -1 outside tables
    Tables tables() const;
    FormattedText formattedText() const;
    void setFormattedText(const FormattedText& content);
    // Inserts another document's content at the start of the range.
    void insertFile(const std::string& fileName);
    // The same for a document that is open already (no file written and read again).
    void insertDocument(Document& source);

    // --- used by the object model's own classes ---
    Story& storyObject() const { return m_doc->story(m_story); }
    void clampToStory();
    // The text type over the range gets (set on a collapsed selection).
    virtual void applyPendingFont(int, int) {}

    // The range the last successful find gave: the next find starts after it.
    int lastFoundStart = -1, lastFoundEnd = -1;

  protected:
    Document* m_doc;
    StoryRef m_story;
    int m_start, m_end;
};

class Selection : public Range {
  public:
    explicit Selection(Document& doc) : Range(doc, {}, 0, 0) {}

    Range range() const { return Range(*m_doc, m_story, start(), end()); }
    void setText(std::string_view text) override;
    void typeText(std::string_view text);
    void typeBackspace();
    int deleteChars(int unit = wd::kCharacter, int count = 1);
    void homeKey(int unit = wd::kLine, int extend = wd::kMove);
    void endKey(int unit = wd::kLine, int extend = wd::kMove);
    int moveLeft(int unit = wd::kCharacter, int count = 1, bool extend = false);
    int moveRight(int unit = wd::kCharacter, int count = 1, bool extend = false);
    Find find() { return Find(*this, true); }
    void insertFile(const std::string& fileName, const std::string& range = {},
                    bool confirmConversions = false, bool link = false, bool attachment = false);
    void insertDocument(Document& source);
    InlineShapes inlineShapes();
    ShapeRange shapeRange();
    // Deletes the rows of the cells the selection touches (shift wd::kDeleteCellsEntireRow).
    void deleteCells(int shift = wd::kDeleteCellsEntireRow);
    void insertRowsAbove(int count = 1);
    void goTo(StoryRef story, int start, int end);

    // Pending direct formatting typed text takes on a collapsed selection.
    struct Pending {
        std::optional<bool> bold;
        std::optional<double> size;
        std::optional<int> color;
        int at = -1;
    } pending;
    void applyPendingFont(int s, int e) override;
};

}  // namespace wordproc
