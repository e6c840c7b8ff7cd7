#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "CalibrationTargets.h"
#include "CsvTable.h"
#include "TargetExpression.h"

namespace veltrano::calibration {
namespace {

// Outputs resolve to numbers that tell them apart: the length of the name plus the design's letter.
double fakeOutput(const OutputReference& o) {
    return static_cast<double>(o.name.size()) + (o.design == "B" ? 100 : 0) + (o.index.empty() ? 0 : 1000);
}
double fakeFunction(const std::string& name, const std::vector<double>& a) {
    return name == "sum" ? a[0] + a[1] + a[2] : std::nan("");
}

TEST(TargetExpression, EvaluatesWithPrecedenceFunctionsAndOutputs) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1 + 2 * 3", 7},
        {"(1 + 2) * 3", 9},
        {"-2 - -3", 1},
        {"8 / 4 / 2", 1},
        {"1.5e1 - .5", 14.5},
        {"ln(1)", 0},
        {"sum(1, 2 * 2, -3)", 2},
        {"iso_co@B / iso_co@A", 106.0 / 6.0},
        {"puff_co[last_full]@A - 1", 1006},
    };
    for (const Case& c : cases) {
        const TargetExpression e = TargetExpression::parse(c.text);
        ASSERT_EQ(e.error(), "") << c.text;
        EXPECT_DOUBLE_EQ(e.evaluate(fakeOutput, fakeFunction), c.value) << c.text;
    }
    const TargetExpression e = TargetExpression::parse("puff_nico[1]@A / stat_mbr@B");
    ASSERT_EQ(e.outputs().size(), 2u);
    EXPECT_EQ(e.outputs()[0].text(), "puff_nico[1]@A");
    EXPECT_EQ(e.outputs()[1].text(), "stat_mbr@B");
}

TEST(TargetExpression, SaysWhereAFormulaIsWrong) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "at character 1: the formula ends too early"},
        {"1 +", "at character 4: the formula ends too early"},
        {"iso_co", "at character 7: '@' and a design label expected after iso_co"},
        {"iso_co@", "at character 8: a design label expected after '@'"},
        {"(1 + 2", "at character 7: ')' expected"},
        {"puff_co[]@A", "at character 9: an index and ']' expected"},
        {"2 3", "at character 3: unexpected '3'"},
        {"ln(2", "at character 5: ')' expected after the arguments of ln"},
    };
    for (const Case& c : cases) EXPECT_EQ(TargetExpression::parse(c.text).error(), c.error) << c.text;
}

TEST(CsvTable, ReadsQuotedFieldsAndRefusesRaggedRows) {
    const CsvTable t = CsvTable::parse("a,b,c\r\n1,\"x, \"\"y\"\"\",\n\n2,\"two\nlines\",3\n");
    ASSERT_EQ(t.error(), "");
    ASSERT_EQ(t.rows().size(), 2u);
    EXPECT_EQ(t.rows()[0][1], "x, \"y\"");
    EXPECT_EQ(t.rows()[0][2], "");
    EXPECT_EQ(t.rows()[1][1], "two\nlines");
    EXPECT_EQ(t.column("c"), 2u);
    EXPECT_FALSE(t.column("d"));
    EXPECT_EQ(CsvTable::parse("a,b\n1\n").error(), "record 2 has 1 fields, the header 2");
    EXPECT_EQ(CsvTable::parse("a,b\n\"1,2\n").error(), "line 3: a quoted field is not closed");
}

TEST(TargetTable, RefusesRowsThatCannotBeChecked) {
    const std::string header = "id,check,designs,formula,sweep,low,high,status,basis\n";
    struct Case {
        std::string rows, error;
    };
    const Case cases[] = {
        {"T-1,c,A: default,stat_pdo@A,,1,2,met,b\n", ""},
        {"T-1,c,A: default,stat_pdo@A,,one,2,met,b\n", "T-1: the bound 'one' is not a number"},
        {"T-1,c,A: default,stat_pdo@A,,1,2,maybe,b\n",
         "T-1: the status must be 'met' or 'not adopted: reason'"},
        {"T-1,c,A: default,stat_pdo@A,,1,2,met,b\nT-1,c,A: default,stat_pdc@A,,1,2,met,b\n",
         "T-1 is given twice"},
    };
    for (const Case& c : cases) EXPECT_EQ(readTargetTable(header + c.rows).error, c.error) << c.rows;
    EXPECT_EQ(readTargetTable("id,check\n").error, "no column 'designs'");
}

TEST(TargetEvaluator, NamesWhatItCannotEvaluate) {
    const ModelParameters mp;  // all zero: only the wording of the errors matters here
    TargetEvaluator evaluator(mp);
    struct Case {
        const char* designs;
        const char* formula;
        const char* sweep;
        const char* error;
    };
    const Case cases[] = {
        {"A: cp_prem=50", "stat_pdo@A", "", "design A: unknown record value 'cp_prem'"},
        {"A: cp_perm=fifty", "stat_pdo@A", "", "design A: 'fifty' is not a number"},
        {"A: tp_perfotype=1.5", "stat_pdo@A", "", "design A: '1.5' is not a whole number for tp_perfotype"},
        {"A: @fivent", "stat_pdo@A", "", "design A: '@fivent' is not name=value"},
        {"A: default", "stat_pdo@B", "", "stat_pdo@B: no design B"},
        {"A: default", "nonsense@A", "", "nonsense@A: no such output"},
        {"A: default", "half(1)", "", "unknown function half with 1 arguments"},
        {"A: default", "stat_pdo@A", "P=5:0:10", "sweep 'P=5:0:10' is not NAME=from:step:to"},
    };
    for (const Case& c : cases) {
        const CalibrationTarget t{"T", "", c.designs, c.formula, c.sweep, {}, {}, "met", ""};
        const TargetResult r = evaluator.evaluate(t);
        EXPECT_EQ(r.error, c.error) << c.designs << " / " << c.formula;
        EXPECT_FALSE(r.inRange);
    }
}

}  // namespace
}  // namespace veltrano::calibration
