// A .docx as another program may leave it: opened as a template and its text, tables,
// shapes, fields and form fields read. The first byte chooses what the rest is: a whole
// package (even), or the main document part inside a sound package (odd), since a mutated
// package seldom gets past its checksums.
#include "fuzz_support.h"
#include "wordproc/application.h"
#include "wordproc/document.h"
#include "wordproc/docx_builder.h"
#include "wordproc/errors.h"
#include "wordproc/fields.h"
#include "wordproc/range.h"
#include "wordproc/shapes.h"
#include "wordproc/tables.h"

namespace halvora::fuzz {

// The documents of the word processor and report tests, whole and as their main part.
void writeSeeds(const fs::path& dir) {
    int n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(HALVORA_SOURCE_DIR "/tests")) {
        if (entry.path().extension() != ".docx") continue;
        const std::string name = std::to_string(n++);
        writeFile(dir / ("package" + name), std::string(1, '\0') + readFile(entry.path()));
        const auto parts = wordproc::test::readZip(entry.path().string());
        if (auto main = parts.find("word/document.xml"); main != parts.end())
            writeFile(dir / ("part" + name), "\x01" + main->second);
    }
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path dir = scratchFolder("docx");
    const fs::path path = dir / "T.docx";
    if (size == 0) return 0;
    const std::string_view rest = bytesOf(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        writeFile(path, rest);
    } else {
        try {
            wordproc::test::writeDocx(path.string(), "", {{"word/document.xml", std::string(rest)}},
                                      false);
        } catch (const std::exception&) {
            return 0;
        }
    }
    try {
        wordproc::Application app;
        wordproc::Document& doc = app.documents().add(path.string());
        (void)doc.content().text();
        (void)doc.tables().count();
        (void)doc.shapes().count();
        (void)doc.fields().count();
        (void)doc.formFields().count();
        (void)doc.textBoxCount();
        doc.close();
    } catch (const wordproc::WordprocError&) {
    }
    return 0;
}
