#pragma once
// Small drawn icons for the buttons that show a picture instead of (or beside) a caption.
#include <QIcon>

namespace ui {

QIcon chartIcon();  // bars: analyses and daily charts
QIcon saveIcon();
QIcon deleteIcon();
QIcon printIcon();
QIcon copyIcon();  // a day of the plan copied into the recall

}  // namespace ui
