#pragma once
// The form model: plain objects for the controls the handlers read and write. Each keeps
// its name (the widget's objectName), its state, and a change signal the Qt layer listens
// to. Texts are UTF-8; converting to and from code page 1256 happens where values meet
// the tables.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "signal.h"

namespace dbf {
class DataSet;
}

namespace core {

// How a control's text is drawn where it differs from the window's font.
struct Font {
    std::string family;  // empty: the window's font
    int pointSize = 0;   // 0: the window's size
    bool bold = false;
    std::uint32_t color = 0;  // 0xRRGGBB; 0 is black, the default
};

class Control {
  public:
    explicit Control(std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return m_name; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { set(m_enabled, on); }
    bool visible() const { return m_visible; }
    void setVisible(bool on) { set(m_visible, on); }
    const std::string& hint() const { return m_hint; }
    void setHint(std::string hint) { set(m_hint, std::move(hint)); }

    // Sent after any change of the control's state.
    Signal changed;
    Font font;

  protected:
    template <typename T, typename U>
    void set(T& member, U&& value) {
        if (member == value) return;
        member = std::forward<U>(value);
        changed.emit();
    }

  private:
    std::string m_name;
    bool m_enabled = true;
    bool m_visible = true;
    std::string m_hint;
};

// A control with a caption: labels, buttons, check boxes, radio buttons, pictures.
class CaptionControl : public Control {
  public:
    CaptionControl(std::string name, std::string caption = {})
        : Control(std::move(name)), m_caption(std::move(caption)) {}
    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) { set(m_caption, std::move(caption)); }

  private:
    std::string m_caption;
};

class Label : public CaptionControl {
  public:
    using CaptionControl::CaptionControl;
};

class Button : public CaptionControl {
  public:
    using CaptionControl::CaptionControl;
    bool isDefault() const { return m_default; }
    void setDefault(bool on) { set(m_default, on); }

  private:
    bool m_default = false;
};

// A picture that acts as a button (the window's images with a click handler), or, when
// not clickable, one that only decorates its page.
class Picture : public CaptionControl {
  public:
    Picture(std::string name, std::string resource = {})
        : CaptionControl(std::move(name)), m_resource(std::move(resource)) {}
    const std::string& resource() const { return m_resource; }
    bool clickable() const { return m_clickable; }
    void setClickable(bool on) { set(m_clickable, on); }

  private:
    std::string m_resource;
    bool m_clickable = true;
};

class CheckBox : public CaptionControl {
  public:
    using CaptionControl::CaptionControl;
    bool checked() const { return m_checked; }
    void setChecked(bool on) { set(m_checked, on); }

  private:
    bool m_checked = false;
};

class RadioButton;

// Radio buttons that exclude each other.
class RadioGroup {
  public:
    void add(RadioButton& button) { m_buttons.push_back(&button); }
    const std::vector<RadioButton*>& buttons() const { return m_buttons; }
    RadioButton* checkedButton() const;

  private:
    std::vector<RadioButton*> m_buttons;
};

class RadioButton : public CaptionControl {
  public:
    RadioButton(std::string name, std::string caption, RadioGroup& group)
        : CaptionControl(std::move(name), std::move(caption)), m_group(&group) {
        group.add(*this);
    }
    bool checked() const { return m_checked; }
    // Checking a button unchecks the others of its group.
    void setChecked(bool on);
    RadioGroup& group() const { return *m_group; }

  private:
    bool m_checked = false;
    RadioGroup* m_group;
};

// A titled box of radio items chosen by index (-1: none chosen).
class RadioGroupBox : public CaptionControl {
  public:
    RadioGroupBox(std::string name, std::string caption, std::vector<std::string> items)
        : CaptionControl(std::move(name), std::move(caption)), m_items(std::move(items)) {}
    const std::vector<std::string>& items() const { return m_items; }
    int itemIndex() const { return m_itemIndex; }
    void setItemIndex(int index) {
        if (index < -1 || index >= static_cast<int>(m_items.size())) index = -1;
        set(m_itemIndex, index);
    }

  private:
    std::vector<std::string> m_items;
    int m_itemIndex = -1;
};

class Edit : public Control {
  public:
    using Control::Control;
    const std::string& text() const { return m_text; }
    void setText(std::string text) { set(m_text, std::move(text)); }
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length) { set(m_maxLength, length); }

  private:
    std::string m_text;
    int m_maxLength = 0;  // 0: no limit
};

// A multi-line text box; bound to a memo field of a data set when `dataField` is set.
class Memo : public Control {
  public:
    using Control::Control;
    const std::string& text() const { return m_text; }
    void setText(std::string text) { set(m_text, std::move(text)); }
    dbf::DataSet* dataSet() const { return m_dataSet; }
    const std::string& dataField() const { return m_dataField; }
    void bind(dbf::DataSet* dataSet, std::string field) {
        m_dataSet = dataSet;
        m_dataField = std::move(field);
        changed.emit();
    }

  private:
    std::string m_text;
    dbf::DataSet* m_dataSet = nullptr;
    std::string m_dataField;
};

class ComboBox : public Control {
  public:
    using Control::Control;
    const std::vector<std::string>& items() const { return m_items; }
    void setItems(std::vector<std::string> items);
    // -1 when no entry is chosen; the text may still show something (an initial text).
    int itemIndex() const { return m_itemIndex; }
    void setItemIndex(int index);
    const std::string& text() const { return m_text; }
    void setText(std::string text) { set(m_text, std::move(text)); }
    bool sorted() const { return m_sorted; }
    void setSorted(bool on) { set(m_sorted, on); }

