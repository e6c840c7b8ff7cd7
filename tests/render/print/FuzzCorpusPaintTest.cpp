// Every design the model's fuzz corpus holds, however hostile, recalculated and analysed, then drawn in
// every view and on the printed page: no crash, no hang (the sanitizer build runs this too).
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "core/design/DesignFields.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"
#include "render/print/PrintedPage.h"
#include "render/views/ViewResources.h"
#include "render/views/Views.h"

namespace veltrano {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    for (const char* folder : {"/fuzz/corpus/model", "/fuzz/regressions/model"}) {
        const fs::path dir = fs::path(VELTRANO_SOURCE_DIR) / (folder + 1);
        if (!fs::exists(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void decodePadded(const std::string& bytes, std::size_t offset, CigaretteDesign& design) {
    DesignImage image = encodeDesignImage(CigaretteDesign(ArrayMode::NoArrays));
    if (bytes.size() > offset)
        std::copy_n(bytes.begin() + offset, std::min(bytes.size() - offset, image.size()), image.begin());
    decodeDesignImage(image, design);
}

class FuzzCorpus : public ::testing::TestWithParam<fs::path> {};

TEST_P(FuzzCorpus, DrawsInEveryViewAndOnPaper) {
    ModelParameters mp;
    ASSERT_EQ(loadModelParameters(std::string(VELTRANO_TEST_DATA_DIR) + "/fixture-models.dat", mp), 0);
    const ViewResources resources = makeViewResources();
    {
        const fs::path& file = GetParam();
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        DesignSet designs;
        decodePadded(bytes, 0, designs.currentDesign);
        decodePadded(bytes, kImageSize, designs.referenceDesign);
        RecordingErrorReporter errors;
        recalculate(designs, mp, errors);
        NullProgressSink progress;
        runPuffByPuff(designs.currentDesign, mp, progress);

        QImage screen(1024, 800, QImage::Format_RGB32);
        for (int view = 0; view < 5; ++view) {
            screen.fill(Qt::white);
            QPainter p(&screen);
            drawLogo(p, resources);
            switch (view) {
                case 0:
                    drawStationaryFlowView(p, resources, designs.currentDesign);
                    break;
                case 1:
                    drawYieldsView(p, resources, designs.currentDesign);
                    break;
                case 2:
                    drawPuffView(p, resources, designs.currentDesign, 0);
                    break;
                case 3:
                    drawSummaryView(p, resources, designs, true);
                    break;
                default:
                    drawRecordListing(p, resources, designs.currentDesign, 600);
                    break;
            }
        }
        QImage page(700, 1000, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter p(&page);
        renderReport(p, page.size(), designs, true);
    }
}

INSTANTIATE_TEST_SUITE_P(Model, FuzzCorpus, ::testing::ValuesIn(corpusFiles()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                             std::string name = info.param.parent_path().filename().string() + "_" +
                                                info.param.filename().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace veltrano
