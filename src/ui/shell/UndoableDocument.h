#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "core/document/DesignDocument.h"

class QUndoStack;

namespace veltrano {

// The document as the program shows it: every notification of the document becomes one `changed`
// signal, and every change of the designs becomes one step of an undo history. A step keeps the whole
// designs before and after (arrays and per-puff data included), so that undo and redo put back exactly
// what was there, without recalculating. The modified state follows the history: undoing back to what
// was saved makes the designs unmodified again.
class UndoableDocument : public QObject {
    Q_OBJECT
public:
    explicit UndoableDocument(DesignDocument& document, QObject* parent = nullptr);
    ~UndoableDocument() override;

    DesignDocument& document() { return document_; }
    const DesignDocument& document() const { return document_; }
    const DesignSet& designs() const { return document_.designs(); }
    QUndoStack& undoStack() { return *stack_; }

    // Runs `change` on the document as one undoable step named `text` ("Undo <text>"); `change` says
    // whether it changed anything, and only then is the step kept.
    bool perform(const QString& text, const std::function<bool(DesignDocument&)>& change);

    // After the document was opened, imported, saved: what the history makes of it. An opened file starts
    // a new history at its saved state; an imported one has no saved state in this format yet.
    void opened();
    void imported();
    void saved();

signals:
    void changed(const veltrano::DocumentChange& change);

private:
    DesignDocument& document_;
    QUndoStack* stack_;
    int listener_;
};

}  // namespace veltrano
