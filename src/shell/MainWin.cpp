#include "shell/MainWin.h"

#include <functional>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>

#include "model/PuffByPuff.h"
#include "model/Recalculation.h"
#include "shell/DesignDlg.h"
#include "shell/Dialogs.h"
#include "shell/PuffWaitDlg.h"
#include "shell/ViewArea.h"

namespace veltrano {

namespace {

const char* const kTitle = "veltrano 4.1 - by korbinel";

// One row of the menu bar, in the order the menus show them. A row without text is a separator; a row
// without a menu is an accelerator only. Each command's row comes with its handler.
struct MenuRow {
    const char* menu;
    const char* text;
    int id;
    const char* shortcut;
    std::function<void(MainWin&)> handler;
    bool checkable = false;
};

const std::vector<MenuRow>& menuRows() {
    static const std::vector<MenuRow> rows = {
        {"File", "Open ...", kCmdOpen, nullptr, &MainWin::openFile},
        {"File", nullptr, 0, nullptr, nullptr},
        {"File", "Save", kCmdSave, nullptr, &MainWin::saveFile},
        {"File", "Save as ...", kCmdSaveAs, nullptr, &MainWin::saveFileAs},
        {"File", nullptr, 0, nullptr, nullptr},
        {"File", "Import ...", kCmdImport, nullptr, &MainWin::importFile},
        {"File", "Print ...", kCmdPrint, nullptr, &MainWin::printDesigns},
        {"File", nullptr, 0, nullptr, nullptr},
        {"File", "Exit\tAlt+X", kCmdExit, nullptr, &MainWin::exitProgram},
        {"View", "Stationary Flow Results", kCmdViewStationary, nullptr, [](MainWin& w) { w.setViewMode(1); },
         true},
        {"View", "ISO and Alternative Yields", kCmdViewYields, nullptr, [](MainWin& w) { w.setViewMode(2); },
         true},
        {"View", "Puff by Puff Analysis Results", kCmdViewPuffByPuff, nullptr,
         [](MainWin& w) { w.setViewMode(3); }, true},
        {"View", "Cigarette Data Summary", kCmdViewSummary, nullptr, [](MainWin& w) { w.setViewMode(4); },
         true},
        {"Cigarette Design", "Reference cigarette ...", kCmdEditReference, nullptr, &MainWin::editReference},
        {"Cigarette Design", "Current cigarette ...", kCmdEditCurrent, nullptr, &MainWin::editCurrent},
        {"Cigarette Design", nullptr, 0, nullptr, nullptr},
        {"Cigarette Design", "Copy to current\tAlt+C", kCmdCopyToCurrent, nullptr, &MainWin::copyToCurrent},
        {"Extras", "Puff by Puff Analysis", kCmdPuffByPuff, nullptr, &MainWin::puffByPuffCommand},
        {"Extras", "Problem Solver ...", kCmdProblemSolver, nullptr, &MainWin::problemSolver},
        {"Extras", nullptr, 0, nullptr, nullptr},
        {"Extras", "Menu Bar", kCmdMenuBar, nullptr, &MainWin::toggleMenuBar, true},
        {"Extras", nullptr, 0, nullptr, nullptr},
        {"Extras", "Add Information ...", kCmdAddInformation, nullptr, &MainWin::addInformation},
        {"?", "About ...", kCmdAbout, nullptr, &MainWin::about},
        {nullptr, nullptr, kCmdCopyAccelerator, "Alt+C", &MainWin::copyToCurrent},
        {nullptr, nullptr, kCmdExitAccelerator, "Alt+X", &MainWin::exitProgram},
    };
    return rows;
}

}  // namespace

MainWin::MainWin(ProgramState& state, Dialogs& dialogs)
    : state_(state), dialogs_(dialogs), errors_(dialogs, this), resources_(makeViewResources()) {
    setObjectName("MainWin");
    setWindowTitle(QString::fromLatin1(kTitle));
    viewArea_ = new ViewArea(*this);
    setCentralWidget(viewArea_);
    buildMenus();
    move(0, 0);
    resize(1024, 820);

    panel_ = std::make_unique<DesignDlg>(*this);
    puffWait_ = std::make_unique<PuffWaitDlg>(this);
    puffWait_->hide();

    state_.designs.informationText.fill('\0');
    updateViewChecks();
    action(kCmdMenuBar)->setChecked(true);
}

MainWin::~MainWin() = default;

void MainWin::buildMenus() {
    std::map<QString, QMenu*> menus;
    viewGroup_ = new QActionGroup(this);
    viewGroup_->setExclusive(true);
    for (const MenuRow& row : menuRows()) {
        if (!row.menu) {
            auto* accelerator = new QAction(this);
            accelerator->setData(row.id);
            accelerator->setObjectName(QString::number(row.id));
            accelerator->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
            connect(accelerator, &QAction::triggered, this, [this, h = row.handler] { h(*this); });
            addAction(accelerator);
            actions_[row.id] = accelerator;
            continue;
        }
        const QString title = QString::fromLatin1(row.menu);
        QMenu*& menu = menus[title];
        if (!menu) {
            menu = menuBar()->addMenu(title);
            connect(menu, &QMenu::aboutToShow, this, &MainWin::updateMenuEnabling);
        }
        if (!row.text) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QString::fromLatin1(row.text));
        a->setData(row.id);
        a->setObjectName(QString::number(row.id));
        a->setCheckable(row.checkable);
        if (row.id >= kCmdViewStationary && row.id <= kCmdViewSummary) viewGroup_->addAction(a);
        // A checkable item toggles itself before its handler runs; the handler sets the mark again.
        connect(a, &QAction::triggered, this, [this, h = row.handler] { h(*this); });
        actions_[row.id] = a;
    }
}

