#include "ui/sheet/RodHelpDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/sheet/FieldTableWidget.h"
#include "ui/sheet/RadioButtons.h"
#include "ui/sheet/UiText.h"

namespace veltrano {

RodHelpDlg::RodHelpDlg(RodEstimator& estimator, QWidget* parent)
    : QDialog(parent), estimator_(estimator), estimate_(new QLineEdit) {
    setWindowTitle(uiText(kEstimatorTitle));

    // Each method's radio button heads its group box, in place of a title.
    QButtonGroup* methods = addRadioButtons(
        this, nullptr, {{1, uiText(kEstimatorMethodLabels[0])}, {2, uiText(kEstimatorMethodLabels[1])}});
    const RowAbove rows[] = {{kMethod1Plug, methods->button(1)}, {kMethod2Plug, methods->button(2)}};
    table_ = new FieldTableWidget(RodEstimator::fields(), {}, {estimator.texts, nullptr}, false, rows);
    for (std::string_view method : kEstimatorMethodLabels) table_->group(method)->setTitle({});

    table_->setEnabling([this] {
        PageEnabling enabling;
        for (int field = 0; field < kEstimatorFieldCount; ++field)
            enabling.field.push_back(estimator_.fieldEnabled(field));
        return enabling;
    });
    for (int field = 0; field < kEstimatorFieldCount; ++field)
        table_->onFocusOut(field, [this] { estimator_.recompute(); });
    table_->addRefresh([this, methods] {
        checkRadio(methods, estimator_.method());
        estimate_->setText(QString::fromStdString(estimator_.estimateText));
    });
    connect(methods, &QButtonGroup::idClicked, this, [this](int method) {
        estimator_.selectMethod(method);
        table_->updateEnabling();
    });

    estimate_->setObjectName(QStringLiteral("rod_estimate"));
    estimate_->setReadOnly(true);
    estimate_->setFixedWidth(table_->edit(kMethod1Plug)->maximumWidth());
    table_->addRow({}, uiText(kEstimatorResultLabel), estimate_);

    auto* buttons = new QDialogButtonBox;
    QPushButton* accept = buttons->addButton(tr("Accept"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    accept->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    table_->refresh();
}

}  // namespace veltrano
