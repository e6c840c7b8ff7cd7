#include "SyntheticDesign.h"
#include "ViewTestSupport.h"
#include "render/views/RecordListing.h"
#include "render/views/Views.h"

namespace veltrano {
namespace {

// The line that starts with `label`.
std::string lineOf(const std::vector<std::string>& lines, const std::string& label) {
    for (const auto& line : lines)
        if (line.rfind(label, 0) == 0) return line;
    return "(missing " + label + ")";
}

TEST(RecordListing, DefaultDesignLines) {
    CigaretteDesign d;
    d.tp_perfotrack = 2.0;
    const auto lines = recordListingLines(d);
    ASSERT_EQ(lines.size(), 75u);
    EXPECT_EQ(lines[0], "QMX");
    EXPECT_EQ(lines[1], "Version        4.10");
    EXPECT_EQ(lines[2], "known          87FFFFFF");
    EXPECT_EQ(lineOf(lines, "tp_perfotype"), "tp_perfotype   1");
    EXPECT_EQ(lineOf(lines, "tp_perfotrack"), "tp_perfotrack  2");
    EXPECT_EQ(lineOf(lines, "tp_k"), "tp_k           0.0000000e+00");
    EXPECT_EQ(lineOf(lines, "pw_perm"), "pw_perm         2400.00");
    EXPECT_EQ(lineOf(lines, "cp_diff"), "cp_diff        1.5400");
    EXPECT_EQ(lineOf(lines, "iso_puff"), "iso_puff         8.0000");
    EXPECT_EQ(lineOf(lines, "alt_profpnts"), "alt_profpnts   400");
    EXPECT_EQ(lineOf(lines, "puff_number"), "puff_number    0");
    EXPECT_EQ(lines[66], "puff_size      ");  // y 792: the label alone without puffs
    EXPECT_EQ(lines[74], "puff_co        ");
}

TEST(RecordListing, PuffLinesJoinValuesAndStopAtTheBuffer) {
    CigaretteDesign d;
    test::fillPuffs(d, 3);
    d.puff_pos = {0.0, 7.5, 15.0};
    d.puff_nico = {0.081, 0.09, 0.1};
    const auto lines = recordListingLines(d);
    EXPECT_EQ(lineOf(lines, "puff_pos"), "puff_pos       0.0/7.5/15.0");
    EXPECT_EQ(lineOf(lines, "puff_size"), "puff_size      10/10/6");
    EXPECT_EQ(lineOf(lines, "puff_nico*10"), "puff_nico*10   0.81/0.90/1.00");

    // 100 puffs do not fit: each line stops at a whole value within 255 characters.
    CigaretteDesign many;
    test::fillPuffs(many, 100);
    many.ci_len = 1e300;  // a value too long for the line is left off
    for (const auto& line : recordListingLines(many)) {
        EXPECT_LE(line.size(), kListingLineLimit) << line;
        if (line.rfind("puff_pos", 0) == 0) {
            EXPECT_GT(line.size(), 240u);
            EXPECT_EQ(line.back(), '/');
        }
    }
    EXPECT_EQ(lineOf(recordListingLines(many), "ci_len"), "ci_len         ");
}

TEST(RecordListing, DrawnInAColumnTwelvePixelsALine) {
    const CigaretteDesign d;
    const auto texts =
        test::recordTexts([&](QPainter& p) { drawRecordListing(p, test::viewResources(), d, 600); });
    ASSERT_EQ(texts->texts().size(), 75u);
    EXPECT_EQ(texts->texts()[0].text, "QMX");
    EXPECT_EQ(texts->texts()[0].left, 600);
    EXPECT_EQ(texts->texts()[0].top, 0);
    EXPECT_EQ(texts->texts()[2].top, 24);
    EXPECT_EQ(texts->texts()[74].top, 888);
    const QImage image =
        test::renderClient([&](QPainter& p) { drawRecordListing(p, test::viewResources(), d, 0); });
    bool olive = false;
    for (int x = 0; x < 30 && !olive; ++x)
        for (int y = 0; y < 12 && !olive; ++y) olive = image.pixelColor(x, y) == QColor(128, 128, 0);
    EXPECT_TRUE(olive);
}

}  // namespace
}  // namespace veltrano
