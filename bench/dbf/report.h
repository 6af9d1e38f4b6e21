#pragma once
// The table printed for one size: medians, ratios and the goals they are held to.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "measure.h"

namespace bench {

struct OpenTiming {
    std::optional<double> firstMs;   // the first open of the process
    std::optional<double> medianMs;  // of all opens, each on a freshly released store
    int runs = 0;
    std::string error;
};

constexpr double kFloorGoal = 3.0;  // ours within 3 x of the floor
constexpr double kOpenGoalMs = 1000.0;

void printTable(std::FILE* out, std::size_t foods, int repeats,
                const std::vector<Measurement>& rows, const OpenTiming& open);

std::string withThousands(std::int64_t n);

}  // namespace bench
