#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include <gtest/gtest.h>

#include "core/design/ModelParameters.h"
#include "tests/support/TempFolder.h"

namespace veltrano {
namespace {

ModelParameters sampleParameters() {
    ModelParameters p;
    for (int i = 0; i < kModelParameterCount; ++i)
        p.mp[static_cast<std::size_t>(i)] = (i - 80) * 0.1234567 + 1e-9 * i;
    p.mp[7] = -0.0;
    p.mp[100] = 1e300;
    return p;
}

class ModelFile : public ::testing::Test {
protected:
    testing::TempFolder folder{"veltrano-models-"};
    std::filesystem::path path = folder.path() / "models.dat";
    void write(const std::vector<std::uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

TEST_F(ModelFile, EncodeThenLoadGivesTheValuesExactly) {
    const ModelParameters p = sampleParameters();
    auto bytes = encodeModelParameters(p);
    ASSERT_EQ(bytes.size(), 2592u);
    write(bytes);
    ModelParameters q;
    EXPECT_EQ(loadModelParameters(path.string(), q), kModelParametersOk);
    EXPECT_EQ(std::memcmp(q.mp.data(), p.mp.data(), sizeof p.mp), 0);
}

TEST_F(ModelFile, OddBitsCarryNothing) {
    const ModelParameters p = sampleParameters();
    auto bytes = encodeModelParameters(p);
    for (std::size_t i = 0; i < bytes.size(); i += 2) bytes[i] |= 0xAA, bytes[i + 1] |= 0xAA;
    ModelParameters q;
    EXPECT_EQ(decodeModelParameters(bytes, q), kModelParametersOk);
    EXPECT_EQ(std::memcmp(q.mp.data(), p.mp.data(), sizeof p.mp), 0);

    const std::uint8_t allSet[16] = {0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA,
                                     0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    ModelParameters r;
    EXPECT_EQ(decodeModelParameters(allSet, r), kModelParametersWrongSize);
    std::uint64_t raw;
    std::memcpy(&raw, &r.mp[0], 8);
    EXPECT_EQ(raw, 0xFFu);  // word 0xFFFF gives byte 0xFF, words 0xAAAA give 0x00
}

TEST_F(ModelFile, SizesAndStatus) {
    const auto full = encodeModelParameters(sampleParameters());
    const struct {
        std::size_t size;
        int status;
    } cases[] = {{2592, 0}, {2600, 0}, {2591, 2}, {2608, 2}, {0, 2}, {17, 2}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes(c.size, 0);
        std::copy_n(full.begin(), std::min(c.size, full.size()), bytes.begin());
        write(bytes);
        ModelParameters q;
        EXPECT_EQ(loadModelParameters(path.string(), q), c.status) << c.size;
    }
    ModelParameters q;
    EXPECT_EQ(loadModelParameters((path.string() + ".missing"), q), kModelParametersUnreadable);
    EXPECT_EQ(loadModelParameters(std::filesystem::temp_directory_path().string(), q),
              kModelParametersUnreadable);
}

TEST_F(ModelFile, ShortFileFillsOnlyTheGroupsItHolds) {
    auto bytes = encodeModelParameters(sampleParameters());
    bytes.resize(16 * 3 + 5);
    ModelParameters q;
    q.mp[3] = 42;
    EXPECT_EQ(decodeModelParameters(bytes, q), kModelParametersWrongSize);
    EXPECT_EQ(q.mp[2], sampleParameters().mp[2]);
    EXPECT_EQ(q.mp[3], 42);
}

// A file of all 0xFF bytes decodes to 162 NaNs: the program still starts, but says so once.
TEST_F(ModelFile, NonFiniteCoefficientsAreCountedInTheWarning) {
    write(std::vector<std::uint8_t>(2592, 0xFF));
    ModelParameters broken;
    ASSERT_EQ(loadModelParameters(path.string(), broken), kModelParametersOk);
    EXPECT_EQ(nonFiniteParametersWarning(broken, "models.dat"),
              "162 of the 162 coefficients in the model parameter file \"models.dat\" are not finite "
              "numbers; results computed with them will not be numbers either.");

    ModelParameters one = sampleParameters();
    one.mp[161] = -std::numeric_limits<double>::infinity();
    const auto warning = nonFiniteParametersWarning(one, "/data/models.dat");
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->substr(0, 86),
              "1 of the 162 coefficients in the model parameter file \"/data/models.dat\" is not finite");

    EXPECT_FALSE(nonFiniteParametersWarning(sampleParameters(), "models.dat"));  // 1e300 is finite
}

}  // namespace
}  // namespace veltrano
