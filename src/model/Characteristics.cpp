#include "model/Characteristics.h"

#include <cmath>
#include <utility>

namespace veltrano {

double wallCoefficient(double permeability, double n) {
    return permeability * kCuToMetresPerSecond * 1000 / std::pow(1000.0, n);
}

void applyDefaults(DesignValues& d, const ModelParameters& mp) {
    d.ci_len = d.fi_len + d.ro_len;
    if (!d.isKnown(0)) d.tp_width = d.fi_len + 4;
    // The width keeps its value for online perforation; the type tested is the stored one.
    if (!d.isKnown(1) && d.tp_perfotype != kOnlineLaser) d.tp_perfowidth = 3.0;
    if (!d.isKnown(2) || !d.isKnown(1)) d.tp_perfopos = d.fi_len * 0.5;
    if (!d.isKnown(3)) d.tp_perfotype = kElectrostatic;
    if (!d.isKnown(4)) {
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
    if (!d.isKnown(5) && d.tp_perfotype != kOnlineLaser) d.pw_perm = d.tp_perfoperm * 10;
    if (!d.isKnown(6) && d.tp_perfotype != kOnlineLaser) d.pw_exponent = 0.68;
    if (!d.isKnown(7)) d.cp_perm = 50;
    if (!d.isKnown(8)) d.cp_exponent = 1.0;
    if (!d.isKnown(9)) d.cp_diff = predictDiffusion(d, mp);
    if (!d.isKnown(10)) d.cp_citrate = 1.0;
    if (!d.isKnown(11)) {
        d.cp_fiber = 21;
        d.cp_filler = 9;
    }
    if (!d.isKnown(13)) d.fi_exponent = 1.0;
    if (!d.isKnown(14)) d.fi_totden = 30000;
    if (!d.isKnown(15)) d.fi_fibden = 3.0;
    if (!d.isKnown(16)) d.ro_exponent = 1.2;
    if (!d.isKnown(17)) d.ro_totmass = 750;
    if (!d.isKnown(18)) d.stat_pdo = 0;
    if (!d.isKnown(19)) d.stat_pdc = 0;
    if (!d.isKnown(20))
        d.stat_fivent = 0;
    else if (d.tp_perfotype == kOnlineLaser)
        d.stat_fivent = d.tp_onlinevent;
    if (!d.isKnown(21)) d.stat_rovent = 0;
    if (!d.isKnown(22)) d.stat_mbr = 0;
    if (!d.isKnown(23)) d.iso_puff = 0;
    if (!d.isKnown(24)) d.iso_nico = 0;
    if (!d.isKnown(25)) d.iso_nfdpm = 0;
    if (!d.isKnown(26)) d.iso_co = 0;
    if (!d.isKnown(27)) d.alt_puff = 0;
    if (!d.isKnown(28)) d.alt_nico = 0;
    if (!d.isKnown(29)) d.alt_nfdpm = 0;
    if (!d.isKnown(30)) d.alt_co = 0;
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
        d.tp_k = Q * x / (Q * mp[1] + mp[0] * x + mp[2]) * 0.743 * F;
    } else if (type == kMicroLaser) {
        const double x = P / T;
        d.tp_k = Q * x / (Q * mp[4] + mp[3] * x + mp[5]) * T * 10 / W * 0.83 * F;
    } else {
        const double x = P / T;
        d.tp_k = Q * x / (Q * mp[7] + mp[6] * x + mp[8]) * T * 10 / W * 1.1 * F;
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
    if (!d.isKnown(7)) return mp[57] * std::pow(50.0, mp[58]);
    const double D = mp[57] * std::pow(d.cp_perm, mp[58]);
    if (!d.isKnown(11)) return D;
    const double B = d.cp_fiber + d.cp_filler;
    const double c = 100 * d.cp_filler / B;
    return D + mp[59] * std::pow(d.cp_perm, 1 / mp[60]) * (1 + mp[61] * (B - 25)) * (c - 25);
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
