#pragma once
// Stand-ins for what the operating system provides: the keyboard layout and display modes.
#include <string>

#include "signal.h"

namespace core {

inline constexpr const char* persianLayout = "00000429";
inline constexpr const char* usEnglishLayout = "00000409";

// The active keyboard layout. The Qt layer listens and maps keys typed on a US layout to
// the Persian layout's letters while "00000429" is active.
class KeyboardLayout {
  public:
    const std::string& activeLayout() const { return m_active; }
    void activate(const std::string& layoutId) {
        m_active = layoutId;
        changed.emit();
    }
    Signal changed;

  private:
    std::string m_active = usEnglishLayout;
};

class DisplayModes {
  public:
    virtual ~DisplayModes() = default;
    // Switches to the first offered mode of exactly this size and depth and makes it the
    // default; false when no such mode exists or none could be set.
    virtual bool changeResolution(int width, int height, int bitsPerPixel) = 0;
};

}  // namespace core
