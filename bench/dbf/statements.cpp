// The statements the program sends for each measured operation, line by line.
#include "dbf/codepage1256.h"
#include "sides.h"

namespace bench {

std::vector<std::string> rowStatement(RowQuery query, const RowParams& p) {
    switch (query) {
        case RowQuery::Listing:
            return {"Select N1,N2,N3 ", "FROM FOODS.dbf ", "WHERE N1>0 "};
        case RowQuery::NameEnglish:
            return {"Select N1,N2,N3 ", "FROM FOODS.dbf ",
                    "WHERE N2 LIKE \"%" + p.englishWord + "%\""};
        case RowQuery::NameFarsi:
            return {"Select N1,N2,N3 ", "FROM FOODS.dbf ",
                    "WHERE N3 LIKE \"%" + dbf::cp1256::fromUtf8(p.farsiWordUtf8) + "%\""};
        case RowQuery::Range:
            return {"Select N1,N2,N3,N45 ", "FROM FOODS.dbf ",
                    "WHERE N45 BETWEEN " + std::to_string(p.rangeLow) + " AND " +
                        std::to_string(p.rangeHigh),
                    "ORDER BY N45 DESC"};
        case RowQuery::Ranking:
            return {"Select N1,N2,N3,N45 ", "FROM FOODS.dbf ", "ORDER BY N45 DESC"};
    }
    return {};
}

std::vector<std::string> recipeSumStatement(int recipe, const std::string& divisor) {
    std::string select = "SELECT ";
    for (int k = kFirstNutrient; k <= kLastNutrient; ++k) {
        if (k > kFirstNutrient) select += ",";
        select += "SUM((N" + std::to_string(k) + "*CON4*0.01)/" + divisor + ")";
    }
    return {select + " ", "FROM CONTENTS.DBF A, FOODS.DBF B",
            "WHERE CON2 = N1 AND CON1=" + std::to_string(recipe)};
}

std::vector<std::string> recallSumStatement(int subject) {
    std::string select = "SELECT ";
    for (int k = kFirstNutrient; k <= kLastNutrient; ++k) {
        if (k > kFirstNutrient) select += ",";
        select += "SUM(N" + std::to_string(k) + "*R4*0.01)";
    }
    return {select + " ", "FROM RECAL.DBF", "WHERE R1=" + std::to_string(subject)};
}

}  // namespace bench
