#pragma once
// Conversion of legacy word-processor files to OOXML with LibreOffice.
#include <functional>
#include <string>

namespace wordproc {

enum class FileKind { Ooxml, LegacyWord, Rtf, Other };
FileKind sniffFile(const std::string& path);

// The LibreOffice program when it is installed, else empty.
std::string findSoffice();
// Converts a file to .docx in a fresh temporary directory and returns the
// path of the result; a clear error when LibreOffice is missing or fails.
std::string convertToDocx(const std::string& path, const std::string& label);

// Writes `source` converted to .docx at `destination`; throws WordprocError.
using Converter = std::function<void(const std::string& source, const std::string& destination,
                                     const std::string& label)>;
// Replaces the converter (LibreOffice by default; an empty one restores it)
// and empties the cache of converted files.
void setConverter(Converter converter);

// The .docx of a legacy file, converted once per file: while the file keeps
// its size and modification time, later calls return the same converted copy.
// The copy lives in a private folder of this process; callers read it and
// must not delete it.
std::string convertedDocx(const std::string& path, const std::string& label);

}  // namespace wordproc
