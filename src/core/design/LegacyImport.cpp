#include "core/design/LegacyImport.h"

#include <algorithm>
#include <vector>

#include "core/design/LittleEndian.h"

namespace veltrano {

namespace {

template <typename T>
T valueAt(std::span<const std::uint8_t, kLegacyRecordSize> record, std::size_t offset) {
    return loadLittleEndian<T>(record, offset);
}

// The legacy units: metres, kilograms, Pascal and CU scaled by 1.6666e-7.
enum class Conversion { Keep, Times, DividedBy };

struct LegacyValue {
    std::size_t offset;
    double DesignValues::*member;
    Conversion conversion;
    double factor;
};

constexpr double kMillimetresPerMetre = 1000.0;
constexpr double kLegacyCuUnit = 1.6666e-7;
constexpr double kLegacyPaPerMmH2O = 9.7926;

constexpr LegacyValue kLegacyValues[] = {
    {8, &DesignValues::ci_len, Conversion::Times, kMillimetresPerMetre},
    {24, &DesignValues::tp_width, Conversion::Times, kMillimetresPerMetre},
    {32, &DesignValues::tp_perfowidth, Conversion::Times, kMillimetresPerMetre},
    {40, &DesignValues::tp_perfoperm, Conversion::DividedBy, kLegacyCuUnit},
    {72, &DesignValues::pw_perm, Conversion::DividedBy, kLegacyCuUnit},
    {104, &DesignValues::cp_perm, Conversion::DividedBy, kLegacyCuUnit},
    {112, &DesignValues::cp_citrate, Conversion::Keep, 0},
    {120, &DesignValues::cp_filler, Conversion::Keep, 0},
    {128, &DesignValues::cp_fiber, Conversion::Keep, 0},
    {160, &DesignValues::fi_totpd, Conversion::DividedBy, kLegacyPaPerMmH2O},
    {168, &DesignValues::fi_totlen, Conversion::Times, kMillimetresPerMetre},
    {176, &DesignValues::fi_totden, Conversion::Keep, 0},
    {184, &DesignValues::fi_fibden, Conversion::Keep, 0},
    {192, &DesignValues::fi_len, Conversion::Times, kMillimetresPerMetre},
    {200, &DesignValues::fi_diam, Conversion::Times, kMillimetresPerMetre},
    {248, &DesignValues::ro_totpd, Conversion::DividedBy, kLegacyPaPerMmH2O},
    {256, &DesignValues::ro_totlen, Conversion::Times, kMillimetresPerMetre},
    {264, &DesignValues::ro_len, Conversion::Times, kMillimetresPerMetre},
    {280, &DesignValues::ro_totmass, Conversion::Times, 1000000.0},
    {320, &DesignValues::stat_pdo, Conversion::DividedBy, kLegacyPaPerMmH2O},
    {328, &DesignValues::stat_pdc, Conversion::DividedBy, kLegacyPaPerMmH2O},
    {336, &DesignValues::stat_fivent, Conversion::Keep, 0},
    {344, &DesignValues::stat_rovent, Conversion::Keep, 0},
    {360, &DesignValues::iso_puff, Conversion::Keep, 0},
    {376, &DesignValues::iso_nfdpm, Conversion::Keep, 0},
    {384, &DesignValues::iso_nico, Conversion::Keep, 0},
    {392, &DesignValues::iso_co, Conversion::Keep, 0},
};

constexpr std::size_t kPerforationStartOffset = 48;
constexpr std::size_t kPerforationTypeOffset = 56;
constexpr std::size_t kTrackCountOffset = 64;
constexpr std::size_t kFlagWordOffset = 8496;

// Everything known except `tp_exponent`, `pw_exponent`, `cp_diff`, `stat_mbr` and the four
// alternative-regime values; each set legacy bit ("not known") clears one bit of it.
constexpr std::uint32_t kLegacyKnownStart = 0x87BFFDAFu;

struct FlagBit {
    int legacy;
    KnownBit known;
};

constexpr FlagBit kFlagBits[] = {
    {0, KnownBit::TippingLength},        {1, KnownBit::PerforationWidth},
    {2, KnownBit::PerforationPosition},  {3, KnownBit::PerforationType},
    {4, KnownBit::PlugWrapPermeability}, {6, KnownBit::PaperPermeability},
    {7, KnownBit::PaperCitrate},         {8, KnownBit::FilterTotalDenier},
    {9, KnownBit::FilterFibreDenier},    {10, KnownBit::TobaccoMass},
    {13, KnownBit::OpenDrawResistance},  {14, KnownBit::ClosedDrawResistance},
    {15, KnownBit::FilterVentilation},   {16, KnownBit::RodVentilation},
    {17, KnownBit::IsoPuffNumber},       {18, KnownBit::IsoTar},
    {19, KnownBit::IsoNicotine},         {20, KnownBit::IsoCo},
    {21, KnownBit::PaperComposition},
};

}  // namespace

DesignValues convertLegacyRecord(std::span<const std::uint8_t, kLegacyRecordSize> record) {
    DesignValues d;
    for (const LegacyValue& v : kLegacyValues) {
        const double x = valueAt<double>(record, v.offset);
        switch (v.conversion) {
            case Conversion::Keep:
                d.*v.member = x;
                break;
            case Conversion::Times:
                d.*v.member = x * v.factor;
                break;
            case Conversion::DividedBy:
                d.*v.member = x / v.factor;
                break;
        }
    }
    // The legacy position is where the zone starts; this version keeps its centre.
    d.tp_perfopos =
        valueAt<double>(record, kPerforationStartOffset) * kMillimetresPerMetre + d.tp_perfowidth / 2;

    const std::int32_t type = valueAt<std::int32_t>(record, kPerforationTypeOffset);
    d.tp_perfotype =
        (type == kElectrostatic || type == kMicroLaser || type == kMacroLaser) ? type : kNoPerforation;
    const bool laser = type == kMicroLaser || type == kMacroLaser;
    d.tp_perfotrack = laser ? valueAt<double>(record, kTrackCountOffset) : 0.0;

    d.cp_exponent = 1.0;
    d.fi_exponent = 1.0;
    d.ro_exponent = 1.2;
    d.fi_pd = d.fi_totpd / d.fi_totlen * d.fi_len;
    d.ro_pd = d.ro_totpd / d.ro_totlen * d.ro_len;

    const std::uint32_t notKnown = valueAt<std::uint32_t>(record, kFlagWordOffset);
    d.known = kLegacyKnownStart;
    for (const FlagBit& f : kFlagBits)
        if (notKnown & (std::uint32_t{1} << f.legacy)) d.known &= ~known::bit(f.known);
    return d;
}

int importLegacyFile(const std::string& path, DesignSet& designs, ErrorReporter& errors) {
    auto source = FileByteSource::open(path);
    if (!source) {
        ReportError(errors, kErrorLegacyNotReadable);
        return kErrorLegacyNotReadable;
    }
    return importLegacyFile(*source, designs, errors);
}

int importLegacyFile(ByteSource& source, DesignSet& designs, ErrorReporter& errors) {
    std::vector<std::uint8_t> bytes(kLegacyFileSize);
    if (source.read(bytes) != kLegacyFileSize) {
        ReportError(errors, kErrorNotLegacyData);
        return kErrorNotLegacyData;
    }
    auto record = [&](std::size_t offset) {
        return convertLegacyRecord(
            std::span<const std::uint8_t, kLegacyRecordSize>(bytes.data() + offset, kLegacyRecordSize));
    };
    const DesignValues reference = record(kLegacyReferenceOffset);
    const DesignValues current = record(kLegacyCurrentOffset);

    designs.currentDesign.freePuffData();
    designs.referenceDesign.freePuffData();
    designs.workingReference.freePuffData();
    designs.currentDesign.assign(current);
    designs.referenceDesign.assign(reference);
    std::copy_n(bytes.begin() + kLegacyTextOffset, kInformationTextSize, designs.informationText.begin());
    return 0;
}

}  // namespace veltrano
