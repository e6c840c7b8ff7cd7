#include "ModelFixtures.h"

#include <cmath>
#include <functional>
#include <stdexcept>

#include "core/design/CigaretteDesign.h"

namespace veltrano::testing {

const ModelParameters& fixtureParameters() {
    static const ModelParameters parameters = [] {
        ModelParameters mp;
        if (loadModelParameters(VELTRANO_TEST_DATA_DIR "/fixture-models.dat", mp) != kModelParametersOk) {
            throw std::runtime_error("tests/data/fixture-models.dat is missing or incomplete");
        }
        return mp;
    }();
    return parameters;
}

void setShape(DesignValues& d, const std::vector<double>& points) {
    d.alt_profile.fill(0.0);
    for (std::size_t i = 0; i < points.size(); ++i) d.alt_profile[i] = points[i];
    d.alt_profpnts = static_cast<std::int32_t>(points.size());
}

std::vector<double> sineShape() {
    std::vector<double> points(400);
    for (int i = 0; i < 400; ++i) points[static_cast<std::size_t>(i)] = std::sin(3.141592654 * i / 400);
    return points;
}

namespace {

CorpusCase make(std::string name, const std::function<void(DesignValues&)>& current,
                const std::function<void(DesignValues&)>& reference = {}) {
    CorpusCase c{std::move(name), DesignValues{}, DesignValues{}};
    if (reference) reference(c.reference);
    current(c.current);
    return c;
}

void onlineLaser(DesignValues& d, double target) {
    d.tp_perfotype = kOnlineLaser;
    d.tp_onlinevent = target;
    d.tp_perfowidth = 1.0;
    d.tp_perfotrack = 1;
    d.tp_exponent = 0.5;
    d.pw_perm = 6000;
}

void bands(DesignValues& d, double width, double space) {
    d.cp_lip = 1;
    d.cp_bandwidth = width;
    d.cp_bandspace = space;
    d.cp_bandperm = 5;
    d.cp_banddiff = 0.1;
    d.cp_diff = 1.3;
}

void rod(DesignValues& d, double filter, double rodLength, double tipping) {
    d.fi_len = filter;
    d.ro_len = rodLength;
    d.tp_width = tipping;
    d.tp_perfopos = filter / 2;
}

struct Edges {
    double filter, rod, tipping;
    std::int32_t type;
    double tracks, perforation, perforationExponent, plugWrap, plugWrapExponent, zoneWidth, zonePosition;
    double paper, paperExponent, diameter, filterRodLength, filterRodPd, filterExponent, tobaccoRodLength,
        tobaccoRodPd, rodExponent, tobaccoMass, volume, duration, interval, blocking;
};

void edges(DesignValues& d, const Edges& e) {
    d.fi_len = e.filter;
    d.ro_len = e.rod;
    d.tp_width = e.tipping;
    d.tp_perfotype = e.type;
    d.tp_perfotrack = e.tracks;
    d.tp_perfoperm = e.perforation;
    d.tp_exponent = e.perforationExponent;
    d.pw_perm = e.plugWrap;
    d.pw_exponent = e.plugWrapExponent;
    d.tp_perfowidth = e.zoneWidth;
    d.tp_perfopos = e.zonePosition;
    d.cp_perm = e.paper;
    d.cp_exponent = e.paperExponent;
    d.fi_diam = e.diameter;
    d.fi_totlen = e.filterRodLength;
    d.fi_totpd = e.filterRodPd;
    d.fi_exponent = e.filterExponent;
    d.ro_totlen = e.tobaccoRodLength;
    d.ro_totpd = e.tobaccoRodPd;
    d.ro_exponent = e.rodExponent;
    d.ro_totmass = e.tobaccoMass;
    d.alt_volume = e.volume;
    d.alt_duration = e.duration;
    d.alt_interval = e.interval;
    d.alt_blocking = e.blocking;
}

std::vector<CorpusCase> buildCorpus() {
    std::vector<CorpusCase> corpus;
    const auto add = [&](CorpusCase c) { corpus.push_back(std::move(c)); };
    add(make("Default", [](DesignValues&) {}));
    add(make("NoPerforation", [](DesignValues& d) { d.tp_perfotype = kNoPerforation; }));
    add(make("MicroLaserTwoTracks", [](DesignValues& d) {
        d.tp_perfotype = kMicroLaser;
        d.tp_perfotrack = 2;
        d.tp_perfoperm = 300;
        d.tp_exponent = 0.65;
    }));
    add(make("MacroLaserOneTrack", [](DesignValues& d) {
        d.tp_perfotype = kMacroLaser;
        d.tp_perfotrack = 1;
        d.tp_perfoperm = 800;
        d.tp_exponent = 0.5;
        d.pw_perm = 6000;
    }));
    add(make("ElectrostaticHighPermeability", [](DesignValues& d) {
        d.tp_perfoperm = 400;
        d.pw_perm = 8000;
    }));
    add(make("PerforationBelowOneCu", [](DesignValues& d) { d.tp_perfoperm = 0.5; }));
    add(make("OnlineReachable", [](DesignValues& d) { onlineLaser(d, 25); }));
    add(make("OnlineUnreachable", [](DesignValues& d) { onlineLaser(d, 95); }));
    add(make(
        "OnlineReference", [](DesignValues&) {}, [](DesignValues& r) { onlineLaser(r, 30); }));
    add(make("BandedPaper", [](DesignValues& d) { bands(d, 6, 20); }));
    add(make("BandedNarrowSpacing", [](DesignValues& d) { bands(d, 1.7, 2.3); }));
    add(make(
        "BandedReference", [](DesignValues&) {}, [](DesignValues& r) { bands(r, 6, 20); }));
    add(make("ShapeSine400", [](DesignValues& d) { setShape(d, sineShape()); }));
    add(make("ShapeRectangle", [](DesignValues& d) { setShape(d, kRectangleShape); }));
    add(make("ShapeTriangle", [](DesignValues& d) { setShape(d, kTriangleShape); }));
    add(make("ShapeRamp", [](DesignValues& d) { setShape(d, kRampShape); }));
    add(make("ShapeIrregular", [](DesignValues& d) { setShape(d, kIrregularShape); }));
    add(make("Blocking50", [](DesignValues& d) { d.alt_blocking = 50; }));
    add(make("Blocking100", [](DesignValues& d) { d.alt_blocking = 100; }));
    add(make("IntenseRegimeBlocked", [](DesignValues& d) {
        d.alt_volume = 55;
        d.alt_duration = 2;
        d.alt_interval = 30;
        d.alt_blocking = 100;
        setShape(d, kTriangleShape);
    }));
    add(make("ShortRod", [](DesignValues& d) { rod(d, 20, 45, 26); }));
    add(make("LongRod", [](DesignValues& d) { rod(d, 30, 70, 36); }));
    add(make("SlimCigarette", [](DesignValues& d) {
        d.fi_diam = 5.4;
        d.fi_totpd = 700;
        d.ro_totpd = 90;
        d.ro_totmass = 420;
    }));
    add(make("OtherExponents", [](DesignValues& d) {
        d.fi_exponent = 1.1;
        d.cp_exponent = 0.8;
        d.ro_exponent = 1.0;
        d.tp_exponent = 0.6;
        d.pw_exponent = 0.7;
    }));
    add(make("PermeablePaperMoreCitrate", [](DesignValues& d) {
        d.cp_perm = 120;
        d.cp_citrate = 2;
        d.cp_diff = 2.1;
    }));
    add(make(
        "NothingKnown", [](DesignValues& d) { d.known = 0; }, [](DesignValues& r) { r.known = 0; }));
    add(make(
        "AlternativeValuesMeasured", [](DesignValues&) {},
        [](DesignValues& r) {
            r.known = 0xFFFFFFFFu;
            r.alt_puff = 9.5;
            r.alt_nico = 0.9;
            r.alt_nfdpm = 14;
            r.alt_co = 15;
        }));
    add(make("CorrectionsOff", [](DesignValues& d) {
        d.known &= ~(known::bit(KnownBit::PaperDiffusion) | known::bit(KnownBit::PaperCitrate) |
                     known::bit(KnownBit::PaperComposition) | known::bit(KnownBit::FilterTotalDenier) |
                     known::bit(KnownBit::FilterFibreDenier) | known::bit(KnownBit::TobaccoMass));
    }));
    add(make("PaperDefaults", [](DesignValues& d) {
        d.known &= ~(known::bit(KnownBit::PaperPermeability) | known::bit(KnownBit::PaperExponent) |
                     known::bit(KnownBit::PaperDiffusion));
    }));
    add(make(
        "BurnRateMeasurementMissing", [](DesignValues&) {},
        [](DesignValues& r) {
            r.known &= ~(known::bit(KnownBit::StaticBurnRate) | known::bit(KnownBit::RodVentilation));
        }));
    // Two designs at the edges of what the editor accepts, whose solves need the most passes.
    add(make(
        "EdgesOfTheRangesA",
        [](DesignValues& d) {
            edges(d, {30.3144, 46.1481, 51.36,  kElectrostatic, 2,     5950.1, 0.392,  29126, 0.938,
                      8.994,   13.86,   143.26, 0.945,          4.866, 118.66, 561.55, 1.676, 123.99,
                      296.87,  1.232,   2631.9, 18.8,           7.335, 87.36,  10.06});
        },
        [](DesignValues& r) {
            edges(r, {27.3506, 43.2433, 52.6941, kOnlineLaser, 6,     2890.4, 1.037, 4984,  0.413,
                      4.284,   17.988,  130.09,  0.868,        7.978, 55.91,  49.53, 1.155, 125.1,
                      293.94,  1.49,    1327.7,  29.3,         0.738, 23.19,  81.44});
            r.tp_onlinevent = 32.86;
            bands(r, 18.85, 64.92);
            r.cp_bandperm = 119.76;
            r.cp_banddiff = 0.106;
        }));
    add(make(
        "EdgesOfTheRangesB",
        [](DesignValues& d) {
            edges(d, {7.5369, 96.3894, 10.823, kElectrostatic, 5,     3704.2, 0.627,  27462, 0.669,
                      4.575,  3.463,   103.45, 0.36,           7.7,   34.36,  126.59, 1.287, 133.86,
                      124.58, 1.781,   2334.7, 38.18,          3.561, 127.77, 1.6});
            bands(d, 12.19, 63.67);
            d.cp_bandperm = 125.16;
            d.cp_banddiff = 1.823;
        },
        [](DesignValues& r) {
            edges(r, {16.0503, 66.3957, 17.4849, kNoPerforation, 5,     7900.8, 0.316,  29769, 0.8,
                      8.885,   9.202,   217.76,  0.81,           3.935, 53.51,  215.57, 1.704, 131.65,
                      31.75,   0.911,   1409.7,  24.36,          4.169, 49.09,  87.34});
        }));
    return corpus;
}

}  // namespace

const std::vector<CorpusCase>& modelCorpus() {
    static const std::vector<CorpusCase> corpus = buildCorpus();
    return corpus;
}

}  // namespace veltrano::testing
