#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace veltrano {

// Bits of the `known` word, named after the value each marks: a set bit means the user gave the value
// (an input) or measured it (a result of the reference). A clear input bit makes the model use its
// default. `None` stands in tables for a field without a bit.
enum class KnownBit : std::int8_t {
    None = -1,
    TippingLength = 0,        // tp_width
    PerforationWidth = 1,     // tp_perfowidth (and, with PerforationPosition, the position)
    PerforationPosition = 2,  // tp_perfopos, used only together with PerforationWidth
    PerforationType = 3,      // tp_perfotype
    TippingExponent = 4,      // tp_exponent
    PlugWrapPermeability = 5,
    PlugWrapExponent = 6,
    PaperPermeability = 7,  // cp_perm; also makes the paper's yield factors use it
    PaperExponent = 8,
    PaperDiffusion = 9,     // cp_diff
    PaperCitrate = 10,      // cp_citrate
    PaperComposition = 11,  // cp_fiber and cp_filler (basis weight and filler content)
    Unused12 = 12,
    FilterExponent = 13,
    FilterTotalDenier = 14,  // fi_totden
    FilterFibreDenier = 15,  // fi_fibden
    RodExponent = 16,
    TobaccoMass = 17,           // ro_totmass
    OpenDrawResistance = 18,    // stat_pdo, measured
    ClosedDrawResistance = 19,  // stat_pdc, measured
    FilterVentilation = 20,     // stat_fivent, measured
    RodVentilation = 21,        // stat_rovent, measured
    StaticBurnRate = 22,        // stat_mbr, measured
    IsoPuffNumber = 23,         // iso_puff, measured; also offers the puff-by-puff analysis
    IsoNicotine = 24,
    IsoTar = 25,
    IsoCo = 26,
    AltPuffNumber = 27,
    AltNicotine = 28,
    AltTar = 29,
    AltCo = 30,
    Unused31 = 31,
};

namespace known {
inline constexpr std::uint32_t bit(KnownBit b) {
    return std::uint32_t{1} << static_cast<int>(b);
}
inline constexpr std::uint32_t kDefault = 0x87FFFFFFu;
}  // namespace known

inline constexpr int kProfileSamples = 300;  // stationary profiles along the cigarette
inline constexpr int kTableSamples = 200;    // characteristic tables over flow
inline constexpr int kCurveSamples = 400;    // puff curves over time
inline constexpr int kShapeSlots = 400;      // puff shape samples in `alt_profile`

// Perforation types of `tp_perfotype`.
enum PerforationType : std::int32_t {
    kNoPerforation = 0,
    kElectrostatic = 1,
    kMicroLaser = 2,
    kMacroLaser = 3,
    kOnlineLaser = 4,
};

// Every value of the 4168-byte record image: inputs, the known word, derived coefficients and results.
// Trivially copyable; `CigaretteDesign::assign` copies exactly this part. The owned arrays and
// `puff_number` live in CigaretteDesign.
struct DesignValues {
    std::array<char, 4> magic{'Q', 'M', 'X', '\0'};
    double version = 4.1;
    std::uint32_t known = known::kDefault;
    double ci_len = 84.0;
    double tp_width = 32.0;
    double tp_perfowidth = 3.0;
    double tp_perfoperm = 120.0;
    double tp_perfopos = 12.0;
    std::int32_t tp_perfotype = kElectrostatic;
    double tp_perfotrack = 0.0;
    double tp_exponent = 0.68;
    double tp_k = 0.0;
    double tp_n = 0.0;
    double pw_perm = 2400.0;
    double pw_exponent = 0.68;
    double cp_perm = 50.0;
    double cp_exponent = 1.0;
    double cp_diff = 1.54;
    double cp_citrate = 1.0;
    double cp_fiber = 21.0;
    double cp_filler = 9.0;
    double cp_k = 0.0;
    double cp_n = 0.0;
    double fi_pd = 70.0;
    double fi_len = 24.0;
    double fi_totpd = 420.0;
    double fi_totlen = 144.0;
    double fi_exponent = 1.0;
    double fi_diam = 7.9;
    double fi_totden = 30000.0;
    double fi_fibden = 3.0;
    double fi_k = 0.0;
    double fi_n = 0.0;
    double ro_pd = 60.0;
    double ro_exponent = 1.2;
    double ro_len = 60.0;
    double ro_totpd = 60.0;
    double ro_totlen = 60.0;
    double ro_totmass = 750.0;
    double ro_k = 0.0;
    double ro_n = 0.0;
    double coal_len = 10.0;
    double coal_k = 0.0;
    double coal_n = 0.0;
    double coal1_k = 0.0;
    double coal1_n = 0.0;
    double stat_pdo = 116.0;
    double stat_pdc = 124.0;
    double stat_fivent = 13.0;
    double stat_rovent = 10.0;
    double stat_mbr = 60.0;
    double iso_fivent = 0.0;
    double iso_rovent = 0.0;
    double iso_pdo = 0.0;
    double iso_puff = 8.0;
    double iso_nico = 0.7;
    double iso_nfdpm = 11.0;
    double iso_co = 13.0;
    double alt_fivent = 0.0;
    double alt_rovent = 0.0;
    double alt_pdo = 0.0;
    double alt_puff = 0.0;
    double alt_nico = 0.0;
    double alt_nfdpm = 0.0;
    double alt_co = 0.0;
    double alt_volume = 35.0;
    double alt_duration = 2.0;
    double alt_interval = 60.0;
    double alt_blocking = 0.0;
    std::array<double, kShapeSlots> alt_profile = filledShape();
    std::int32_t alt_profpnts = kShapeSlots;
    double tp_onlinevent = 0.0;
    std::int32_t cp_lip = 0;
    double cp_bandwidth = 0.0;
    double cp_bandspace = 0.0;
    double cp_bandperm = 0.0;
    double cp_banddiff = 0.0;

