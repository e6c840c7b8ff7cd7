#pragma once

#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "render/charts/SweepData.h"

namespace veltrano {

// The table beneath the chart: a row per point that has run, in point order, with the texts of
// sweepTableRow. It reads the dialog's data; the dialog tells it when points arrive or the shown
// outputs change.
class SweepTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SweepTableModel(const SweepData& data, QObject* parent = nullptr);

    // Everything anew: a new run, or other outputs shown.
    void reset();
    void pointAdded(int point);
    int pointOfRow(int row) const;
    // The row of a point, or −1 while it has not run.
    int rowOfPoint(int point) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const SweepData& data_;
    std::vector<std::string> header_;
    std::vector<int> points_;                      // the point of each row
    std::vector<std::vector<std::string>> texts_;  // the texts of each row
};

}  // namespace veltrano
