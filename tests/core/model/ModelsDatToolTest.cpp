#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include <gtest/gtest.h>

#include "ModelParameterCsv.h"
#include "core/design/NumberText.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempFolder.h"

namespace veltrano {
namespace {

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::filesystem::path kData = VELTRANO_TEST_DATA_DIR;

std::string validCsv() {
    std::string text = "index,value,comment\r\n";
    for (int i = 0; i < kModelParameterCount; ++i)
        text += std::to_string(i) + ", " + formatNumber("%.6f", i * 0.5) + ",x\r\n";
    return text;
}

TEST(ModelParameterCsv, ReadsEveryIndexOnce) {
    const ModelParameterCsv csv = readModelParameterCsv(validCsv() + "\n");
    ASSERT_EQ(csv.error, "");
    EXPECT_EQ(csv.parameters[0], 0);
    EXPECT_EQ(csv.parameters[161], 80.5);
}

TEST(ModelParameterCsv, RefusesWhatDoesNotGiveEachIndexExactlyOnce) {
    struct Case {
        std::string from, to, error;
    };
    const Case cases[] = {
        {"7, 3.500000", "7, 1e-3", ""},
        {"7, 3.500000", "7, 3;5", "line 9: the value of index 7 is not a number"},
        {"7, 3.500000", "7, abc", "line 9: the value of index 7 is not a number"},
        {"7, 3.500000", "seven, 3.5", "line 9: the index is not a whole number"},
        {"7, 3.500000", "162, 3.5", "line 9: index 162 is outside 0 to 161"},
        {"7, 3.500000", "6, 3.5", "line 9: index 6 was already given on line 8"},
        {"7, 3.500000,x\r\n", "", "no value for index 7"},
        {"7, 3.500000,x", "7 3.5", "line 9: expected index,value"},
    };
    for (const Case& c : cases) {
        std::string text = validCsv();
        text.replace(text.find(c.from), c.from.size(), c.to);
        EXPECT_EQ(readModelParameterCsv(text).error, c.error) << c.to;
    }
}

// Runs the tool; returns its exit status.
int runTool(const std::string& csv, const std::filesystem::path& output) {
#if defined(_WIN32)
    const char* quiet = " 2>NUL";
#else
    const char* quiet = " 2>/dev/null";
#endif
    return testing::runCommand(std::string("\"") + MAKE_MODELS_DAT + "\" \"" + csv + "\" \"" +
                               output.string() + "\"" + quiet);
}

// A fresh folder for each test: the same tests run at once in several processes.
class ToolRun : public ::testing::Test {
protected:
    testing::TempFolder folder{"veltrano-tool-"};
    const std::filesystem::path& dir = folder.path();
};

TEST_F(ToolRun, TheCommittedFixtureIsWhatTheToolMakesFromItsCsv) {
    const auto output = dir / "models.dat";
    ASSERT_EQ(runTool((kData / "fixture-model-parameters.csv").string(), output), 0);
    const std::string made = readAll(output);
    EXPECT_EQ(made.size(), 2592u);
    EXPECT_EQ(made, readAll(kData / "fixture-models.dat"));
}

TEST_F(ToolRun, RefusesAnIncompleteCsvWithStatusOne) {
    const auto csv = dir / "incomplete.csv";
    const auto output = dir / "models.dat";
    std::ofstream(csv) << "index,value\n0,1\n1,2\n";
    EXPECT_EQ(runTool(csv.string(), output), 1);
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace veltrano
