#include "screen_scale.h"

#include <QWidget>
#include <cmath>

namespace ui {

double screenScale(const QWidget* widget) {
    // Logical dots per inch already include the desktop's scaling; device pixels are
    // handled by Qt itself.
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

int scaled(int pixelsAt96Dpi, const QWidget* widget) {
    return static_cast<int>(std::lround(pixelsAt96Dpi * screenScale(widget)));
}

}  // namespace ui
