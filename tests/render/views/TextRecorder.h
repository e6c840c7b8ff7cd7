#pragma once

#include "tests/support/PaintRecorder.h"

namespace veltrano::test {

// Records what the views write on the main window's client area.
class TextRecorder : public PaintRecorder {
public:
    TextRecorder() : PaintRecorder(QSize(1024, 820)) {}
};

}  // namespace veltrano::test
