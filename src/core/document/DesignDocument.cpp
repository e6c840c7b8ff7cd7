#include "core/document/DesignDocument.h"

#include <array>
#include <optional>

#include "core/design/CigaretteFile.h"
#include "core/design/DesignFields.h"
#include "core/design/LegacyImport.h"
#include "core/design/StartupFile.h"
#include "core/model/Characteristics.h"
#include "core/model/PuffByPuff.h"
#include "core/model/Recalculation.h"

namespace veltrano {

namespace {

// The designs as the model takes them: the images with the model's default in place of every value that
// is not known. A value that is not known is no input (the sheet stores it as 0, a recalculation puts the
// default or the result there), so only a change of an input, of a result or of a known word shows.
std::array<DesignImage, 3> inputsOf(const DesignSet& d, const ModelParameters& mp) {
    const auto image = [&mp](const CigaretteDesign& design) {
        CigaretteDesign taken(ArrayMode::NoArrays);
        taken.assign(design);
        applyDefaults(taken, mp);
        return encodeDesignImage(taken);
    };
    return {image(d.referenceDesign), image(d.workingReference), image(d.currentDesign)};
}

}  // namespace

void DesignDocument::takeDesigns(DesignSet designs) {
    designs_ = std::move(designs);
    fileName_.clear();
    legacyFile_ = false;
    puffDataValid_ = true;
    finish({.designs = true, .file = true, .puffData = true}, false, false, nullptr);
}

int DesignDocument::loadStartup(const std::string& path) {
    DesignSet designs;
    const int status = loadStartupDesigns(path, designs);
    if (status != 0) return status;
    designs.informationText.fill('\0');  // the start-up file holds designs only
    takeDesigns(std::move(designs));
    return 0;
}

int DesignDocument::open(const std::string& path, ErrorReporter& errors) {
    const int status = readCigaretteFile(path, designs_, errors);
    if (status != 0) return status;
    fileName_ = path;
    legacyFile_ = false;
    finish({.designs = true, .file = true}, true, false, &errors);
    return 0;
}

int DesignDocument::importLegacy(const std::string& path, ErrorReporter& errors) {
    const int status = importLegacyFile(path, designs_, errors);
    if (status != 0) return status;
    fileName_ = path;
    legacyFile_ = true;
    finish({.designs = true, .file = true}, true, true, &errors);
    return 0;
}

int DesignDocument::recover(const std::string& recoveryPath, const std::string& originalPath, bool legacyFile,
                            ErrorReporter& errors) {
    const int status = readCigaretteFile(recoveryPath, designs_, errors);
    if (status != 0) return status;
    fileName_ = originalPath;
    legacyFile_ = legacyFile;
    finish({.designs = true, .file = true}, true, true, &errors);
    return 0;
}

int DesignDocument::save(ErrorReporter& errors) {
    const int status = saveCigaretteFile(fileName_, designs_, errors);
    if (status != 0) {
        fileName_.clear();
        notify({.file = true});
        return status;
    }
    legacyFile_ = false;
    modified_ = false;
    notify({.file = true, .modified = true});
    return 0;
}

int DesignDocument::saveAs(const std::string& path, ErrorReporter& errors) {
    const int status = saveCigaretteFile(path, designs_, errors);
    if (status != 0) return status;
    fileName_ = path;
    legacyFile_ = false;
    modified_ = false;
    notify({.file = true, .modified = true});
    return 0;
}

bool DesignDocument::changeDesigns(const std::function<void(DesignSet&)>& edit, ErrorReporter& errors) {
    const auto before = inputsOf(designs_, mp_);
    edit(designs_);
    const bool changed = inputsOf(designs_, mp_) != before;
    finish({.designs = true}, true, changed ? std::optional(true) : std::nullopt, &errors);
    return changed;
}

bool DesignDocument::replaceDesign(DesignRole role, const DesignValues& edited, ErrorReporter& errors) {
    return changeDesigns([&](DesignSet& d) { applySheetEdit(d, role, edited); }, errors);
}

bool DesignDocument::copyReferenceToCurrent(ErrorReporter& errors) {
    return changeDesigns([](DesignSet& d) { d.currentDesign.assign(d.referenceDesign); }, errors);
}

bool DesignDocument::acceptCurrentDesign(const DesignValues& current, ErrorReporter& errors) {
    return changeDesigns([&](DesignSet& d) { d.currentDesign.assign(current); }, errors);
}

bool DesignDocument::setInformation(const InformationText& text) {
    if (informationTextString(text) == informationTextString(designs_.informationText)) return false;
    designs_.informationText = text;
    finish({.designs = true}, false, true, nullptr);
    return true;
}

void DesignDocument::recalculate(ErrorReporter& errors) {
    // The inputs stay as they are, and so do the per-puff data that belong to them.
    veltrano::recalculate(designs_, mp_, errors);
    notify({.designs = true});
}

void DesignDocument::refresh(ErrorReporter& errors) {
    finish({.designs = true}, true, std::nullopt, &errors);
}

void DesignDocument::runPuffByPuffAnalysis(ProgressSink& progress) {
    runPuffByPuff(designs_.currentDesign, mp_, progress);
    puffDataValid_ = true;
    notify({.designs = true, .puffData = true});
}

DocumentSnapshot DesignDocument::snapshot() const {
    return {designs_.clone(), puffDataValid_};
}

void DesignDocument::restore(const DocumentSnapshot& s) {
    designs_ = s.designs.clone();
    puffDataValid_ = s.puffDataValid;
    notify({.designs = true, .puffData = true});
}

void DesignDocument::setModified(bool modified) {
    if (modified == modified_) return;
    modified_ = modified;
    notify({.modified = true});
}

void DesignDocument::finish(DocumentChange change, bool recalculateResults, std::optional<bool> modified,
                            ErrorReporter* errors) {
    if (recalculateResults) {
        veltrano::recalculate(designs_, mp_, *errors);
        // The per-puff data belong to the design as it was; whoever shows them runs the analysis again.
        puffDataValid_ = false;
        change.puffData = true;
    }
    if (modified && *modified != modified_) {
        modified_ = *modified;
        change.modified = true;
    }
    notify(change);
}

int DesignDocument::addListener(Listener listener) {
    listeners_.emplace_back(++nextListenerId_, std::move(listener));
    return nextListenerId_;
}

void DesignDocument::removeListener(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void DesignDocument::notify(const DocumentChange& change) const {
    for (const auto& [id, listener] : listeners_) listener(change);
}

}  // namespace veltrano
