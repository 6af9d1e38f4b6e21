#pragma once
// What the Qt tests share with the core tests: the recording dialog layer.
#include "core/app_fixture.h"

namespace ui::testing {
using core::testing::RecordingDialogs;
}
