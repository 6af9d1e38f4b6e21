#pragma once
// The structural index of SUBJECTS.DBF: tags SU1 (first, the natural order of codes), SU2 and
// SU7, MACHINE collation, so that the subject grid can be ordered by name and by visit date.
#include <filesystem>

namespace mkdata {

// Sets the header's "structural index" flag, which FoxPro reads to open the .CDX with the
// table. Call it on a table just created, before anything else opens it.
void markStructuralIndex(const std::filesystem::path& dbfPath);

// Writes SUBJECTS.CDX beside the table from its current records.
void writeSubjectsIndex(const std::filesystem::path& dbfPath);

}  // namespace mkdata
