#include "editor/PuffShape.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include "design/NumberText.h"
#include "model/Characteristics.h"

namespace veltrano {

PuffShape builtInShape(BuiltInShape which) {
    PuffShape shape;
    auto take = [&shape](std::initializer_list<double> values) {
        std::copy(values.begin(), values.end(), shape.values.begin());
        shape.count = static_cast<int>(values.size());
    };
    switch (which) {
        case BuiltInShape::Sine:
            for (int i = 0; i < kShapeSlots; ++i)
                shape.values[static_cast<std::size_t>(i)] = std::sin(kPi * i / 400);
            shape.count = kShapeSlots;
            break;
        case BuiltInShape::Rectangle:
            take({1, 1});
            break;
        case BuiltInShape::Triangle:
            take({0, 1, 0});
            break;
        case BuiltInShape::Ramp:
            take({0, 1});
            break;
    }
    return shape;
}

namespace {

constexpr std::size_t kPieceLength = 249;

// The next line as a text-mode read with a 250-byte buffer delivers it: at most 249 characters, ending
// after its line break (CR LF counts as one break); a longer line comes in several pieces. Returns
// false at the end of the input.
bool nextPiece(std::streambuf& in, std::string& piece) {
    using Traits = std::char_traits<char>;
    piece.clear();
    while (piece.size() < kPieceLength) {
        const int c = in.sbumpc();
        if (c == Traits::eof()) break;
        if (c == '\r' && in.sgetc() == '\n') continue;
        piece.push_back(Traits::to_char_type(c));
        if (c == '\n') break;
    }
    if (piece.empty()) return false;
    // The line is text: it ends at a zero byte.
    if (const auto zero = piece.find('\0'); zero != std::string::npos) piece.resize(zero);
    return true;
}

}  // namespace

int readPuffShape(std::istream& in, PuffShape& shape) {
    PuffShape read;
    std::streambuf* buffer = in.rdbuf();
    std::string piece;
    while (buffer && read.count < kShapeSlots && nextPiece(*buffer, piece)) {
        std::replace(piece.begin(), piece.end(), ',', '.');
        if (std::none_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        const double value = readNumber(piece);
        if (value < 0) continue;
        read.values[static_cast<std::size_t>(read.count++)] = value;
    }
    if (read.count < 2) return kPuffShapeTooFewPoints;
    const double peak = *std::max_element(read.values.begin(), read.values.begin() + read.count);
    // Without a positive, finite peak there is no shape to scale: as unusable as a single point.
    if (!(peak > 0) || !std::isfinite(peak)) return kPuffShapeTooFewPoints;
    for (int i = 0; i < read.count; ++i) read.values[static_cast<std::size_t>(i)] /= peak;
    shape = read;
    return 0;
}

int parsePuffShape(std::string_view bytes, PuffShape& shape) {
    std::istringstream in{std::string(bytes)};
    return readPuffShape(in, shape);
}

int readPuffShapeFile(const std::string& path, PuffShape& shape) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return kPuffShapeFileUnreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return kPuffShapeFileUnreadable;
    return readPuffShape(in, shape);
}

PreviewSamples previewSamples(const PuffShape& shape) {
    const int n = std::clamp(shape.count, 1, kShapeSlots);
    const auto& p = shape.values;
    std::array<long long, kPreviewSampleCount> raw{};
    for (int i = 0; i < kPreviewSampleCount; ++i) {
        const double x = static_cast<double>(n - 1) * i / 119;
        const int k = checkedToInt(x);
        const double f = x - k;
        const auto at = static_cast<std::size_t>(k);
        const double value = k + 1 < n ? (1 - f) * p[at] + f * p[at + 1] : p[at];
        raw[static_cast<std::size_t>(i)] = checkedToInt(std::fabs(value) * 1000);
    }
    const long long peak = *std::max_element(raw.begin(), raw.end());
    PreviewSamples samples{};
    // A shape without a peak previews as a flat line on the axis.
    if (peak > 0)
        for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int>(raw[i] * 120 / peak);
    return samples;
}

std::vector<PreviewPoint> previewCurve(const PreviewSamples& samples) {
    std::vector<PreviewPoint> points;
    points.reserve(samples.size() + 1);
    for (std::size_t i = 0; i < samples.size(); ++i)
        points.push_back({6 + static_cast<int>(i), 132 - samples[i]});
    points.push_back({125, 132});
    return points;
}

}  // namespace veltrano
