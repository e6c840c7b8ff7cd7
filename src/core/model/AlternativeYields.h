#pragma once

#include "core/design/CigaretteDesign.h"
#include "core/design/ModelParameters.h"
#include "core/model/FlowNetwork.h"

namespace veltrano {

// The ISO behaviour of a design with its perforation removed: the base of the alternative yields.
struct UnventilatedCompanion {
    double puffs = 0;                    // `iso_puff`
    double burnRate = 0;                 // `stat_mbr`
    double rodVentilation = 0;           // `iso_rovent` over the ISO puff
    double nico = 0, nfdpm = 0, co = 0;  // raw ISO yields
};

UnventilatedCompanion computeUnventilatedCompanion(const DesignValues& d, const ModelParameters& mp,
                                                   ShootingStatistics* stats = nullptr);

// The burn balance: sets `alt_puff`, `alt_nico`, `alt_nfdpm`, `alt_co` of `d` from its companion and its
// alternative-puff ventilation (`alt_fivent`, `alt_rovent`), corrected by the reference's measured values.
void applyAlternativeYields(DesignValues& d, const UnventilatedCompanion& companion,
                            const DesignValues& reference, const DesignValues& workingReference);

// Both steps on a design whose alternative puff has been integrated.
void computeAlternativeYields(DesignValues& d, const DesignValues& reference,
                              const DesignValues& workingReference, const ModelParameters& mp,
                              ShootingStatistics* stats = nullptr);

}  // namespace veltrano
