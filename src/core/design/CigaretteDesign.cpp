#include "core/design/CigaretteDesign.h"

#include <algorithm>

namespace veltrano {

int DesignValues::profilePointCount() const {
    return std::clamp<std::int32_t>(alt_profpnts, 2, kShapeSlots);
}

const std::array<OwnedArray, 28>& ownedArrays() {
    using D = CigaretteDesign;
    static const std::array<OwnedArray, 28> table{{
        {"stat_pres_open", &D::stat_pres_open, kProfileSamples},
        {"stat_pres_closed", &D::stat_pres_closed, kProfileSamples},
        {"stat_flow_open", &D::stat_flow_open, kProfileSamples},
        {"stat_flow_closed", &D::stat_flow_closed, kProfileSamples},
        {"iso_tab_flow", &D::iso_tab_flow, kTableSamples},
        {"iso_tab_fivent", &D::iso_tab_fivent, kTableSamples},
        {"iso_tab_rovent", &D::iso_tab_rovent, kTableSamples},
        {"iso_tab_pdo", &D::iso_tab_pdo, kTableSamples},
        {"iso_tab_pvent", &D::iso_tab_pvent, kTableSamples},
        {"iso_tab_pfilt", &D::iso_tab_pfilt, kTableSamples},
        {"iso_prof_flow", &D::iso_prof_flow, kCurveSamples},
        {"iso_prof_fivent", &D::iso_prof_fivent, kCurveSamples},
        {"iso_prof_rovent", &D::iso_prof_rovent, kCurveSamples},
        {"iso_prof_pdo", &D::iso_prof_pdo, kCurveSamples},
        {"iso_prof_pvent", &D::iso_prof_pvent, kCurveSamples},
        {"iso_prof_pfilt", &D::iso_prof_pfilt, kCurveSamples},
        {"alt_tab_flow", &D::alt_tab_flow, kTableSamples},
        {"alt_tab_fivent", &D::alt_tab_fivent, kTableSamples},
        {"alt_tab_rovent", &D::alt_tab_rovent, kTableSamples},
        {"alt_tab_pdo", &D::alt_tab_pdo, kTableSamples},
        {"alt_tab_pvent", &D::alt_tab_pvent, kTableSamples},
        {"alt_tab_pfilt", &D::alt_tab_pfilt, kTableSamples},
        {"alt_prof_flow", &D::alt_prof_flow, kCurveSamples},
        {"alt_prof_fivent", &D::alt_prof_fivent, kCurveSamples},
        {"alt_prof_rovent", &D::alt_prof_rovent, kCurveSamples},
        {"alt_prof_pdo", &D::alt_prof_pdo, kCurveSamples},
        {"alt_prof_pvent", &D::alt_prof_pvent, kCurveSamples},
        {"alt_prof_pfilt", &D::alt_prof_pfilt, kCurveSamples},
    }};
    return table;
}

const std::array<PuffArray, 8>& puffArrays() {
    using D = CigaretteDesign;
    static const std::array<PuffArray, 8> table{{
        {"puff_pos", &D::puff_pos},
        {"puff_mass", &D::puff_mass},
        {"puff_fivent", &D::puff_fivent},
        {"puff_rovent", &D::puff_rovent},
        {"puff_avgpd", &D::puff_avgpd},
        {"puff_nfdpm", &D::puff_nfdpm},
        {"puff_nico", &D::puff_nico},
        {"puff_co", &D::puff_co},
    }};
    return table;
}

CigaretteDesign::CigaretteDesign(ArrayMode mode) {
    if (mode == ArrayMode::WithArrays) {
        for (const OwnedArray& a : ownedArrays()) (this->*a.member).assign(a.count, 0.0);
    }
}

CigaretteDesign CigaretteDesign::clone() const {
    CigaretteDesign copy(ArrayMode::NoArrays);
    copy.assign(*this);
    for (const OwnedArray& a : ownedArrays()) copy.*a.member = this->*a.member;
    copy.puff_number = puff_number;
    copy.puff_size = puff_size;
    for (const PuffArray& a : puffArrays()) copy.*a.member = this->*a.member;
    return copy;
}

void CigaretteDesign::freePuffData() {
    puff_number = 0;
    puff_size = {};
    for (const PuffArray& a : puffArrays()) (this->*a.member) = {};
}

void CigaretteDesign::allocatePuffData(int n) {
    freePuffData();
    if (n <= 0) return;
    puff_number = n;
    puff_size.assign(static_cast<std::size_t>(n), 0);
    for (const PuffArray& a : puffArrays()) (this->*a.member).assign(static_cast<std::size_t>(n), 0.0);
}

}  // namespace veltrano
