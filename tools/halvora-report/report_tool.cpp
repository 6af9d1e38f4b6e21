#include "report_tool.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "dbf/errors.h"
#include "dbf/query.h"
#include "dbf/table.h"
#include "report/ar_word_report.h"
#include "report/text_helpers.h"

namespace halvora::reporttool {

namespace fs = std::filesystem;

namespace {

const char* const kHelp = R"(Usage: halvora-report TEMPLATE OUT.docx [options]

Fills a report template (a .docx, or a .doc holding OOXML; a legacy binary .doc is
converted when LibreOffice is installed) and writes the filled document to OUT.docx.

Options:
  --data DIR               the data directory whose tables data sets and data pool
                           statements read (default: the current directory)
  --values FILE            custom values: Name=Value lines (UTF-8); <#Name> in the
                           template becomes Value
  --dataset NAME=TABLE[@RECORD]
                           opens table TABLE of DIR as the data set NAME, standing on
                           record RECORD (1-based; the first when omitted); <#NAME.FIELD>,
                           SUM(<#NAME.FIELD>), COUNT(<#NAME.*>), <#table:NAME>,
                           <#REPEAT:NAME> ... <#/REPEAT:NAME> use it. May be repeated.
  --text-tables            fill text tables (<#txttable:NAME>)
  --header-footer          fill tags in the page header and footer too
  --help                   this text

Data pool entries (<DS:NAME>SELECT ...</DS>) run their statements on DIR. Text fields
are read in code page 1256. Tags nothing fills (open tags) stay in the document.
On an error the message goes to standard error, the exit status is 2 and no output
file is written.
)";

// Text fields reach the document converted from the tables' code page.
void convertTextFields(report::TARWordReport&, const report::FieldRef& field,
                       report::RenderValue& value) {
    auto type = field.info().type;
    if (type != dbf::DataType::String && type != dbf::DataType::Memo) return;
    dbf::Value v = field.value();
    if (v.isNull() || !v.isText()) return;
    value = report::RenderValue::ofText(report::helpers::normalizeLineBreaksWide(
        report::helpers::codePageToUnicode(v.bytes(), 1256)));
}

}  // namespace

DataSetArg parseDataSetArg(const std::string& text) {
    size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == text.size())
        throw std::runtime_error("--dataset wants NAME=TABLE[@RECORD], not '" + text + "'");
    DataSetArg arg;
    arg.name = text.substr(0, eq);
    std::string rest = text.substr(eq + 1);
    size_t at = rest.rfind('@');
    arg.table = rest.substr(0, at);
    if (at != std::string::npos) {
        std::string number = rest.substr(at + 1);
        try {
            size_t used = 0;
            arg.record = std::stoll(number, &used);
            if (used != number.size() || arg.record < 1) throw std::invalid_argument(number);
        } catch (const std::exception&) {
            throw std::runtime_error("--dataset " + text + ": the record '" + number +
                                     "' is not a number from 1");
        }
    }
    if (arg.table.empty()) throw std::runtime_error("--dataset " + text + ": no table named");
    return arg;
}

std::vector<std::string> readValuesFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("The values file " + path + " cannot be read.");
    std::vector<std::string> lines;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        first = false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.find('=') == std::string::npos || line[0] == '=')
            throw std::runtime_error("The values file " + path + " has a line without Name=: '" +
                                     line + "'");
        lines.push_back(line);
    }
    return lines;
}

void fillTemplate(const Options& o) {
    std::error_code ec;
    if (!fs::is_directory(o.dataDirectory, ec))
        throw std::runtime_error("The data directory " + o.dataDirectory + " does not exist.");
    std::vector<std::unique_ptr<dbf::Table>> tables;
    std::vector<std::unique_ptr<dbf::Query>> queries;
    report::TARWordReport rep;
    rep.Filename = o.templatePath;
    rep.AnsiCodePage = 1256;
    rep.setCustTagValues(o.valueLines);
    rep.OnGetFieldValueForRender = convertTextFields;
    rep.TextTables = o.textTables;
    rep.NeedHeaderFooterProc = o.headerAndFooter;
    for (const DataSetArg& d : o.dataSets) {
        auto t = std::make_unique<dbf::Table>();
        t->setDirectory(o.dataDirectory);
        t->setTableName(d.table);
        t->open();
        if (d.record > 1 && d.record > t->recordCount())
            throw std::runtime_error("--dataset " + d.name + "=" + d.table + "@" +
                                     std::to_string(d.record) + ": the table has " +
                                     std::to_string(t->recordCount()) + " records");
        t->first();
        t->moveBy(d.record - 1);
        rep.DataSetList().addDataSet(t.get(), d.name);
        tables.push_back(std::move(t));
    }
    rep.OnNeedSQL = [&](report::TARWordReport&, const std::string& sql, dbf::DataSet*& result) {
        auto q = std::make_unique<dbf::Query>();
        q->setDirectory(o.dataDirectory);
        q->setSql({sql});
        q->open();  // a statement the engine refuses ends the report with its message
        result = q.get();
        queries.push_back(std::move(q));
    };
    // A partial file must not be left behind: write beside it, then rename.
    const std::string partial = o.outputPath + ".partial";
    try {
        rep.OpenTemplate();
        rep.Process();
        rep.SaveDocumentAs(partial);
        rep.CloseDocument();
        fs::rename(partial, o.outputPath);
    } catch (...) {
        fs::remove(partial, ec);
        throw;
    }
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    std::vector<std::string> positional;
    try {
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            auto value = [&]() -> const std::string& {
                if (i + 1 >= args.size()) throw std::runtime_error(a + " wants a value");
                return args[++i];
            };
            if (a == "--help" || a == "-h") {
                out << kHelp;
                return 0;
            } else if (a == "--data") {
                o.dataDirectory = value();
            } else if (a == "--values") {
                auto lines = readValuesFile(value());
                o.valueLines.insert(o.valueLines.end(), lines.begin(), lines.end());
            } else if (a == "--text-tables") {
                o.textTables = true;
            } else if (a == "--header-footer") {
                o.headerAndFooter = true;
            } else if (a == "--dataset") {
                o.dataSets.push_back(parseDataSetArg(value()));
            } else if (a.rfind("--", 0) == 0) {
                throw std::runtime_error("Unknown option " + a + " (see --help)");
            } else {
                positional.push_back(a);
            }
        }
        if (positional.size() != 2)
            throw std::runtime_error("halvora-report wants TEMPLATE and OUT.docx (see --help)");
        o.templatePath = positional[0];
        o.outputPath = positional[1];
        fillTemplate(o);
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 2;
    }
    return 0;
}

}  // namespace halvora::reporttool
