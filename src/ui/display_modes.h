#pragma once
// Display modes through the X11 RandR extension, by way of the `xrandr` program: the first
// output that offers a mode of exactly the asked size is switched to it. Where there is no
// X display or no `xrandr`, nothing is switched.
#include <QString>
#include <vector>

#include "core/platform.h"

namespace ui {

struct OutputModes {
    QString output;
    std::vector<QString> modes;  // "1024x768", in the order xrandr lists them
};

// The connected outputs and their modes from `xrandr --query` output.
std::vector<OutputModes> parseXrandrQuery(const QString& text);

class XrandrDisplayModes : public core::DisplayModes {
  public:
    bool changeResolution(int width, int height, int bitsPerPixel) override;
};

}  // namespace ui
