#include "ui/explore/PreviewStrip.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/sheet/DesignSheet.h"
#include "render/views/ValueText.h"

namespace veltrano {

namespace {

// How the strip writes each value, as the views write it, and the known bit a yield needs (the views
// show dashes without it).
struct StripEntry {
    std::string_view name;
    std::string_view format;
    KnownBit bit;
};
constexpr StripEntry kEntries[] = {
    {"stat_pdo", "%.1f", KnownBit::None},          {"stat_pdc", "%.1f", KnownBit::None},
    {"stat_fivent", "%.1f", KnownBit::None},       {"stat_rovent", "%.1f", KnownBit::None},
    {"iso_puff", "%.2f", KnownBit::IsoPuffNumber}, {"iso_nfdpm", "%.2f", KnownBit::IsoTar},
    {"iso_nico", "%.2f", KnownBit::IsoNicotine},   {"iso_co", "%.2f", KnownBit::IsoCo},
};
constexpr int kColumns = 4;

const StripEntry& entryOf(std::string_view name) {
    for (const StripEntry& e : kEntries)
        if (e.name == name) return e;
    return kEntries[0];
}

DesignImage imageOf(const DesignValues& values) {
    CigaretteDesign design(ArrayMode::NoArrays);
    design.assign(values);
    return encodeDesignImage(design);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

PreviewStrip::PreviewStrip(const DesignSheet& sheet, QWidget& dialog, const DesignSet& designs,
                           const ModelParameters& mp, QWidget* parent)
    : QWidget(parent),
      sheet_(sheet),
      designs_(designs.clone()),
      mp_(mp),
      before_(previewValues(designs.currentDesign)) {
    setObjectName("previewStrip");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(tr("<b>What OK would give</b> (change since the sheet opened)"));
    layout->addWidget(title);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(2);
    for (std::size_t i = 0; i < kPreviewOutputNames.size(); ++i) {
        const ExploreOutput& o = *findExploreOutput(kPreviewOutputNames[i]);
        const int row = 2 * static_cast<int>(i / kColumns), column = static_cast<int>(i % kColumns) * 2;
        auto* label = new QLabel(QString::fromUtf8(o.label.data(), static_cast<qsizetype>(o.label.size())));
        label->setForegroundRole(QPalette::PlaceholderText);
        values_[i] = new QLabel;
        values_[i]->setObjectName(QStringLiteral("preview_") +
                                  QString::fromUtf8(o.name.data(), static_cast<qsizetype>(o.name.size())));
        QFont bold = values_[i]->font();
        bold.setBold(true);
        values_[i]->setFont(bold);
        changes_[i] = new QLabel;
        changes_[i]->setForegroundRole(QPalette::PlaceholderText);
        // Room for the longest values, so the strip keeps its size while the user types.
        values_[i]->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("888.8 mm H2O")));
        changes_[i]->setMinimumWidth(changes_[i]->fontMetrics().horizontalAdvance(QStringLiteral("-88.88")));
        grid->addWidget(label, row, column, 1, 2);
        grid->addWidget(values_[i], row + 1, column);
        grid->addWidget(changes_[i], row + 1, column + 1);
    }
    layout->addLayout(grid);
    note_ = new QLabel;
    note_->setObjectName("previewNote");
    note_->setWordWrap(true);
    note_->setMinimumHeight(2 * note_->fontMetrics().lineSpacing());
    note_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(note_);

    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &PreviewStrip::computeNewest);
    connect(&job_, &WorkerJob::finished, this, &PreviewStrip::computeNewest);
    // Until the first result the strip shows the design as it is.
    preview_.status = VariantStatus::Computed;
    preview_.values = before_;
    watch(dialog);
    showPreview();
    edited();
}

PreviewStrip::~PreviewStrip() {
    job_.stop();
}

void PreviewStrip::watch(QWidget& dialog) {
    // Every control whose change may change what OK stores; the pages' own handlers run first (they
    // were connected before), so the strip reads the state they leave.
    const auto changed = [this] { edited(); };
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, changed);
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        connect(b, &QAbstractButton::clicked, this, changed);
    for (QComboBox* box : dialog.findChildren<QComboBox*>())
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
        connect(tabs, &QTabWidget::currentChanged, this, changed);
}

void PreviewStrip::edited() {
    const DesignValues stored = sheet_.storedValues();
    const DesignImage image = imageOf(stored);
    if (newestImage_ == image) return;
    newestImage_ = image;
    newest_ = stored;
    ++generation_;
    timer_.start();
}

void PreviewStrip::computeNewest() {
    if (job_.running() || started_ == generation_) return;
    started_ = generation_;
    job_.start([this, generation = generation_, stored = newest_](WorkerJob& job) {
        SheetPreview preview = previewStored(stored, false, designs_, mp_, InnerThreads::CallingThread);
        job.post([this, generation, preview = std::move(preview)]() mutable {
            arrived(generation, std::move(preview));
        });
    });
}

void PreviewStrip::arrived(int generation, SheetPreview preview) {
    if (generation != generation_) return;  // a newer edit is on its way
    preview_ = std::move(preview);
    shown_ = generation;
    showPreview();
    emit updated();
}

void PreviewStrip::showPreview() {
    // After OK the current design takes the reference's known word; the views then show a yield only
    // where it is known.
    const std::uint32_t known = designs_.referenceDesign.known;
    for (std::size_t i = 0; i < kPreviewOutputNames.size(); ++i) {
        const StripEntry& e = entryOf(kPreviewOutputNames[i]);
        const bool shown = e.bit == KnownBit::None || (known & known::bit(e.bit)) != 0;
        const std::string unit(findExploreOutput(e.name)->unit);
        if (!preview_.values || !shown) {
            values_[i]->setText(text(dashesOf(e.format)));
            changes_[i]->clear();
            continue;
        }
        const double now = (*preview_.values)[i];
        values_[i]->setText(text(valueText(e.format, now) + (unit.empty() ? "" : " " + unit)));
        const std::string signedFormat = "%+" + std::string(e.format.substr(1));
        changes_[i]->setText(text(valueText(signedFormat, now - before_[i])));
    }
    QStringList notes;
    if (preview_.status == VariantStatus::Refused) notes << tr("The sheet's rules refuse these entries:");
    for (int n : preview_.errors) notes << text(errorMessage(n).value_or(""));
    note_->setText(notes.join(QLatin1Char(' ')));
}

}  // namespace veltrano
