#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/design/NumberText.h"
#include "core/model/Characteristics.h"
#include "core/sheet/PaperPageRules.h"

namespace veltrano {
namespace {

using Texts = std::vector<std::string>;

TEST(PaperPage, LoadShowsKnownValuesAndBandsOfBandedPaper) {
    DesignValues d;
    d.cp_lip = 1;
    d.cp_bandwidth = 5;
    d.cp_bandspace = 20.5;
    d.cp_bandperm = 12.34;
    d.cp_banddiff = 0.1234;
    PaperPageState page;
    PaperPageRules::loadPage(page, d);
    EXPECT_EQ(page.texts,
              (Texts{"30.00", "30.00", "1.00", "50", "1.00", "1.540", "5.00", "20.50", "12.3", "0.123"}));
    EXPECT_TRUE(page.lowIgnitionPropensity);
    EXPECT_EQ(page.boxes, 0xF80u);

    d.cp_lip = 0;
    d.known &= ~(known::bit(KnownBit::PaperComposition) | known::bit(KnownBit::PaperPermeability));
    PaperPageRules::loadPage(page, d);
    EXPECT_EQ(page.texts, (Texts{"", "", "1.00", "", "1.00", "1.540", "", "", "", ""}));
    EXPECT_FALSE(page.lowIgnitionPropensity);
    EXPECT_EQ(PaperPageRules::updateEnabling(page).field, (std::vector<bool>{0, 0, 1, 0, 1, 1, 0, 0, 0, 0}));

    // A paper of no mass shows no filler share rather than a non-number.
    DesignValues empty;
    empty.cp_fiber = empty.cp_filler = 0;
    PaperPageRules::loadPage(page, empty);
    EXPECT_EQ(page.texts[kBasisWeight], "0.00");
    EXPECT_EQ(page.texts[kFillerContent], "0.00");
}

TEST(PaperPage, BasisWeightAndFillerContentSplitIntoFibreAndFiller) {
    PaperPageState page;
    page.texts = {"30", "30", "1.5", "60", "0.9", "1.2", "", "", "", ""};
    page.boxes = 0xF80;
    DesignValues d;
    PaperPageRules::storePage(page, d);
    EXPECT_EQ(d.cp_filler, 9);
    EXPECT_EQ(d.cp_fiber, 21);
    EXPECT_EQ(d.cp_citrate, 1.5);
    EXPECT_EQ(d.cp_perm, 60);
    EXPECT_EQ(d.cp_lip, 0);

    PaperPageState again;
    PaperPageRules::loadPage(again, d);
    EXPECT_EQ(again.texts[kBasisWeight], "30.00");
    EXPECT_EQ(again.texts[kFillerContent], "30.00");

    // Unchecked basis weight: both parts store 0 and their rules are skipped.
    page.texts[kBasisWeight] = page.texts[kFillerContent] = "";
    testing::setBox(page, KnownBit::PaperComposition, false);
    PaperPageRules::storePage(page, d);
    EXPECT_EQ(d.cp_fiber, 0);
    EXPECT_EQ(d.cp_filler, 0);
    EXPECT_FALSE(d.isKnown(KnownBit::PaperComposition));
    EXPECT_EQ(testing::errorsOf(PaperPageRules::validatePage, d), std::vector<int>{});
}

TEST(PaperPage, ValidationRulesInOrder) {
    // The paper as the page stores it from a basis weight and filler content.
    auto paper = [](const char* basisWeight, const char* filler) {
        return [=](DesignValues& d) {
            PaperPageState page;
            PaperPageRules::loadPage(page, d);
            page.texts[kBasisWeight] = basisWeight;
            page.texts[kFillerContent] = filler;
            PaperPageRules::storePage(page, d);
        };
    };
    auto banded = [](DesignValues& d) {
        d.cp_lip = 1;
        d.cp_bandwidth = 0.9;
        d.cp_bandspace = 99.5;
        d.cp_bandperm = -1;
        d.cp_banddiff = 3.6;
    };
    const testing::RuleCase cases[] = {
        {"default design", [](DesignValues&) {}, {}},
        {"filler 5 %", paper("30", "5"), {}},
        {"filler 4.9 %", paper("30", "4.9"), {17}},
        {"filler 35 %", paper("30", "35"), {}},
        {"filler 35.1 %", paper("30", "35.1"), {17}},
        {"basis weight", paper("45.01", "20"), {16}},
        {"not a number", paper("abc", "20"), {16}},
        {"every single value",
         [](DesignValues& d) {
             d.cp_perm = 221;
             d.cp_exponent = 0.2;
             d.cp_citrate = 2.1;
             d.cp_diff = -0.1;
         },
         {12, 13, 14, 15}},
        {"unknown values unchecked",
         [](DesignValues& d) {
             d.known &= ~0xF80u;
             d.cp_perm = 221;
             d.cp_exponent = 0.2;
             d.cp_citrate = 2.1;
             d.cp_diff = -0.1;
             d.cp_fiber = 0;
         },
         {}},
        {"bands", banded, {78, 79, 80, 81}},
        {"bands of plain paper",
         [&](DesignValues& d) {
             banded(d);
             d.cp_lip = 0;
         },
         {}},
    };
    testing::expectRuleCases(PaperPageRules::validatePage, cases);
}

TEST(PaperPage, BandTextsAreStoredAlsoForPlainPaper) {
    PaperPageState page;
    page.texts = {"30", "30", "1", "50", "1", "1.54", "3", "12", "80", "0.5"};
    page.lowIgnitionPropensity = false;
    DesignValues d;
    PaperPageRules::storePage(page, d);
    EXPECT_EQ(d.cp_bandwidth, 3);
    EXPECT_EQ(d.cp_bandspace, 12);
    EXPECT_EQ(d.cp_bandperm, 80);
    EXPECT_EQ(d.cp_banddiff, 0.5);
}

TEST(PaperPage, HelpButtons) {
    const ModelParameters mp = testing::diffusionParameters();
    PaperPageState page;
    page.texts = Texts(kPaperFieldCount);
    PaperPageRules::exponentHelp(page);
    EXPECT_EQ(page.texts[kPaperExponent], "1.0");

    const struct {
        const char *permeability, *diffusion;
    } cases[] = {{"100", "0.500"}, {"220", "0.742"}, {"0", "0.000"}, {"250", "1.000"}, {"-1", "1.000"}};
    for (const auto& c : cases) {
        page.texts[kAirPermeability] = c.permeability;
        PaperPageRules::diffusionHelp(page, mp);
        EXPECT_EQ(page.texts[kDiffusionCapacity], c.diffusion) << c.permeability;
    }
}

}  // namespace
}  // namespace veltrano
