#pragma once

namespace veltrano {

// Windows draws a font that is not installed in a font of its own choosing: in a new Wine prefix, which
// has no Tahoma, the system's dialog font ("MS Shell Dlg", standing for Tahoma) comes out in a font of
// dingbats, and every menu, button and label is unreadable. When the font the widgets are given is drawn
// in a font that is neither it nor the one Windows' font substitutes name for it, the widgets are given the
// shipped Liberation Sans at the same size. Elsewhere, and where the font is there, nothing changes. Call
// it once the application and the shipped fonts are there (addFontsBesideProgram).
void standInForMissingSystemFont();

}  // namespace veltrano
