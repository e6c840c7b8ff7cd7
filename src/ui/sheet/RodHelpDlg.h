#pragma once

#include <QDialog>

#include "core/sheet/RodEstimator.h"

class QLineEdit;

namespace veltrano {

class FieldTableWidget;

// "Estimating the rod pressure drop": the two methods with their fields, the estimate (worked out
// whenever an input loses the focus) and Accept/Cancel. It edits `estimator`; on Accept the caller
// hands the estimator to the rod page.
class RodHelpDlg : public QDialog {
    Q_OBJECT

public:
    RodHelpDlg(RodEstimator& estimator, QWidget* parent = nullptr);

private:
    RodEstimator& estimator_;
    FieldTableWidget* table_;
    QLineEdit* estimate_;
};

}  // namespace veltrano
