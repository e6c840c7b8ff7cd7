#pragma once

namespace veltrano {

// The Windows programs ship the fonts the views are drawn in (Liberation, DejaVu) in fonts/ beside
// themselves. Elsewhere both functions do nothing: fontconfig finds the installed fonts.

// On Windows the offscreen platform (veltrano-cli's drawing commands, the tests) knows only the fonts in
// the folder QT_QPA_FONTDIR names; without them every text is drawn as empty boxes. This points the
// platform at fonts/ unless the variable names a folder already. Call it before the Gui application is
// made.
void useFontsBesideProgram();

// The windowed program on Windows knows the system's fonts; this adds the shipped ones to them, so the
// views' stand-ins for Arial and Courier New are there on any Windows. Call it once the Gui application
// is made.
void addFontsBesideProgram();

}  // namespace veltrano
