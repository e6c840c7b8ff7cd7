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
    // What was learnt about a state after the step was taken (the per-puff data of the analysis).
    void amendBefore(DocumentSnapshot s) { before_ = std::move(s); }
    void amendAfter(DocumentSnapshot s) { after_ = std::move(s); }

private:
    DesignDocument& document_;
    DocumentSnapshot before_, after_;
    bool pushed_ = false;
};

SnapshotCommand* stepAt(QUndoStack& stack, int index) {
    if (index < 0 || index >= stack.count()) return nullptr;
    return static_cast<SnapshotCommand*>(const_cast<QUndoCommand*>(stack.command(index)));
}

// A history step holds two copies of the designs (a few hundred kilobytes); a long session keeps the
// last fifty.
constexpr int kUndoLimit = 50;

}  // namespace

UndoableDocument::UndoableDocument(DesignDocument& document, QObject* parent)
    : QObject(parent), document_(document), stack_(new QUndoStack(this)) {
    stack_->setUndoLimit(kUndoLimit);
    listener_ = document_.addListener([this](const DocumentChange& change) {
        if (gathered_)
            *gathered_ |= change;
        else
            emit changed(change);  // a change made around this history (set-up code)
    });
}

UndoableDocument::~UndoableDocument() {
    // The document outlives its window; the history goes with the window and tells nobody.
    document_.removeListener(listener_);
    stack_->disconnect();
    delete stack_;
}

bool UndoableDocument::modified() const {
    return !stack_->isClean();
}

void UndoableDocument::act(const std::function<void()>& action) {
    if (gathered_) {  // part of an action that runs already
        action();
        return;
    }
    gathered_.emplace();
    action();
    // The history decides the modified state; the document keeps it for whoever reads it there.
    document_.setModified(modified());
    const DocumentChange change = *gathered_;
    gathered_.reset();
    if (change.designs || change.file || change.modified || change.puffData) emit changed(change);
    emit actionDone();
}

bool UndoableDocument::perform(const QString& text, const std::function<bool(DesignDocument&)>& change) {
    bool changedDesigns = false;
    act([&] {
        DocumentSnapshot before = document_.snapshot();
        changedDesigns = change(document_);
        if (changedDesigns) stack_->push(new SnapshotCommand(document_, text, std::move(before)));
    });
    return changedDesigns;
}

void UndoableDocument::undo() {
    act([this] { stack_->undo(); });
}

void UndoableDocument::redo() {
    act([this] { stack_->redo(); });
}

int UndoableDocument::load(History history, const std::function<int(DesignDocument&)>& load) {
    int status = 0;
    act([&] {
        status = load(document_);
        if (status != 0) return;
        stack_->clear();
        // clear() leaves an empty history as it was; its saved state is set here either way.
        if (history == History::Saved)
            stack_->setClean();
        else
            stack_->resetClean();
    });
    return status;
}

int UndoableDocument::save(const std::function<int(DesignDocument&)>& write) {
    int status = 0;
    act([&] {
        status = write(document_);
        if (status == 0) stack_->setClean();
    });
    return status;
}

void UndoableDocument::update(const std::function<void(DesignDocument&)>& change) {
    act([&] { change(document_); });
}

void UndoableDocument::runPuffByPuffAnalysis(ProgressSink& progress) {
    act([&] {
        document_.runPuffByPuffAnalysis(progress);
        // The state either side of the present place in the history now has its per-puff data.
        const int here = stack_->index();
        if (SnapshotCommand* done = stepAt(*stack_, here - 1)) done->amendAfter(document_.snapshot());
        if (SnapshotCommand* next = stepAt(*stack_, here)) next->amendBefore(document_.snapshot());
    });
}

}  // namespace veltrano
