// The tag grammar and the number formats, as tables of cases.
#include "report/tag_language.h"

#include <gtest/gtest.h>

#include "report/errors.h"
#include "report/number_format.h"

using namespace report;

namespace {

TEST(TagGrammar, BodiesParseToTheirForms) {
    using K = TagNode::Kind;
    struct Case {
        const char* body;
        K kind;
        const char* dataSet;
        const char* name;
        const char* format;  // nullptr: none
    };
    const Case cases[] = {
        {"SubjectNo", K::CustomValue, "", "SubjectNo", nullptr},
        {"regim.D6", K::Field, "REGIM", "D6", nullptr},
        {"REGIM.D7:#,##0.00", K::Field, "REGIM", "D7", "#,##0.00"},
        {"REGIM.D7:", K::Field, "REGIM", "D7", ""},
        {"REGIM.*", K::Count, "REGIM", "", nullptr},
        {"REPEAT:24h", K::Repeat, "24H", "", nullptr},
        {"/REPEAT:24H", K::RepeatEnd, "24H", "", nullptr},
        {"repfor:DS2", K::Repfor, "DS2", "", nullptr},
        {"/REPFOR:DS2", K::RepforEnd, "DS2", "", nullptr},
        {"table:REGIM", K::Table, "REGIM", "", nullptr},
        {"TXTTABLE:REGIM", K::TextTable, "REGIM", "", nullptr},
        {" REGIM.D6", K::Open, "", "", nullptr},
        {"REGIM.D6.X", K::Open, "", "", nullptr},
        {"table:", K::Open, "", "", nullptr},
        {"", K::Open, "", "", nullptr},
        {"PAGE TITLE", K::Open, "", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        TagNode n = parseTagBody(c.body);
        EXPECT_EQ(n.kind, c.kind);
        EXPECT_EQ(n.dataSet, c.dataSet);
        EXPECT_EQ(n.name, c.name);
        EXPECT_EQ(n.format.has_value(), c.format != nullptr);
        if (c.format && n.format) {
            EXPECT_EQ(*n.format, c.format);
        }
        EXPECT_EQ(n.text, c.body);
    }
}

TEST(TagGrammar, CellSpecifications) {
    using K = CellSpec::Kind;
    struct Case {
        const char* text;
        K kind;
        const char* field;
        const char* entry;
    };
    const Case cases[] = {
        {"", K::Static, "", "*"},
        {"  \a", K::Static, "", "*"},
        {"*note", K::Static, "", "*"},
        {" D6 \r\a", K::Field, "D6", ""},
        {"PIC:img", K::Picture, "PIC", "IMG"},
        {"M:Rtf", K::FormattedText, "M", "RTF"},
        {"D6:TXT", K::Text, "D6", "TXT"},
        {"D7:#0.0", K::Formatted, "D7", "#0.0"},
        {"D7:h:mm", K::Formatted, "D7", "h:mm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CellSpec s = parseCellSpec(c.text);
        EXPECT_EQ(s.kind, c.kind);
        EXPECT_EQ(s.field, c.field);
        EXPECT_EQ(s.formatEntry(), c.entry);
    }
}

TEST(TagGrammar, SumTailsConditionsAndNumerators) {
    EXPECT_EQ(parseSumTail("").kind, SumTail::Kind::General);
    EXPECT_EQ(parseSumTail(" ").kind, SumTail::Kind::General);
    EXPECT_EQ(parseSumTail(":#0.0").format, "#0.0");
    EXPECT_EQ(parseSumTail("1").kind, SumTail::Kind::Invalid);  // SUM(<#DS.D7> of field D71
    EXPECT_EQ(parseConditionValue(" 2 "), 2);
    EXPECT_EQ(parseConditionValue("-1"), 0);
    EXPECT_EQ(parseConditionValue("x"), std::nullopt);
    EXPECT_EQ(parseConditionValue(""), std::nullopt);
    EXPECT_EQ(parseConditionValue("1.5"), std::nullopt);
    EXPECT_EQ(numeratorStep(U'+'), NumeratorStep::Increase);
    EXPECT_EQ(numeratorStep(U'S'), NumeratorStep::Restart);
    EXPECT_EQ(numeratorStep(U's'), NumeratorStep::Before);
    EXPECT_EQ(numeratorStep(U'.'), NumeratorStep::Before);
    EXPECT_EQ(numeratorStep(U' '), NumeratorStep::Replace);
    EXPECT_EQ(numeratorStep(U'\r'), NumeratorStep::Replace);
}

TEST(TagGrammar, PoolEntries) {
    PoolParse p = parsePool(
        "junk <ds:Foods>\r SELECT N1\rFROM F </ds> <EXEC>UPDATE X</EXEC><RUNMACRO:Tidy>"
        "<DS:LAST>no end");
    ASSERT_EQ(p.entries.size(), 3u);
    EXPECT_EQ(p.entries[0].kind, PoolEntry::Kind::DataSet);
    EXPECT_EQ(p.entries[0].name, "FOODS");
    EXPECT_EQ(p.entries[0].body, "SELECT N1 FROM F");
    EXPECT_EQ(p.entries[1].kind, PoolEntry::Kind::Exec);
    EXPECT_EQ(p.entries[1].name, "");
    EXPECT_EQ(p.entries[1].body, "UPDATE X");
    EXPECT_EQ(p.entries[2].kind, PoolEntry::Kind::Macro);
    EXPECT_EQ(p.entries[2].name, "Tidy");
    EXPECT_TRUE(p.stoppedEarly);
    EXPECT_TRUE(parsePool("<DS:A no close").stoppedEarly);
    EXPECT_TRUE(parsePool("nothing here").entries.empty());
}

TEST(NumberFormat, PicturesAndSections) {
    struct Case {
        double value;
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, "#,##0.00", "1,234.50"},
        {1234.5, "##,#0.00", "1,234.50"},
        {0.5, "#.##", ".5"},
        {0.5, "0.00", "0.50"},
        {2.25, "0.0", "2.3"},  // halves away from zero
        {-2.25, "0.0", "-2.3"},
        {7, "000", "007"},
        {1234567, "#,##0", "1,234,567"},
        {-5, "0;(0)", "(5)"},
        {0, "0;(0);zero", "zero"},
        {-0.01, "0.0", "0.0"},  // no minus sign on a rounded zero
        {12345, "0.00E+00", "1.23E+04"},
        {0.00012, "0.0E-0", "1.2E-4"},
        {3, "\"n=\"0", "n=3"},
        {1130.7, "", "1130.7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatNumber(c.value, c.format), c.text);
    }
    EXPECT_THROW(formatNumber(1, "0;0;0;0"), ReportError);
    EXPECT_THROW(formatNumber(std::numeric_limits<double>::infinity(), "0"), ReportError);
}

}  // namespace
