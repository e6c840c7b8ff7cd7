#include "core/model/AlternativeYields.h"

#include "core/model/Characteristics.h"
#include "core/model/IsoYields.h"
#include "core/model/PuffSimulation.h"
#include "core/model/StationaryFlow.h"

namespace veltrano {

UnventilatedCompanion computeUnventilatedCompanion(const DesignValues& d, const ModelParameters& mp,
                                                   ShootingStatistics* stats) {
    CigaretteDesign companion(ArrayMode::WithArrays);
    companion.assign(d);
    companion.tp_perfotype = kNoPerforation;
    companion.tp_perfoperm = 0;
    computeStationaryFlow(companion, kWithProfiles, mp, stats);
    computeIsoYields(companion, mp);
    buildPuffProfile(companion, kIsoRegime);
    buildFlowTable(companion, kIsoRegime, stats);
    integratePuff(companion, kIsoRegime);
    return {companion.iso_puff, companion.stat_mbr,  companion.iso_rovent,
            companion.iso_nico, companion.iso_nfdpm, companion.iso_co};
}

void applyAlternativeYields(DesignValues& d, const UnventilatedCompanion& companion,
                            const DesignValues& reference, const DesignValues& workingReference) {
    const DesignValues& R = reference;
    const DesignValues& W = workingReference;
    double u = companion.puffs, m = companion.burnRate, e = companion.rodVentilation;
    double a = d.alt_fivent, b = d.alt_rovent;

    // Measured values of the reference correct what enters the balance.
    if (R.isKnown(KnownBit::IsoPuffNumber) && W.iso_puff > 0.1) u = R.iso_puff * u / W.iso_puff;
    if (R.isKnown(KnownBit::StaticBurnRate) && W.stat_mbr > 1) {
        m = R.stat_mbr * m / W.stat_mbr;
    } else if (R.isKnown(KnownBit::IsoPuffNumber) && W.iso_puff > 0.1) {
        m = W.iso_puff * m / R.iso_puff;  // the burn rate moves inversely to the puff number
    }
    if (R.isKnown(KnownBit::RodVentilation) && W.stat_rovent > 0.1) {
        e = R.stat_rovent * e / W.stat_rovent;
        b = R.stat_rovent * b / W.stat_rovent;
    }
    if (R.isKnown(KnownBit::FilterVentilation) && W.stat_fivent > 0.1) a = R.stat_fivent * a / W.stat_fivent;

    // Consumable tobacco, burnt by smouldering between puffs and by the air drawn through the coal.
    const double H = (d.ci_len - buttLength(d)) * d.ro_totmass / d.ro_totlen;
    if (e > 99.9 || a + b > 99.9) {
        d.alt_puff = H / m * 60 / d.alt_interval;
        d.alt_nico = 0;
        d.alt_nfdpm = 0;
        d.alt_co = 0;
        return;
    }
    const double L = (100 - e) * 35 / 100 * u;
    const double M = (100 - a - b) * d.alt_volume / 100;
    const double S = (d.alt_interval - d.alt_duration) * m / 60;
    const double B = (H - (u - 1) * 58 * m / 60) / L;
    d.alt_puff = (H + S) / (B * M + S);
    d.alt_nico = companion.nico * d.alt_puff * M / L;
    d.alt_nfdpm = companion.nfdpm * d.alt_puff * M / L;
    d.alt_co = companion.co * d.alt_puff * M / L;
}

void computeAlternativeYields(DesignValues& d, const DesignValues& reference,
                              const DesignValues& workingReference, const ModelParameters& mp,
                              ShootingStatistics* stats) {
    applyAlternativeYields(d, computeUnventilatedCompanion(d, mp, stats), reference, workingReference);
}

}  // namespace veltrano
