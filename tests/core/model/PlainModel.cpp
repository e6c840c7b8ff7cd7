#include "PlainModel.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/model/AlternativeYields.h"
#include "core/model/Characteristics.h"
#include "core/model/IsoYields.h"
#include "core/model/PuffByPuff.h"
#include "core/model/PuffSimulation.h"
#include "core/model/Recalculation.h"

namespace veltrano::plain {

namespace {

constexpr double PI = 3.141592654;
constexpr double PA = 9.7926;

double sign(double x) {
    return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
}
double s(double x, double e) {
    return sign(x) * std::pow(std::fabs(x), e);
}

void solidSegment(double k, double n, double L, double& v, double& p) {
    if (v >= 0) {
        p = p - k * std::pow(v, n) * L * 0.001;
    } else {
        p = p + k * std::pow(-v, n) * L * 0.001;
    }
}

void midpoint(double kw, double nw, double ka, double na, double d, double h, double& v, double& p) {
    const double v_mid = v - s(p, nw) * kw * (h / 2) * 3600 / d;
    const double p_mid = p - s(v, na) * ka * (h / 2);
    const double v_new = v - s(p_mid, nw) * kw * h * 3600 / d;
    const double p_new = p - s(v_mid, na) * ka * h;
    v = v_new;
    p = p_new;
}

void porousSegment(double kw, double nw, double ka, double na, double L, double d, double& v, double& p) {
    const double h = L * 0.001 / 200;
    for (int i = 0; i < 200; ++i) midpoint(kw, nw, ka, na, d, h, v, p);
}

template <class Pass>
void shoot(double* v, double* p, Pass pass, PlainCounts& counts) {
    double lowP = -1, highP = -1, lowR = 0, highR = 0;
    double r;
    int passes = 0;
    do {
        pass(v, p);
        ++passes;
        ++counts.passes;
        if (passes > 100000) throw std::runtime_error("the plain shooting loop does not converge");
        r = p[5];
        if (r < -1) {
            lowP = p[0];
            lowR = r;
            if (highP > 0) {
                if (std::fabs(r - highR) > 1e-6) p[0] = (r * highP - highR * lowP) / (r - highR);
            } else {
                p[0] = p[0] * 1.2;
            }
        }
        if (r > 1) {
            highP = p[0];
            highR = r;
            if (lowP > 0) {
                if (std::fabs(lowR - r) > 1e-6) p[0] = (lowR * highP - r * lowP) / (lowR - r);
            } else {
                p[0] = p[0] / 1.2;
            }
        }
    } while (std::fabs(r) > 1);
}

void solveClosed(const DesignValues& d, double* v, double* p, PlainCounts& counts) {
    shoot(
        v, p,
        [&](double* v, double* p) {
            v[3] = v[0];
            p[3] = p[0];
            solidSegment(d.fi_k, d.fi_n, d.fi_len, v[3], p[3]);
            v[4] = v[3];
            p[4] = p[3];
            solidSegment(d.ro_k, d.ro_n, d.tp_width - d.fi_len, v[4], p[4]);
            v[5] = v[4];
            p[5] = p[4];
            porousSegment(d.cp_k, d.cp_n, d.ro_k, d.ro_n, d.ci_len - d.tp_width, d.fi_diam, v[5], p[5]);
        },
        counts);
}

void solveOpen(const DesignValues& d, double* v, double* p, int type, PlainCounts& counts) {
    shoot(
        v, p,
        [&](double* v, double* p) {
            v[1] = v[0];
            p[1] = p[0];
            solidSegment(d.fi_k, d.fi_n, d.tp_perfopos - d.tp_perfowidth * 0.5, v[1], p[1]);
            v[2] = v[1];
            p[2] = p[1];
            porousSegment(d.tp_k, d.tp_n, d.fi_k, d.fi_n, d.tp_perfowidth, d.fi_diam, v[2], p[2]);
            v[3] = v[2];
            p[3] = p[2];
            solidSegment(d.fi_k, d.fi_n, d.fi_len - d.tp_perfopos - d.tp_perfowidth * 0.5, v[3], p[3]);
            v[4] = v[3];
            p[4] = p[3];
            solidSegment(d.ro_k, d.ro_n, d.tp_width - d.fi_len, v[4], p[4]);
            v[5] = v[4];
            p[5] = p[4];
            porousSegment(d.cp_k, d.cp_n, d.ro_k, d.ro_n, d.ci_len - d.tp_width, d.fi_diam, v[5], p[5]);
            if (type == 3) solidSegment(d.coal1_k, d.coal1_n, d.coal_len, v[5], p[5]);
            if (type == 4) solidSegment(d.coal_k, d.coal_n, d.coal_len, v[5], p[5]);
        },
        counts);
}

// Profiles: one running index into the 300 samples.
struct Profile {
    std::vector<double>& pres;
    std::vector<double>& flow;
    int next = 0;
};

void sampleSolid(double k, double n, double L, double v, double p, int c, Profile& out) {
    for (int i = 0; i < c; ++i) {
        out.pres[out.next] = p - sign(v) * k * std::pow(std::fabs(v), n) * (L * 0.001 / c) * i;
        out.flow[out.next] = v;
        ++out.next;
    }
}

// Banded paper: the boundaries laid end to end, the law switching at the first step that ends past one.
void samplePorous(const DesignValues& d, bool rodOfBandedPaper, double kw, double nw, double ka, double na,
                  double L, double v, double p, int c, Profile& out) {
    if (c == 0) return;
    const double h = L * 0.001 / 1000;
    const double delta = L * 0.001 / c;
    double covered = 0;
    int recorded = 0;
    double lastV = v, lastP = p;
    const double plainK = d.cp_perm * 1.6666e-7 * 1000 / std::pow(1000.0, d.cp_exponent);
    const double bandK = d.cp_bandperm * 1.6666e-7 * 1000 / 1000;
    bool inBand = false;
    double boundary = d.cp_bandspace < 3 ? d.cp_bandspace : d.cp_bandspace / 3;
    for (int j = 0; j < 1000; ++j) {
        if (rodOfBandedPaper) {
            const double end = (j + 1) * L / 1000;
            while (end > boundary) {
                inBand = !inBand;
                boundary += inBand ? d.cp_bandwidth : d.cp_bandspace;
            }
            kw = inBand ? bandK : plainK;
            nw = inBand ? 1.0 : d.cp_exponent;
        }
        midpoint(kw, nw, ka, na, d.fi_diam, h, v, p);
        covered += h;
        if (covered > delta) {
            if (recorded < c) {
                out.pres[out.next] = p;
                out.flow[out.next] = v;
                ++out.next;
                ++recorded;
                lastV = v;
                lastP = p;
            }
            covered -= delta;
        }
    }
    for (; recorded < c; ++recorded) {
        out.pres[out.next] = lastP;
        out.flow[out.next] = lastV;
        ++out.next;
    }
}

void finishProfile(const DesignValues& d, Profile& out) {
    for (int i = 0; i < 300; ++i) {
        out.flow[i] = out.flow[i] * (PI * d.fi_diam * d.fi_diam / 4);
        out.pres[i] = out.pres[i] / PA;
    }
}

void stationaryFlow(CigaretteDesign& d, int mode, const ModelParameters& mp, PlainCounts& counts) {
    computePerforationCoefficients(d, mp);
    computeFilterCoefficients(d);
    computePaperCoefficients(d);
    computeRodCoefficients(d);
    const double v0 = 70 / (PI * d.fi_diam * d.fi_diam);
    const bool banded = d.cp_lip == 1;
    double v[6] = {}, p[6] = {};
    v[0] = v0;
    p[0] = (1 - d.cp_perm / 500) * d.ro_pd * PA + d.fi_pd * PA;
    solveClosed(d, v, p, counts);
    d.stat_pdc = p[0] / PA;
    if (mode == 1) {
        Profile out{d.stat_pres_closed, d.stat_flow_closed};
        const int c1 = (int)(d.fi_len / d.ci_len * 300);
        const int c2 = (int)((d.tp_width - d.fi_len) / d.ci_len * 300);
        const int c3 = 300 - c1 - c2;
        sampleSolid(d.fi_k, d.fi_n, d.fi_len, v[0], p[0], c1, out);
        sampleSolid(d.ro_k, d.ro_n, d.tp_width - d.fi_len, v[3], p[3], c2, out);
        samplePorous(d, banded, d.cp_k, d.cp_n, d.ro_k, d.ro_n, d.ci_len - d.tp_width, v[4], p[4], c3, out);
        finishProfile(d, out);
    }
    if (d.tp_perfotype == 0) {
        d.stat_pdo = d.stat_pdc;
        d.stat_fivent = 0;
        d.stat_rovent = (v[4] - v[5]) / v0 * 100;
        if (mode == 1) {
            d.stat_pres_open = d.stat_pres_closed;
            d.stat_flow_open = d.stat_flow_closed;
        }
        return;
    }
    v[0] = v0;
    p[0] = (1 - std::sqrt(std::fabs(d.tp_perfoperm)) / 100) *
               ((1 - d.cp_perm / 500) * d.ro_pd * PA + (d.fi_len - d.tp_perfopos) / d.fi_len * d.fi_pd * PA) +
           d.tp_perfopos / d.fi_len * d.fi_pd * PA;
    solveOpen(d, v, p, 2, counts);
    d.stat_fivent = d.tp_perfotype == 4 ? d.tp_onlinevent : (v[1] - v[2]) / v0 * 100;
    d.stat_rovent = (v[4] - v[5]) / v0 * 100;
    d.stat_pdo = p[0] / PA;
    if (mode == 1) {
        Profile out{d.stat_pres_open, d.stat_flow_open};
        const double x = d.tp_perfopos, w = d.tp_perfowidth;
        const int c1 = (int)((x - w / 2) / d.ci_len * 300);
        const int c2 = (int)(w / d.ci_len * 300);
        const int c3 = (int)((d.fi_len - x - w / 2) / d.ci_len * 300);
        const int c4 = (int)((d.tp_width - d.fi_len) / d.ci_len * 300);
        const int c5 = 300 - c1 - c2 - c3 - c4;
        sampleSolid(d.fi_k, d.fi_n, x - w / 2, v[0], p[0], c1, out);
        samplePorous(d, false, d.tp_k, d.tp_n, d.fi_k, d.fi_n, w, v[1], p[1], c2, out);
        sampleSolid(d.fi_k, d.fi_n, d.fi_len - x - w / 2, v[2], p[2], c3, out);
        sampleSolid(d.ro_k, d.ro_n, d.tp_width - d.fi_len, v[3], p[3], c4, out);
        samplePorous(d, banded, d.cp_k, d.cp_n, d.ro_k, d.ro_n, d.ci_len - d.tp_width, v[4], p[4], c5, out);
        finishProfile(d, out);
    }
}

void fitOnline(CigaretteDesign& d, const ModelParameters& mp, ErrorReporter& errors, PlainCounts& counts) {
    if (d.tp_perfotype != 4) return;
    CigaretteDesign t(ArrayMode::NoArrays);
    t.assign(d);
    computePaperCoefficients(t);
    computeFilterCoefficients(t);
    computeRodCoefficients(t);
    const double v0 = 70 / (PI * t.fi_diam * t.fi_diam);
    const double T = d.tp_onlinevent;
    const double start =
        ((1 - t.cp_perm / 500) * t.ro_pd * PA + (t.fi_len - t.tp_perfopos) / t.fi_len * t.fi_pd * PA) *
            (100 - T) / 100 +
        t.tp_perfopos / t.fi_len * t.fi_pd * PA;
    auto trial = [&](double P) {
        t.tp_perfoperm = P;
        computePerforationCoefficients(t, mp);
        double v[6] = {}, p[6] = {};
        v[0] = v0;
        p[0] = start;
        solveOpen(t, v, p, 2, counts);
        return (v[1] - v[2]) / v0 * 100;
    };
    const double vMax = trial(8000);
    if (T > vMax) {
        d.tp_perfoperm = 8000;
        d.tp_onlinevent = vMax;
        ReportError(errors, kErrorTargetVentilationOutOfReach);
        return;
    }
    double lowCu = 0, lowV = 0, highCu = 8000, highV = vMax;
    int i = 0;
    while (true) {
        ++i;
        const double P = interpolateLinear(lowCu, lowV, highCu, highV, T);
        const double V = trial(P);
        if (T > V) {
            lowCu = P;
            lowV = V;
        } else {
            highCu = P;
            highV = V;
        }
        if (i == 500) {
            ReportError(errors, kErrorNoVentilationParameters);
            break;
        }
        if (std::fabs(V - T) <= 0.01) break;
    }
    d.tp_perfoperm = interpolateLinear(lowCu, lowV, highCu, highV, T);
}

void flowTable(CigaretteDesign& d, PuffRegime regime, PlainCounts& counts) {
    const bool iso = regime == kIsoRegime;
    std::vector<double>& tabFlow = iso ? d.iso_tab_flow : d.alt_tab_flow;
    std::vector<double>& tabFivent = iso ? d.iso_tab_fivent : d.alt_tab_fivent;
    std::vector<double>& tabRovent = iso ? d.iso_tab_rovent : d.alt_tab_rovent;
    std::vector<double>& tabPdo = iso ? d.iso_tab_pdo : d.alt_tab_pdo;
    std::vector<double>& tabPvent = iso ? d.iso_tab_pvent : d.alt_tab_pvent;
    std::vector<double>& tabPfilt = iso ? d.iso_tab_pfilt : d.alt_tab_pfilt;
    double F = 27.488935722500003;
    if (!iso) {
        F = 2.0;
        for (int i = 0; i < 400; ++i) F = std::max(F, d.alt_prof_flow[i]);
    }
    const double A = PI * d.fi_diam * d.fi_diam / 4;
    double g[200];
    g[0] = -0.05;
    g[1] = 1 / A;
    for (int k = 2; k < 200; ++k) g[k] = 1 / A + k / 199.0 * (1.03 * F / A - 1 / A);
    const double savedTpK = d.tp_k;
    if (!iso) d.tp_k = d.tp_k * (100 - d.alt_blocking) / 100;
    const int type = iso ? 2 : regime;
    double v[6] = {}, p[6] = {};
    auto store = [&](int k) {
        tabFivent[k] = (v[1] - v[2]) / v[0] * 100;
        tabRovent[k] = (v[4] - v[5]) / v[0] * 100;
        tabPdo[k] = p[0] / PA;
        tabPvent[k] = p[2] / PA;
        tabPfilt[k] = p[3] / PA;
    };
    v[0] = g[1];
    p[0] =
        ((1 - std::sqrt(std::fabs(d.tp_perfoperm)) / 100) *
             ((1 - d.cp_perm / 500) * d.ro_pd * PA + (d.fi_len - d.tp_perfopos) / d.fi_len * d.fi_pd * PA) +
         d.tp_perfopos / d.fi_len * d.fi_pd * PA) *
        (1 / A) / 0.35;
    solveOpen(d, v, p, type, counts);
    store(0);
    store(1);
    double w1 = p[0], w2 = p[0];
    for (int k = 2; k < 200; ++k) {
        v[0] = g[k];
        p[0] = w1 + 1.02 * (w1 - w2);
        solveOpen(d, v, p, type, counts);
        store(k);
        w2 = w1;
        w1 = p[0];
    }
    for (int k = 0; k < 200; ++k) tabFlow[k] = g[k] * A;
    d.tp_k = savedTpK;
}

void puff(CigaretteDesign& d, PuffRegime regime, PlainCounts& counts) {
    buildPuffProfile(d, regime);
    flowTable(d, regime, counts);
    integratePuff(d, regime);
}

void alternativeYields(CigaretteDesign& d, const DesignValues& R, const DesignValues& W,
                       const ModelParameters& mp, PlainCounts& counts) {
    CigaretteDesign t(ArrayMode::WithArrays);
    t.assign(d);
    t.tp_perfotype = 0;
    t.tp_perfoperm = 0;
    stationaryFlow(t, 1, mp, counts);
    computeIsoYields(t, mp);
    puff(t, kIsoRegime, counts);
    applyAlternativeYields(d, {t.iso_puff, t.stat_mbr, t.iso_rovent, t.iso_nico, t.iso_nfdpm, t.iso_co}, R,
                           W);
}

void runDesign(CigaretteDesign& d, int mode, const DesignValues& R, const DesignValues& W,
               const ModelParameters& mp, ErrorReporter& errors, PlainCounts& counts) {
    applyDefaults(d, mp);
    fitOnline(d, mp, errors, counts);
    stationaryFlow(d, mode, mp, counts);
    computeIsoYields(d, mp);
    puff(d, kIsoRegime, counts);
    puff(d, kAlternativeRegime, counts);
    alternativeYields(d, R, W, mp, counts);
}

}  // namespace

void recalculate(DesignSet& designs, const ModelParameters& mp, ErrorReporter& errors, PlainCounts& counts) {
    CigaretteDesign& R = designs.referenceDesign;
    CigaretteDesign& W = designs.workingReference;
    CigaretteDesign& C = designs.currentDesign;
    W.assign(R);
    runDesign(W, 2, R, W, mp, errors, counts);
    runDesign(C, 1, R, W, mp, errors, counts);
    calibrate(C, R, W);
}

void runPuffByPuff(CigaretteDesign& design, const ModelParameters& mp, PlainCounts& counts) {
    if (!design.isKnown(KnownBit::IsoPuffNumber)) return;
    setCoalParameters(design, mp);
    CigaretteDesign t(ArrayMode::WithArrays);
    t.assign(design);

    const double Lc = t.ci_len - buttLength(t);
    const double H = Lc * t.ro_totmass / t.ro_totlen;
    const double u = t.iso_puff;
    const double m = t.stat_mbr;
    const double L = (100 - t.iso_fivent - t.iso_rovent) * 35 / 100 * u;
    const double M = (100 - t.alt_fivent - t.alt_rovent) * t.alt_volume / 100;
    const double B = (H - (u - 1) * 58 * m / 60) / L;
    const double lp = B * M * Lc / H;
    const double A = PI * t.fi_diam * t.fi_diam / 400;
    const double rho = t.ro_totmass / (A * t.ro_totlen / 10);
    const double vc = M / t.alt_duration / A;
    const double s = Lc / t.alt_puff;
    // At most 200 puffs, none when the count is not a number or below 1.
    const double count = std::ceil(Lc / s);
    const int n = !(count >= 1) ? 0 : (count > 200 ? 200 : (int)count);
    t.allocatePuffData(n);
    for (int i = 0; i < n; ++i) {
        t.puff_pos[i] = i * s;
        t.puff_size[i] = 10;
    }
    if (n > 0 && t.puff_pos[n - 1] + lp > Lc) {
        t.puff_size[n - 1] = (int)std::floor((Lc - t.puff_pos[n - 1]) / lp * 10 + 0.5);
        if (t.puff_size[n - 1] < 1) t.puff_size[n - 1] = 1;
    }
    buildPuffProfile(t, kLaterPuffRegime);
    double sumT = 0, sumN = 0, sumC = 0;
    for (int i = 0; i < n; ++i) {
        const PuffRegime code = i == 0 ? kFirstPuffRegime : kLaterPuffRegime;
        flowTable(t, code, counts);
        integratePuff(t, code);
        const double f = t.alt_fivent, r = t.alt_rovent, p = t.alt_pdo;
        const double kc = i == 0 ? t.coal1_k : t.coal_k;
        const double nc = i == 0 ? t.coal1_n : t.coal_n;
        // Shares of the puff below 0 (ventilations above 100 %) count as 0.
        const double coalShare = std::max(0.0, 100 - f - r), rodShare = std::max(0.0, 100 - f - r / 2);
        const double P = (kc * std::pow(coalShare * vc * 0.01 / 100, nc) * t.coal_len * 0.001 +
                          t.ro_k * std::pow(rodShare * vc * 0.01 / 100, t.coal_n) * t.ro_len * 0.5 * 0.001) /
                         PA;
        t.puff_fivent[i] = f;
        t.puff_rovent[i] = r;
        t.puff_avgpd[i] = p;
        t.puff_mass[i] = (100 - f - r) * (t.puff_size[i] * B / 10 * M) / 100;
        const double Rt = rho < 200 ? 0 : 1 - std::exp(-(mp[125] * rho + mp[126]) * t.ro_len);
        const double Rn = rho < 200 ? 0 : 1 - std::exp(-(mp[127] * rho + mp[128]) * t.ro_len);
        t.puff_nfdpm[i] = (1 - Rt) * t.puff_mass[i];
        t.puff_nico[i] = (1 - Rn) * t.puff_mass[i];
        const double X = coEscape(t, (100 - f - r / 2) * vc / 100, P, t.ci_len - t.tp_width, mp);
        t.puff_co[i] = (1 - X) * t.puff_mass[i];
        sumT += t.puff_nfdpm[i];
        sumN += t.puff_nico[i];
        sumC += t.puff_co[i];
        t.ci_len -= s;
        t.ro_len -= s;
    }
    for (int i = 0; i < n; ++i) {
        // A zero sum has nothing to scale.
        if ((t.isKnown(KnownBit::IsoTar) || t.isKnown(KnownBit::AltTar)) && sumT != 0)
            t.puff_nfdpm[i] *= t.alt_nfdpm / sumT;
        if ((t.isKnown(KnownBit::IsoNicotine) || t.isKnown(KnownBit::AltNicotine)) && sumN != 0)
            t.puff_nico[i] *= t.alt_nico / sumN;
        if ((t.isKnown(KnownBit::IsoCo) || t.isKnown(KnownBit::AltCo)) && sumC != 0)
            t.puff_co[i] *= t.alt_co / sumC;
    }
    design.freePuffData();
    design.allocatePuffData(t.puff_number);
    design.puff_size = t.puff_size;
    design.puff_pos = t.puff_pos;
    design.puff_mass = t.puff_mass;
    design.puff_fivent = t.puff_fivent;
    design.puff_rovent = t.puff_rovent;
    design.puff_avgpd = t.puff_avgpd;
    design.puff_nfdpm = t.puff_nfdpm;
    design.puff_nico = t.puff_nico;
    design.puff_co = t.puff_co;
}

}  // namespace veltrano::plain