QAction* MainWin::action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

bool MainWin::runCommand(int id) {
    updateMenuEnabling();
    QAction* a = action(id);
    if (!a || !a->isEnabled() || analysisRunning_) return false;
    a->trigger();
    return true;
}

void MainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeWindows();
    }
}

void MainWin::placeWindows() {
    // The frame is 1024 x 820 where the window system lets us size it.
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    resize(QSize(1024, 820) - frameExtra);
    move(0, 0);

    // The panel knows its final size only once it is shown.
    if (panelVisible_) panel_->show();
    const QRect desktop = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect frame = frameGeometry();
    const int panelWidth = panel_->frameGeometry().width();
    int x = frame.right() + 1 + 10;
    if (x + panelWidth > desktop.width()) x = desktop.width() - panelWidth - 5;
    panel_->move(x, frame.top());
    if (panelVisible_) panel_->raise();
    puffWait_->move(frame.left() + frame.width() / 2 - puffWait_->width() / 2,
                    frame.top() + frame.height() / 2 - puffWait_->height() / 2);
}

void MainWin::updateViewChecks() {
    const int ids[] = {kCmdViewStationary, kCmdViewYields, kCmdViewPuffByPuff, kCmdViewSummary};
    for (int mode = 1; mode <= 4; ++mode) action(ids[mode - 1])->setChecked(viewMode_ == mode);
}

void MainWin::updateMenuEnabling() {
    const bool puffNumberKnown = state_.designs.referenceDesign.isKnown(23);
    action(kCmdPuffByPuff)->setEnabled(puffNumberKnown);
    action(kCmdViewPuffByPuff)->setEnabled(puffNumberKnown);
}

void MainWin::repaintClient() {
    viewArea_->update();
}

void MainWin::setViewMode(int mode) {
    if (viewMode_ == mode) {
        updateViewChecks();
        return;
    }
    if (mode == 3 && !puffByPuffValid_) {
        runPuffByPuffAnalysis();
        puffByPuffValid_ = true;
    }
    if (viewMode_ == 3) hoveredPuff_ = -1;
    viewMode_ = mode;
    repaintClient();
    panel_->syncRadios();
    updateViewChecks();
}

void MainWin::runPuffByPuffAnalysis() {
    analysisRunning_ = true;
    runPuffByPuff(state_.designs.currentDesign, state_.modelParameters, puffWait_->progress());
    analysisRunning_ = false;
    hoveredPuff_ = -1;
}

void MainWin::refreshAfterChange() {
    recalculate(state_.designs, state_.modelParameters, errors_);
    if (viewMode_ == 3) {
        runPuffByPuffAnalysis();
        puffByPuffValid_ = true;
    } else {
        puffByPuffValid_ = false;
    }
    repaintClient();
}

void MainWin::syncPuffByPuffAvailability() {
    if (state_.designs.referenceDesign.isKnown(23)) {
        panel_->setPuffByPuffEnabled(true);
        if (viewMode_ == 3) {
            runPuffByPuffAnalysis();
            puffByPuffValid_ = true;
        } else {
            puffByPuffValid_ = false;
        }
    } else {
        puffByPuffValid_ = false;
        panel_->setPuffByPuffEnabled(false);
        if (viewMode_ == 3) {
            viewMode_ = 1;
            hoveredPuff_ = -1;
            panel_->syncRadios();
            updateViewChecks();
        }
    }
    repaintClient();
}

void MainWin::paintClient(QPainter& painter) {
    // The pictures are made for the pixel density of the screen the window is on.
    const double ratio = painter.device()->devicePixelRatioF();
    if (resources_.devicePixelRatio != ratio) resources_ = makeViewResources(ratio);
    drawLogo(painter, resources_);
    const DesignSet& d = state_.designs;
    if (rawListing_) {
        drawRecordListing(painter, resources_, d.referenceDesign, 0);
        drawRecordListing(painter, resources_, d.workingReference, 300);
        drawRecordListing(painter, resources_, d.currentDesign, 600);
        return;
    }
    switch (viewMode_) {
        case 1:
            drawStationaryFlowView(painter, resources_, d.currentDesign);
            break;
        case 2:
            drawYieldsView(painter, resources_, d.currentDesign);
            break;
        case 3:
            hover_ = drawPuffView(painter, resources_, d.currentDesign, hoveredPuff_);
            break;
        case 4:
            drawSummaryView(painter, resources_, d, puffByPuffValid_);
            break;
        default:
            break;
    }
}

void MainWin::mouseMovedTo(QPoint p) {
    if (viewMode_ != 3) return;
    const PuffHoverGeometry& g = hover_;
    const bool outside = p.x() < g.puffAreaLeft || p.x() > g.puffAreaRight || p.y() < g.puffAreaTop ||
                         p.y() > g.puffAreaBottom || (p.y() >= g.gapTop && p.y() <= g.gapBottom);
    showPuffData(outside ? -1 : (p.x() - g.puffAreaLeft) / g.puffColumnWidth);
}

void MainWin::showPuffData(int index) {
    const int n = state_.designs.currentDesign.puff_number;
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
    event->accept();
}

void MainWin::exitProgram() {
    close();
}

}  // namespace veltrano
