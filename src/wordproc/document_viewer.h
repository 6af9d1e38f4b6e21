#pragma once
// Where a shown document goes: the desktop program opens it in the user's
// word processor; tests record it.
#include <string>

namespace wordproc {

class DocumentViewer {
  public:
    virtual ~DocumentViewer() = default;
    // `path` is a .docx in the temporary directory that the viewer may keep.
    virtual void show(const std::string& path) = 0;
};

}  // namespace wordproc
