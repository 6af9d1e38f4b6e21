#pragma once
// The chart windows' charts as data: series of points with colours, a title and a legend.
// The Qt layer draws them; handlers only fill them.
#include <cstdint>
#include <string>
#include <vector>

#include "controls.h"

namespace core {

// Colours as 0xRRGGBB.
namespace colors {
inline constexpr std::uint32_t red = 0xFF0000;
inline constexpr std::uint32_t green = 0x008000;
inline constexpr std::uint32_t yellow = 0xFFFF00;
inline constexpr std::uint32_t blue = 0x0000FF;
inline constexpr std::uint32_t purple = 0x800080;
inline constexpr std::uint32_t gray = 0x808080;
}  // namespace colors

struct ChartPoint {
    double x = 0;
    double y = 0;
    std::string label;
    std::uint32_t color = 0;
};

class ChartSeries {
    std::string m_name;

  public:
    ChartSeries(std::string name, std::string title, std::uint32_t color)
        : m_name(std::move(name)), title(std::move(title)), color(color) {}
    const std::string& name() const { return m_name; }
    std::string title;
    std::uint32_t color;
    bool marksVisible = false;
    std::vector<ChartPoint> points;
    void clear() { points.clear(); }
    void add(double x, double y, std::string label, std::uint32_t pointColor) {
        points.push_back({x, y, std::move(label), pointColor});
    }
};

class Chart : public Control {
  public:
    enum class Kind { Bar, Pie };

  private:
    Kind m_kind;

  public:
    Chart(std::string name, Kind kind, std::string title)
        : Control(std::move(name)), m_kind(kind), title(std::move(title)) {}
    Kind kind() const { return m_kind; }
    std::string title;
    std::string leftAxisTitle;
    bool legendVisible = true;
    std::vector<ChartSeries> series;
    ChartSeries& seriesAt(int index) { return series.at(static_cast<std::size_t>(index)); }
    // Asks the view to draw the current data (the handlers' "redraw"); also undoes a zoom.
    void redraw() { changed.emit(); }
};

}  // namespace core
