#pragma once
// Line edits that run right to left while they hold Farsi (or are empty while the Persian
// keyboard layout is active) and left to right otherwise.
class QLineEdit;

namespace ui {

// Sets the edit's direction from its text once.
void applyTextDirection(QLineEdit* edit);
// Keeps the edit's direction following its text as it changes.
void followTextDirection(QLineEdit* edit);
// Whether empty edits start right to left (the Persian layout is active).
void setPersianTyping(bool on);

}  // namespace ui
