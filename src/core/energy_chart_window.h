#pragma once
// The energy window (TForm3): a pie of the shares of energy from carbohydrate, protein and
// lipid, rebuilt from the food-analysis bars each time it is opened.
#include "chart.h"
#include "controls.h"

namespace core {

struct EnergyChartWindow : ControlOwner<EnergyChartWindow> {
    static constexpr const char* name = "TForm3";
    static constexpr const char* title = "Form3";
    static constexpr int width = 968;
    static constexpr int height = 633;

    // Three-dimensional pie at 20 % depth, legend at the bottom in bold Arial with a shadow.
    Chart Chart1{"Chart1", Chart::Kind::Pie, "FOOD ANALYSIS"};
    Picture Image11{"Image11"};
    Button BitBtn5{"BitBtn5", "&Print "};
    Button BitBtn1{"BitBtn1", "&Exit"};
    // Closes the window (its close button, and the main window's close sequence).
    void close() { closeRequested.emit(); }
    Signal closeRequested;

    EnergyChartWindow() {
        Chart1.series.emplace_back("Series3", "ENERGY", 0);
        Image11.setHint("Convert to BMP");
        BitBtn1.setHint("Exit Program");
    }
    ChartSeries& Series3() { return Chart1.seriesAt(0); }
};

}  // namespace core
