#include "run_handler.h"

#include <exception>

#include "main_form.h"

namespace core {

bool runHandler(MainForm& form, const std::function<void(MainForm&)>& handler) {
    try {
        handler(form);
        return true;
    } catch (const std::exception& e) {
        form.dialogs.showError(e.what());
    } catch (...) {
        form.dialogs.showError("Unknown error");
    }
    return false;
}

}  // namespace core
