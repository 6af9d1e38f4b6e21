#pragma once
// The application's default error display: an exception that leaves a handler shows its
// text, and the handler ends where it stood (nothing is rolled back).
#include <functional>

namespace core {

class MainForm;

// Runs the handler; returns false when it ended with an error (already shown).
bool runHandler(MainForm& form, const std::function<void(MainForm&)>& handler);

}  // namespace core
