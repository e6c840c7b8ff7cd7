#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/design/DesignFields.h"
#include "core/design/ValueChecks.h"
#include "core/sheet/SheetPageTable.h"

namespace veltrano {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// "name" for a value that is not a number, "-name" for a negative magnitude.
std::vector<std::string> described(const std::vector<InputProblem>& problems) {
    std::vector<std::string> out;
    for (const InputProblem& p : problems) out.push_back((p.negative ? "-" : "") + std::string(p.field));
    return out;
}

TEST(ValueChecks, FindsInputsNoSheetStoresAndLeavesResultsAlone) {
    const struct {
        const char* what;
        std::function<void(DesignValues&)> change;
        std::vector<std::string> inputProblems;
        std::vector<std::string_view> nonFiniteResults;
    } cases[] = {
        {"the default design", [](DesignValues&) {}, {}, {}},
        {"a permeability that is not a number", [](DesignValues& d) { d.cp_perm = kNaN; }, {"cp_perm"}, {}},
        {"an infinite length", [](DesignValues& d) { d.fi_len = kInfinity; }, {"fi_len"}, {}},
        {"a negative permeability", [](DesignValues& d) { d.cp_perm = -50; }, {"-cp_perm"}, {}},
        {"a negative puff duration",
         [](DesignValues& d) { d.alt_duration = -1e-300; },
         {"-alt_duration"},
         {}},
        {"minus zero is no negative length", [](DesignValues& d) { d.ro_len = -0.0; }, {}, {}},
        {"an exponent may be negative", [](DesignValues& d) { d.tp_exponent = -1; }, {}, {}},
        {"the last slot of the puff shape",
         [](DesignValues& d) { d.alt_profile.back() = -kInfinity; },
         {"alt_profile"},
         {}},
        {"several, in record order",
         [](DesignValues& d) {
             d.alt_volume = kNaN;
             d.tp_width = -3;
         },
         {"-tp_width", "alt_volume"},
         {}},
        {"measured or computed results are no inputs",
         [](DesignValues& d) {
             d.stat_pdo = kNaN;
             d.ro_pd = -5;
             d.alt_co = kInfinity;
         },
         {},
         {"stat_pdo", "alt_co"}},
    };
    for (const auto& c : cases) {
        DesignValues design;
        c.change(design);
        EXPECT_EQ(described(impossibleInputs(design)), c.inputProblems) << c.what;
        EXPECT_EQ(nonFiniteResults(design), c.nonFiniteResults) << c.what;
    }
}

// What the user types into a sheet is an input; the reference's measured values on the yields page are
// the record's results, which the model computes for the current design.
TEST(ValueChecks, RolesFollowTheSheetsPages) {
    for (int page = 0; page < kSheetPageCount; ++page) {
        for (const FieldSpec& pageField : sheetPage(page).fields()) {
            const DesignField* field = findDesignField(pageField.name);
            if (!pageField.member || !field) continue;  // a value the page derives
            if (page == kYieldsPage)
                EXPECT_EQ(field->role, FieldRole::Result) << pageField.name;
            else
                EXPECT_TRUE(field->role == FieldRole::Magnitude || field->role == FieldRole::Input)
                    << pageField.name;
        }
    }
}

}  // namespace
}  // namespace veltrano
