#pragma once

#include <string>

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "core/design/CigaretteDesign.h"
#include "tests/core/sheet/AwkwardDesigns.h"
#include "tests/core/sheet/RichReference.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/sheet/CigSpecDlg.h"

namespace veltrano::testing {

// Runs the design sheet on `target` as the shell does: true when the user confirmed, and `target` then
// holds what the sheet stored.
inline bool editInSheet(Dialogs& dialogs, ErrorReporter& reporter, CigaretteDesign& target, bool isReference,
                        const ModelParameters& mp) {
    const std::optional<DesignValues> edited =
        runDesignSheet(dialogs, nullptr, reporter, target, isReference, mp);
    if (edited) target.assign(*edited);
    return edited.has_value();
}

inline CigSpecDlg& sheetDialog(QDialog& dialog) {
    auto* sheet = qobject_cast<CigSpecDlg*>(&dialog);
    EXPECT_NE(sheet, nullptr) << "expected the sheet, got " << dialog.metaObject()->className();
    return *sheet;
}

// The widget named `name` (a field's record name, a Help's name); fails the test when there is none.
template <class Widget = QLineEdit>
Widget* named(const QWidget& parent, const char* name) {
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << "no widget " << name;
    return widget;
}

inline std::string textOf(const QWidget& parent, const char* name) {
    QLineEdit* edit = named(parent, name);
    return edit ? edit->text().toStdString() : std::string();
}

// Replaces the field's text by typing, as a user does.
inline void type(const QWidget& parent, const char* name, const char* text) {
    QLineEdit* edit = named(parent, name);
    if (!edit) return;
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
}

// Clicks the radio button with this text.
inline void clickRadio(const QWidget& parent, const char* text) {
    for (QRadioButton* radio : parent.findChildren<QRadioButton*>())
        if (radio->text() == QString::fromUtf8(text)) return radio->click();
    ADD_FAILURE() << "no radio button " << text;
}

inline void showPage(QDialog& dialog, int page) {
    sheetDialog(dialog).tabs()->setCurrentIndex(page);
}

// Clicks a dialog button box's button and answers the modal run with the result it set.
inline int press(QDialog& dialog, QDialogButtonBox::StandardButton which) {
    dialog.findChild<QDialogButtonBox*>()->button(which)->click();
    return dialog.result();
}

}  // namespace veltrano::testing
