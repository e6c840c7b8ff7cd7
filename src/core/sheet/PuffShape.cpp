#include "core/sheet/PuffShape.h"

#include <algorithm>
#include <cmath>

#include "core/design/ByteStream.h"
#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"

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

// The next line from `position` as a text-mode read with a 250-byte buffer delivers it: at most 249
// characters, ending after its line break (CR LF counts as one break); a longer line comes in several
// pieces. Returns false at the end of the text.
bool nextPiece(std::string_view text, std::size_t& position, std::string& piece) {
    piece.clear();
    while (piece.size() < kPieceLength && position < text.size()) {
        const char c = text[position++];
        if (c == '\r' && position < text.size() && text[position] == '\n') continue;
        piece.push_back(c);
        if (c == '\n') break;
    }
    if (piece.empty()) return false;
    // The line is text: it ends at a zero byte.
    if (const auto zero = piece.find('\0'); zero != std::string::npos) piece.resize(zero);
    return true;
}

}  // namespace

int parsePuffShape(std::string_view text, PuffShape& shape) {
    PuffShape read;
    std::size_t position = 0;
    std::string piece;
    while (read.count < kShapeSlots && nextPiece(text, position, piece)) {
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

int readPuffShapeFile(const std::string& path, PuffShape& shape) {
    const FileContent content = readFileContent(path, kPuffShapeFileCap);
    switch (content.status) {
        case FileContent::Status::NotOpened:
            return kPuffShapeFileUnreadable;
        case FileContent::Status::TooLarge:
            return kPuffShapeTooFewPoints;
        case FileContent::Status::Read:
            break;
    }
    return parsePuffShape(
        std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()), shape);
}

int loadPuffShapeFile(const std::string& path, PuffShape& shape, ErrorReporter& reporter) {
    const int error = readPuffShapeFile(path, shape);
    if (error != 0) ReportError(reporter, error);
    return error;
}

void storePuffShape(const PuffShape& shape, DesignValues& design) {
    design.alt_profile = shape.values;
    design.alt_profpnts = shape.count;
}

PuffShape puffShapeOf(const DesignValues& design) {
    PuffShape shape;
    shape.values = design.alt_profile;
    shape.count = design.profilePointCount();
    return shape;
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
