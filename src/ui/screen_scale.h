#pragma once
// Sizes given in pixels at 96 dots per inch, scaled for the screen a widget is on.
class QWidget;

namespace ui {

double screenScale(const QWidget* widget);
int scaled(int pixelsAt96Dpi, const QWidget* widget);

}  // namespace ui
