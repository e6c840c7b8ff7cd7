#pragma once

#include "core/design/DesignFields.h"
#include "core/design/DesignSet.h"
#include "core/document/DesignDocument.h"
#include "core/explore/VariantEvaluation.h"
#include "core/model/Recalculation.h"
#include "tests/core/model/ModelFixtures.h"

namespace veltrano::testing {

// The image of a design's values, to compare two designs bit for bit.
inline DesignImage imageOf(const DesignValues& values) {
    CigaretteDesign design(ArrayMode::NoArrays);
    design.assign(values);
    return encodeDesignImage(design);
}

// An online perforated design as the tipping page stores one (over the record's default plug wrap).
inline DesignValues onlineDesign(double target) {
    DesignValues d;
    d.tp_perfotype = kOnlineLaser;
    d.tp_onlinevent = target;
    d.stat_fivent = target;
    d.tp_perfowidth = 1;
    d.tp_perfotrack = 2;
    d.known &= ~known::bit(KnownBit::FilterVentilation);
    return d;
}

// The design with low ignition propensity paper: bands of 6 mm every 20 mm.
inline DesignValues withBands(DesignValues d) {
    d.cp_lip = 1;
    d.cp_bandwidth = 6;
    d.cp_bandspace = 20;
    d.cp_bandperm = 10;
    d.cp_banddiff = 0.5;
    return d;
}

// A pair of designs with the working reference made, as a sweep or a preview finds them.
struct ExploreDesigns {
    DesignSet set;
    explicit ExploreDesigns(const DesignValues& reference = DesignValues(),
                            const DesignValues& current = DesignValues()) {
        set.referenceDesign.assign(reference);
        set.currentDesign.assign(current);
        RecordingErrorReporter errors;
        recalculateWorkingReference(set.referenceDesign, set.workingReference, fixtureParameters(), errors);
    }
    ExploreBasis basis() const { return {set.referenceDesign, set.workingReference, fixtureParameters()}; }
    const DesignValues& current() const { return set.currentDesign; }
};

// The designs after the program's OK on the current design's sheet with `change` made: the document's
// edit and its whole recalculation. The errors reported go to `errors`.
template <class Change>
DesignSet recalculatedWith(const ExploreDesigns& designs, Change change, std::vector<int>& errors) {
    DesignDocument document(fixtureParameters());
    document.takeDesigns(designs.set.clone());
    DesignValues edited = designs.set.currentDesign;
    change(edited);
    RecordingErrorReporter reporter;
    document.replaceDesign(DesignRole::Current, edited, reporter);
    errors = reporter.numbers;
    return document.designs().clone();
}

}  // namespace veltrano::testing
