#include "ui/shell/Commands.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "ui/shell/MainWin.h"

namespace veltrano {

namespace {

// The puff-by-puff analysis needs the reference's measured ISO puff number.
bool puffNumberKnown(const MainWin& w) {
    return w.document().designs().referenceDesign.isKnown(KnownBit::IsoPuffNumber);
}

const std::vector<Command>& commands() {
    static const std::vector<Command> table = [] {
        std::vector<Command> t = {
            {kCmdOpen, &MainWin::openFile, {}},
            {kCmdSave, &MainWin::saveFile, {}},
            {kCmdSaveAs, &MainWin::saveFileAs, {}},
            {kCmdImport, &MainWin::importFile, {}},
            {kCmdPrint, &MainWin::printDesigns, {}},
            {kCmdExit, &MainWin::exitProgram, {}},
            {kCmdExitAccelerator, &MainWin::exitProgram, {}},
            {kCmdEditReference, &MainWin::editReference, {}},
            {kCmdEditCurrent, &MainWin::editCurrent, {}},
            {kCmdCopyToCurrent, &MainWin::copyToCurrent, {}},
            {kCmdCopyAccelerator, &MainWin::copyToCurrent, {}},
            {kCmdPuffByPuff, &MainWin::puffByPuffCommand, puffNumberKnown},
            {kCmdProblemSolver, &MainWin::problemSolver, {}},
            {kCmdMenuBar, &MainWin::toggleMenuBar, {}},
            {kCmdAddInformation, &MainWin::addInformation, {}},
            {kCmdAbout, &MainWin::about, {}},
            {kCmdUndo, &MainWin::undo, [](const MainWin& w) { return w.canUndo(); }},
            {kCmdRedo, &MainWin::redo, [](const MainWin& w) { return w.canRedo(); }},
            {kCmdExportView, &MainWin::exportViewCommand, {}},
            {kCmdExportData, &MainWin::exportDataCommand, {}},
            {kCmdCopyView, &MainWin::copyView, {}},
            {kCmdSensitivity, &MainWin::sensitivity, {}},
#ifdef VELTRANO_HAVE_NLOPT
            {kCmdDesignToTargets, &MainWin::designToTargets, {}},
#endif
        };
        for (const ViewRow& row : kViewRows)
            t.push_back(
                {viewCommand(row.view), [view = row.view](MainWin& w) { w.setViewMode(view); },
                 row.view == View::PuffByPuff ? puffNumberKnown : std::function<bool(const MainWin&)>()});
        return t;
    }();
    return table;
}

// The menus before the View menu, and after it; the View menu is made from the list of views.
constexpr MenuRow kMenusBeforeViews[] = {
    {"File", "Open ...", kCmdOpen, "open"},
    {"File", nullptr, kCmdNone, nullptr},
    {"File", "Save", kCmdSave, "save"},
    {"File", "Save as ...", kCmdSaveAs, "saveAs"},
    {"File", nullptr, kCmdNone, nullptr},
    {"File", "Import ...", kCmdImport, "import"},
    {"File", "Print ...", kCmdPrint, "print"},
    {"File", "Export view ...", kCmdExportView, "exportView"},
    {"File", "Export data ...", kCmdExportData, "exportData"},
    {"File", nullptr, kCmdNone, nullptr},
    {"File", "Recent Files", kCmdRecentFiles, "recentFiles"},
    {"File", nullptr, kCmdNone, nullptr},
    {"File", "Exit\tAlt+X", kCmdExit, "exit"},
    {"Edit", "Undo", kCmdUndo, "undo", "Ctrl+Z"},
    {"Edit", "Redo", kCmdRedo, "redo", "Ctrl+Y"},
    {"Edit", nullptr, kCmdNone, nullptr},
    {"Edit", "Copy", kCmdCopyView, "copy", "Ctrl+C"},
};
constexpr MenuRow kMenusAfterViews[] = {
    {"Cigarette Design", "Reference cigarette ...", kCmdEditReference, "editReference"},
    {"Cigarette Design", "Current cigarette ...", kCmdEditCurrent, "editCurrent"},
    {"Cigarette Design", nullptr, kCmdNone, nullptr},
    {"Cigarette Design", "Copy to current\tAlt+C", kCmdCopyToCurrent, "copyToCurrent"},
    {"Extras", "Puff by Puff Analysis", kCmdPuffByPuff, "puffByPuffAnalysis"},
    {"Extras", "Problem Solver ...", kCmdProblemSolver, "problemSolver"},
    {"Extras", nullptr, kCmdNone, nullptr},
    {"Extras", "Menu Bar", kCmdMenuBar, "menuBar", nullptr, true},
    {"Extras", nullptr, kCmdNone, nullptr},
    {"Extras", "Add Information ...", kCmdAddInformation, "addInformation"},
    {"Extras", nullptr, kCmdNone, nullptr},
    {"Extras", "Sensitivity ...", kCmdSensitivity, "sensitivity"},
#ifdef VELTRANO_HAVE_NLOPT
    {"Extras", "Design to targets ...", kCmdDesignToTargets, "designToTargets"},
#endif
    {"?", "About ...", kCmdAbout, "about"},
    {nullptr, nullptr, kCmdCopyAccelerator, "copyToCurrentAccelerator", "Alt+C"},
    {nullptr, nullptr, kCmdExitAccelerator, "exitAccelerator", "Alt+X"},
};

constexpr PanelButton kFileButtons[] = {
    {1087, "openButton", "Open ...", kCmdOpen, true, 0},
    {1085, "saveButton", "Save ...", kCmdSave, true, 0},
    {1086, "saveAsButton", "Save as ...", kCmdSaveAs, true, 0},
    {1092, "importButton", "Import ...", kCmdImport, true, 0},
    {1088, "printButton", "Print ...", kCmdPrint, true, 18},
};
constexpr PanelButton kDesignButtons[] = {
    {1080, "editReferenceButton", "Reference cigarette ...", kCmdEditReference, true, 0},
    {1081, "copyToCurrentButton", "Copy to current", kCmdCopyToCurrent, false, 0},
    {1082, "editCurrentButton", "Current cigarette ...", kCmdEditCurrent, true, 0},
    {1083, "puffByPuffButton", "Puff-by-puff analysis", kCmdPuffByPuff, false, 12},
    {1084, "problemSolverButton", "Problem solver ...", kCmdProblemSolver, true, 0},
    {1090, "addInformationButton", "Add Information ...", kCmdAddInformation, true, 0},
    {1089, "aboutButton", "About ...", kCmdAbout, true, 12},
};

}  // namespace

const Command* findCommand(CommandId id) {
    const auto& table = commands();
    const auto it = std::find_if(table.begin(), table.end(), [id](const Command& c) { return c.id == id; });
    return it == table.end() ? nullptr : &*it;
}

std::optional<View> viewOfCommand(CommandId id) {
    for (const ViewRow& row : kViewRows)
        if (viewCommand(row.view) == id) return row.view;
    return std::nullopt;
}

std::span<const MenuRow> menuRows() {
    static const std::vector<MenuRow> rows = [] {
        std::vector<MenuRow> all(std::begin(kMenusBeforeViews), std::end(kMenusBeforeViews));
        for (const ViewRow& view : kViewRows)
            all.push_back(
                {"View", view.menuText, viewCommand(view.view), view.menuObjectName, nullptr, true});
        all.insert(all.end(), std::begin(kMenusAfterViews), std::end(kMenusAfterViews));
        return all;
    }();
    return rows;
}

std::span<const PanelButton> panelFileButtons() {
    return kFileButtons;
}

std::span<const PanelButton> panelDesignButtons() {
    return kDesignButtons;
}

}  // namespace veltrano
