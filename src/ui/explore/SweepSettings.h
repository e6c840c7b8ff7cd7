#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QWidget>

#include "core/explore/ExploreOutputs.h"
#include "core/explore/Sweep.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QListWidget;
class QSpinBox;

namespace veltrano {

class FieldRangeChoice;

// The question of a sweep: the field (and for a map a second one) with its range and steps, the
// outputs to show and the one the map colours, and whether each point runs the puff-by-puff analysis.
// The fields offered are those the current design's sheet lets the user type into; a field's range
// starts as the values its page accepts around today's design.
class SweepSettings : public QWidget {
    Q_OBJECT
public:
    SweepSettings(const DesignValues& current, bool puffsOffered, QWidget* parent = nullptr);

    // The grid the entries describe; nothing, and `problem` says why, when they describe none.
    std::optional<SweepGrid> grid(QString& problem) const;
    std::vector<const ExploreOutput*> outputs() const;
    const ExploreOutput* mappedOutput() const;
    bool puffs() const;

signals:
    void outputsChanged();
    void mappedOutputChanged();

private:
    struct AxisRow {
        FieldRangeChoice* choice = nullptr;
        QSpinBox* steps = nullptr;
    };
    QWidget* buildAxis(AxisRow& row, const QString& suffix, std::string_view preferred, int fallback);
    std::optional<SweepAxis> axisOf(const AxisRow& row) const;
    void mapToggled(bool on);
    void listMappedOutputs();

    const DesignValues& current_;
    AxisRow first_, second_;
    QGroupBox* map_ = nullptr;
    QListWidget* outputs_ = nullptr;
    QComboBox* mapped_ = nullptr;
    QCheckBox* puffs_ = nullptr;
};

}  // namespace veltrano
