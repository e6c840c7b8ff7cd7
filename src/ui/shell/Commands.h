#pragma once

#include <functional>
#include <optional>
#include <span>

#include "render/views/ViewList.h"

namespace veltrano {

class MainWin;

// Command identifiers of the menu, the accelerators and the design panel: the numbers the commands have
// always had. The commands added since (undo, export, copy, recent files) have numbers of their own above
// those.
enum CommandId {
    kCmdNone = 0,  // no command: a separator of the menu
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
    kCmdUndo = 40101,
    kCmdRedo = 40102,
    kCmdExportView = 40103,
    kCmdExportData = 40104,
    kCmdCopyView = 40105,
    kCmdSensitivity = 40106,
    kCmdDesignToTargets = 40107,
    kCmdRecentFiles = 40108,  // File > "Recent Files": a submenu, filled from the recent list
};

// What a command does and when it may run: one definition that the menu, the accelerators and the
// panel's buttons share.
struct Command {
    CommandId id;
    std::function<void(MainWin&)> run;
    std::function<bool(const MainWin&)> enabled;  // empty: always enabled
};
// The command of `id`, or nullptr.
const Command* findCommand(CommandId id);

// The command that shows `view` (the view commands are numbered in the order of the views), and the
// view a command shows.
constexpr CommandId viewCommand(View view) {
    return static_cast<CommandId>(kCmdViewStationary + static_cast<int>(viewIndex(view)));
}
std::optional<View> viewOfCommand(CommandId id);

// One row of the menu bar, in the order the menus show them. A row without text is a separator (and has
// no command); a row without a menu is an accelerator only; the row of kCmdRecentFiles is the recent
// files submenu. The View menu's rows are made from the list of views.
struct MenuRow {
    const char* menu;
    const char* text;
    CommandId id;
    const char* objectName;
    const char* shortcut = nullptr;
    bool checkable = false;
};
std::span<const MenuRow> menuRows();

// One button of the design panel: its control id, its own text (the panel says "Save ..." where the
// menu says "Save") and the command it runs.
struct PanelButton {
    int controlId;
    const char* objectName;
    const char* text;
    CommandId command;
    bool activateFirst;  // the main window becomes active before the command runs
    int gapBefore;       // extra space above, in pixels, as the panel groups its buttons
};
// Buttons above the "Display" group, then below it, top to bottom.
std::span<const PanelButton> panelFileButtons();
std::span<const PanelButton> panelDesignButtons();

}  // namespace veltrano
