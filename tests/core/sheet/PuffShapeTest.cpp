#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/sheet/PuffShape.h"
#include "tests/support/SpecialFiles.h"

namespace veltrano {
namespace {

std::vector<double> pointsOf(const PuffShape& shape) {
    return {shape.values.begin(), shape.values.begin() + shape.count};
}

std::string numbers(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += std::to_string(i) + "\n";
    return text;
}

TEST(PuffShapeFile, Examples) {
    const std::string longLine = "7" + std::string(248, 'x') + "3\n";  // 250 characters: two pieces
    const struct {
        const char* what;
        std::string text;
        std::vector<double> points;
    } cases[] = {
        {"heading and decimal commas", "Puff shape\n0,0\n0,5\n1,0\n0,5\n", {0, 0.5, 1, 0.5}},
        {"heading with a digit", "Shape 2\n0,5\n1\n", {0, 0.5, 1}},
        {"divided by the largest", "2\n4\n8\n", {0.25, 0.5, 1}},
        {"leading number only, blanks and text skipped", "  2 9 9\n\n\t\nabc\n4abc\n", {0.5, 1}},
        {"negative values skipped", "-1\n2\n-0.5\n4\n", {0.5, 1}},
        {"CR LF line breaks", "1\r\n2\r\n", {0.5, 1}},
        {"no line break at the end", "1\n2", {0.5, 1}},
        {"long line in pieces", longLine, {1, 3.0 / 7}},
        {"249 characters and a break", std::string(248, ' ') + "5\n" + "10\n", {0.5, 1}},
        {"text ends at a zero byte", std::string("x\0 9\n4\n2\n", 9), {1, 0.5}},
        {"overflow is capped", "1e999\n1\n", {1, 1 / std::numeric_limits<double>::max()}},
    };
    for (const auto& c : cases) {
        PuffShape shape;
        ASSERT_EQ(parsePuffShape(c.text, shape), 0) << c.what;
        EXPECT_EQ(pointsOf(shape), c.points) << c.what;
        for (double v : shape.values) EXPECT_TRUE(std::isfinite(v)) << c.what;
    }
}

TEST(PuffShapeFile, KeepsTheFirst400Points) {
    PuffShape shape;
    ASSERT_EQ(parsePuffShape(numbers(500), shape), 0);
    EXPECT_EQ(shape.count, 400);
    EXPECT_EQ(shape.values[399], 1.0);  // 400 is the largest of the points read
    EXPECT_EQ(shape.values[0], 1.0 / 400);
}

TEST(PuffShapeFile, UnusableFilesLeaveTheShape) {
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"one number", "5\n"},          {"empty", ""},
        {"text only", "Puff\nshape\n"}, {"all zero", "0\n0,0\n0\n"},
        {"negative only", "-1\n-2\n"},
    };
    for (const auto& c : cases) {
        PuffShape shape = builtInShape(BuiltInShape::Triangle);
        EXPECT_EQ(parsePuffShape(c.text, shape), kPuffShapeTooFewPoints) << c.what;
        EXPECT_EQ(pointsOf(shape), (std::vector<double>{0, 1, 0})) << c.what;
    }
    PuffShape shape;
    EXPECT_EQ(readPuffShapeFile("/nonexistent/shape.txt", shape), kPuffShapeFileUnreadable);
    EXPECT_EQ(readPuffShapeFile(".", shape), kPuffShapeFileUnreadable);
}

// "Load from file" once froze the window on /dev/zero and blocked in open on a pipe. Only regular files
// are read, and at most 1 MiB of them: everything else is refused at once and reported.
TEST(PuffShapeFile, WhatIsNoShapeFileIsRefusedAtOnce) {
    const std::string folder = ::testing::TempDir() + "puff_shape_refusals";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string huge = folder + "/huge.txt";
    std::ofstream(huge) << "1\n2\n";
    std::filesystem::resize_file(huge, kPuffShapeFileCap + 1);  // two points, then zero bytes

    struct Case {
        std::string path;
        int error;
    };
    const testing::SpecialFiles special(folder);
    std::vector<Case> cases{{folder, kPuffShapeFileUnreadable}, {huge, kPuffShapeTooFewPoints}};
    for (const std::string& path : special.paths()) cases.push_back({path, kPuffShapeFileUnreadable});
    for (const auto& c : cases) {
        PuffShape shape = builtInShape(BuiltInShape::Ramp);
        RecordingErrorReporter errors;
        EXPECT_EQ(loadPuffShapeFile(c.path, shape, errors), c.error) << c.path;
        EXPECT_EQ(errors.numbers, std::vector<int>{c.error}) << c.path;
        EXPECT_EQ(pointsOf(shape), (std::vector<double>{0, 1})) << c.path;
    }
    std::filesystem::resize_file(huge, kPuffShapeFileCap);
    PuffShape shape;
    EXPECT_EQ(readPuffShapeFile(huge, shape), 0) << "a file of exactly 1 MiB is read";
    std::filesystem::remove_all(folder);
}

