#pragma once
// The demonstration content of data/demo/: recipes, favourite foods, subjects, recalls and a
// weekly plan, as reviewable text. Foods are named by source and code ("USDA 01019"), with
// their English name beside them so that a reader (and the tool) can check the choice.
#include <filesystem>
#include <string>
#include <vector>

#include "dbf/date_value.h"

namespace mkdata {

struct FoodRef {
    std::string source;
    std::string code;
    std::string where;  // file:line, for messages
};

// A recall or plan item: a food of the database or a recipe of the demo.
struct DemoItem {
    bool isRecipe = false;
    FoodRef food;
    int recipe = 0;
    std::string note;  // the food's English name or the recipe's name, checked when written
};

struct DemoRecipe {
    int code = 0;
    std::string meal;  // "Breakfast", "Lunch", "Dinner" or "Snack"
    std::string name;
    std::string description;
};

struct DemoIngredient {
    int recipe = 0;
    FoodRef food;
    double grams = 0;
    std::string english;
};

struct DemoFavourite {
    FoodRef food;
    int meal = 0;  // 1..4
    std::string english;
};

struct DemoSubject {
    int code = 0;
    std::string name;
    double age = 0, height = 0, weight = 0;
    int sex = 0;  // 0 male, 1 female
    dbf::CivilDate date{};
    double energy = 0, carbohydrateShare = 0, proteinShare = 0, fatShare = 0;
};

struct DemoRecall {
    int subject = 0;
    dbf::CivilDate date{};
    int meal = 0;  // 1..4 as the recall meal box gives it
    DemoItem item;
    double grams = 0;
};

struct DemoPlan {
    int code = 0;
    std::string name;
};

struct DemoPlanItem {
    int plan = 0;
    int day = 0;   // 0 Saturday .. 6 Friday
    int meal = 0;  // 0 breakfast .. 3 after dinner
    DemoItem item;
    double amount = 0;
};

struct DemoData {
    std::vector<DemoRecipe> recipes;
    std::vector<DemoIngredient> ingredients;
    std::vector<DemoFavourite> favourites;
    std::vector<DemoSubject> subjects;
    std::vector<DemoRecall> recalls;
    std::vector<DemoPlan> plans;
    std::vector<DemoPlanItem> planItems;
};

// Reads the seven files; raises MkdataError naming the file and line of a malformed cell.
DemoData readDemoData(const std::filesystem::path& demoDir);

}  // namespace mkdata
