#include "ui/explore/SweepTableModel.h"

#include <algorithm>

namespace veltrano {

SweepTableModel::SweepTableModel(const SweepData& data, QObject* parent)
    : QAbstractTableModel(parent), data_(data) {
    reset();
}

void SweepTableModel::reset() {
    beginResetModel();
    header_ = sweepTableHeader(data_);
    points_.clear();
    texts_.clear();
    for (const SweepPoint* p : pointsRun(data_)) {
        points_.push_back(p->index);
        texts_.push_back(sweepTableRow(data_, *p));
    }
    endResetModel();
}

void SweepTableModel::pointAdded(int point) {
    const SweepPoint* p = data_.point(point);
    if (!p || rowOfPoint(point) >= 0) return;
    const auto at = std::lower_bound(points_.begin(), points_.end(), point);
    const int row = static_cast<int>(at - points_.begin());
    beginInsertRows({}, row, row);
    points_.insert(at, point);
    texts_.insert(texts_.begin() + row, sweepTableRow(data_, *p));
    endInsertRows();
}

int SweepTableModel::pointOfRow(int row) const {
    return row >= 0 && row < rowCount() ? points_[static_cast<std::size_t>(row)] : -1;
}

int SweepTableModel::rowOfPoint(int point) const {
    const auto at = std::lower_bound(points_.begin(), points_.end(), point);
    return at != points_.end() && *at == point ? static_cast<int>(at - points_.begin()) : -1;
}

int SweepTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(points_.size());
}

int SweepTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(header_.size());
}

QVariant SweepTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const std::string& text =
        texts_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    // The status and the errors are words; every other column a number.
    const bool words = index.column() == 1 + static_cast<int>(data_.grid.second ? 2 : 1) ||
                       index.column() == columnCount() - 1;
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(text);
        case Qt::ToolTipRole:
            return words && !text.empty() ? QVariant(QString::fromStdString(text)) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter | (words ? Qt::AlignLeft : Qt::AlignRight));
        default:
            return {};
    }
}

QVariant SweepTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    return QString::fromStdString(header_[static_cast<std::size_t>(section)]);
}

}  // namespace veltrano
