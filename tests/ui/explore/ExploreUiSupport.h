#pragma once

#include <chrono>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "core/explore/ExploreFields.h"
#include "tests/support/ScriptedDialogs.h"

namespace veltrano::testing {

// The child of `parent` named `name`; fails the test when there is none.
template <class Widget>
Widget* child(const QWidget& parent, const char* name) {
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << "no widget " << name;
    return widget;
}

inline void enter(const QWidget& parent, const char* name, const char* text) {
    if (auto* edit = child<QLineEdit>(parent, name)) {
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }
}

inline void click(const QWidget& parent, const char* name) {
    if (auto* button = child<QPushButton>(parent, name)) {
        EXPECT_TRUE(button->isEnabled()) << name << " is disabled";
        button->click();
    }
}

// Picks the field of that record name in a list of fields (their data: the index in exploreFields()).
inline void chooseField(const QWidget& parent, const char* list, std::string_view field) {
    auto* box = child<QComboBox>(parent, list);
    const ExploreField* f = findExploreField(field);
    ASSERT_TRUE(box && f);
    const int item = box->findData(static_cast<int>(f - exploreFields().data()));
    ASSERT_GE(item, 0) << field << " is not offered";
    box->setCurrentIndex(item);
}

// Expects a modal run of a `Dlg` and takes `step` on it.
template <class Dlg>
void expectDialog(ScriptedDialogs& dialogs, const ScriptedDialogs::Step& step) {
    dialogs.expect([step](QDialog& d) {
        EXPECT_NE(qobject_cast<Dlg*>(&d), nullptr) << "expected a " << Dlg::staticMetaObject.className();
        return step(d);
    });
}

// Work off the GUI thread ends within this bound; the condition is polled while events are processed.
inline constexpr int kWorkBoundMs = 120000;
template <class Condition>
bool waitUntil(Condition condition) {
    return QTest::qWaitFor(condition, kWorkBoundMs);
}

}  // namespace veltrano::testing
