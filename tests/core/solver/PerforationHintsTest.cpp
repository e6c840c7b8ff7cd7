#include <string>

#include <gtest/gtest.h>

#include "core/design/CigaretteDesign.h"
#include "core/solver/PerforationHints.h"

namespace veltrano {
namespace {

struct HintCase {
    std::int32_t type;
    double width;
    double tracks;
    double x;
    std::string expected;
};

// Every boundary of the decision list, with the advice's full text.
const HintCase kCases[] = {
    {kMacroLaser, 3, 2, 59,
     "A tipping paper permeability of 59 CU is very low. There may be difficulties with the production of "
     "such "
     "a paper. Probably, adjusting the cigarette paper permeability instead of perforating the tipping may "
     "achieve the desired effect."},
    {kNoPerforation, 3, 0, 59,
     "A tipping paper permeability of 59 CU is very low. There may be difficulties with the production of "
     "such "
     "a paper. Probably, adjusting the cigarette paper permeability instead of perforating the tipping may "
     "achieve the desired effect."},
    {kElectrostatic, 4, 0, 60, ""},
    {kElectrostatic, 4, 0, 1500, ""},
    {kElectrostatic, 4, 0, 1501,
     "For an electro perforation 1501 CU is a rather high permeability. It might be useful to switch to "
     "micro-laser perforation with at least 4 tracks instead."},
    {kElectrostatic, 4, 0, 3000,
     "For an electro perforation 3000 CU is an extremely high permeability. It might be useful to switch to "
     "macro-laser perforation with at least 2 tracks instead."},
    {kElectrostatic, 2.5, 0, 800,
     "An electro perforation with a width of 2.5 mm may cause production problems. It is recommended to use "
     "at "
     "least 3 mm but more preferably 4 mm for the perforation width."},
    {kElectrostatic, 8, 0, 2000,
     "A tipping paper can be electro-perforated to a width of 8.0 mm, but due to the wide glue-free zone "
     "required on the filter you may encounter problems during cigarette production. Probably, a lower "
     "perforation width might be useful."},
    {kMicroLaser, 3, 3, 99,
     "For a micro-laser perforation a permeability of 99 CU is rather low. You might consider using an "
     "electro-perforation instead."},
    {kMicroLaser, 3, 3, 240,
     "With a 240 CU micro-laser perforation with 3 tracks, the permeability per track is only 80 CU, which "
     "is "
     "rather low. It might be useful to use a single track instead."},
    {kMicroLaser, 3, 4, 300,
     "With a 300 CU micro-laser perforation with 4 tracks, the permeability per track is only 75 CU, which "
     "is "
     "rather low. It might be useful to use 2 tracks instead."},
    {kMicroLaser, 3, 3, 450, ""},
    {kMicroLaser, 3, 1, 1000,
     "For a single track micro-laser perforation 1000 CU is a high permeability. Consider using more tracks, "
     "e.g. 5, or switching to a macro-laser perforation."},
    {kMicroLaser, 3, 2, 1000,
     "With a 1000 CU micro-laser perforation with 2 tracks, the permeability per track is 500 CU, which is "
     "rather high. Consider using more tracks, e.g. 5, or switching to a macro-laser perforation."},
    {kMicroLaser, 3, 8, 3200, ""},
    {kMicroLaser, 3, 8, 3201,
     "For a micro-laser perforation a permeability of 3201 CU is rather high. Probably, a macro-laser "
     "perforation with at least 2 tracks might be useful."},
    {kMacroLaser, 3, 2, 399,
     "For a macro-laser perforation a permeability of 399 CU is rather low. You might consider using "
     "micro-laser or electro-perforation instead."},
    {kMacroLaser, 3, 2, 600,
     "With a 600 CU macro-laser perforation with 2 tracks, the permeability per track is only 300 CU, which "
     "is "
     "rather low. It might be useful to use 3 tracks instead."},
    {kMacroLaser, 3, 3, 500, ""},  // low per track, but the suggested 3 tracks are what it has
    {kMacroLaser, 3, 1, 5000,
     "For a single track macro-laser perforation 5000 CU is a high permeability. Consider using more tracks, "
     "e.g. 4."},
    {kMacroLaser, 3, 2, 6000,
     "With a 6000 CU macro-laser perforation with 2 tracks, the permeability per track is 3000 CU, which is "
     "rather high. Consider using more tracks, e.g. 4."},
    {kMacroLaser, 3, 4, 8000, ""},  // four tracks already: nothing more to advise
    {kMacroLaser, 3, 4, 8001,
     "Even for macro-laser perforation a permeability of 8001 CU is rather high. You might consider "
     "searching "
     "for additional means to reduce the smoke yields, e.g. filtration."},
    {kOnlineLaser, 3, 1, 5000, ""},
};

TEST(PerforationHints, EachBoundaryOfTheDecisionListGivesItsAdvice) {
    for (const HintCase& c : kCases) {
        DesignValues d;
        d.tp_perfotype = c.type;
        d.tp_perfowidth = c.width;
        d.tp_perfotrack = c.tracks;
        SCOPED_TRACE("type " + std::to_string(c.type) + ", " + std::to_string(c.tracks) + " tracks, x " +
                     std::to_string(c.x));
        EXPECT_EQ(perforationHints(c.x, d), c.expected);
    }
}

}  // namespace
}  // namespace veltrano
