#include "ModelFixtures.h"

#include <cmath>
#include <functional>
#include <stdexcept>

#include "design/CigaretteDesign.h"

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
        d.known &= ~(known::bit(9) | known::bit(10) | known::bit(11) | known::bit(14) | known::bit(15) |
                     known::bit(17));
    }));
    add(make("PaperDefaults",
             [](DesignValues& d) { d.known &= ~(known::bit(7) | known::bit(8) | known::bit(9)); }));
    add(make(
        "BurnRateMeasurementMissing", [](DesignValues&) {},
        [](DesignValues& r) { r.known &= ~(known::bit(22) | known::bit(21)); }));
    return corpus;
}

}  // namespace

const std::vector<CorpusCase>& modelCorpus() {
    static const std::vector<CorpusCase> corpus = buildCorpus();
    return corpus;
}

}  // namespace veltrano::testing