  private:
    std::vector<std::string> m_items;
    int m_itemIndex = -1;
    std::string m_text;
    bool m_sorted = false;
};

// A grid of text cells (col, row), with fixed title rows and columns.
class StringGrid : public Control {
  public:
    StringGrid(std::string name, int cols, int rows, int fixedRows = 1, int fixedCols = 0);
    int colCount() const { return m_cols; }
    int rowCount() const { return m_rows; }
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }
    const std::string& cell(int col, int row) const;
    void setCell(int col, int row, std::string text);
    // The current cell; a handler reads it as the user left it.
    int col() const { return m_col; }
    int row() const { return m_row; }
    void setCurrentCell(int col, int row);
    std::vector<int> colWidths;  // pixels at 96 dpi; empty: the default width
    int rowHeight = 0;           // pixels; 0: the default height
    bool editable = false;
    bool scrollBars = true;
    bool bold(int col, int row) const;
    void setBold(int col, int row, bool on);

  private:
    int m_cols, m_rows, m_fixedRows, m_fixedCols;
    int m_col = 0, m_row = 1;
    std::vector<std::string> m_cells;
    std::vector<char> m_bold;
};

// A named binding of a data set to grids, as a data source component.
class DataSource {
  public:
    DataSource(std::string name, dbf::DataSet* dataSet)
        : m_name(std::move(name)), m_dataSet(dataSet) {}
    const std::string& name() const { return m_name; }
    dbf::DataSet* dataSet() const { return m_dataSet; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }

  private:
    std::string m_name;
    dbf::DataSet* m_dataSet;
    bool m_enabled = true;
};

struct GridColumn {
    std::string fieldName;
    std::string title;
    bool readOnly = false;
    bool titleBold = false;
    int width = 0;  // pixels; 0: from the field's display width
};

// Columns (field, title) of a data grid, all editable or all read-only.
std::vector<GridColumn> gridColumns(
    std::initializer_list<std::pair<const char*, const char*>> fieldsAndTitles,
    bool readOnly = false);

// A data-bound grid: columns over the fields of the data set of its data source.
class DataGrid : public Control {
  public:
    using Control::Control;
    DataSource* source() const { return m_source; }
    void setSource(DataSource* source) { set(m_source, source); }
    const std::vector<GridColumn>& columns() const { return m_columns; }
    void setColumns(std::vector<GridColumn> columns) {
        m_columns = std::move(columns);
        changed.emit();
    }
    GridColumn& column(int index) { return m_columns.at(static_cast<std::size_t>(index)); }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool on) { set(m_readOnly, on); }
    const std::string& fontName() const { return m_fontName; }
    void setFontName(std::string font) { set(m_fontName, std::move(font)); }
    // Asks the grid to re-read what it shows (the handlers' "redraw").
    void redraw() { redrawRequested.emit(); }
    // The column whose title the user clicked last (from 0), for the title-click handlers.
    int clickedColumn() const { return m_clickedColumn; }
    void setClickedColumn(int column) { m_clickedColumn = column; }
    Signal redrawRequested;

  private:
    DataSource* m_source = nullptr;
    std::vector<GridColumn> m_columns;
    bool m_readOnly = false;
    std::string m_fontName;
    int m_clickedColumn = -1;
};

class Calendar : public Control {
  public:
    using Control::Control;
    double date() const { return m_date; }  // days since 30 December 1899
    void setDate(double date) { set(m_date, date); }
    bool markToday() const { return m_markToday; }
    void setMarkToday(bool on) { set(m_markToday, on); }

  private:
    double m_date = 0;
    bool m_markToday = false;
};

// A list of directories to choose from (the Setup tab's directory list).
class DirectoryList : public Control {
  public:
    using Control::Control;
    const std::string& directory() const { return m_directory; }
    void setDirectory(std::string dir) { set(m_directory, std::move(dir)); }

  private:
    std::string m_directory;
};

class PageControl : public Control {
  public:
    struct Page {
        std::string name;
        std::string caption;
    };
    PageControl(std::string name, std::vector<Page> pages)
        : Control(std::move(name)), m_pages(std::move(pages)) {}
    const std::vector<Page>& pages() const { return m_pages; }
    int activeIndex() const { return m_active; }
    void setActiveIndex(int index) { set(m_active, index); }
    bool rightToLeft = false;

  private:
    std::vector<Page> m_pages;
    int m_active = 0;
};

// The controls a tab or window model declares as its members, in declaration order, so
// that the user interface and its tests can walk every one of them. A model derives from
// ControlOwner<Model>; a Control constructed inside such an object's storage enrols itself
// with it, so no list is written by hand.
class ControlSet {
  public:
    const std::vector<Control*>& controls() const { return m_controls; }
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;

  protected:
    ControlSet(const void* storage, std::size_t size);
    ~ControlSet();

  private:
    friend class Control;
    // Adds the control to every live set whose storage holds it.
    static void enrol(Control& control);

    const char* m_begin;
    std::size_t m_size;
    std::vector<Control*> m_controls;
};

// The owner is the model's first and only base, so it begins where the model begins.
template <typename Model>
class ControlOwner : public ControlSet {
  protected:
    ControlOwner() : ControlSet(this, sizeof(Model)) {}
};

}  // namespace core
