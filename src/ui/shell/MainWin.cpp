#include "ui/shell/MainWin.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QUndoStack>

#include "render/resources/ProgramTitle.h"
#include "ui/dialogs/ControlIds.h"
#include "ui/dialogs/FilePaths.h"
#include "ui/shell/DesignDlg.h"
#include "ui/shell/PuffWaitDlg.h"
#include "ui/shell/Recovery.h"
#include "ui/shell/UndoableDocument.h"
#include "ui/shell/ViewArea.h"

namespace veltrano {

namespace {

constexpr QSize kFrameSize{1024, 820};

}  // namespace

MainWin::MainWin(DesignDocument& document, Dialogs& dialogs)
    : document_(document),
      dialogs_(dialogs),
      undoable_(new UndoableDocument(document, this)),
      errors_(dialogs, this),
      resources_(makeViewResources()) {
    setObjectName("MainWin");
    // "[*]" shows as "*" while the designs are modified (Qt's convention for a document window's title).
    setWindowTitle(programTitle() + QStringLiteral(" - by korbinel[*]"));
    viewArea_ = new ViewArea(*this);
    setCentralWidget(scrollingClient(viewArea_));
    setAcceptDrops(true);
    buildMenus();
    move(0, 0);
    resize(kFrameSize);

    panel_ = std::make_unique<DesignDlg>(*this);
    puffWait_ = std::make_unique<PuffWaitDlg>(this);
    puffWait_->hide();

    connect(undoable_, &UndoableDocument::changed, this, &MainWin::documentChanged);
    connect(undoable_, &UndoableDocument::actionDone, this, &MainWin::keepPuffDataCurrent);
    updateViewChecks();
    updateEnabling();
    action(kCmdMenuBar)->setChecked(true);
}

MainWin::~MainWin() {
    // The history is destroyed with this window; nothing it says then may reach the window's parts.
    undoable_->undoStack().disconnect(this);
    undoable_->disconnect(this);
}

void MainWin::buildMenus() {
    std::map<QString, QMenu*> menus;
    viewGroup_ = new QActionGroup(this);
    viewGroup_->setExclusive(true);
    for (const MenuRow& row : menuRows()) {
        QAction* a = nullptr;
        if (!row.menu) {
            a = new QAction(this);
            addAction(a);
        } else {
            const QString title = QString::fromLatin1(row.menu);
            QMenu*& menu = menus[title];
            if (!menu) {
                menu = menuBar()->addMenu(title);
                connect(menu, &QMenu::aboutToShow, this, &MainWin::updateEnabling);
            }
            if (!row.text) {
                menu->addSeparator();
                continue;
            }
            if (row.id == kCmdRecentFiles) {
                addRecentFilesMenu(menu, row);
                continue;
            }
            a = menu->addAction(QString::fromLatin1(row.text));
        }
        a->setObjectName(QString::fromLatin1(row.objectName));
        setControlId(a, row.id);
        a->setData(row.id);
        a->setCheckable(row.checkable);
        if (row.shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        if (viewOfCommand(row.id)) viewGroup_->addAction(a);
        // A checkable item toggles itself before its command runs; the command sets the mark again.
        connect(a, &QAction::triggered, this, [this, id = row.id] { runCommand(id); });
        actions_[row.id] = a;
    }
    action(kCmdRedo)->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    // "Undo <what>" and "Redo <what>" name the step they take back or do again.
    QUndoStack& stack = undoable_->undoStack();
    connect(&stack, &QUndoStack::undoTextChanged, this, [this](const QString& text) {
        action(kCmdUndo)->setText(text.isEmpty() ? tr("Undo") : tr("Undo %1").arg(text));
    });
    connect(&stack, &QUndoStack::redoTextChanged, this, [this](const QString& text) {
        action(kCmdRedo)->setText(text.isEmpty() ? tr("Redo") : tr("Redo %1").arg(text));
    });
}

QAction* MainWin::action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

bool MainWin::commandEnabled(CommandId id) const {
    const Command* command = findCommand(id);
    return command && (!command->enabled || command->enabled(*this));
}

bool MainWin::runCommand(CommandId id) {
    // Nothing else runs while the analysis shows its progress.
    if (analysisRunning_ || !commandEnabled(id)) {
        updateEnabling();
        return false;
    }
    findCommand(id)->run(*this);
    return true;
}

bool MainWin::canUndo() const {
    return undoable_->undoStack().canUndo();
}

bool MainWin::canRedo() const {
    return undoable_->undoStack().canRedo();
}

bool MainWin::designsChanged() const {
    return undoable_->modified();
}

void MainWin::undo() {
    undoable_->undo();
}

void MainWin::redo() {
    undoable_->redo();
}

void MainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeWindows();
    }
}

void MainWin::placeWindows() {
    fitFrame();
    // The panel stands beside the main frame, its frame's top at the main frame's top. A window is
    // placed before it is shown: the window manager then puts its frame, caption included, there.
    const QRect desktop = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect frame(frameGeometry().topLeft(), kFrameSize);
    const int panelWidth = panel_->width() + (frameGeometry().width() - width());
    int x = frame.right() + 1 + 10;
    if (x + panelWidth > desktop.right() + 1) x = desktop.right() + 1 - panelWidth - 5;
    panel_->move(x, frame.top());
    if (panelVisible_) {
        panel_->show();
        panel_->raise();
    }
    puffWait_->move(frame.left() + frame.width() / 2 - puffWait_->width() / 2,
                    frame.top() + frame.height() / 2 - puffWait_->height() / 2);
}

