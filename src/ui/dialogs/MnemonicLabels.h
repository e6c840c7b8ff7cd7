#pragma once

class QWidget;

namespace veltrano {

// A label with a mnemonic draws that letter underlined, and the text is shaped apart there: a pair of
// letters the font kerns ("To", "Fi") is drawn wider than the label measured it, and its last letter is
// cut. Without kerning the labels of `widget` that have a mnemonic are measured as they are drawn.
void measureMnemonicLabelsAsDrawn(QWidget& widget);

}  // namespace veltrano
