#pragma once

#include <functional>
#include <optional>

#include <QObject>
#include <QString>

#include "core/document/DesignDocument.h"

class QUndoStack;

namespace veltrano {

// The document as the program shows it, with its undo history. Every user action on the designs goes
// through here and is one action: the document's notifications during it are gathered, the history
// takes its step, and only then are the listeners told, once, by `changed`. The history's clean state
// is the modified state: undoing back to what was saved makes the designs unmodified again. A step
// keeps the whole designs before and after (arrays and per-puff data included), so that undo and redo
// put back exactly what was there, without recalculating.
class UndoableDocument : public QObject {
    Q_OBJECT
public:
    explicit UndoableDocument(DesignDocument& document, QObject* parent = nullptr);
    ~UndoableDocument() override;

    DesignDocument& document() { return document_; }
    const DesignDocument& document() const { return document_; }
    QUndoStack& undoStack() { return *stack_; }
    bool modified() const;

    // Runs `change` on the document as one undoable step named `text` ("Undo <text>"); `change` says
    // whether it changed anything, and only then is the step kept.
    bool perform(const QString& text, const std::function<bool(DesignDocument&)>& change);
    void undo();
    void redo();

    // Open, Import and recovery: what `load` reads (0, or its error, when nothing changes) starts a new
    // history, at the saved state (Open) or with no saved state at all (a file not in this program's
    // format, recovered work).
    enum class History { Saved, Unsaved };
    int load(History history, const std::function<int(DesignDocument&)>& load);
    // Save and Save as: a complete `write` (0) makes the present step the saved state.
    int save(const std::function<int(DesignDocument&)>& write);
    // A change that is no step of the history (the solver's recalculation, leaving the solver).
    void update(const std::function<void(DesignDocument&)>& change);
    // The puff-by-puff analysis of the present designs; its data belong to the present step, so that
    // undo and redo bring them back with the designs.
    void runPuffByPuffAnalysis(ProgressSink& progress);

signals:
    // Once per action, after its step is on the history.
    void changed(const veltrano::DocumentChange& change);
    // After `changed` has reached every listener: what an action's end may still do (view 3 runs the
    // analysis here) runs outside the notification.
    void actionDone();

private:
    // Runs `action` with the document's notifications gathered, then tells them once.
    void act(const std::function<void()>& action);

    DesignDocument& document_;
    QUndoStack* stack_;
    int listener_;
    std::optional<DocumentChange> gathered_;  // set while an action runs
};

}  // namespace veltrano