TEST(PuffShapeFile, ReadsFromAPath) {
    const std::string path = ::testing::TempDir() + "puff_shape_test.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "Relative flow\r\n1,5\r\n3\r\n";
    }
    PuffShape shape;
    ASSERT_EQ(readPuffShapeFile(path, shape), 0);
    EXPECT_EQ(pointsOf(shape), (std::vector<double>{0.5, 1}));
}

TEST(PuffShape, BuiltInShapes) {
    const PuffShape sine = builtInShape(BuiltInShape::Sine);
    EXPECT_EQ(sine.count, 400);
    EXPECT_EQ(sine.values[0], 0.0);
    EXPECT_EQ(sine.values[200], std::sin(3.141592654 * 200 / 400));
    EXPECT_EQ(sine.values[399], std::sin(3.141592654 * 399 / 400));
    EXPECT_EQ(pointsOf(builtInShape(BuiltInShape::Rectangle)), (std::vector<double>{1, 1}));
    EXPECT_EQ(pointsOf(builtInShape(BuiltInShape::Triangle)), (std::vector<double>{0, 1, 0}));
    const PuffShape ramp = builtInShape(BuiltInShape::Ramp);
    EXPECT_EQ(pointsOf(ramp), (std::vector<double>{0, 1}));
    for (int i = 2; i < kShapeSlots; ++i) EXPECT_EQ(ramp.values[static_cast<std::size_t>(i)], 0.0);
}

TEST(PuffShapePreview, RectangleIsFlatAt120ThenDropsToTheAxis) {
    const PreviewSamples samples = previewSamples(builtInShape(BuiltInShape::Rectangle));
    for (int s : samples) EXPECT_EQ(s, 120);
    const std::vector<PreviewPoint> curve = previewCurve(samples);
    ASSERT_EQ(curve.size(), 121u);
    EXPECT_EQ(curve.front(), (PreviewPoint{6, 12}));
    EXPECT_EQ(curve[119], (PreviewPoint{125, 12}));
    EXPECT_EQ(curve.back(), (PreviewPoint{125, 132}));
}

TEST(PuffShapePreview, SamplesInterpolateAndScale) {
    const PreviewSamples triangle = previewSamples(builtInShape(BuiltInShape::Triangle));
    EXPECT_EQ(triangle.front(), 0);
    EXPECT_EQ(triangle.back(), 0);
    // The samples nearest the tip reach 991 of 1000; they set the scale.
    EXPECT_EQ(triangle[59], 120);
    EXPECT_EQ(triangle[60], 120);
    EXPECT_EQ(triangle[30], 61);  // x = 60 / 119: 504 * 120 / 991

    // A full 400-point shape reads its last point at the last sample.
    PuffShape full = builtInShape(BuiltInShape::Sine);
    full.values[399] = 0.5;
    EXPECT_EQ(previewSamples(full).back(), 60);

    // A shape without a peak previews flat on the axis; a non-finite value does no harm.
    PuffShape flat;
    flat.count = 3;
    for (int s : previewSamples(flat)) EXPECT_EQ(s, 0);
    PuffShape broken = builtInShape(BuiltInShape::Ramp);
    broken.values[0] = std::numeric_limits<double>::quiet_NaN();
    broken.values[1] = std::numeric_limits<double>::infinity();
    for (int s : previewSamples(broken)) EXPECT_TRUE(s >= 0 && s <= 120);
}

}  // namespace
}  // namespace veltrano
