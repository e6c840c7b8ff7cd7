#include "core/model/IsoYields.h"

#include <cmath>

#include "core/model/Characteristics.h"

namespace veltrano {

namespace {

enum Yield { kNicotine, kTar, kCarbonMonoxide, kPuffNumber, kYieldCount };

// Where each yield finds its coefficients, and the share of the band area its diffusion factor sees.
struct YieldCoefficients {
    int base, citrate, diffusion, paper;
    double bandShare;
};
constexpr YieldCoefficients kCoefficients[kYieldCount] = {
    {9, 33, 63, 130, 0.5},
    {15, 39, 65, 138, 0.5},
    {21, 45, 67, 146, 1.0},
    {27, 51, 69, 154, 0.4},
};

// MP[b] + MP[b+1]·x + MP[b+2]·y + MP[b+3]·x·y + MP[b+4]·x² + MP[b+5]·y².
double quadratic(const ModelParameters& mp, int b, double x, double y) {
    return mp[b] + mp[b + 1] * x + mp[b + 2] * y + mp[b + 3] * x * y + mp[b + 4] * x * x + mp[b + 5] * y * y;
}

bool banded(const DesignValues& d) {
    return d.cp_lip == 1;
}

// The band area share of banded paper, scaled by `share`.
double bandFraction(const DesignValues& d, double share) {
    return share * d.cp_bandwidth / (d.cp_bandspace + d.cp_bandwidth);
}

// Lower bound first, then the upper one.
double limited(double x, double low, double high) {
    if (x < low) return low;
    if (x > high) return high;
    return x;
}

double rodFactor(const DesignValues& d) {
    if (d.isKnown(KnownBit::TobaccoMass))
        return (d.ci_len - buttLength(d)) * (d.ro_totmass / d.ro_totlen) / 651.639344262295;
    return (d.ci_len - buttLength(d)) / 54;
}

double citrateFactor(const DesignValues& d, const ModelParameters& mp, const YieldCoefficients& y) {
    if (!d.isKnown(KnownBit::PaperCitrate)) return 1;
    double permeability = d.cp_perm;
    if (banded(d)) {
        const double f = bandFraction(d, 1);
        permeability = (1 - f) * d.cp_perm + f * d.cp_bandperm;
    }
    permeability = limited(permeability, 20, 60);
    return quadratic(mp, y.citrate, permeability, d.cp_citrate) / quadratic(mp, y.citrate, permeability, 1);
}

double diffusionFactor(const DesignValues& d, const ModelParameters& mp, const YieldCoefficients& y) {
    if (!d.isKnown(KnownBit::PaperDiffusion) && d.cp_lip == 0) return 1;
    const double predicted = predictDiffusion(d, mp);
    double diffusion = d.isKnown(KnownBit::PaperDiffusion) ? d.cp_diff : predicted;
    if (banded(d)) {
        const double f = bandFraction(d, y.bandShare);
        diffusion = (1 - f) * diffusion + f * d.cp_banddiff;
    }
    return std::exp((diffusion - predicted) * mp[y.diffusion]);
}

// MP[b] + MP[b+1]·L + MP[b+2]·F + MP[b+3]·P + MP[b+4]·L² + MP[b+5]·F² + MP[b+6]·P² + MP[b+7]·L·P.
double paperComposition(const ModelParameters& mp, int b, double fibre, double filler, double permeability) {
    const double F = fibre, L = filler, P = permeability;
    return mp[b] + mp[b + 1] * L + mp[b + 2] * F + mp[b + 3] * P + mp[b + 4] * L * L + mp[b + 5] * F * F +
           mp[b + 6] * P * P + mp[b + 7] * L * P;
}

double paperFactor(const DesignValues& d, const ModelParameters& mp, const YieldCoefficients& y) {
    if (!d.isKnown(KnownBit::PaperComposition)) return 1;
    const double permeability = d.isKnown(KnownBit::PaperPermeability) ? limited(d.cp_perm, 20, 200) : 50;
    return paperComposition(mp, y.paper, d.cp_fiber, d.cp_filler, permeability) /
           paperComposition(mp, y.paper, 18.125, 6.875, permeability);
}

// Retention relative to the reference filter (7.8 mm, 23 mm, 68.33 mmH2O, 30000 den, 3 den).
double filtrationFactor(const DesignValues& d, const ModelParameters& mp, FilterYield kind) {
    if (!d.isKnown(KnownBit::FilterTotalDenier) || !d.isKnown(KnownBit::FilterFibreDenier)) return 1;
    return (1 - filterEfficiency(kind, d.fi_diam, d.fi_len, d.fi_pd, d.fi_totden, d.fi_fibden, mp)) /
           (1 - filterEfficiency(kind, 7.8, 23, 68.33333333333333, 30000, 3, mp));
}

}  // namespace

double filterEfficiency(FilterYield kind, double d, double L, double dp, double T, double t,
                        const ModelParameters& mp) {
    const int b = kind == FilterYield::Nicotine ? kNicotineFilterEfficiency : kTarFilterEfficiency;
    const int lengthExponent =
        kind == FilterYield::Nicotine ? kNicotineFilterLengthExponent : kTarFilterLengthExponent;
    const double totalTiter = T / 1000;
    const auto G = [&](int base) { return quadratic(mp, base, t, totalTiter); };
    // Efficiencies in % of a 20 mm plug at 7.5 and 8.5 mm, interpolated in the cube of the diameter.
    const double e75 = G(b) * dp * (120 / L) + G(b + 6);
    const double e85 = G(b + 12) * dp * (120 / L) + G(b + 18);
    const double e = e75 + (e85 - e75) * (d * d * d - 421.875) / 192.25;
    return 1 - std::pow(1 - e / 100, mp[lengthExponent] * L / 20);
}

void computeIsoYields(DesignValues& d, const ModelParameters& mp) {
    double permeability = d.cp_perm;
    if (banded(d)) {
        const double f = bandFraction(d, 0.5);
        permeability = (1 - f) * d.cp_perm + f * d.cp_bandperm;
    }
    const double v = d.stat_fivent;
    double* yields[kYieldCount] = {&d.iso_nico, &d.iso_nfdpm, &d.iso_co, &d.iso_puff};
    for (int y = 0; y < kYieldCount; ++y) {
        const double base = quadratic(mp, kCoefficients[y].base, v, permeability);
        *yields[y] = y == kPuffNumber ? base : base * (100 - v);
    }
    const double fullVentilationPuffs = quadratic(mp, kCoefficients[kPuffNumber].base, 100, permeability);

    const double R = rodFactor(d);
    double citrate[kYieldCount], diffusion[kYieldCount], paper[kYieldCount];
    for (int y = 0; y < kYieldCount; ++y) {
        citrate[y] = citrateFactor(d, mp, kCoefficients[y]);
        diffusion[y] = diffusionFactor(d, mp, kCoefficients[y]);
        paper[y] = paperFactor(d, mp, kCoefficients[y]);
    }
    for (double* yield : yields) *yield = *yield * R;
    for (int y = 0; y < kYieldCount; ++y) {
        *yields[y] = *yields[y] * citrate[y];
        *yields[y] = *yields[y] * diffusion[y];
        *yields[y] = *yields[y] * paper[y];
    }
    d.iso_nico = d.iso_nico * filtrationFactor(d, mp, FilterYield::Nicotine);
    d.iso_nfdpm = d.iso_nfdpm * filtrationFactor(d, mp, FilterYield::Tar);

    // Smouldering alone, in puff intervals of a minute, with the puff number at full ventilation.
    d.stat_mbr = (d.ci_len - buttLength(d)) * d.ro_totmass /
                 (d.ro_totlen * R * fullVentilationPuffs * citrate[kPuffNumber] * diffusion[kPuffNumber] *
                  paper[kPuffNumber]);
}

}  // namespace veltrano
