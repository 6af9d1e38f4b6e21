#include "report/ar_word_report.h"

#include <filesystem>

#include "report/errors.h"
#include "report/text_helpers.h"
#include "wordproc/range.h"
#include "wordproc/shared_instance.h"
#include "wordproc/temp_files.h"
#include "wordproc/window.h"

namespace report {

namespace fs = std::filesystem;

// ---- data-set items ----

TWRDSItem::TWRDSItem(TWRDatasets& collection) : m_collection(&collection) {}

void TWRDSItem::setDSName(const std::string& name) {
    if (helpers::trimmed(name).empty()) throw ReportError("DSName value can not be empty!");
    m_name = helpers::upperKeepingPositions(name);
}

void TWRDSItem::assign(const TWRDSItem& other) {
    setDSName(other.m_name);
    Dataset = other.Dataset;
}

TWRDSItem& TWRDatasets::item(int index) {
    return const_cast<TWRDSItem&>(static_cast<const TWRDatasets&>(*this).item(index));
}

const TWRDSItem& TWRDatasets::item(int index) const {
    if (index < 0 || index >= count())
        throw ReportError("DataSetList(" + std::to_string(index) + "): the list has " +
                          std::to_string(count()) + " data sets");
    return *m_items[static_cast<size_t>(index)];
}

TWRDSItem& TWRDatasets::add() {
    m_items.push_back(std::make_unique<TWRDSItem>(*this));
    m_items.back()->setDSName("DS" + std::to_string(count()));
    return *m_items.back();
}

TWRDSItem& TWRDatasets::addDataSet(dbf::DataSet* dataSet, const std::string& name) {
    TWRDSItem& it = add();
    it.Dataset = dataSet;
    try {
        it.setDSName(name);
    } catch (...) {
        m_items.pop_back();
        throw;
    }
    return it;
}

void TWRDatasets::remove(int index) {
    item(index);
    m_items.erase(m_items.begin() + index);
}

void TWRDatasets::assign(const TWRDatasets& other) {
    if (&other == this) return;
    m_items.clear();
    for (const auto& it : other.m_items) add().assign(*it);
}

// ---- the component ----

TARWordReport::TARWordReport(void* owner) : m_owner(owner), m_dataSets(this) { ReleaseDocument(); }

TARWordReport::~TARWordReport() {
    try {
        if (wordproc::shared::owner() == this) wordproc::shared::release(this);
        if (!m_tempTemplateName.empty()) wordproc::deleteFileInBackground(m_tempTemplateName);
        m_dataSets.clear();
        CloseDocument();
    } catch (...) {
        // Nothing may leave a destructor; CloseDocument reports its own errors.
    }
}

void TARWordReport::setValue(const std::string& name, const std::string& value) {
    std::string head = name + "=";
    for (auto& line : m_custTagValues)
        if (line.compare(0, head.size(), head) == 0) {
            line = head + value;
            return;
        }
    m_custTagValues.push_back(head + value);
}

std::shared_ptr<wordproc::Application> TARWordReport::startWordProcessor() {
    if (platform.startWordProcessor) return platform.startWordProcessor();
    return std::make_shared<wordproc::Application>();
}

void TARWordReport::Execute() {
    OpenTemplate();
    Process();
    ShowDocument();
    ReleaseDocument();
}

void TARWordReport::openDocumentFrom(const std::string& file) {
    // The shared instance is kept for its lifecycle (a later run finds it); opening a
    // document costs nothing there, so the document is read once, in our own instance.
    wordproc::shared::acquire(this, [this] { return startWordProcessor(); });
    m_document = &m_wordApp->documents().add(file);
    m_document->grammarChecked = m_document->spellingChecked = true;
    if (!KeepSharedWord) wordproc::shared::release(this);
    m_documentWindow = &m_document->activeWindow();
}

void TARWordReport::OpenTemplate() {
    CloseDocument();
    ReleaseDocument();
    std::error_code ec;
    if (Filename.empty() || !fs::is_regular_file(Filename, ec))
        throw ReportError("Template " + Filename + " not found!");
    m_tempTemplateName = wordproc::temporaryDocumentName();
    fs::copy_file(Filename, m_tempTemplateName, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        std::string copy = m_tempTemplateName;
        m_tempTemplateName.clear();
        throw ReportError("The template " + Filename + " could not be copied to " + copy + ": " +
                          ec.message());
    }
    try {
        m_wordApp = startWordProcessor();
        openDocumentFrom(m_tempTemplateName);
        m_wordApp->setVisible(false);
        m_documentOpen = true;
    } catch (...) {
        wordproc::deleteFileInBackground(m_tempTemplateName);
        throw;
    }
    wordproc::deleteFileInBackground(m_tempTemplateName);
}

void TARWordReport::ShowDocument() {
    if (!m_document) throw ReportError("No document is open.");
    m_wordApp->selection().homeKey(wordproc::wd::kStory);
    m_wordApp->setVisible(true);
    m_wordApp->activate();
    m_wordApp->windowState = wordproc::wd::kWindowStateMaximize;
    try {
        wordproc::Window& w = m_document->activeWindow();
        w.windowState = wordproc::wd::kWindowStateMaximize;
        if (w.view().splitSpecial == 0) {
            w.horizontalPercentScrolled = w.verticalPercentScrolled = 0;
        } else {
            w.activePane().horizontalPercentScrolled = w.activePane().verticalPercentScrolled = 0;
        }
    } catch (...) {
        // Scrolling is a courtesy; the document is shown either way.
    }
    m_documentShown = true;
}

void TARWordReport::CloseDocument() {
    if (!m_tempTemplateName.empty()) wordproc::deleteFileInBackground(m_tempTemplateName);
    if (!m_documentOpen || m_documentShown || !m_wordApp || !m_wordApp->alive()) return;
    try {
        m_wordApp->quit(0, 0, 0);
    } catch (const std::exception& e) {
        if (platform.showError) platform.showError(e.what());
    }
    m_documentOpen = m_documentShown = false;
    m_document = nullptr;
    m_documentWindow = nullptr;
    m_wordApp.reset();
}

void TARWordReport::ReleaseDocument() {
    CloseDocument();
    m_documentOpen = m_documentShown = false;
}

void TARWordReport::SaveDocumentAs(const std::string& fileName) {
    if (!m_document) throw ReportError("No document is open.");
    m_document->saveAs(fileName);
}

void TARWordReport::SaveDocumentAsConfirmed(const std::string& fileName) {
    if (!m_documentOpen) return;
    std::error_code ec;
    if (fs::exists(fileName, ec)) {
        bool yes = platform.confirm
                       ? platform.confirm("File " + fileName + " already exists. Overwrite?")
                       : true;
        if (!yes) return;
    }
    SaveDocumentAs(fileName);
}

void TARWordReport::reloadDocument(const std::string& fileName) {
    if (!m_documentOpen) return;
    bool saved = m_document->saved();
    SaveDocumentAs(fileName);
    m_document->close();
    openDocumentFrom(fileName);
    m_document->setSaved(saved);
    m_document->activate();
}

void TARWordReport::dataSetRemoved(const dbf::DataSet* dataSet) {
    if (!dataSet) return;
    for (int i = 0; i < m_dataSets.count(); ++i)
        if (m_dataSets.item(i).Dataset == dataSet) m_dataSets.item(i).Dataset = nullptr;
}

}  // namespace report
