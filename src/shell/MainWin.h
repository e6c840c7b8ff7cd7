#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include <QMainWindow>

#include "design/StartupFile.h"
#include "shell/MessageBoxes.h"
#include "shell/ProgramState.h"
#include "views/ViewResources.h"
#include "views/Views.h"

class QActionGroup;
class QMenu;

namespace veltrano {

class DesignDlg;
class Dialogs;
class PuffWaitDlg;
class ViewArea;

// Command identifiers of the menu, the accelerators and the design panel.
enum CommandId {
    kCmdExit = 40001,
    kCmdExitAccelerator = 40002,
    kCmdOpen = 40007,
    kCmdSave = 40008,
    kCmdSaveAs = 40009,
    kCmdPrint = 40010,
    kCmdEditReference = 40011,
    kCmdEditCurrent = 40012,
    kCmdCopyToCurrent = 40013,
    kCmdPuffByPuff = 40014,
    kCmdProblemSolver = 40015,
    kCmdAbout = 40016,
    kCmdCopyAccelerator = 40017,
    kCmdMenuBar = 40019,
    kCmdViewStationary = 40020,
    kCmdViewYields = 40021,
    kCmdViewPuffByPuff = 40022,
    kCmdViewSummary = 40023,
    kCmdAddInformation = 40024,
    kCmdImport = 40026,
};

// The one top-level window: menu, accelerators, title with the file name, and a client area that shows
// one of four result views (or the raw listing). Every command of the menu and of the design panel is
// a method here.
class MainWin : public QMainWindow {
    Q_OBJECT
public:
    MainWin(ProgramState& state, Dialogs& dialogs);
    ~MainWin() override;

    // The action of a command id (menu items and accelerators), or nullptr.
    QAction* action(int id) const;
    // Runs a command as the menu or an accelerator would; false when it is disabled or unknown.
    bool runCommand(int id);

    int viewMode() const { return viewMode_; }
    bool puffByPuffValid() const { return puffByPuffValid_; }
    bool rawListing() const { return rawListing_; }
    int hoveredPuff() const { return hoveredPuff_; }
    const PuffHoverGeometry& hoverGeometry() const { return hover_; }
    const QString& currentFileName() const { return currentFileName_; }
    bool panelVisible() const { return panelVisible_; }
    bool designsChanged() const { return designsChanged_; }
    bool analysisRunning() const { return analysisRunning_; }
    DesignDlg& panel() { return *panel_; }
    PuffWaitDlg& progressDialog() { return *puffWait_; }
    ViewArea& viewArea() { return *viewArea_; }
    const ViewResources& resources() const { return resources_; }
    ErrorReporter& errorReporter() { return errors_; }

    // View commands (and the panel's radio buttons): the stale-data rule for view 3, then the switch.
    void setViewMode(int mode);
    // After a design changed: recalculate, then rerun or invalidate the per-puff data, then repaint.
    void refreshAfterChange();
    // After the reference was edited, opened or imported (instead of the last two steps above).
    void syncPuffByPuffAvailability();
    void repaintClient();
    void updateViewChecks();
    // Enabling of the menu items that need the reference's ISO puff number.
    void updateMenuEnabling();
    // The hovered puff of the puff-by-puff view changed (−1: none).
    void showPuffData(int index);
    void toggleRawListing() { rawListing_ = !rawListing_; }
    // Where the about box's gesture writes the start-up file, in the order to try (see
    // startupFileTargets); the working folder until the application says where the file came from.
    void setStartupFileTargets(std::vector<std::filesystem::path> targets) {
        startupFileTargets_ = std::move(targets);
    }

    // Commands.
    void openFile();
    void saveFile();
    void saveFileAs();
    void importFile();
    void printDesigns();
    void exitProgram();
    void editReference();
    void editCurrent();
    void copyToCurrent();
    void addInformation();
    void puffByPuffCommand();
    void problemSolver();
    void toggleMenuBar();
    void about();

    // The panel was closed by its Close button, Escape or its close box.
    void panelClosed();

    // Called by the client area.
    void paintClient(QPainter& painter);
    void mouseMovedTo(QPoint client);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void placeWindows();
    void runPuffByPuffAnalysis();
    void markChanged() { designsChanged_ = true; }
    void setFileName(const QString& path);
    // Asks whether unsaved changes are to be saved first; false when the user cancels (or saving failed).
    bool confirmDiscardChanges();
    bool save();
    bool saveAs();
    bool runSheet(bool reference);

    ProgramState& state_;
    Dialogs& dialogs_;
    MessageBoxErrorReporter errors_;
    ViewResources resources_;
    ViewArea* viewArea_;
    std::unique_ptr<DesignDlg> panel_;
    std::unique_ptr<PuffWaitDlg> puffWait_;
    std::map<int, QAction*> actions_;
    QActionGroup* viewGroup_ = nullptr;

    QString currentFileName_;
    bool panelVisible_ = true;
    int viewMode_ = 1;
    PuffHoverGeometry hover_;
    int hoveredPuff_ = -1;
    bool puffByPuffValid_ = true;
    bool rawListing_ = false;
    bool designsChanged_ = false;
    bool analysisRunning_ = false;
    bool placed_ = false;
    std::vector<std::filesystem::path> startupFileTargets_{kStartupDesignFileName};
};

}  // namespace veltrano
