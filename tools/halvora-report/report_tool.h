#pragma once
// The halvora-report command: fills a report template headless from a data directory,
// custom values and named data sets, and writes the filled document. Kept apart from
// main() so that tests and the golden cases call it.
#include <ostream>
#include <string>
#include <vector>

namespace halvora::reporttool {

struct DataSetArg {
    std::string name;   // as the template names it
    std::string table;  // a table of the data directory
    long long record = 1;
};

struct Options {
    std::string templatePath;
    std::string outputPath;
    std::string dataDirectory = ".";
    std::vector<std::string> valueLines;  // Name=Value
    std::vector<DataSetArg> dataSets;
    bool textTables = false;       // fill <#txttable:NAME> tags
    bool headerAndFooter = false;  // fill tags in the page header and footer too
};

// "NAME=TABLE[@RECORD]"; raises std::runtime_error with a clear message.
DataSetArg parseDataSetArg(const std::string& text);
// Name=Value lines of a UTF-8 file (a byte-order mark and CR line ends are dropped).
std::vector<std::string> readValuesFile(const std::string& path);

// Fills the template and writes the output; raises on any error, leaving no output file.
void fillTemplate(const Options& options);

// `args` are the command-line arguments after the program name. Returns the exit status:
// 0 on success, 2 for bad input or a failed report (the message goes to `err`).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace halvora::reporttool
