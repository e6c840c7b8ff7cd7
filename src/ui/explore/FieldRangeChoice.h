#pragma once

#include <string_view>

#include <QObject>
#include <QString>

#include "core/explore/ExploreFields.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace veltrano {

// The choice of a field the current design's sheet lets the user type into, with entries for its
// range: choosing a field fills them with the range `proposal` gives for it on today's design (as the
// field shows its values), and the note beside says today's value and the range its page accepts. The widgets
// are the caller's to lay out; their object names end in `suffix` ("field2", "from2", "to2").
class FieldRangeChoice : public QObject {
    Q_OBJECT
public:
    // Starts at the field named `preferred` where it is offered, else at the offered field `fallback`.
    using RangeProposal = ValueRange (*)(const ExploreField& field, const DesignValues& design);
    FieldRangeChoice(const DesignValues& current, std::string_view preferred, int fallback,
                     const QString& suffix, RangeProposal proposal, QObject* parent = nullptr);

    QComboBox* const field;
    QLineEdit* const from;
    QLineEdit* const to;
    QLabel* const note;

    // The chosen field (nothing when the design offers none) and the range entered, read as the sheet
    // reads a field's text.
    const ExploreField* chosen() const;
    ValueRange range() const;

private:
    void fieldChosen();

    const DesignValues& current_;
    const RangeProposal proposal_;
};

}  // namespace veltrano
