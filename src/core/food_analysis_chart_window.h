#pragma once
// The food-analysis window (TForm4): bars of six nutrients of a recall or a plan day.
#include "chart.h"
#include "controls.h"

namespace core {

struct FoodAnalysisChartWindow : ControlOwner<FoodAnalysisChartWindow> {
    static constexpr const char* name = "TForm4";
    static constexpr const char* title = "Form4";
    static constexpr int width = 968;
    static constexpr int height = 633;

    // Title in blue bold Arial, legend at the bottom; value marks hidden until a fill.
    Chart Chart1{"Chart1", Chart::Kind::Bar, "FOOD ANALYSIS"};
    Button PieChart{"PieChart", "Analysis"};
    CheckBox MARKS{"MARKS"};
    Label Label7{"Label7", "Show Values"};
    Picture Image1{"Image1"};
    Button BitBtn5{"BitBtn5", "&Print "};
    Button BitBtn1{"BitBtn1", "EXIT"};
    // Closes the window (its close button, and the main window's close sequence).
    void close() { closeRequested.emit(); }
    Signal closeRequested;

    FoodAnalysisChartWindow() {
        Chart1.font = {"Arial", 0, true, colors::blue};
        Chart1.series.emplace_back("Series1", "Energy", colors::red);
        Chart1.series.emplace_back("Series2", "Protein", colors::green);
        Chart1.series.emplace_back("Series3", "Carbohydrate", colors::yellow);
        Chart1.series.emplace_back("Series4", "Lipids", colors::blue);
        Chart1.series.emplace_back("Series5", "Calcium", colors::purple);
        Chart1.series.emplace_back("Series6", "Iron", colors::gray);
        MARKS.setChecked(true);
        Image1.setHint("Convert to BMP");
        BitBtn1.setHint("Exit Program");
    }
    // The six bar series: 0 Energy, 1 Protein, 2 Carbohydrate, 3 Lipids, 4 Calcium, 5 Iron.
    ChartSeries& series(int index) { return Chart1.seriesAt(index); }
};

}  // namespace core
