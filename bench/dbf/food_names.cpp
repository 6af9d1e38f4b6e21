#include "food_names.h"

#include <array>
#include <string_view>
#include <vector>

#include "dbf/codepage1256.h"
#include "random.h"

namespace bench {
namespace {

struct Word {
    std::string_view english;
    std::string_view farsi;  // UTF-8 here, converted once
};

struct Base {
    Word word;
    int group;
    int weight;  // how often the food comes up
};

// Groups: 1 poultry, 2 meat, 3 fish, 4 dairy, 5 grains, 6 legumes, 7 vegetables, 8 fruit,
// 9 nuts, 10 fats, 11 sweets, 12 drinks and dishes.
constexpr std::array<Base, 62> kBases{{
    {{"Chicken", "مرغ"}, 1, 5},
    {{"Turkey", "بوقلمون"}, 1, 1},
    {{"Duck", "اردک"}, 1, 1},
    {{"Quail", "بلدرچین"}, 1, 1},
    {{"Beef", "گوشت گاو"}, 2, 3},
    {{"Lamb", "گوشت گوسفند"}, 2, 3},
    {{"Veal", "گوشت گوساله"}, 2, 1},
    {{"Goat", "گوشت بز"}, 2, 1},
    {{"Sausage", "سوسیس"}, 2, 1},
    {{"Kebab", "کباب"}, 2, 2},
    {{"Fish, trout", "ماهی قزل آلا"}, 3, 1},
    {{"Fish, carp", "ماهی کپور"}, 3, 1},
    {{"Tuna", "تن ماهی"}, 3, 1},
    {{"Shrimp", "میگو"}, 3, 1},
    {{"Egg", "تخم مرغ"}, 4, 2},
    {{"Milk", "شیر"}, 4, 3},
    {{"Yogurt", "ماست"}, 4, 3},
    {{"Cheese", "پنیر"}, 4, 3},
    {{"Butter", "کره"}, 4, 1},
    {{"Doogh", "دوغ"}, 4, 1},
    {{"Ice cream", "بستنی"}, 4, 1},
    {{"Rice", "برنج"}, 5, 3},
    {{"Bread", "نان"}, 5, 3},
    {{"Wheat flour", "آرد گندم"}, 5, 1},
    {{"Pasta", "ماکارونی"}, 5, 2},
    {{"Oats", "جو دوسر"}, 5, 1},
    {{"Barley", "جو"}, 5, 1},
    {{"Corn", "ذرت"}, 5, 1},
    {{"Lentil", "عدس"}, 6, 2},
    {{"Chickpea", "نخود"}, 6, 2},
    {{"Bean, red", "لوبیا قرمز"}, 6, 1},
    {{"Bean, pinto", "لوبیا چیتی"}, 6, 1},
    {{"Potato", "سیب زمینی"}, 7, 2},
    {{"Tomato", "گوجه فرنگی"}, 7, 2},
    {{"Onion", "پیاز"}, 7, 1},
    {{"Carrot", "هویج"}, 7, 1},
    {{"Spinach", "اسفناج"}, 7, 1},
    {{"Eggplant", "بادمجان"}, 7, 1},
    {{"Cucumber", "خیار"}, 7, 1},
    {{"Lettuce", "کاهو"}, 7, 1},
    {{"Pepper, sweet", "فلفل دلمه ای"}, 7, 1},
    {{"Mushroom", "قارچ"}, 7, 1},
    {{"Apple", "سیب"}, 8, 2},
    {{"Orange", "پرتقال"}, 8, 2},
    {{"Banana", "موز"}, 8, 1},
    {{"Grape", "انگور"}, 8, 1},
    {{"Dates", "خرما"}, 8, 1},
    {{"Pomegranate", "انار"}, 8, 1},
    {{"Fig", "انجیر"}, 8, 1},
    {{"Apricot", "زردآلو"}, 8, 1},
    {{"Watermelon", "هندوانه"}, 8, 1},
    {{"Cherry, sour", "آلبالو"}, 8, 1},
    {{"Walnut", "گردو"}, 9, 1},
    {{"Almond", "بادام"}, 9, 1},
    {{"Pistachio", "پسته"}, 9, 1},
    {{"Olive oil", "روغن زیتون"}, 10, 1},
    {{"Sunflower oil", "روغن آفتابگردان"}, 10, 1},
    {{"Sugar", "شکر"}, 11, 1},
    {{"Honey", "عسل"}, 11, 1},
    {{"Chocolate", "شکلات"}, 11, 1},
    {{"Tea", "چای"}, 12, 1},
    {{"Soup", "سوپ"}, 12, 2},
}};

// Parts or kinds, by group (index group - 1).
const std::vector<std::vector<Word>>& kinds() {
    static const std::vector<std::vector<Word>> k{
        {{"breast", "سینه"},
         {"thigh", "ران"},
         {"leg", "ساق"},
         {"wing", "بال"},
         {"whole", "کامل"},
         {"ground", "چرخ کرده"},
         {"liver", "جگر"},
         {"meat and skin", "گوشت و پوست"}},
        {{"loin", "راسته"},
         {"shoulder", "سردست"},
         {"shank", "ماهیچه"},
         {"ground", "چرخ کرده"},
         {"rib", "دنده"},
         {"liver", "جگر"},
         {"lean only", "فقط لخم"}},
        {{"fillet", "فیله"},
         {"whole", "کامل"},
         {"canned in oil", "کنسرو در روغن"},
         {"canned in water", "کنسرو در آب"},
         {"smoked", "دودی"}},
        {{"whole", "پرچرب"},
         {"low fat", "کم چرب"},
         {"skim", "بدون چربی"},
         {"plain", "ساده"},
         {"white", "سفید"},
         {"cream", "خامه ای"},
         {"with herbs", "با سبزی"}},
        {{"white", "سفید"},
         {"brown", "قهوه ای"},
         {"whole grain", "سبوس دار"},
         {"long grain", "دانه بلند"},
         {"flat, Lavash", "لواش"},
         {"flat, Sangak", "سنگک"},
         {"flat, Barbari", "بربری"},
         {"enriched", "غنی شده"}},
        {{"dry", "خشک"},
         {"sprouted", "جوانه زده"},
         {"canned", "کنسروی"},
         {"mature seeds", "دانه رسیده"}},
        {{"fresh", "تازه"},
         {"frozen", "منجمد"},
         {"canned", "کنسروی"},
         {"dried", "خشک"},
         {"leaves", "برگ"},
         {"with skin", "با پوست"}},
        {{"fresh", "تازه"},
         {"dried", "خشک"},
         {"juice", "آبمیوه"},
         {"canned in syrup", "کمپوت"},
         {"with peel", "با پوست"},
         {"jam", "مربا"}},
        {{"raw", "خام"}, {"roasted, salted", "بو داده نمکی"}, {"paste", "کره"}, {"kernels", "مغز"}},
        {{"refined", "تصفیه شده"}, {"virgin", "بکر"}, {"blended", "مخلوط"}},
        {{"white", "سفید"}, {"brown", "قهوه ای"}, {"dark", "تلخ"}, {"milk", "شیری"}},
        {{"black", "سیاه"},
         {"green", "سبز"},
         {"barley", "جو"},
         {"vegetable", "سبزیجات"},
         {"noodle", "رشته"},
         {"instant", "فوری"}},
    };
    return k;
}

constexpr std::array<Word, 14> kPreparations{{
    {"raw", "خام"},
    {"boiled", "آب پز"},
    {"roasted", "بریان"},
    {"fried", "سرخ شده"},
    {"grilled", "کبابی"},
    {"steamed", "بخارپز"},
    {"baked", "پخته در فر"},
    {"stewed", "خورشتی"},
    {"cooked", "پخته"},
    {"salted", "نمک زده"},
    {"sweetened", "شیرین شده"},
    {"unsalted", "بی نمک"},
    {"with salt", "با نمک"},
    {"prepared", "آماده"},
}};

constexpr std::array<Word, 16> kBrands{{
    {"Golden Farm", "مزرعه طلایی"},
    {"Sunvale", "سان ویل"},
    {"Alborz", "البرز"},
    {"Caspian", "کاسپین"},
    {"Zagros", "زاگرس"},
    {"Green Valley", "دره سبز"},
    {"Pardis", "پردیس"},
    {"Mehregan", "مهرگان"},
    {"Tabiat", "طبیعت"},
    {"Saba", "صبا"},
    {"Kooh", "کوه"},
    {"Baran", "باران"},
    {"Nilufar", "نیلوفر"},
    {"Arya", "آریا"},
    {"Delta", "دلتا"},
    {"Shahd", "شهد"},
}};

struct Tables {
    std::vector<int> baseByTicket;  // weighted choice of a base food
    std::vector<std::string> baseFa;
    std::vector<std::vector<std::string>> kindFa;
    std::vector<std::string> prepFa;
    std::vector<std::string> brandFa;
    std::string commaFa;
};

const Tables& tables() {
    static const Tables t = [] {
        Tables t;
        for (std::size_t i = 0; i < kBases.size(); ++i) {
            for (int w = 0; w < kBases[i].weight; ++w)
                t.baseByTicket.push_back(static_cast<int>(i));
            t.baseFa.push_back(dbf::cp1256::fromUtf8(kBases[i].word.farsi));
        }
        for (const auto& group : kinds()) {
            t.kindFa.emplace_back();
            for (const auto& w : group) t.kindFa.back().push_back(dbf::cp1256::fromUtf8(w.farsi));
        }
        for (const auto& w : kPreparations) t.prepFa.push_back(dbf::cp1256::fromUtf8(w.farsi));
        for (const auto& w : kBrands) t.brandFa.push_back(dbf::cp1256::fromUtf8(w.farsi));
        t.commaFa = dbf::cp1256::fromUtf8("، ");
        return t;
    }();
    return t;
}

}  // namespace

FoodName foodName(std::uint64_t index) {
    const Tables& t = tables();
    Random rnd(0x6e616d6573ULL ^ (index * 0x9E3779B97F4A7C15ULL));
    const int b = t.baseByTicket[rnd.below(t.baseByTicket.size())];
    const Base& base = kBases[static_cast<std::size_t>(b)];
    const auto& kindList = kinds()[static_cast<std::size_t>(base.group - 1)];
    const std::size_t k = rnd.below(kindList.size());
    const std::size_t p = rnd.below(kPreparations.size());

    FoodName name;
    name.group = base.group;
    name.english = std::string(base.word.english) + ", " + std::string(kindList[k].english) + ", " +
                   std::string(kPreparations[p].english);
    name.farsi = t.baseFa[static_cast<std::size_t>(b)] + t.commaFa +
                 t.kindFa[static_cast<std::size_t>(base.group - 1)][k] + t.commaFa + t.prepFa[p];
    if (rnd.below(10) < 3) {  // three foods in ten are branded products
        const std::size_t brand = rnd.below(kBrands.size());
        name.english += ", " + std::string(kBrands[brand].english);
        name.farsi += t.commaFa + t.brandFa[brand];
    }
    return name;
}

}  // namespace bench
