#include "ui/shell/Commands.h"

#include <algorithm>
#include <vector>

#include "ui/shell/MainWin.h"

namespace veltrano {

namespace {

// The puff-by-puff analysis needs the reference's measured ISO puff number.
bool puffNumberKnown(const MainWin& w) {
    return w.document().designs().referenceDesign.isKnown(KnownBit::IsoPuffNumber);
}

void showView(MainWin& w, ViewMode mode) {
    w.setViewMode(mode);
}

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {kCmdOpen, &MainWin::openFile, {}},
        {kCmdSave, &MainWin::saveFile, {}},
        {kCmdSaveAs, &MainWin::saveFileAs, {}},
        {kCmdImport, &MainWin::importFile, {}},
        {kCmdPrint, &MainWin::printDesigns, {}},
        {kCmdExit, &MainWin::exitProgram, {}},
        {kCmdExitAccelerator, &MainWin::exitProgram, {}},
        {kCmdViewStationary, [](MainWin& w) { showView(w, ViewMode::StationaryFlow); }, {}},
        {kCmdViewYields, [](MainWin& w) { showView(w, ViewMode::Yields); }, {}},
        {kCmdViewPuffByPuff, [](MainWin& w) { showView(w, ViewMode::PuffByPuff); }, puffNumberKnown},
        {kCmdViewSummary, [](MainWin& w) { showView(w, ViewMode::Summary); }, {}},
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
    return table;
}

constexpr MenuRow kMenuRows[] = {
    {"File", "Open ...", kCmdOpen, "open"},
    {"File", nullptr, kCmdOpen, nullptr},
    {"File", "Save", kCmdSave, "save"},
    {"File", "Save as ...", kCmdSaveAs, "saveAs"},
    {"File", nullptr, kCmdOpen, nullptr},
    {"File", "Import ...", kCmdImport, "import"},
    {"File", "Print ...", kCmdPrint, "print"},
    {"File", "Export view ...", kCmdExportView, "exportView"},
    {"File", "Export data ...", kCmdExportData, "exportData"},
    {"File", nullptr, kCmdOpen, nullptr},
    {"File", "Recent Files", kCmdRecentFiles, "recentFiles"},
    {"File", nullptr, kCmdOpen, nullptr},
    {"File", "Exit\tAlt+X", kCmdExit, "exit"},
    {"Edit", "Undo", kCmdUndo, "undo", "Ctrl+Z"},
    {"Edit", "Redo", kCmdRedo, "redo", "Ctrl+Y"},
    {"Edit", nullptr, kCmdOpen, nullptr},
    {"Edit", "Copy", kCmdCopyView, "copy", "Ctrl+C"},
    {"View", "Stationary Flow Results", kCmdViewStationary, "viewStationaryFlow", nullptr, true},
    {"View", "ISO and Alternative Yields", kCmdViewYields, "viewYields", nullptr, true},
    {"View", "Puff by Puff Analysis Results", kCmdViewPuffByPuff, "viewPuffByPuff", nullptr, true},
    {"View", "Cigarette Data Summary", kCmdViewSummary, "viewSummary", nullptr, true},
    {"Cigarette Design", "Reference cigarette ...", kCmdEditReference, "editReference"},
    {"Cigarette Design", "Current cigarette ...", kCmdEditCurrent, "editCurrent"},
    {"Cigarette Design", nullptr, kCmdOpen, nullptr},
    {"Cigarette Design", "Copy to current\tAlt+C", kCmdCopyToCurrent, "copyToCurrent"},
    {"Extras", "Puff by Puff Analysis", kCmdPuffByPuff, "puffByPuffAnalysis"},
    {"Extras", "Problem Solver ...", kCmdProblemSolver, "problemSolver"},
    {"Extras", nullptr, kCmdOpen, nullptr},
    {"Extras", "Menu Bar", kCmdMenuBar, "menuBar", nullptr, true},
    {"Extras", nullptr, kCmdOpen, nullptr},
    {"Extras", "Add Information ...", kCmdAddInformation, "addInformation"},
    {"Extras", nullptr, kCmdOpen, nullptr},
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

std::span<const MenuRow> menuRows() {
    return kMenuRows;
}

std::span<const PanelButton> panelFileButtons() {
    return kFileButtons;
}

std::span<const PanelButton> panelDesignButtons() {
    return kDesignButtons;
}

}  // namespace veltrano
