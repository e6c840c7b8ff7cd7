#include "ui/sheet/SheetPages.h"

#include <array>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/sheet/DesignSheet.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/FilePaths.h"
#include "ui/sheet/FieldTableWidget.h"
#include "ui/sheet/PuffPreviewWidget.h"
#include "ui/sheet/RadioButtons.h"
#include "ui/sheet/RodHelpDlg.h"
#include "ui/sheet/UiText.h"

namespace veltrano {

namespace {

constexpr const char* kPuffShapeFilterList = "Puff Shape Files (*.txt)|*.txt|All Files (*.*)|*.*||";

// A page from its rules' table, bound to its state, enabled by its rules.
template <class Rules>
FieldTableWidget* pageTable(typename Rules::State& state, bool isReference,
                            std::span<const RowAbove> rows = {}) {
    auto* table =
        new FieldTableWidget(Rules::fields(), Rules::helps(), {state.texts, &state.boxes}, isReference, rows);
    table->setEnabling([&state] { return Rules::updateEnabling(state); });
    return table;
}

template <std::size_t N>
std::vector<std::pair<int, QString>> numbered(const std::array<std::string_view, N>& labels) {
    std::vector<std::pair<int, QString>> buttons;
    for (std::size_t i = 0; i < N; ++i) buttons.emplace_back(static_cast<int>(i), uiText(labels[i]));
    return buttons;
}

FieldTableWidget* tippingPage(const SheetPageContext& context) {
    TippingPageState& state = context.sheet.tipping();
    auto* perforation = new QGroupBox(uiText(kPerforationGroup));
    QButtonGroup* types =
        addRadioButtons(perforation, new QVBoxLayout(perforation), numbered(kPerforationTypeLabels));
    const RowAbove rows[] = {{kPerforationPermeability, perforation}};
    FieldTableWidget* page = pageTable<TippingPageRules>(state, context.sheet.isReference(), rows);
    QObject::connect(types, &QButtonGroup::idClicked, page, [&state, page](int type) {
        state.perforationType = type;
        page->updateEnabling();
    });
    page->addRefresh([&state, types] { checkRadio(types, state.perforationType); });
    page->onHelp(kPerforationExponentHelp, [&state] { TippingPageRules::perforationExponentHelp(state); });
    page->onHelp(kPlugWrapPermeabilityHelp, [&state] { TippingPageRules::plugWrapPermeabilityHelp(state); });
    page->onHelp(kPlugWrapExponentHelp, [&state] { TippingPageRules::plugWrapExponentHelp(state); });
    return page;
}

FieldTableWidget* paperPage(const SheetPageContext& context) {
    DesignSheet& sheet = context.sheet;
    PaperPageState& state = sheet.paper();
    auto* lowIgnition = new QCheckBox(uiText(kLowIgnitionLabel));
    lowIgnition->setObjectName(QStringLiteral("cp_lip"));
    const RowAbove rows[] = {{kBandWidth, lowIgnition}};
    FieldTableWidget* page = pageTable<PaperPageRules>(state, sheet.isReference(), rows);
    QObject::connect(lowIgnition, &QCheckBox::clicked, page, [&state, page](bool checked) {
        state.lowIgnitionPropensity = checked;
        page->updateEnabling();
    });
    page->addRefresh([&state, lowIgnition] { lowIgnition->setChecked(state.lowIgnitionPropensity); });
    page->onHelp(kPaperExponentHelp, [&state] { PaperPageRules::exponentHelp(state); });
    page->onHelp(kDiffusionCapacityHelp, [&sheet] { sheet.paperDiffusionHelp(); });
    return page;
}

FieldTableWidget* filterPage(const SheetPageContext& context) {
    FilterPageState& state = context.sheet.filter();
    FieldTableWidget* page = pageTable<FilterPageRules>(state, context.sheet.isReference());
    page->onHelp(kFilterExponentHelp, [&state] { FilterPageRules::exponentHelp(state); });
    return page;
}

FieldTableWidget* rodPage(const SheetPageContext& context) {
    DesignSheet& sheet = context.sheet;
    RodPageState& state = sheet.rod();
    FieldTableWidget* page = pageTable<RodPageRules>(state, sheet.isReference());
    page->onHelp(kRodExponentHelp, [&state] { RodPageRules::exponentHelp(state); });
    page->onHelp(kRodEstimatorHelp, [&sheet, &dialogs = context.dialogs, page] {
        RodEstimator estimator = sheet.startRodEstimator();
        RodHelpDlg dialog(estimator, page);
        if (dialogs.exec(dialog) == QDialog::Accepted) sheet.acceptRodEstimate(estimator);
    });
    return page;
}

FieldTableWidget* regimePage(const SheetPageContext& context) {
    RegimePageState& state = context.sheet.regime();
    auto* regimes = new QWidget;
    std::vector<std::pair<int, QString>> regimeButtons;
    for (std::size_t i = 0; i < kRegimePresets.size(); ++i)
        regimeButtons.emplace_back(static_cast<int>(i) + 1, uiText(kRegimePresets[i].label));
    regimeButtons.emplace_back(0, uiText(kOtherRegimeLabel));
    auto* regimeLayout = new QVBoxLayout(regimes);
    regimeLayout->setContentsMargins(0, 0, 0, 0);
    QButtonGroup* presets = addRadioButtons(regimes, regimeLayout, regimeButtons);
    const RowAbove rows[] = {{kPuffVolume, regimes}};
    FieldTableWidget* page = pageTable<RegimePageRules>(state, context.sheet.isReference(), rows);

    auto* shapeBox = new QGroupBox(uiText(kShapeGroup));
    auto* shapeLayout = new QHBoxLayout(shapeBox);
    auto* shapeButtons = new QVBoxLayout;
    QButtonGroup* shapes = addRadioButtons(shapeBox, shapeButtons, numbered(kBuiltInShapeLabels));
    auto* load = new QPushButton(uiText(kLoadShapeButton));
    load->setObjectName(QStringLiteral("load_puff_shape"));
    load->setAutoDefault(false);
    shapeButtons->addSpacing(8);
    shapeButtons->addWidget(load);
    shapeButtons->addStretch();
    auto* preview = new PuffPreviewWidget;
    shapeLayout->addLayout(shapeButtons);
    shapeLayout->addSpacing(40);
    shapeLayout->addWidget(preview, 0, Qt::AlignTop);
    shapeLayout->addStretch();
    page->addBelow(shapeBox);

    QObject::connect(presets, &QButtonGroup::idClicked, page, [&state, page](int preset) {
        RegimePageRules::selectPreset(state, preset);
        page->refresh();
    });
    QObject::connect(shapes, &QButtonGroup::idClicked, page, [&state, page](int shape) {
        RegimePageRules::selectShape(state, static_cast<BuiltInShape>(shape));
        page->refresh();
    });
    QObject::connect(load, &QPushButton::clicked, page, [&state, context, page] {
        const QString path =
            askFileName(context.dialogs, page, {QFileDialog::AcceptOpen, kPuffShapeFilterList, {}});
        if (path.isEmpty()) return;
        RegimePageRules::loadShapeFile(state, toFilePath(path), context.reporter);
        page->refresh();
    });
    page->addRefresh([&state, presets, shapes, preview] {
        checkRadio(presets, state.preset);
        checkRadio(shapes, state.shapeButton);
        preview->setSamples(state.preview);
    });
    return page;
}

FieldTableWidget* yieldsPage(const SheetPageContext& context) {
    DesignSheet& sheet = context.sheet;
    FieldTableWidget* page = pageTable<YieldsPageRules>(sheet.yields(), sheet.isReference());
    page->onFocusOut(kMassBurnRate, [&sheet] { sheet.convertMassToLinear(); });
    page->onFocusOut(kLinearBurnRate, [&sheet] { sheet.convertLinearToMass(); });
    return page;
}

}  // namespace

FieldTableWidget* makeSheetPage(int page, const SheetPageContext& context) {
    // The widget of each page, in the order of the sheet's pages.
    static constexpr std::array<FieldTableWidget* (*)(const SheetPageContext&), kSheetPageCount> kPageWidgets{
        tippingPage, paperPage, filterPage, rodPage, regimePage, yieldsPage};
    return kPageWidgets.at(static_cast<std::size_t>(page))(context);
}

}  // namespace veltrano
