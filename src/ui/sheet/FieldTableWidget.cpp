#include "ui/sheet/FieldTableWidget.h"

#include <algorithm>
#include <array>

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "ui/sheet/UiText.h"

namespace veltrano {

// Limits what the user types to `max` characters, as the field's limit always did: a change that
// makes the text longer than the limit is refused, one that shortens it is taken. A longer text the
// page put there is shown whole (a plain maximum length would cut it).
class TypingLimit : public QValidator {
public:
    TypingLimit(int max, QLineEdit* edit) : QValidator(edit), max_(max) {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { length_ = text.size(); });
    }
    // Before the page sets a text (which the edit validates too).
    void shown(const QString& text) { length_ = text.size(); }
    State validate(QString& input, int&) const override {
        return input.size() <= max_ || input.size() <= length_ ? Acceptable : Invalid;
    }

private:
    qsizetype max_;
    qsizetype length_ = 0;  // of the text before the change being validated
};

namespace {

// The columns of a group; the last one, empty, takes the width the others leave.
enum Column {
    kLabelColumn,
    kEditColumn,
    kUnitColumn,
    kBoxColumn,
    kHelpColumn,
    kColumnCount,
    kRestColumn = kColumnCount
};

// Sub-labels and the column heading are a size smaller than the labels.
QLabel* smallLabel(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    if (font.pixelSize() > 0)
        font.setPixelSize(font.pixelSize() - 1);
    else
        font.setPointSizeF(font.pointSizeF() - 1);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QWidget* labelCell(const FieldSpec& field, QLineEdit* edit) {
    auto* cell = new QWidget;
    auto* lines = new QVBoxLayout(cell);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    auto* label = new QLabel(uiText(field.label));
    label->setBuddy(edit);
    lines->addWidget(label);
    if (!field.subLabel.empty()) lines->addWidget(smallLabel(uiText(field.subLabel)));
    return cell;
}

}  // namespace

FieldTableWidget::FieldTableWidget(std::span<const FieldSpec> fields, std::span<const HelpSpec> helps,
                                   FieldTexts bound, bool isReference, std::span<const RowAbove> rowsAbove,
                                   QWidget* parent)
    : QWidget(parent),
      fields_(fields),
      bound_(bound),
      rows_(fields.size()),
      helpButtons_(helps.size(), nullptr),
      helpActions_(helps.size()),
      layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    // The groups in the order of their first field, each with a heading over its visible boxes.
    for (const FieldSpec& field : fields) {
        Group& group = groupOf(field.group);
        if (field.ownBox && bound.boxes && isReference && !group.headed) {
            group.headed = true;
            group.grid->addWidget(smallLabel(tr("known")), 0, kBoxColumn, Qt::AlignHCenter);
        }
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        for (const RowAbove& extra : rowsAbove) {
            if (extra.field != static_cast<int>(i)) continue;
            QGridLayout* grid = groupOf(fields[i].group).grid;
            grid->addWidget(extra.widget, grid->rowCount(), kLabelColumn, 1, kColumnCount);
        }
        addFieldRow(static_cast<int>(i), fields[i], isReference);
    }
    for (std::size_t h = 0; h < helps.size(); ++h) {
        if (helps[h].referenceOnly && !isReference) continue;
        auto* button = new QPushButton(tr("Help"));
        button->setObjectName(uiText(helps[h].name));
        button->setAutoDefault(false);
        const int field = helps[h].field;
        QGridLayout* grid = groupOf(fields[static_cast<std::size_t>(field)].group).grid;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(edit(field)), &row, &column, &rowSpan, &columnSpan);
        grid->addWidget(button, row, kHelpColumn);
        connect(button, &QPushButton::clicked, this, [this, h] { run(helpActions_[h]); });
        helpButtons_[h] = button;
    }
    layout_->addStretch();
    lineUpColumns();
}

FieldTableWidget::~FieldTableWidget() {
    // A field losing the focus while the window goes away must not reach this half-destroyed table.
    for (const Row& row : rows_) row.edit->removeEventFilter(this);
}

QGroupBox* FieldTableWidget::group(std::string_view title) const {
    for (const Group& group : groups_)
        if (group.title == title) return group.box;
    return nullptr;
}

FieldTableWidget::Group& FieldTableWidget::groupOf(std::string_view title) {
    for (Group& group : groups_)
        if (group.title == title) return group;
    auto* box = new QGroupBox(uiText(title));
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(kRestColumn, 1);
    grid->setVerticalSpacing(4);
    grid->setHorizontalSpacing(10);
    layout_->addWidget(box);
    // A column without a visible widget gets no spacing: a strut in each column keeps the columns of
    // all groups alike.
    std::vector<QWidget*> struts(kColumnCount, nullptr);
    for (int column = 0; column < kColumnCount; ++column) {
        struts[static_cast<std::size_t>(column)] = new QWidget;
        struts[static_cast<std::size_t>(column)]->setFixedSize(0, 0);
        grid->addWidget(struts[static_cast<std::size_t>(column)], 0, column);
    }
    return groups_.emplace_back(Group{title, box, grid, std::move(struts)});
}

