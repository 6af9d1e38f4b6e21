#pragma once
// A document: its package, its stories, its selection and window, undo of the
// last edits and the saved flag.
#include <memory>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "wordproc/package.h"
#include "wordproc/story.h"

namespace wordproc {

class Application;
class Selection;
class Range;
class Window;
class Tables;
class Shapes;
class Fields;
class FormFields;
class TablesOfContents;
class FormattedText;

enum class StoryKind { Main, TextBox, Header, Footer };

struct StoryRef {
    StoryKind kind = StoryKind::Main;
    int index = 0;  // text boxes: 0-based in document order
    bool operator==(const StoryRef& o) const { return kind == o.kind && index == o.index; }
};

class Document {
  public:
    // Opens a template (OOXML, or legacy formats through LibreOffice) as a new
    // unsaved document; `app` may be null for documents read on their own.
    static std::unique_ptr<Document> fromTemplate(const std::string& path, Application* app);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    Application* application() const { return m_app; }
    const std::string& fullName() const { return m_fullName; }

    void saveAs(const std::string& fileName);
    bool saved() const { return m_saved; }
    void setSaved(bool saved) { m_saved = saved; }
    void close();
    bool closed() const { return m_closed; }
    void activate();

    // Undoes the last `times` edits; false when fewer were recorded.
    bool undo(int times = 1);
    void undoClear();
    int undoCount() const { return static_cast<int>(m_undo.size()); }

    Range content();
    Selection& selection();
    Window& activeWindow();
    Tables tables();
    Shapes shapes();
    Fields fields();
    FormFields formFields();
    TablesOfContents tablesOfContents();
    TablesOfContents tablesOfFigures();
    Range storyRange(StoryRef ref);

    // Spelling and grammar marks of Word's options: kept, nothing else.
    bool showSpellingErrors = true, showGrammaticalErrors = true;
    bool spellingChecked = false, grammarChecked = false;

    // --- used by the object model's own classes ---
    Story& story(StoryRef ref);
    std::string partOf(StoryRef ref);
    Package& package() { return m_package; }
    const std::string& mainPart() const { return m_mainPart; }
    int textBoxCount();
    // The text box story that a w:txbxContent belongs to, -1 when none.
    int textBoxIndexOf(pugi::xml_node txbxContent);
    pugi::xml_node textBoxContent(int index);
    // Creates the default header or footer when the document has none.
    void ensureHeaderFooter(StoryKind kind);
    // The header or footer (kind Header or Footer) shown on the page that
    // holds position `pos` of a story: that of its section and of the kind of
    // page (first page of a section with a title page, even page when the
    // document has even and odd ones, else default), inherited from the
    // sections before when it has none of its own. Pages are the breaks the
    // document holds, rendered or explicit. Creates a default one when the
    // document has none.
    StoryRef headerFooterAt(StoryKind kind, StoryRef from, int pos);
    // Section properties in document order, the body's own last.
    std::vector<pugi::xml_node> sectionProperties();
    bool hasStory(StoryRef ref);
    int nextDrawingId();
    void renumberDrawings(pugi::xml_node subtree);
    // Bumps whenever node handles held by helpers may have gone stale.
    unsigned generation() const { return m_generation; }
    std::set<std::string>& ungroupedShapes() { return m_ungrouped; }

    // Editing: one undo step per outermost scope.
    class EditScope {
      public:
        explicit EditScope(Document& doc);
        ~EditScope();
        EditScope(const EditScope&) = delete;
        EditScope& operator=(const EditScope&) = delete;

      private:
        Document& m_doc;
    };
    void touchParagraph(StoryRef ref, pugi::xml_node p);
    // Takes the whole package into the undo step before a structural edit;
    // every node handle taken before goes stale. Costs a copy of every parsed
    // part: edits that can say what they changed record that instead.
    void snapshot();
    // Records an element the edit has just inserted (a row, a paragraph):
    // undo removes it. Node handles stay valid.
    void recordInsertion(pugi::xml_node inserted);
    void storyEdited(StoryRef ref);

    // Replaces [s, e) of a story by text (normalised input); the end of the new text.
    int replaceText(StoryRef ref, int s, int e, std::u32string_view text, pugi::xml_node rPr = {});
    // Widens [s, e) to whole fields when it holds a field's begin, separator or end.
    std::pair<int, int> widenToFields(Story& st, int s, int e);

  private:
    Document() = default;
    void load(const std::string& path, const std::string& label);
    void discoverStories();
    void syncTextBoxFallbacks();

    struct UndoAction {
        std::string part;
        pugi::xml_node paragraph;
        std::string copy;  // the paragraph as it was, written out: a tree costs pages
        std::unique_ptr<Package> package;
        pugi::xml_node inserted;
    };
    struct UndoStep {
        std::vector<UndoAction> actions;
        std::unordered_set<const void*> touched;
        bool snapshotTaken = false;
    };

    Application* m_app = nullptr;
    Package m_package;
    std::string m_mainPart;
    std::string m_fullName;
    bool m_saved = true;
    bool m_closed = false;

    bool m_storiesValid = false;
    std::unique_ptr<Story> m_main;
    struct HeaderFooter {
        std::string part;
        std::unique_ptr<Story> story;
    };
    // Index 0: the last section's default one, then the others in document order.
    std::vector<HeaderFooter> m_headers, m_footers;
    std::vector<std::unique_ptr<Story>> m_textBoxes;
    std::set<int> m_editedTextBoxes;
    std::set<std::string> m_ungrouped;
    unsigned m_generation = 1;
    int m_nextDrawingId = 0;

    std::vector<UndoStep> m_undo;
    int m_scopeDepth = 0;
    bool m_stepOpen = false;

    std::unique_ptr<Selection> m_selection;
    std::unique_ptr<Window> m_window;
};

}  // namespace wordproc
