#pragma once
// Realistic food names for generated tables: a food, a part or kind, a preparation and
// sometimes a brand, in English and in Farsi (code page 1256 bytes).
#include <cstdint>
#include <string>

namespace bench {

struct FoodName {
    std::string english;  // "Chicken, breast, roasted"
    std::string farsi;    // code page 1256
    int group = 0;        // food group of the base food, 1..12
};

// The name of food number `index` (any index gives a name; the same index the same name).
FoodName foodName(std::uint64_t index);

}  // namespace bench
