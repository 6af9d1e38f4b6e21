#include "wordproc/application.h"

#include <algorithm>

#include "wordproc/errors.h"
#include "wordproc/range.h"
#include "wordproc/temp_files.h"

namespace wordproc {

Application::Application(DocumentViewer* viewer) : m_viewer(viewer), m_documents(*this) {}

Application::~Application() = default;

Document& Documents::add(const std::string& templatePath) {
    if (!m_app.alive()) throw WordprocError("The word processor has been closed.");
    auto doc = Document::fromTemplate(templatePath, &m_app);
    doc->grammarChecked = doc->spellingChecked = false;
    m_docs.push_back(std::move(doc));
    Document& d = *m_docs.back();
    m_app.setActive(&d);
    if (m_app.visible()) m_app.setVisible(true);
    return d;
}

Document& Documents::item(int index) {
    if (index < 1 || index > count())
        throwNoMember("Documents", index, "application", count(), "document");
    return *m_docs[static_cast<size_t>(index - 1)];
}

void Application::setVisible(bool visible) {
    if (m_quit) throw WordprocError("The word processor has been closed.");
    m_visible = visible;
    if (visible) showDocuments();
}

void Application::showDocuments() {
    for (auto& doc : m_documents.m_docs) {
        if (std::find(m_shownDocs.begin(), m_shownDocs.end(), doc.get()) != m_shownDocs.end())
            continue;
        m_shownDocs.push_back(doc.get());
        std::string path = temporaryDocumentName(".docx");
        bool saved = doc->saved();
        doc->saveAs(path);
        doc->setSaved(saved);
        m_shown.push_back(path);
        if (m_viewer) m_viewer->show(path);
    }
}

Selection& Application::selection() {
    if (!m_active) throw WordprocError("No document is open.");
    return m_active->selection();
}

void Application::documentClosed(Document* doc) {
    auto& docs = m_documents.m_docs;
    auto it = std::find_if(docs.begin(), docs.end(), [&](const auto& d) { return d.get() == doc; });
    if (it == docs.end()) return;
    std::unique_ptr<Document> keep = std::move(*it);
    docs.erase(it);
    m_shownDocs.erase(std::remove(m_shownDocs.begin(), m_shownDocs.end(), doc), m_shownDocs.end());
    if (m_active == doc) m_active = docs.empty() ? nullptr : docs.back().get();
    // The closed object stays alive until the application goes, so handles fail cleanly.
    m_closedDocs.push_back(std::move(keep));
}

void Application::quit(int, int, int) {
    while (!m_documents.m_docs.empty()) m_documents.m_docs.back()->close();
    m_quit = true;
    m_visible = false;
}

void Application::run(const std::string& macroName) {
    throw WordprocError("The macro " + macroName +
                        " cannot be run: this word processor runs no macros.");
}

void Document::activate() {
    if (m_app) m_app->setActive(this);
}

}  // namespace wordproc
