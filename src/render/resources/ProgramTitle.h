#pragma once

#include <QString>

#include "core/design/ProgramName.h"

namespace veltrano {

// "veltrano 4.1", as the window, its boxes and the files it writes name the program.
inline QString programTitle() {
    return QString::fromLatin1(kProgramTitle.data(), static_cast<qsizetype>(kProgramTitle.size()));
}

}  // namespace veltrano