    bool isKnown(KnownBit bit) const { return (known & known::bit(bit)) != 0; }

    // The number of puff shape points in use. `alt_profpnts` keeps what a file held; every user of
    // the shape reads N through here, so a stored value outside 2..400 can never index past the shape.
    int profilePointCount() const;

private:
    static std::array<double, kShapeSlots> filledShape() {
        std::array<double, kShapeSlots> a{};
        a.fill(1.0);
        return a;
    }
};

enum class ArrayMode { WithArrays, NoArrays };

// One cigarette design: the record values plus the owned arrays (profiles, characteristic tables,
// puff curves) and the puff-by-puff data.
class CigaretteDesign : public DesignValues {
public:
    explicit CigaretteDesign(ArrayMode mode = ArrayMode::WithArrays);

    // Designs are never copied by accident: `assign` copies the values only, `clone` everything.
    CigaretteDesign(const CigaretteDesign&) = delete;
    CigaretteDesign& operator=(const CigaretteDesign&) = delete;
    CigaretteDesign(CigaretteDesign&&) = default;
    CigaretteDesign& operator=(CigaretteDesign&&) = default;

    // Takes every record value of `source`; keeps this design's own arrays and puff-by-puff data.
    void assign(const DesignValues& source) { static_cast<DesignValues&>(*this) = source; }
    CigaretteDesign clone() const;

    bool hasArrays() const { return !stat_pres_open.empty(); }
    // Releases the puff-by-puff data; `puff_number` becomes 0.
    void freePuffData();
    // Allocates zeroed puff-by-puff arrays of n entries (n > 0); `puff_number` becomes n.
    void allocatePuffData(int n);

    DesignValues& values() { return *this; }
    const DesignValues& values() const { return *this; }

    // Stationary profiles along the cigarette (300 each).
    std::vector<double> stat_pres_open, stat_pres_closed, stat_flow_open, stat_flow_closed;
    // ISO characteristic table (200 each) and puff curves (400 each).
    std::vector<double> iso_tab_flow, iso_tab_fivent, iso_tab_rovent, iso_tab_pdo, iso_tab_pvent,
        iso_tab_pfilt;
    std::vector<double> iso_prof_flow, iso_prof_fivent, iso_prof_rovent, iso_prof_pdo, iso_prof_pvent,
        iso_prof_pfilt;
    // The same for the alternative regime.
    std::vector<double> alt_tab_flow, alt_tab_fivent, alt_tab_rovent, alt_tab_pdo, alt_tab_pvent,
        alt_tab_pfilt;
    std::vector<double> alt_prof_flow, alt_prof_fivent, alt_prof_rovent, alt_prof_pdo, alt_prof_pvent,
        alt_prof_pfilt;

    // Puff-by-puff data: `puff_number` entries each, or none.
    std::int32_t puff_number = 0;
    std::vector<std::int32_t> puff_size;
    std::vector<double> puff_pos, puff_mass, puff_fivent, puff_rovent, puff_avgpd, puff_nfdpm, puff_nico,
        puff_co;
};

// The 28 owned arrays in file order, with their names and lengths.
struct OwnedArray {
    const char* name;
    std::vector<double> CigaretteDesign::*member;
    int count;
};
const std::array<OwnedArray, 28>& ownedArrays();

// The eight f64 puff-by-puff arrays in file order (`puff_size` comes before them).
struct PuffArray {
    const char* name;
    std::vector<double> CigaretteDesign::*member;
};
const std::array<PuffArray, 8>& puffArrays();

}  // namespace veltrano
