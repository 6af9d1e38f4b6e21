#pragma once
// The word processor's application object: an in-process object (nothing is
// started) holding documents, options and the visible flag.
#include <memory>
#include <string>
#include <vector>

#include "wordproc/document.h"
#include "wordproc/document_viewer.h"

namespace wordproc {

class Application;

// Typing options: kept and restored by the report engine, with no further effect.
struct Options {
    bool autoFormatAsYouTypeReplaceQuotes = true;
    bool checkSpellingAsYouType = true;
    bool checkGrammarAsYouType = true;
};

class Documents {
  public:
    explicit Documents(Application& app) : m_app(app) {}
    // A new unsaved document based on the template file (which is not held open).
    Document& add(const std::string& templatePath);
    int count() const { return static_cast<int>(m_docs.size()); }
    Document& item(int index);  // 1-based

  private:
    friend class Application;
    friend class Document;
    Application& m_app;
    std::vector<std::unique_ptr<Document>> m_docs;
};

class Application {
  public:
    explicit Application(DocumentViewer* viewer = nullptr);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    bool visible() const { return m_visible; }
    // Becoming visible shows every open document through the viewer (once each).
    void setVisible(bool visible);
    void activate() {}
    Documents& documents() { return m_documents; }
    Document* activeDocument() const { return m_active; }
    // The selection of the active document.
    Selection& selection();
    Options& options() { return m_options; }
    int displayAlerts = -1;  // Word's "all alerts"
    bool screenUpdating = true;
    int windowState = 0;

    // Closes every document without saving; the object is "nothing" afterwards.
    void quit(int saveChanges = 0, int originalFormat = 0, int routeDocument = 0);
    bool alive() const { return !m_quit; }
    // Macros do not exist here: running one fails with a clear error.
    void run(const std::string& macroName);

    void setActive(Document* doc) { m_active = doc; }
    void documentClosed(Document* doc);
    DocumentViewer* viewer() const { return m_viewer; }
    // Paths handed to the viewer so far.
    const std::vector<std::string>& shownFiles() const { return m_shown; }

  private:
    void showDocuments();
    DocumentViewer* m_viewer;
    Documents m_documents;
    Document* m_active = nullptr;
    Options m_options;
    bool m_visible = false;
    bool m_quit = false;
    std::vector<const Document*> m_shownDocs;
    std::vector<std::string> m_shown;
    std::vector<std::unique_ptr<Document>> m_closedDocs;
};

}  // namespace wordproc
