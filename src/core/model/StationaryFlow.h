#pragma once

#include "core/design/CigaretteDesign.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/model/FlowNetwork.h"

namespace veltrano {

enum StationaryMode { kWithProfiles = 1, kResultsOnly = 2 };

// The standard draw resistance measurement at 17.5 ml/s: sets the coefficients of the four components,
// `stat_pdc`, `stat_pdo`, `stat_fivent`, `stat_rovent` and, with kWithProfiles on a design with arrays,
// the four suction and flow profiles along the cigarette.
void computeStationaryFlow(CigaretteDesign& d, int mode, const ModelParameters& mp,
                           ShootingStatistics* stats = nullptr);

// The first guess of the mouth suction (Pa) of the open network at the standard flow: the
// perforation relieves the part of the filter behind the zone and the rod.
double openStartSuction(const DesignValues& d);

// For online perforation: the perforation permeability that gives the targeted filter ventilation
// `tp_onlinevent`. An unreachable target becomes the reachable maximum at 8000 CU (error 76); a search
// that needs 500 trials reports error 77. Does nothing for other perforation types.
void fitOnlinePerforation(DesignValues& d, const ModelParameters& mp, ErrorReporter& errors,
                          ShootingStatistics* stats = nullptr);

}  // namespace veltrano
