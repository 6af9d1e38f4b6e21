#pragma once
// The template report component: turns a word-processor template holding tags into a
// finished document. One Execute opens a copy of the template in a hidden word
// processor, fills it (custom values, data-set fields, tables, repeated blocks, the data
// pool, conditions, numerators, open tags) and shows it to the user.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbf/dataset.h"
#include "report/tag_language.h"
#include "wordproc/application.h"

namespace report {

class TARWordReport;

// The processing steps, in the order Process runs them (bit k of the set is step k).
enum TWRStepItem {
    rs10_CustTagValues,
    rs20_DatasetList,
    rs30_FillTables,
    rs40_DataPool,
    rs50_Conditions,
    rs60_Numerators,
    rs70_OnTag,
};

class TWRSteps {
  public:
    static TWRSteps all() { return TWRSteps(0x7F); }
    static TWRSteps none() { return TWRSteps(0); }
    TWRSteps() : m_bits(0x7F) {}
    bool contains(TWRStepItem s) const { return (m_bits >> s) & 1u; }
    TWRSteps& include(TWRStepItem s) { return m_bits |= 1u << s, *this; }
    TWRSteps& exclude(TWRStepItem s) { return m_bits &= ~(1u << s), *this; }
    std::uint8_t bits() const { return m_bits; }
    static TWRSteps fromBits(std::uint8_t b) { return TWRSteps(b & 0x7F); }
    bool operator==(const TWRSteps&) const = default;

  private:
    explicit TWRSteps(std::uint8_t bits) : m_bits(bits) {}
    std::uint8_t m_bits;
};

// The two marks around every tag.
struct TWRMarks {
    std::string Prefix = "<#";
    std::string Postfix = ">";
};

class TWRDatasets;

// A named data set whose fields templates use. The name is stored in upper case.
class TWRDSItem {
  public:
    explicit TWRDSItem(TWRDatasets& collection);
    const std::string& DSName() const { return m_name; }
    // Raises "DSName value can not be empty!" for a name of blanks only (the old name stays);
    // otherwise stores the untrimmed name in upper case.
    void setDSName(const std::string& name);
    dbf::DataSet* Dataset = nullptr;  // not owned; may be null
    std::string displayName() const { return m_name; }
    void assign(const TWRDSItem& other);
    TWRDatasets& collection() const { return *m_collection; }

  private:
    TWRDatasets* m_collection;
    std::string m_name;
};

class TWRDatasets {
  public:
    explicit TWRDatasets(TARWordReport* owner) : m_owner(owner) {}
    TARWordReport* owner() const { return m_owner; }
    int count() const { return static_cast<int>(m_items.size()); }
    TWRDSItem& item(int index);  // 0-based; a clear error past the end
    const TWRDSItem& item(int index) const;
    // A new item named "DS" + the count after insertion.
    TWRDSItem& add();
    TWRDSItem& addDataSet(dbf::DataSet* dataSet, const std::string& name);
    void remove(int index);
    void clear() { m_items.clear(); }
    void assign(const TWRDatasets& other);

  private:
    TARWordReport* m_owner;
    std::vector<std::unique_ptr<TWRDSItem>> m_items;
};

// A field of a data set's current record, as the events see it.
struct FieldRef {
    const dbf::DataSet& dataSet;
    int index;
    const dbf::FieldInfo& info() const { return dataSet.field(index); }
    dbf::Value value() const { return dataSet.value(index); }
};

// A value about to be written into the document.
struct RenderValue {
    enum class Kind { Text, Number, DateTime, NotAvailable };
    Kind kind = Kind::Text;
    std::string text;   // Text: UTF-8
    double number = 0;  // Number; DateTime: days since 30 December 1899
    static RenderValue ofText(std::string t) { return {Kind::Text, std::move(t), 0}; }
    static RenderValue notAvailable() { return {Kind::NotAvailable, "(n/a)", 0}; }
};

using TWROnTagEvent = std::function<void(TARWordReport& sender, std::string& tagValue)>;
using TWROnNeedSLQEvent = std::function<void(TARWordReport& sender, const std::string& sqlString,
                                             dbf::DataSet*& resultDataset)>;
using TWROnGetFieldValue =
    std::function<void(TARWordReport& sender, const FieldRef& field, std::string& value)>;
using TWROnGetFieldValueV =
    std::function<void(TARWordReport& sender, const FieldRef& field, RenderValue& value)>;

// What stands in for the operating system around the component: the word processor it
// starts, the question it asks and where it shows errors it swallows.
struct ReportPlatform {
    std::function<std::shared_ptr<wordproc::Application>()> startWordProcessor;
    // "File X already exists. Overwrite?": true for Yes.
    std::function<bool(const std::string& question)> confirm;
    std::function<void(const std::string& message)> showError;
    // A date value (days since 30 December 1899) as the document shows it; ISO text
    // ("2024-03-01", with the time when it has one) when not set.
    std::function<std::string(double days, bool withTime)> dateTimeText;
};

class TARWordReport {
  public:
    static constexpr const char* kVersion = "TARWordReport 2.2";

