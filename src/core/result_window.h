#pragma once
// The results window (TForm2): the day totals of the weekly plan report, shown modally.
#include "controls.h"
#include "nutrient_grid.h"

namespace core {

struct ResultWindow : ControlOwner<ResultWindow> {
    static constexpr const char* name = "TForm2";
    static constexpr const char* title = "Diet Analysis Results";

    Label Label1{"Label1", "Diet Analysis Results"};  // large red bold letters
    NutrientGrid StringGrid4{"StringGrid4"};          // small Arial text
    Button Button1{"Button1", "CLOSE"};
    // Closes the window (its close button, and the main window's close sequence).
    void close() { closeRequested.emit(); }
    Signal closeRequested;

    ResultWindow() {
        Label1.font = {"", 20, true, 0xFF0000};
        StringGrid4.font = {"Arial", 8, false, 0};
    }
};

}  // namespace core
