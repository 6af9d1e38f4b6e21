#pragma once
// A document viewer for tests: records the files it is asked to show and, since a shown
// file is left in the temporary directory for its viewer, removes them when it goes.
#include <filesystem>
#include <string>
#include <vector>

#include "wordproc/document_viewer.h"

namespace wordproc::test {

class RecordingViewer : public DocumentViewer {
  public:
    RecordingViewer() = default;
    RecordingViewer(const RecordingViewer&) = delete;
    RecordingViewer& operator=(const RecordingViewer&) = delete;
    ~RecordingViewer() override {
        std::error_code ignored;
        for (const auto& path : shown) std::filesystem::remove(path, ignored);
    }

    void show(const std::string& path) override { shown.push_back(path); }
    std::vector<std::string> shown;
};

}  // namespace wordproc::test
