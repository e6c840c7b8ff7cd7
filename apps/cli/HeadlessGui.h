#pragma once

#include <memory>

#include <QGuiApplication>

namespace veltrano::cli {

// Fonts and pictures need a GUI application; without a display the offscreen platform serves, with the
// fonts shipped beside the program on Windows. The font substitutes of the program are installed. The
// toolkit says nothing on stderr but why it cannot go on, if it cannot. For the commands that draw.
class HeadlessGui {
public:
    HeadlessGui(int& argc, char** argv);

private:
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace veltrano::cli
