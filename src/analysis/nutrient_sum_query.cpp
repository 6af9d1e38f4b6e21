#include "nutrient_sum_query.h"

#include "core/nutrient_grid.h"
#include "core/text_boundary.h"

namespace analysis {

std::vector<std::string> nutrientSumQuery(SumVariant variant, std::int64_t code,
                                          const std::string& divisor) {
    std::string select = "SELECT ";
    for (int k = 8; k < 8 + core::nutrientCount; ++k) {
        const std::string n = "N" + std::to_string(k);
        if (k > 8) select += ',';
        switch (variant) {
            case SumVariant::RecipePer100g:
                select += "SUM((" + n + "*CON4*0.01)/" + divisor + ")";
                break;
            case SumVariant::RecipeTotal:
                select += "SUM(" + n + "*CON4*0.01)";
                break;
            case SumVariant::RecallTotal:
                select += "SUM(" + n + "*R4*0.01)";
                break;
        }
    }
    select += ' ';
    if (variant == SumVariant::RecallTotal)
        return {select, "FROM RECAL.DBF", "WHERE R1=" + core::codeLiteral(code)};
    return {select, "FROM CONTENTS.DBF A, FOODS.DBF B",
            "WHERE CON2 = N1 AND CON1=" + core::codeLiteral(code)};
}

}  // namespace analysis