    explicit TARWordReport(void* owner = nullptr);
    ~TARWordReport();
    TARWordReport(const TARWordReport&) = delete;
    TARWordReport& operator=(const TARWordReport&) = delete;

    // Published properties, with the values a new component has.
    bool TableCaptionsBold = true;
    std::string Filename;
    bool SavePrompt = false;
    TWRMarks& Marks() { return m_marks; }
    const TWRMarks& Marks() const { return m_marks; }
    void setMarks(const TWRMarks& marks) { m_marks = marks; }
    TWRSteps Steps;
    // Custom values as Name=Value lines.
    std::vector<std::string>& CustTagValues() { return m_custTagValues; }
    const std::vector<std::string>& CustTagValues() const { return m_custTagValues; }
    void setCustTagValues(const std::vector<std::string>& lines) { m_custTagValues = lines; }
    // Sets one Name=Value line (replacing the line of that name, else appending).
    void setValue(const std::string& name, const std::string& value);
    TWROnTagEvent OnTag;
    TWROnNeedSLQEvent OnNeedSQL;
    TWROnGetFieldValue OnGetSQLValue;
    TWROnGetFieldValueV OnGetFieldValueForRender;
    TWRDatasets& DataSetList() { return m_dataSets; }
    const TWRDatasets& DataSetList() const { return m_dataSets; }
    void setDataSetList(const TWRDatasets& list) { m_dataSets.assign(list); }
    bool AutoTables = true;
    bool Aggregation = true;
    std::string Version() const { return kVersion; }
    void setVersion(const std::string&) {}  // stored forms assign it; reading never changes
    bool TextTables = false;
    bool NeedHeaderFooterProc = false;
    bool RunMacro = false;

    // Not published.
    bool ShowWordWhileProcessing = false;
    bool KeepSharedWord = true;
    bool UngroupShapesFirst = true;
    // The code page of text fields when no handler converts them (the system's ANSI page).
    int AnsiCodePage = 1252;
    ReportPlatform platform;

    // The one operation the application calls: open the template, fill it, show it,
    // release it. An error of OpenTemplate or Process leaves at once, unchanged.
    void Execute();
    void OpenTemplate();
    void Process();
    void ShowDocument();
    void CloseDocument();
    void ReleaseDocument();
    void SaveDocumentAs(const std::string& fileName);
    void SaveDocumentAsConfirmed(const std::string& fileName);
    // A data set is going away: items that name it keep their place without it.
    void dataSetRemoved(const dbf::DataSet* dataSet);

    // State.
    bool documentOpen() const { return m_documentOpen; }
    bool documentShown() const { return m_documentShown; }
    wordproc::Application* wordApp() const { return m_wordApp.get(); }
    std::shared_ptr<wordproc::Application> wordAppShared() const { return m_wordApp; }
    wordproc::Document* document() const { return m_document; }
    const std::string& dataPoolText() const { return m_dataPoolText; }
    const std::string& tempTemplateName() const { return m_tempTemplateName; }

    // Working state of Process (aggregation of the data set being filled).
    static constexpr int kMaxSummedFields = 256;
    std::array<double, kMaxSummedFields> FieldSums{};
    std::array<bool, kMaxSummedFields> FieldIsNumeric{};
    int AggregateRecordCount = 0;

    // --- used by the pipeline ---
    std::string& dataPoolTextRef() { return m_dataPoolText; }
    // Writes the document to a new temporary name and opens it again (after REPEAT blocks).
    void reloadDocument(const std::string& fileName);
    std::shared_ptr<wordproc::Application> startWordProcessor();

  private:
    void openDocumentFrom(const std::string& file);

    void* m_owner;
    TWRMarks m_marks;
    std::vector<std::string> m_custTagValues;
    TWRDatasets m_dataSets;
    std::string m_dataPoolText;
    std::string m_tempTemplateName;
    std::shared_ptr<wordproc::Application> m_wordApp;
    wordproc::Document* m_document = nullptr;
    wordproc::Window* m_documentWindow = nullptr;
    bool m_documentOpen = false;
    bool m_documentShown = false;
};

}  // namespace report
