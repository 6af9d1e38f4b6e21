#pragma once
// Everything the handlers ask of or show to the user goes through this interface:
// Qt implements it with real dialogs; tests script the answers and record what was shown.
#include <optional>
#include <string>
#include <vector>

namespace core {

struct SaveFileRequest {
    std::string title;
    std::string initialDirectory;
    std::string defaultExtension;      // without the dot
    std::vector<std::string> filters;  // "Text files (*.txt)"
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A modal message box with the text exactly as given.
    virtual void showMessage(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    // The chosen file name, or nothing when the user cancelled.
    virtual std::optional<std::string> saveFileName(const SaveFileRequest& request) = 0;
    // The text of an error that left a handler (the application's default error display).
    virtual void showError(const std::string& text) = 0;
    // Shows one of the secondary windows ("TForm2", "TForm3", "TForm4") modally; returns
    // when it is closed.
    virtual void showModal(const std::string& windowName) = 0;
};

}  // namespace core
