#include "core/model/Characteristics.h"

#include <cmath>
#include <utility>

namespace veltrano {

namespace {

// The perforation law of one kind of perforation: plug wrap permeability Q and perforation x in series,
// with the kind's three coefficients from `base` on.
double perforationConductance(const ModelParameters& mp, int base, double Q, double x) {
    return Q * x / (Q * mp[base + 1] + mp[base] * x + mp[base + 2]);
}

}  // namespace

double wallCoefficient(double permeability, double n) {
    return permeability * kCuToMetresPerSecond * 1000 / std::pow(1000.0, n);
}

void applyDefaults(DesignValues& d, const ModelParameters& mp) {
    d.ci_len = d.fi_len + d.ro_len;
    if (!d.isKnown(KnownBit::TippingLength)) d.tp_width = d.fi_len + 4;
    // The width keeps its value for online perforation; the type tested is the stored one.
    if (!d.isKnown(KnownBit::PerforationWidth) && d.tp_perfotype != kOnlineLaser) d.tp_perfowidth = 3.0;
    if (!d.isKnown(KnownBit::PerforationPosition) || !d.isKnown(KnownBit::PerforationWidth))
        d.tp_perfopos = d.fi_len * 0.5;
    if (!d.isKnown(KnownBit::PerforationType)) d.tp_perfotype = kElectrostatic;
    if (!d.isKnown(KnownBit::TippingExponent)) {
        switch (d.tp_perfotype) {
            case kElectrostatic:
                d.tp_exponent = 0.68;
                break;
            case kMicroLaser:
                d.tp_exponent = 0.65;
                break;
            case kMacroLaser:
            case kOnlineLaser:
                d.tp_exponent = 0.5;
                break;
            default:
                d.tp_exponent = 1.0;
                break;
        }
    }
    if (!d.isKnown(KnownBit::PlugWrapPermeability) && d.tp_perfotype != kOnlineLaser)
        d.pw_perm = d.tp_perfoperm * 10;
    if (!d.isKnown(KnownBit::PlugWrapExponent) && d.tp_perfotype != kOnlineLaser) d.pw_exponent = 0.68;
    if (!d.isKnown(KnownBit::PaperPermeability)) d.cp_perm = 50;
    if (!d.isKnown(KnownBit::PaperExponent)) d.cp_exponent = 1.0;
    if (!d.isKnown(KnownBit::PaperDiffusion)) d.cp_diff = predictDiffusion(d, mp);
    if (!d.isKnown(KnownBit::PaperCitrate)) d.cp_citrate = 1.0;
    if (!d.isKnown(KnownBit::PaperComposition)) {
        d.cp_fiber = 21;
        d.cp_filler = 9;
    }
    if (!d.isKnown(KnownBit::FilterExponent)) d.fi_exponent = 1.0;
    if (!d.isKnown(KnownBit::FilterTotalDenier)) d.fi_totden = 30000;
    if (!d.isKnown(KnownBit::FilterFibreDenier)) d.fi_fibden = 3.0;
    if (!d.isKnown(KnownBit::RodExponent)) d.ro_exponent = 1.2;
    if (!d.isKnown(KnownBit::TobaccoMass)) d.ro_totmass = 750;
    if (!d.isKnown(KnownBit::OpenDrawResistance)) d.stat_pdo = 0;
    if (!d.isKnown(KnownBit::ClosedDrawResistance)) d.stat_pdc = 0;
    if (!d.isKnown(KnownBit::FilterVentilation))
        d.stat_fivent = 0;
    else if (d.tp_perfotype == kOnlineLaser)
        d.stat_fivent = d.tp_onlinevent;
    if (!d.isKnown(KnownBit::RodVentilation)) d.stat_rovent = 0;
    if (!d.isKnown(KnownBit::StaticBurnRate)) d.stat_mbr = 0;
    if (!d.isKnown(KnownBit::IsoPuffNumber)) d.iso_puff = 0;
    if (!d.isKnown(KnownBit::IsoNicotine)) d.iso_nico = 0;
    if (!d.isKnown(KnownBit::IsoTar)) d.iso_nfdpm = 0;
    if (!d.isKnown(KnownBit::IsoCo)) d.iso_co = 0;
    if (!d.isKnown(KnownBit::AltPuffNumber)) d.alt_puff = 0;
    if (!d.isKnown(KnownBit::AltNicotine)) d.alt_nico = 0;
    if (!d.isKnown(KnownBit::AltTar)) d.alt_nfdpm = 0;
    if (!d.isKnown(KnownBit::AltCo)) d.alt_co = 0;
}

void computePerforationCoefficients(DesignValues& d, const ModelParameters& mp) {
    const int type = d.tp_perfotype;
    if (type == kNoPerforation || d.tp_perfowidth < 1e-6 || d.tp_perfoperm < 1.0 || type < kElectrostatic ||
        type > kOnlineLaser) {
        d.tp_n = 1.0;
        d.tp_k = 0;
        return;
    }
    d.tp_n = 2 / (1 / d.pw_exponent + 1 / d.tp_exponent);
    const double W = d.tp_perfowidth, P = d.tp_perfoperm, Q = d.pw_perm, T = d.tp_perfotrack;
    const double F = kCuToMetresPerSecond * 1000 / std::pow(1000.0, d.tp_n);
    if (type == kElectrostatic) {
        const double x = P * 10 / W;
        d.tp_k = perforationConductance(mp, kElectrostaticPerforation, Q, x) * 0.743 * F;
    } else if (type == kMicroLaser) {
        const double x = P / T;
        d.tp_k = perforationConductance(mp, kMicroLaserPerforation, Q, x) * T * 10 / W * 0.83 * F;
    } else {
        const double x = P / T;
        d.tp_k = perforationConductance(mp, kMacroLaserPerforation, Q, x) * T * 10 / W * 1.1 * F;
    }
}

void computePaperCoefficients(DesignValues& d) {
    d.cp_n = d.cp_exponent;
    const double base = wallCoefficient(d.cp_perm, d.cp_n);
    d.cp_k = base;
    if (d.cp_lip == 1) {
        const double f = d.cp_bandwidth / (d.cp_bandspace + d.cp_bandwidth);
        d.cp_k = wallCoefficient(d.cp_bandperm, d.cp_n) * f + (1 - f) * base;
    }
}

void computeFilterCoefficients(DesignValues& d) {
    d.fi_n = d.fi_exponent;
    d.fi_k = d.fi_totpd * kPaPerMmH2O / (std::pow(standardVelocity(d.fi_diam), d.fi_n) * d.fi_totlen * 0.001);
    d.fi_pd = d.fi_len * d.fi_totpd / d.fi_totlen;
}

void computeRodCoefficients(DesignValues& d) {
    d.ro_n = d.ro_exponent;
    d.ro_k = d.ro_totpd * kPaPerMmH2O / (std::pow(standardVelocity(d.fi_diam), d.ro_n) * d.ro_totlen * 0.001);
    d.ro_pd = d.ro_len * d.ro_totpd / d.ro_totlen;
}

double predictDiffusion(const DesignValues& d, const ModelParameters& mp) {
    if (!d.isKnown(KnownBit::PaperPermeability))
        return mp[kDiffusionScale] * std::pow(50.0, mp[kDiffusionExponent]);
    const double D = mp[kDiffusionScale] * std::pow(d.cp_perm, mp[kDiffusionExponent]);
    if (!d.isKnown(KnownBit::PaperComposition)) return D;
    const double B = d.cp_fiber + d.cp_filler;
    const double c = 100 * d.cp_filler / B;
    return D + mp[kDiffusionFillerScale] * std::pow(d.cp_perm, 1 / mp[kDiffusionFillerRoot]) *
                   (1 + mp[kDiffusionFillerBasisWeight] * (B - 25)) * (c - 25);
}

double buttLength(const DesignValues& d) {
    double b = 23;
    if (d.fi_len + 8 > b) b = d.fi_len + 8;
    if (d.tp_width + 3 > b) b = d.tp_width + 3;
    return b;
}

double interpolateLinear(double x1, double y1, double x2, double y2, double y) {
    if (std::fabs(x1 - x2) < 1e-15 || std::fabs(y2 - y1) < 1e-15) return (x1 + x2) / 2;
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    return x1 + (y - y1) / (y2 - y1) * (x2 - x1);
}

}  // namespace veltrano
