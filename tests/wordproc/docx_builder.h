#pragma once
// Builds small .docx files in code for focused tests.
#include <map>
#include <string>

namespace wordproc::test {

inline const char* kNs =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\"";

// Writes a package with the given body XML (inside w:body) and extra entries (which replace
// the standard ones of the same name). Stored entries (`deflate` false) are quicker to
// write and read, for the fuzz targets.
void writeDocx(const std::string& path, const std::string& bodyXml,
               std::map<std::string, std::string> extra = {}, bool deflate = true);
// Body XML of a template written in short form: one paragraph per line; lines starting
// with "|" are table rows with cells between bars (a run of such lines is one table).
// Characters XML cannot hold are left out.
std::string shortFormBody(const std::string& shortForm);
// Writes raw zip entries as given (for broken packages).
void writeZip(const std::string& path, const std::map<std::string, std::string>& entries,
              bool deflate = true);
std::string tempPath(const std::string& name);
// The entries of a zip written by us.
std::map<std::string, std::string> readZip(const std::string& path);
std::string dataPath(const std::string& name);

}  // namespace wordproc::test
