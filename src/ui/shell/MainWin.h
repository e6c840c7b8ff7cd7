#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include <QMainWindow>

#include "core/design/StartupFile.h"
#include "core/document/DesignDocument.h"
#include "render/views/ViewPainting.h"
#include "render/views/ViewResources.h"
#include "render/views/Views.h"
#include "ui/dialogs/LastFolder.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/shell/Commands.h"
#include "ui/shell/RecentFiles.h"
#include "ui/shell/SettingsFile.h"

class QActionGroup;
class QMenu;

namespace veltrano {

class DesignDlg;
class Dialogs;
class PuffWaitDlg;
class RecentFilesMenu;
class RecoveryWriter;
class UndoableDocument;
class ViewArea;

// The one top-level window: menu, accelerators, title with the file name, and a client area that shows
// one of four result views (or the raw listing). It shows the document and follows its changes: the
// title, the views, the enabling of menu and panel and the per-puff data rule all follow one signal.
class MainWin : public QMainWindow {
    Q_OBJECT
public:
    MainWin(DesignDocument& document, Dialogs& dialogs);
    ~MainWin() override;

    const DesignDocument& document() const { return document_; }
    UndoableDocument& undoableDocument() { return *undoable_; }
    // The window takes the writer of its recovery files: it pauses it while the analysis runs, lets it
    // clean up when the program ends normally and shows its note when the files cannot be written.
    void attachRecovery(RecoveryWriter* writer);

    // The action of a command id (menu items and accelerators), or nullptr.
    QAction* action(int id) const;
    // Runs a command as the menu, an accelerator or the panel would; false when it is disabled or unknown.
    bool runCommand(CommandId id);
    bool commandEnabled(CommandId id) const;

    View viewMode() const { return viewMode_; }
    bool puffByPuffValid() const { return document_.puffDataValid(); }
    bool rawListing() const { return rawListing_; }
    int hoveredPuff() const { return hoveredPuff_; }
    // The document's file name (empty after a failed save); the title keeps the last one chosen.
    QString currentFileName() const;
    bool panelVisible() const { return panelVisible_; }
    bool designsChanged() const;
    bool analysisRunning() const { return analysisRunning_; }
    bool canUndo() const;
    bool canRedo() const;
    DesignDlg& panel() { return *panel_; }
    const ViewResources& resources() const { return resources_; }
    ErrorReporter& errorReporter() { return errors_; }
    // Why the settings file is not used this run, or empty.
    QString settingsProblem() const { return settings_.problem; }

    // View commands (and the panel's radio buttons): the stale-data rule for view 3, then the switch.
    void setViewMode(View view);
    void repaintClient();
    void updateViewChecks();
    // Enabling of every command's menu item and panel button.
    void updateEnabling();
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
    void undo();
    void redo();
    void exportViewCommand();
    void exportDataCommand();
    void copyView();
    void sensitivity();
#ifdef VELTRANO_HAVE_NLOPT
    void designToTargets();
#endif
    void tolerances();

    // Opens the file at `path` (made absolute) as Open does once its dialog has named it: the
    // unsaved-changes question first, then the file replaces the designs and starts a new history.
    // The command line, the recent files and a drop open files this way. True when it was opened.
    bool openPath(const QString& path);
    // An entry of File > "Recent Files": a file that is gone is said so and leaves the list.
    void openRecentFile(const QString& path);

    // The panel was closed by its Close button, Escape or its close box.
    void panelClosed();

    // What the client area shows now: the view of the view mode or the raw listing.
    ViewScene viewScene() const;

    // Called by the client area.
    void paintClient(QPainter& painter);
    void mouseMovedTo(QPoint client);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // One local file dropped on the window opens as Open does.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void addRecentFilesMenu(QMenu* fileMenu, const MenuRow& row);
    void placeWindows();
    void fitFrame();
    void documentChanged(const DocumentChange& change);
    // View 3 shows per-puff data of the present designs: at the end of every action, and when view 3
    // is chosen, the analysis runs again where they are stale.
    void keepPuffDataCurrent();
    void runPuffByPuffAnalysis();
    void updateTitle();
    // Asks whether unsaved changes are to be saved first; false when the user cancels (or saving failed).
    bool confirmDiscardChanges();
    // The part of Open after its question and dialog: reads the file into the document.
    bool readFile(const QString& path);
    // Before a Save over an imported 3.xx file: true to replace it, false to choose another name.
    bool confirmReplaceLegacyFile();
    bool save();
    bool saveAs();
    void editDesign(DesignRole role);
    // The about box's gesture: the designs as the start-up file, with no stale per-puff data.
    bool writeStartupDesigns();
    // The design file's name as the user's system spells it (backslashes on Windows), for the title
    // and the questions.
    QString shownFileName() const;

    DesignDocument& document_;
    Dialogs& dialogs_;
    UndoableDocument* undoable_;
    RecoveryWriter* recovery_ = nullptr;
    MessageBoxErrorReporter errors_;
    ViewResources resources_;
    ViewArea* viewArea_;
    std::unique_ptr<DesignDlg> panel_;
    std::unique_ptr<PuffWaitDlg> puffWait_;
    std::map<int, QAction*> actions_;
    QActionGroup* viewGroup_ = nullptr;

    QString titlePath_;  // the path the title shows: the last one chosen, kept when saving fails
    bool panelVisible_ = true;
    View viewMode_ = View::StationaryFlow;
    int hoveredPuff_ = -1;
    bool rawListing_ = false;
    bool analysisRunning_ = false;
    bool placed_ = false;
    bool frameFitted_ = false;
    std::vector<std::filesystem::path> startupFileTargets_{kStartupDesignFileName};
    // What the program keeps between runs: the recent files, the folder last used.
    SettingsFile settings_ = openSettingsFile(userSettingsPath());
    LastFolder lastFolder_{*settings_.settings};
    RecentFiles recentFiles_{*settings_.settings};
    RecentFilesMenu* recentMenu_ = nullptr;
};

}  // namespace veltrano
