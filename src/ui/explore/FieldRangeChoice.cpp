#include "ui/explore/FieldRangeChoice.h"

#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "core/design/NumberText.h"
#include "render/charts/ExploreText.h"

namespace veltrano {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

FieldRangeChoice::FieldRangeChoice(const DesignValues& current, std::string_view preferred, int fallback,
                                   const QString& suffix, RangeProposal proposal, QObject* parent)
    : QObject(parent),
      field(new QComboBox),
      from(new QLineEdit),
      to(new QLineEdit),
      note(new QLabel),
      current_(current),
      proposal_(proposal) {
    field->setObjectName("field" + suffix);
    from->setObjectName("from" + suffix);
    to->setObjectName("to" + suffix);
    note->setObjectName("today" + suffix);
    note->setForegroundRole(QPalette::PlaceholderText);
    field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    field->setMinimumContentsLength(24);
    // An item's data is the field's place in the list of fields.
    int start = -1;
    for (std::size_t i = 0; i < exploreFields().size(); ++i) {
        const ExploreField& f = exploreFields()[i];
        if (!isOffered(f, current_)) continue;
        field->addItem(text(fieldTitleWithUnit(f)), static_cast<int>(i));
        if (f.name() == preferred) start = field->count() - 1;
    }
    if (start < 0) start = std::min(fallback, field->count() - 1);
    // The note has room for the longest it will say, so that no choice of field cuts it.
    int widest = 0;
    for (int i = 0; i < field->count(); ++i) {
        const ExploreField& f = exploreFields()[static_cast<std::size_t>(field->itemData(i).toInt())];
        widest = std::max(widest,
                          note->fontMetrics().boundingRect(QRect(), Qt::TextSingleLine, noteText(f)).width());
    }
    note->setMinimumWidth(widest);
    connect(field, &QComboBox::currentIndexChanged, this, &FieldRangeChoice::fieldChosen);
    field->setCurrentIndex(start);
    fieldChosen();
}

const ExploreField* FieldRangeChoice::chosen() const {
    if (field->currentIndex() < 0) return nullptr;
    return &exploreFields()[static_cast<std::size_t>(field->currentData().toInt())];
}

ValueRange FieldRangeChoice::range() const {
    return {readNumber(from->text().toStdString()), readNumber(to->text().toStdString())};
}

void FieldRangeChoice::fieldChosen() {
    const ExploreField* f = chosen();
    if (!f) return;
    const ValueRange proposed = proposal_(*f, current_);
    from->setText(text(shownInput(*f, proposed.lo)));
    to->setText(text(shownInput(*f, proposed.hi)));
    note->setText(noteText(*f));
}

QString FieldRangeChoice::noteText(const ExploreField& f) const {
    const ValueRange r = validRange(f, current_);
    const std::string unit = f.unit().empty() ? "" : " " + std::string(f.unit());
    return tr("today %1, accepted %2 to %3")
        .arg(text(shownInput(f, current_.*f.member()) + unit), text(shownInput(f, r.lo)),
             text(shownInput(f, r.hi) + unit));
}

}  // namespace veltrano
