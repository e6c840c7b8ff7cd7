#pragma once

#include <QString>

#include <utility>
#include <vector>

class QBoxLayout;
class QButtonGroup;
class QWidget;

namespace veltrano {

// Radio buttons, each with its id, added to `layout` (or left for the caller to place when it is null);
// the returned group (owned by `owner`) keeps them exclusive and reports clicks by id.
QButtonGroup* addRadioButtons(QWidget* owner, QBoxLayout* layout,
                              const std::vector<std::pair<int, QString>>& buttons);

// Checks the button with `id`; an id no button has leaves none checked.
void checkRadio(QButtonGroup* group, int id);

}  // namespace veltrano