void MainWin::fitFrame() {
    // The frame is 1024 x 820 where the window system lets us size it. Its margins are known only once
    // a window manager has framed the window, which may be after it was shown; the size is corrected
    // then, once. Without a window manager there are no margins and the window is the frame.
    if (frameFitted_) return;
    const QSize extra = frameGeometry().size() - geometry().size();
    if (extra.width() == 0 && extra.height() == 0) return;
    frameFitted_ = true;
    resize(kFrameSize - extra);
}

void MainWin::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fitFrame();
}

void MainWin::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fitFrame();
}

void MainWin::updateViewChecks() {
    for (const ViewRow& row : kViewRows) action(viewCommand(row.view))->setChecked(viewMode_ == row.view);
}

void MainWin::updateEnabling() {
    for (const auto& [id, a] : actions_) a->setEnabled(commandEnabled(static_cast<CommandId>(id)));
    panel_->updateEnabling();
}

void MainWin::repaintClient() {
    viewArea_->update();
}

QString MainWin::currentFileName() const {
    return fromFilePath(document_.fileName());
}

QString MainWin::shownFileName() const {
    return QDir::toNativeSeparators(currentFileName());
}

void MainWin::updateTitle() {
    // The title shows the path last chosen; it stays when a failed save empties the file name.
    if (!document_.fileName().empty()) titlePath_ = shownFileName();
    if (!titlePath_.isEmpty()) setWindowTitle(programTitle() + QStringLiteral(" - ") + titlePath_ + "[*]");
    setWindowModified(designsChanged());
}

void MainWin::documentChanged(const DocumentChange& change) {
    if (change.file || change.modified) updateTitle();
    if (change.puffData) hoveredPuff_ = -1;
    if (change.designs || change.puffData) {
        // Without the reference's measured puff number there is no puff-by-puff view to stay in.
        const bool offered = commandEnabled(kCmdViewPuffByPuff);
        if (!offered && viewMode_ == View::PuffByPuff) {
            viewMode_ = View::StationaryFlow;
            panel_->syncRadios();
            updateViewChecks();
        }
        repaintClient();
    }
    updateEnabling();
}

void MainWin::keepPuffDataCurrent() {
    if (viewMode_ == View::PuffByPuff && !document_.puffDataValid()) runPuffByPuffAnalysis();
}

void MainWin::setViewMode(View mode) {
    if (viewMode_ == mode) {
        updateViewChecks();
        return;
    }
    if (mode == View::PuffByPuff && !document_.puffDataValid()) runPuffByPuffAnalysis();
    if (viewMode_ == View::PuffByPuff) hoveredPuff_ = -1;
    viewMode_ = mode;
    repaintClient();
    panel_->syncRadios();
    updateViewChecks();
}

void MainWin::attachRecovery(RecoveryWriter* writer) {
    writer->setParent(this);
    recovery_ = writer;
    connect(writer, &RecoveryWriter::unprotected, this, [this](const QString& folder, const QString& reason) {
        showUnprotectedNote(this, folder, reason);
    });
}

void MainWin::runPuffByPuffAnalysis() {
    if (analysisRunning_) return;
    analysisRunning_ = true;
    // The progress dialog lets events through between puffs; no recovery write may read the designs then.
    if (recovery_) recovery_->setPaused(true);
    undoable_->runPuffByPuffAnalysis(puffWait_->progress());
    if (recovery_) recovery_->setPaused(false);
    analysisRunning_ = false;
}

void MainWin::puffByPuffCommand() {
    runPuffByPuffAnalysis();
    repaintClient();
}

void MainWin::paintClient(QPainter& painter) {
    // The pictures are made for the pixel density of the screen the window is on.
    const double ratio = painter.device()->devicePixelRatioF();
    if (resources_.devicePixelRatio != ratio) resources_ = makeViewResources(ratio);
    paintView(painter, resources_, viewScene());
}

ViewScene MainWin::viewScene() const {
    return {document_.designs(), viewMode_, document_.puffDataValid(), hoveredPuff_, rawListing_};
}

void MainWin::mouseMovedTo(QPoint p) {
    if (viewMode_ != View::PuffByPuff) return;
    const PuffHoverGeometry g = puffHoverGeometry(document_.designs().currentDesign);
    const bool outside = p.x() < g.puffAreaLeft || p.x() > g.puffAreaRight || p.y() < g.puffAreaTop ||
                         p.y() > g.puffAreaBottom || (p.y() >= g.gapTop && p.y() <= g.gapBottom);
    showPuffData(outside ? -1 : (p.x() - g.puffAreaLeft) / g.puffColumnWidth);
}

void MainWin::showPuffData(int index) {
    const int n = document_.designs().currentDesign.puff_number;
    if (index < 0 || index >= n) index = -1;
    if (index == hoveredPuff_) return;
    hoveredPuff_ = index;
    viewArea_->update(puffDataCellsRect());
}

void MainWin::toggleMenuBar() {
    if (panelVisible_) {
        panel_->hide();
        panelVisible_ = false;
    } else {
        panel_->show();
        panel_->raise();
        panelVisible_ = true;
    }
    action(kCmdMenuBar)->setChecked(panelVisible_);
}

void MainWin::panelClosed() {
    panelVisible_ = false;
    action(kCmdMenuBar)->setChecked(false);
}

void MainWin::closeEvent(QCloseEvent* event) {
    // Nothing closes while the analysis runs, and unsaved work is never dropped without a word.
    if (analysisRunning_ || !confirmDiscardChanges()) {
        event->ignore();
        return;
    }
    panel_->hide();
    if (recovery_) recovery_->discard();
    event->accept();
}

void MainWin::exitProgram() {
    close();
}

}  // namespace veltrano
