#pragma once

namespace veltrano {

// On Windows the offscreen platform (veltrano-cli's drawing commands, the tests) knows only the fonts in
// the folder QT_QPA_FONTDIR names; without them every text is drawn as empty boxes. The Windows programs
// ship the fonts the views are drawn in (Liberation, DejaVu) in fonts/ beside themselves: this points
// the platform there unless the variable names a folder already. Call it before the Gui application is
// made. Elsewhere it does nothing: fontconfig finds the installed fonts.
void useFontsBesideProgram();

}  // namespace veltrano
