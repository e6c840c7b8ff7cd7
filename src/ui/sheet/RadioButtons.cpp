#include "ui/sheet/RadioButtons.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QRadioButton>

namespace veltrano {

QButtonGroup* addRadioButtons(QWidget* owner, QBoxLayout* layout,
                              const std::vector<std::pair<int, QString>>& buttons) {
    auto* group = new QButtonGroup(owner);
    for (const auto& [id, text] : buttons) {
        auto* button = new QRadioButton(text);
        group->addButton(button, id);
        if (layout) layout->addWidget(button);
    }
    return group;
}

void checkRadio(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never unchecks its last button by itself.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

}  // namespace veltrano
