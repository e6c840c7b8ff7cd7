#pragma once

class QDialog;
class QFrame;

namespace veltrano {

// A dialog without a caption gets no border from many window managers and melts into the window
// behind it. This gives it one of its own: a frame of one line filling the dialog. The dialog's layout
// goes on the frame that is returned.
QFrame* framedContents(QDialog& dialog);

}  // namespace veltrano
