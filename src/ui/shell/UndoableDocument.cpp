#include "ui/shell/UndoableDocument.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace veltrano {

namespace {

// One change of the designs: the document before and after it.
class SnapshotCommand : public QUndoCommand {
public:
    SnapshotCommand(DesignDocument& document, const QString& text, DocumentSnapshot before)
        : QUndoCommand(text), document_(document), before_(std::move(before)), after_(document.snapshot()) {}

    void undo() override { document_.restore(before_); }
    void redo() override {
        // The change itself has been made already when the command is pushed.
        if (pushed_) document_.restore(after_);
        pushed_ = true;
    }

private:
    DesignDocument& document_;
    DocumentSnapshot before_, after_;
    bool pushed_ = false;
};

// A history step holds two copies of the designs (a few hundred kilobytes); a long session keeps the
// last fifty.
constexpr int kUndoLimit = 50;

}  // namespace

UndoableDocument::UndoableDocument(DesignDocument& document, QObject* parent)
    : QObject(parent), document_(document), stack_(new QUndoStack(this)) {
    stack_->setUndoLimit(kUndoLimit);
    listener_ = document_.addListener([this](const DocumentChange& change) { emit changed(change); });
    connect(stack_, &QUndoStack::cleanChanged, this, [this](bool clean) { document_.setModified(!clean); });
}

UndoableDocument::~UndoableDocument() {
    // The document outlives its window; the history goes with the window and tells nobody.
    document_.removeListener(listener_);
    stack_->disconnect();
    delete stack_;
}

bool UndoableDocument::perform(const QString& text, const std::function<bool(DesignDocument&)>& change) {
    DocumentSnapshot before = document_.snapshot();
    if (!change(document_)) return false;
    stack_->push(new SnapshotCommand(document_, text, std::move(before)));
    return true;
}

void UndoableDocument::opened() {
    stack_->clear();
}

void UndoableDocument::imported() {
    stack_->clear();
    // Not in this program's format on disk yet: no step of the history is the saved state.
    stack_->resetClean();
}

void UndoableDocument::saved() {
    stack_->setClean();
}

}  // namespace veltrano
