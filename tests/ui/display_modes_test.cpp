// Reading the modes of the connected outputs from what xrandr prints.
#include "ui/display_modes.h"

#include <gtest/gtest.h>

namespace {

TEST(XrandrQuery, ListsTheModesOfConnectedOutputsInOrder) {
    const QString text = QStringLiteral(
        "Screen 0: minimum 320 x 200, current 1920 x 1080, maximum 16384 x 16384\n"
        "HDMI-1 disconnected (normal left inverted right x axis y axis)\n"
        "   1280x800      59.81\n"
        "eDP-1 connected primary 1920x1080+0+0 (normal left inverted right) 344mm x 194mm\n"
        "   1920x1080     60.02*+  59.93\n"
        "   1152x864      60.00\n"
        "   1024x768i     60.04\n"
        "DP-2 connected 1024x768+1920+0 (normal) 0mm x 0mm\n"
        "   1024x768      60.00*\n"
        "VIRTUAL1 disconnected (normal left inverted right x axis y axis)\n");
    const auto outputs = ui::parseXrandrQuery(text);
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(outputs[0].output, "eDP-1");
    EXPECT_EQ(outputs[0].modes, (std::vector<QString>{"1920x1080", "1152x864", "1024x768"}));
    EXPECT_EQ(outputs[1].output, "DP-2");
    EXPECT_EQ(outputs[1].modes, (std::vector<QString>{"1024x768"}));
}

TEST(XrandrDisplayModes, SwitchesNothingWithoutAnXDisplay) {
    ui::XrandrDisplayModes modes;  // the tests run on the offscreen platform
    EXPECT_FALSE(modes.changeResolution(1024, 768, 32));
}

}  // namespace
