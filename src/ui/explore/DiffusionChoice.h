#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "core/design/CigaretteDesign.h"

class QCheckBox;

namespace veltrano {

// The exploration dialogs' check box "Diffusion follows permeability": offered where the current design
// holds a known diffusion capacity; elsewhere disabled, its tip saying that the model predicts the
// diffusion anyway.
QCheckBox* diffusionChoice(const DesignValues& current);

// The note that says which known values a run held, with how to let them follow; empty when none.
QString heldNote(const std::vector<std::string_view>& held);

// A message of the core as the dialogs show it: a capital first, a full stop last.
QString asSentence(const std::string& text);

}  // namespace veltrano
