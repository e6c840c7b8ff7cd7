#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/solver/SolverTargets.h"
#include "core/solver/TargetSearches.h"

namespace veltrano {

// What one Search of the problem solver came to.
struct SearchOutcome {
    enum class Kind {
        Result,        // values found: show `fieldTexts`, the result may be accepted
        RangeMessage,  // the target lies outside the reachable range: show `message` (caption "Error")
        Error,         // a search found nothing: report numbered error `error` (56, 57, 58 or 60)
        NotOffered,    // the design does not offer this group or target: nothing was searched
    };
    Kind kind = Kind::NotOffered;
    TippingResult tipping;  // tipping group: the permeabilities found
    PaperResult paper;      // paper group: the permeability found and its diffusion capacity
    // The two result fields as shown: plug wrap and tipping permeability ("%.0f"), or paper permeability
    // ("%.0f") and diffusion capacity ("%.3f").
    std::array<std::string, 2> fieldTexts;
    std::string hints;    // tipping results: the advice on the tipping permeability (may be empty)
    std::string message;  // RangeMessage
    int error = 0;        // Error
};

// One click on a group's Search for target `code`, the target field holding `targetText`, on the
// recalculated designs: the range check against the reachable values (ventilation targets on the
// calibrated scale), the searches on copies of the current design and the advice. Changes nothing.
// `errors` receives only a program error (59); the outcome carries everything the user is shown.
// `evaluationCap` bounds the three searches that have no limit of their own.
SearchOutcome runSolverSearch(const DesignSet& designs, SolverGroup group, SolverTarget code,
                              std::string_view targetText, const ModelParameters& mp, ErrorReporter& errors,
                              int evaluationCap = kSearchEvaluationCap);

// Accept: writes a result into `design` as its fields show it (`fieldTexts` of the outcome, read as
// numbers): the tipping perforation and plug wrap permeabilities, or the paper permeability with the
// diffusion capacity predicted anew for it. The known word stays as it is.
void acceptSearchResult(DesignValues& design, SolverGroup group, const std::array<std::string, 2>& fieldTexts,
                        const ModelParameters& mp);

}  // namespace veltrano
