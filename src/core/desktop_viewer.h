#pragma once
// Shows a finished report in the desktop's word processor: the file is handed to
// xdg-open, which starts whatever the desktop opens .docx files with.
#include <string>

#include "wordproc/document_viewer.h"

namespace core {

class DesktopViewer : public wordproc::DocumentViewer {
  public:
    // Runs `opener` (xdg-open unless given) on the file without waiting for it; raises
    // std::runtime_error naming the file when it cannot be started.
    explicit DesktopViewer(std::string opener = "xdg-open") : m_opener(std::move(opener)) {}
    void show(const std::string& path) override;

  private:
    std::string m_opener;
};

}  // namespace core
