#pragma once

#include "core/design/CigaretteDesign.h"

namespace veltrano::testing {

// A reference with something on every page: macro laser perforation, banded paper, measured
// alternative yields and a triangular puff.
inline CigaretteDesign richReference() {
    CigaretteDesign d;
    d.tp_perfotype = kMacroLaser;
    d.tp_perfotrack = 4;
    d.tp_perfoperm = 350;
    d.cp_lip = 1;
    d.cp_bandwidth = 6.5;
    d.cp_bandspace = 21.25;
    d.cp_bandperm = 12.5;
    d.cp_banddiff = 0.125;
    d.known |= 0x78000000u;
    d.alt_puff = 10.5;
    d.alt_nfdpm = 14.2;
    d.alt_nico = 1.05;
    d.alt_co = 15.3;
    d.alt_volume = 55;
    d.alt_interval = 30;
    d.alt_blocking = 50;
    d.alt_profile.fill(0);
    d.alt_profile[1] = 1;
    d.alt_profpnts = 3;
    return d;
}

}  // namespace veltrano::testing