void FieldTableWidget::addFieldRow(int index, const FieldSpec& field, bool showBoxes) {
    Row& row = rows_[static_cast<std::size_t>(index)];
    QGridLayout* grid = groupOf(field.group).grid;
    const int at = grid->rowCount();

    row.edit = new QLineEdit;
    row.edit->setObjectName(uiText(field.name));
    row.edit->setFixedWidth(row.edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
    if (field.maxLength > 0) {
        row.limit = new TypingLimit(field.maxLength, row.edit);
        row.edit->setValidator(row.limit);
    }
    connect(row.edit, &QLineEdit::textChanged, this, [this, index](const QString& text) {
        bound_.texts[static_cast<std::size_t>(index)] = text.toStdString();
    });
    grid->addWidget(labelCell(field, row.edit), at, kLabelColumn);
    grid->addWidget(row.edit, at, kEditColumn);
    if (!field.unit.empty()) grid->addWidget(new QLabel(uiText(field.unit)), at, kUnitColumn);

    if (field.ownBox && bound_.boxes) {
        row.box = new QCheckBox;
        row.box->setObjectName(uiText(field.name) + QStringLiteral("_known"));
        row.box->setToolTip(tr("known"));
        row.box->setVisible(showBoxes);
        connect(row.box, &QCheckBox::clicked, this, [this, bit = field.knownBit](bool checked) {
            page::setKnownBox(bound_.texts, *bound_.boxes, fields_, bit, checked);
            refresh();  // a cleared box has emptied its fields
        });
        grid->addWidget(row.box, at, kBoxColumn, Qt::AlignHCenter);
    }
}

// Equal column widths line the labels, edits, units, boxes and Helps up from group to group.
void FieldTableWidget::lineUpColumns() {
    std::array<int, kColumnCount> widths{};
    for (const Group& group : groups_) {
        QGridLayout* grid = group.grid;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            QLayoutItem* item = grid->itemAt(i);
            if (columnSpan == 1 && !item->isEmpty())
                widths[static_cast<std::size_t>(column)] =
                    std::max(widths[static_cast<std::size_t>(column)], item->sizeHint().width());
        }
    }
    for (const Group& group : groups_)
        for (int column = 0; column < kColumnCount; ++column)
            group.struts[static_cast<std::size_t>(column)]->setFixedWidth(
                widths[static_cast<std::size_t>(column)]);
}

void FieldTableWidget::setEnabling(std::function<PageEnabling()> enabling) {
    enabling_ = std::move(enabling);
}

void FieldTableWidget::addRefresh(std::function<void()> show) {
    refreshers_.push_back(std::move(show));
}

void FieldTableWidget::onHelp(int help, std::function<void()> action) {
    helpActions_.at(static_cast<std::size_t>(help)) = std::move(action);
}

void FieldTableWidget::onFocusOut(int field, std::function<void()> action) {
    Row& row = rows_.at(static_cast<std::size_t>(field));
    row.onFocusOut = std::move(action);
    row.edit->installEventFilter(this);
}

void FieldTableWidget::addBelow(QWidget* widget) {
    layout_->insertWidget(layout_->count() - 1, widget);  // above the closing stretch
}

void FieldTableWidget::addRow(std::string_view group, const QString& label, QWidget* control) {
    QGridLayout* grid = groupOf(group).grid;
    const int at = grid->rowCount();
    grid->addWidget(new QLabel(label), at, kLabelColumn);
    grid->addWidget(control, at, kEditColumn);
    lineUpColumns();
}

void FieldTableWidget::refresh() {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const QString text = QString::fromStdString(bound_.texts[i]);
        if (rows_[i].limit) rows_[i].limit->shown(text);
        if (rows_[i].edit->text() != text) rows_[i].edit->setText(text);
        if (rows_[i].box) rows_[i].box->setChecked((*bound_.boxes & known::bit(fields_[i].knownBit)) != 0);
    }
    for (const auto& show : refreshers_) show();
    updateEnabling();
}

void FieldTableWidget::updateEnabling() {
    if (!enabling_) return;
    const PageEnabling enabling = enabling_();
    for (std::size_t i = 0; i < rows_.size() && i < enabling.field.size(); ++i)
        rows_[i].edit->setEnabled(enabling.field[i]);
    for (std::size_t h = 0; h < helpButtons_.size() && h < enabling.help.size(); ++h)
        if (helpButtons_[h]) helpButtons_[h]->setEnabled(enabling.help[h]);
}

bool FieldTableWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (const Row& row : rows_)
            if (row.edit == watched && row.onFocusOut) run(row.onFocusOut);
    }
    return QWidget::eventFilter(watched, event);
}

void FieldTableWidget::run(const std::function<void()>& action) {
    if (action) action();
    refresh();
}

}  // namespace veltrano
