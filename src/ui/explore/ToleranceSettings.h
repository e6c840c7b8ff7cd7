#pragma once

#include <optional>
#include <vector>

#include <QWidget>

#include "core/explore/Tolerance.h"

class QCheckBox;
class QLineEdit;
class QSettings;
class QSpinBox;
class QTableWidget;

namespace veltrano {

// The left side of the tolerance dialog: the inputs of the current design that reach the model, each
// with a box to vary it and its spread; the samples, the seed and the limits on outputs (by default the
// ISO ceilings of 10 mg 'tar', 1 mg nicotine and 10 mg CO). What the user set is kept in the settings
// for the next time.
class ToleranceSettings : public QWidget {
public:
    ToleranceSettings(const DesignValues& current, QSettings& settings, QWidget* parent = nullptr);

    // The run the panel describes; nothing, with `problem` saying why, when a text does not read.
    std::optional<ToleranceSetup> setup(QString& problem) const;
    // The inputs listed: those the sheet offers whose values reach the model.
    const std::vector<const ExploreField*>& fields() const { return fields_; }
    // Keeps what the panel shows in the settings.
    void remember() const;

private:
    QSettings& settings_;
    std::vector<const ExploreField*> fields_;
    QTableWidget* inputs_ = nullptr;
    QSpinBox* samples_ = nullptr;
    QLineEdit* seed_ = nullptr;
    QCheckBox* couple_ = nullptr;
    QTableWidget* limits_ = nullptr;
};

// The outputs whose histograms the dialog shows (a limit brings its own along).
std::vector<const ExploreOutput*> shownToleranceOutputs();

}  // namespace veltrano
