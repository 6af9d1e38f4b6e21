#pragma once
// The document's window: view type, header/footer seek, split panes, scrolling.
namespace wordproc {

class Document;

namespace wd {
inline constexpr int kSeekMainDocument = 0;
inline constexpr int kSeekCurrentPageHeader = 9;
inline constexpr int kSeekCurrentPageFooter = 10;
inline constexpr int kPrintView = 3;
inline constexpr int kWindowStateMaximize = 1;
}  // namespace wd

class View {
  public:
    explicit View(Document& doc) : m_doc(doc) {}
    int type = wd::kPrintView;
    int splitSpecial = 0;  // 0: no split pane
    int seekView() const { return m_seek; }
    // Moves the selection into the current page header or footer (created
    // when the document has none) or back to the main text.
    void setSeekView(int seek);

  private:
    Document& m_doc;
    int m_seek = wd::kSeekMainDocument;
};

class Pane {
  public:
    explicit Pane(Document& doc) : m_view(doc) {}
    View& view() { return m_view; }
    double horizontalPercentScrolled = 0, verticalPercentScrolled = 0;

  private:
    View m_view;
};

class Window {
  public:
    explicit Window(Document& doc) : m_pane(doc) {}
    View& view() { return m_pane.view(); }
    Pane& activePane() { return m_pane; }
    int windowState = 0;
    double horizontalPercentScrolled = 0, verticalPercentScrolled = 0;

  private:
    Pane m_pane;
};

}  // namespace wordproc
