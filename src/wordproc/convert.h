#pragma once
// Conversion of legacy word-processor files to OOXML with LibreOffice.
#include <string>

namespace wordproc {

enum class FileKind { Ooxml, LegacyWord, Rtf, Other };
FileKind sniffFile(const std::string& path);

// The LibreOffice program when it is installed, else empty.
std::string findSoffice();
// Converts a file to .docx in a fresh temporary directory and returns the
// path of the result; a clear error when LibreOffice is missing or fails.
std::string convertToDocx(const std::string& path, const std::string& label);

}  // namespace wordproc
