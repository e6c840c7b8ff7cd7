#pragma once

#include "core/design/CigaretteDesign.h"

namespace veltrano::testing {

// A reference that passes every check, with every value known and shown, and values that the fields show
// rounded: odd decimals everywhere, a filler share of 29.63 % (fibre 19, filler 8 g/m²), whole numbers
// held with a fraction (tracks 3.4), and an odd puff shape.
inline CigaretteDesign awkwardDesign() {
    CigaretteDesign d;
    d.known = 0xFFFFFFFFu;
    d.tp_perfotype = kMacroLaser;
    d.tp_width = 31.237;
    d.tp_perfoperm = 412.6;
    d.tp_exponent = 0.6789;
    d.tp_perfopos = 12.345;
    d.tp_perfowidth = 2.555;
    d.tp_perfotrack = 3.4;
    d.pw_perm = 2412.5;
    d.pw_exponent = 0.777;
    d.cp_fiber = 19;
    d.cp_filler = 8;
    d.cp_citrate = 0.875;
    d.cp_perm = 47.5;
    d.cp_exponent = 0.915;
    d.cp_diff = 1.2345;
    d.cp_lip = 1;
    d.cp_bandwidth = 6.125;
    d.cp_bandspace = 21.255;
    d.cp_bandperm = 12.35;
    d.cp_banddiff = 0.1255;
    d.fi_len = 24.125;
    d.fi_diam = 7.845;
    d.fi_totlen = 144.444;
    d.fi_totpd = 421.875;
    d.fi_exponent = 1.005;
    d.fi_totden = 30000.5;
    d.fi_fibden = 3.125;
    d.ro_len = 59.995;
    d.ro_totlen = 60.005;
    d.ro_totpd = 61.115;
    d.ro_exponent = 1.235;
    d.ro_totmass = 750.125;
    d.alt_volume = 47.125;
    d.alt_duration = 2.125;
    d.alt_interval = 45.555;
    d.alt_blocking = 12.345;
    d.alt_profile.fill(0);
    d.alt_profile[0] = 0.1;
    d.alt_profile[1] = 1.0 / 3;
    d.alt_profile[2] = 0.7;
    d.alt_profpnts = 3;
    d.stat_pdo = 116.125;
    d.stat_pdc = 124.555;
    d.stat_fivent = 13.125;
    d.stat_rovent = 10.0625;
    d.stat_mbr = 60.125;
    d.iso_puff = 8.125;
    d.iso_nico = 0.705;
    d.iso_nfdpm = 11.115;
    d.iso_co = 13.125;
    d.alt_puff = 10.505;
    d.alt_nfdpm = 14.245;
    d.alt_nico = 1.055;
    d.alt_co = 15.305;
    return d;
}

// The awkward design with online perforation, as a recalculation leaves it: the permeability fitted to
// the targeted ventilation, the fixed geometry and papers, the filter ventilation not measured.
inline CigaretteDesign onlineDesign() {
    CigaretteDesign d = awkwardDesign();
    d.tp_perfotype = kOnlineLaser;
    d.tp_perfoperm = 1234.567;
    d.tp_exponent = 0.5;
    d.tp_perfowidth = 1.0;
    d.tp_perfotrack = 2.0;
    d.pw_perm = 30000;
    d.pw_exponent = 0.6;
    d.tp_onlinevent = 37.25;
    d.stat_fivent = 37.25;
    d.known &= ~known::bit(KnownBit::FilterVentilation);
    return d;
}

}  // namespace veltrano::testing
