#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <QWidget>

#include "core/sheet/PageFields.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace veltrano {

class TypingLimit;

// What a table of fields edits: one text per field and, when the table has "known" boxes, the word
// they set.
struct FieldTexts {
    std::span<std::string> texts;
    std::uint32_t* boxes = nullptr;
};

// A row of its own (radio buttons, a check box) above a field, inside that field's group box.
struct RowAbove {
    int field;
    QWidget* widget;
};

// The one mechanism behind every page of the sheet and the estimator, built from a table of fields:
// a group box per group of the table, in each a row per field (label over sub-label, edit, unit,
// "known" box, Help) in columns that line up from group to group. Typing writes the bound texts at
// once, so every Help and conversion of the core reads what the user sees; `refresh` shows the bound
// state again after the core changed it.
class FieldTableWidget : public QWidget {
    Q_OBJECT

public:
    // The "known" boxes are visible and the reference-only Helps exist only while the reference is
    // edited; hidden boxes still show and set their bits.
    FieldTableWidget(std::span<const FieldSpec> fields, std::span<const HelpSpec> helps, FieldTexts bound,
                     bool isReference, std::span<const RowAbove> rowsAbove = {}, QWidget* parent = nullptr);
    ~FieldTableWidget() override;

    // Which fields and Helps take input, asked after every click and every action.
    void setEnabling(std::function<PageEnabling()> enabling);
    // Shows the state of controls the table does not know (radio buttons, the preview); run by `refresh`.
    void addRefresh(std::function<void()> show);
    // `action` changes the bound state when the Help is clicked, or when the field loses the keyboard
    // focus however it leaves (tab key, mouse click, another tab); the table then shows it again.
    void onHelp(int help, std::function<void()> action);
    void onFocusOut(int field, std::function<void()> action);
    // A widget below the groups.
    void addBelow(QWidget* widget);
    // A row of a label and a control the table does not bind (a result), in the field columns of `group`.
    void addRow(std::string_view group, const QString& label, QWidget* control);

    // Shows the bound texts and boxes, the other controls, and the enabling.
    void refresh();
    void updateEnabling();

    QLineEdit* edit(int field) const { return rows_.at(static_cast<std::size_t>(field)).edit; }
    QCheckBox* knownBox(int field) const { return rows_.at(static_cast<std::size_t>(field)).box; }
    QPushButton* helpButton(int help) const { return helpButtons_.at(static_cast<std::size_t>(help)); }
    QGroupBox* group(std::string_view title) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QLineEdit* edit = nullptr;
        QCheckBox* box = nullptr;      // nullptr when the field has no box of its own
        TypingLimit* limit = nullptr;  // nullptr when typing is not limited
        std::function<void()> onFocusOut;
    };
    struct Group {
        std::string_view title;
        QGroupBox* box;
        QGridLayout* grid;
        std::vector<QWidget*> struts;  // one per column, keeping the column's width
        bool headed = false;           // the column of "known" boxes has its heading
    };
    Group& groupOf(std::string_view title);
    void addFieldRow(int index, const FieldSpec& field, bool showBoxes);
    void lineUpColumns();
    void run(const std::function<void()>& action);

    std::span<const FieldSpec> fields_;
    FieldTexts bound_;
    std::vector<Row> rows_;
    std::vector<QPushButton*> helpButtons_;  // nullptr for a Help that is absent
    std::vector<std::function<void()>> helpActions_;
    std::vector<Group> groups_;
    std::vector<std::function<void()>> refreshers_;
    std::function<PageEnabling()> enabling_;
    QVBoxLayout* layout_;
};

}  // namespace veltrano
