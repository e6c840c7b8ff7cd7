#pragma once

#include <array>
#include <optional>

#include <QTimer>
#include <QWidget>

#include "core/design/DesignFields.h"
#include "core/design/DesignSet.h"
#include "core/explore/SheetPreview.h"
#include "ui/explore/WorkerJob.h"

class QLabel;

namespace veltrano {

class DesignSheet;

// The results strip of the current design's sheet: what OK followed by the recalculation would show
// (open and closed draw resistance, filter and rod ventilation, ISO puffs, 'tar', nicotine and CO),
// each beside its change against the design as it was when the sheet opened. Every change of the
// sheet's controls that changes what OK would store is a new generation; at the next idle moment the
// newest is computed on a worker from a copy of those values (only the current design is
// recalculated, against the working reference of the designs it was given). A result whose
// generation a newer edit has overtaken is dropped. While the sheet's rules refuse what it holds, the
// strip shows dashes and why, and no message box.
class PreviewStrip : public QWidget {
    Q_OBJECT
public:
    // Watches the input controls of `dialog` (the sheet's window); `designs` are the program's,
    // recalculated, as the sheet found them.
    PreviewStrip(const DesignSheet& sheet, QWidget& dialog, const DesignSet& designs,
                 const ModelParameters& mp, QWidget* parent = nullptr);
    ~PreviewStrip() override;

    // The generation the strip shows (the sheet as it opened is the first); 0 before the first result.
    int shownGeneration() const { return shown_; }
    int newestGeneration() const { return generation_; }
    bool computing() const { return job_.running(); }
    // The newest generation is shown, and nothing waits or runs.
    bool upToDate() const { return shown_ == generation_ && !timer_.isActive() && !job_.running(); }
    const SheetPreview& preview() const { return preview_; }

signals:
    void updated();

private:
    void watch(QWidget& dialog);
    // A control changed: a new generation when what OK would store changed.
    void edited();
    // Starts the newest generation when nothing runs; otherwise it starts when the run ends.
    void computeNewest();
    void arrived(int generation, SheetPreview preview);
    void showPreview();

    const DesignSheet& sheet_;
    DesignSet designs_;
    const ModelParameters& mp_;
    std::array<double, kPreviewOutputNames.size()> before_{};
    std::optional<DesignImage> newestImage_;
    DesignValues newest_;  // what the newest generation would store
    int generation_ = 0, started_ = 0, shown_ = 0;
    SheetPreview preview_;
    QTimer timer_;
    std::array<QLabel*, kPreviewOutputNames.size()> values_{};
    std::array<QLabel*, kPreviewOutputNames.size()> changes_{};
    QLabel* note_ = nullptr;
    WorkerJob job_;
};

}  // namespace veltrano
