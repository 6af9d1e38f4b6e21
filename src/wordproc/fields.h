#pragma once
// Fields and form fields of the main text, tables of contents and figures.
// We lay out no pages: updating a field, a table of contents or a table of
// figures keeps the result the document already shows.
#include <string>

#include "wordproc/range.h"

namespace wordproc {

namespace wd {
inline constexpr int kFieldEmpty = -1;
inline constexpr int kFieldFormTextInput = 70;
inline constexpr int kFieldFormCheckBox = 71;
inline constexpr int kFieldFormDropDown = 83;
inline constexpr int kRegularText = 0;
}  // namespace wd

namespace fields {
// One field of a story, by the positions of its begin, separator and end.
struct Span {
    int begin = -1, separator = -1, end = -1;
    pugi::xml_node beginNode;  // the w:fldChar of the begin
    pugi::xml_node simple;     // a w:fldSimple (then only the result is counted)
    std::string code;
    int resultStart() const { return separator >= 0 ? separator + 1 : end; }
};
std::vector<Span> list(Document& doc, StoryRef story);
int typeOfCode(const std::string& code);
}  // namespace fields

class Field {
  public:
    int type();
    std::string code();
    Range result();
    // A no-op: results that depend on page layout are kept as they are.
    void update() {}

  private:
    friend class Fields;
    Field(Document& d, int index) : m_doc(&d), m_index(index) {}
    Document* m_doc;
    int m_index;
};

class Fields {
  public:
    explicit Fields(Document& d) : m_doc(&d) {}
    int count();
    Field item(int index);  // 1-based
    int update() { return 0; }

  private:
    Document* m_doc;
};

class TextInput {
  public:
    int type();  // 0 regular, 1 number, 2 date, 3 current date, 4 current time, 5 calculated
    std::string format();
    std::string defaultText();

  private:
    friend class FormField;
    explicit TextInput(pugi::xml_node ffData) : m_ffData(ffData) {}
    pugi::xml_node m_ffData;
};

class FormField {
  public:
    int type();
    std::string name();
    TextInput textInput();
    std::string result();
    void setResult(const std::string& text);
    // Selects the whole form field: typing over the selection replaces it by text.
    void select();
    void update() {}

  private:
    friend class FormFields;
    FormField(Document& d, int index) : m_doc(&d), m_index(index) {}
    fields::Span span();
    Document* m_doc;
    int m_index;  // among the form fields, 0-based
};

class FormFields {
  public:
    explicit FormFields(Document& d) : m_doc(&d) {}
    int count();
    FormField item(int index);  // 1-based

  private:
    Document* m_doc;
};

class TableOfContents {
  public:
    // A no-op: page numbers need a page layout we do not make.
    void updatePageNumbers() {}
    void update() {}
    Range range();

  private:
    friend class TablesOfContents;
    TableOfContents(Document& d, fields::Span s) : m_doc(&d), m_span(s) {}
    Document* m_doc;
    fields::Span m_span;
};

class TablesOfContents {
  public:
    TablesOfContents(Document& d, bool figures) : m_doc(&d), m_figures(figures) {}
    int count();
    TableOfContents item(int index);

  private:
    std::vector<fields::Span> all();
    Document* m_doc;
    bool m_figures;
};

}  // namespace wordproc
