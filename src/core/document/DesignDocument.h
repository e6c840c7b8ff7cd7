#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/design/DesignSet.h"
#include "core/design/ErrorMessages.h"
#include "core/design/ModelParameters.h"
#include "core/document/SheetEdit.h"

namespace veltrano {

// What one operation changed, so that whoever shows the document redraws only what it must.
struct DocumentChange {
    bool designs = false;   // values or results of a design, or the information text
    bool file = false;      // the file name or its format
    bool modified = false;  // the modified state
    bool puffData = false;  // the per-puff data or their validity

    // Both changes in one: what either changed.
    DocumentChange& operator|=(const DocumentChange& other) {
        designs |= other.designs;
        file |= other.file;
        modified |= other.modified;
        puffData |= other.puffData;
        return *this;
    }
};

// Everything undo needs to put the designs back exactly: whole designs (record values, arrays and
// per-puff data) and whether the per-puff data belong to the present designs.
struct DocumentSnapshot {
    DesignSet designs;
    bool puffDataValid = true;
};

// The designs a user works on and their file: the reference, the working reference and the current
// design, the information text, the file name, the modified state and whether the per-puff data are up
// to date. Every change is one of the operations below; each brings the results up to date where its
// change made them stale and then tells the listeners once what changed. The program and veltrano-cli
// both work through it.
class DesignDocument {
public:
    using Listener = std::function<void(const DocumentChange&)>;

    explicit DesignDocument(const ModelParameters& mp) : mp_(mp) {}
    DesignDocument(const DesignDocument&) = delete;
    DesignDocument& operator=(const DesignDocument&) = delete;

    const DesignSet& designs() const { return designs_; }
    const ModelParameters& modelParameters() const { return mp_; }
    const std::string& fileName() const { return fileName_; }
    // The named file is still in the old 3.xx format: it was imported and not yet saved in this format.
    bool isLegacyFile() const { return legacyFile_; }
    bool modified() const { return modified_; }
    bool puffDataValid() const { return puffDataValid_; }

    // Listeners are told of every change until they are removed by the id they were given.
    int addListener(Listener listener);
    void removeListener(int id);

    // The start-up designs with the results and per-puff data they store (nothing is recalculated); no
    // file name, not modified. 0, or the start-up file reader's failure.
    int loadStartup(const std::string& path);

    // New designs as they are given, with the results and per-puff data they hold (nothing is
    // recalculated); no file name, not modified. What veltrano-cli build writes.
    void takeDesigns(DesignSet designs);
    // Open: the cigarette file's designs and text replace the document's, which takes the file's name and
    // is not modified. Returns 0, or the reader's error (reported); then nothing changes.
    int open(const std::string& path, ErrorReporter& errors);
    // Import of a legacy file: as Open, but the designs count as modified and the file as legacy.
    int importLegacy(const std::string& path, ErrorReporter& errors);
    // Recovery after a crash: the designs of the recovery file at `recoveryPath`, taken as if opened from
    // `originalPath` (which may be in the 3.xx format); the designs count as modified.
    int recover(const std::string& recoveryPath, const std::string& originalPath, bool legacyFile,
                ErrorReporter& errors);
    // Save to the file name (which must not be empty). A failure empties the file name, so that the next
    // Save asks for one. Returns 0 or the error number (reported).
    int save(ErrorReporter& errors);
    // Save as: writes to `path`; only a complete write makes `path` the file name.
    int saveAs(const std::string& path, ErrorReporter& errors);

    // The sheet's OK (applySheetEdit), then everything is recalculated. True when an input or a known
    // word changed (only then are the designs modified); a value that is not known is no input.
    bool replaceDesign(DesignRole role, const DesignValues& edited, ErrorReporter& errors);
    // Copy to current: the current design takes the reference's values (its own arrays stay).
    bool copyReferenceToCurrent(ErrorReporter& errors);
    // The information text; true when it differs from the one held.
    bool setInformation(const InformationText& text);
    // What a search accepted (the problem solver, a sweep point, design to targets): the current design
    // takes these values, its known word included.
    bool acceptCurrentDesign(const DesignValues& current, ErrorReporter& errors);
    // Brings every result up to date without any change of an input (the solver's first step); the
    // per-puff data stay valid.
    void recalculate(ErrorReporter& errors);
    // The steps that end every change, without a change: recalculate, and mark the per-puff data stale
    // (leaving the problem solver without accepting anything).
    void refresh(ErrorReporter& errors);
    // Smokes the current design puff by puff; the per-puff data become valid.
    void runPuffByPuffAnalysis(ProgressSink& progress);

    // Undo and redo: a copy of everything that a change may touch, and putting it back as it was,
    // results and per-puff data included, without recalculating.
    DocumentSnapshot snapshot() const;
    void restore(const DocumentSnapshot& snapshot);
    // The modified state as whoever keeps the history decides it (undoing back to the saved state).
    void setModified(bool modified);

private:
    // The end of every operation: recalculate when inputs changed (the per-puff data are then stale),
    // take the new modified state if the operation decides one, and tell the listeners once.
    void finish(DocumentChange change, bool recalculateResults, std::optional<bool> modified,
                ErrorReporter* errors);
    // Replaces the record values of the designs and marks what changed; true when an input, a result or
    // a known word changed.
    bool changeDesigns(const std::function<void(DesignSet&)>& edit, ErrorReporter& errors);
    void notify(const DocumentChange& change) const;

    // Tests set designs up in place, without an operation (tests/support/DocumentTestAccess.h).
    friend struct DocumentTestAccess;

    const ModelParameters& mp_;
    DesignSet designs_;
    std::string fileName_;
    bool legacyFile_ = false;
    bool modified_ = false;
    bool puffDataValid_ = true;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListenerId_ = 0;
};

}  // namespace veltrano
